// Checked look-ups the dialogs share: numbers from a scenario file or a control never index
// a table out of its bounds; what they do not name reads as nothing.
#pragma once

#include <cstdint>

#include "scenario/world_record.h"

// The generals entry a unit names, or null for 255 and for an index past the list.
const GeneralEntry* AttachedGeneral(const UnitRecord& unit);

int32_t ArmyHpOf(int32_t armyId);        // 0 for 0 and unknown Ids
int32_t ArmyMobilityOf(int32_t armyId);  // 0 for 0 and unknown Ids

// Portrait slot of a commander (its 1-based catalog slot), or 0 when it has none.
int PortraitSlotOf(int32_t commanderId);

// teamCount limited to the usable slots 0..254.
int UsableTeamCount();
