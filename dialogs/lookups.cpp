#include "dialogs/lookups.h"

#include "catalogs/catalogs.h"

const GeneralEntry* AttachedGeneral(const UnitRecord& unit) {
  if (unit.general == kNoGeneral || unit.general >= g_world.generalCount) return nullptr;
  return &g_world.generals[unit.general];
}

int32_t ArmyHpOf(int32_t armyId) {
  int slot = ArmySlotOf(armyId);
  return slot < 0 ? 0 : g_catalogs.ArmyHP[slot];
}

int32_t ArmyMobilityOf(int32_t armyId) {
  int slot = ArmySlotOf(armyId);
  return slot < 0 ? 0 : g_catalogs.ArmyMobility[slot];
}

int PortraitSlotOf(int32_t commanderId) {
  if (commanderId < 0 || commanderId >= kCommanderSlotIndex) return 0;
  int slot = g_catalogs.CommanderSlot[commanderId];
  return slot > 0 && slot < kCommanderNameSlots ? slot : 0;
}

int UsableTeamCount() {
  int n = g_world.teamCount;
  return n < 0 ? 0 : n > kMaxTeams ? kMaxTeams : n;
}
