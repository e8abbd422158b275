// Building a battle file's bytes from the world record (its layout in scenario/battle_format.h)
// and saving them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/status.h"

// Counts of the record as a save would write them.
int32_t CountBuildings();
int32_t CountUnits();

// The file a save writes. Updates the record's header (range and counts) and the teams'
// colour bytes (alpha 255) to what the file holds.
Status BuildBattleBytes(std::vector<uint8_t>& out);

// Writes the current record to `path` through the safe-save path: the old file stays as it
// was unless the whole new file has been written.
Status SaveScenarioTo(const std::string& path);
// The same through the given file operations (see scenario/safe_save.h).
class SaveOps;
Status SaveScenarioTo(const std::string& path, SaveOps& ops);
