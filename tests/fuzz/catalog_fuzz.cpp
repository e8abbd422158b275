// Fuzz target: the five JSON catalog loaders. The first byte picks the loader (modulo 5),
// the rest is the file. Whatever a loader stores must lie inside its tables, and every
// count must stay within its capacity.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "catalogs/catalogs.h"

namespace {

bool Terminated(const char* slot) { return memchr(slot, 0, kSlotBytes) != nullptr; }

// The portrait name handed to the artwork module is terminated inside its work buffer.
void CheckPortrait(int slot, const char* photoAnsi) {
  if (slot < 1 || slot >= kCommanderNameSlots || !memchr(photoAnsi, 0, kAnsiWorkBytes)) abort();
}

void CheckRanks(const CatalogReport& r) {
  if (g_catalogs.RankCount != r.entries - r.skipped || g_catalogs.RankCount < 0) abort();
}

void CheckCountries(const CatalogReport& r) {
  if (g_catalogs.CountryCount != r.entries - r.skipped || g_catalogs.CountryCount > kCountryIdSlots)
    abort();
  for (int i = 0; i < g_catalogs.CountryCount; ++i)
    if (g_catalogs.CountryIds[i] < 0 || g_catalogs.CountryIds[i] >= kCountryIdLimit) abort();
}

void CheckArmies(const CatalogReport& r) {
  if (g_catalogs.ArmyCount != r.entries - r.skipped || g_catalogs.ArmyCount > kArmyIdSlots) abort();
  for (int i = 0; i < g_catalogs.ArmyCount; ++i) {
    int k = ArmySlotOf(g_catalogs.ArmyIds[i]);
    if (k < 0 || !Terminated(g_catalogs.ArmyName[k])) abort();
  }
}

void CheckCommanders(const CatalogReport& r) {
  if (g_catalogs.CommanderCount != r.entries - r.skipped ||
      g_catalogs.CommanderCount > kCommanderIdSlots ||
      g_catalogs.CommanderSlotCount >= kCommanderNameSlots)
    abort();
  for (int i = 0; i < g_catalogs.CommanderCount; ++i) {
    int32_t id = g_catalogs.CommanderIds[i];
    if (id < 0 || id >= kCommanderSlotIndex) abort();
    int slot = g_catalogs.CommanderSlot[id];
    if (slot < 1 || slot > g_catalogs.CommanderSlotCount ||
        !Terminated(g_catalogs.CommanderName[slot]))
      abort();
  }
}

void CheckBuildings(const CatalogReport& r) {
  if (g_catalogs.BuildingCount != r.entries - r.skipped ||
      g_catalogs.BuildingCount > kBuildingIdSlots)
    abort();
  for (int i = 0; i < g_catalogs.BuildingCount; ++i)
    if (!Terminated(BuildingNameOf(g_catalogs.BuildingIds[i]))) abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
  switch (data[0] % 5) {
    case 0: CheckRanks(LoadCatalogText(CatalogKind::kRank, text)); break;
    case 1: CheckCountries(LoadCatalogText(CatalogKind::kCountry, text)); break;
    case 2: CheckArmies(LoadCatalogText(CatalogKind::kArmy, text)); break;
    case 3: CheckCommanders(LoadCatalogText(CatalogKind::kCommander, text, CheckPortrait)); break;
    case 4: CheckBuildings(LoadCatalogText(CatalogKind::kBuilding, text)); break;
  }
  return 0;
}
