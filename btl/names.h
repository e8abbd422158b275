// Names from the game data for the numbers of a battle file: unit types, buildings, cities,
// commanders and countries, read from the catalogs and the string table of the data folder
// when they are there. They are helper text beside the numbers, never instead of them: every
// look-up gives "" where the data folder has no name, and the companion then shows numbers
// only.
#pragma once

#include <cstdint>
#include <string>

#include "scenario/world_record.h"

// The files of the data folder the tables come from, and what became of each.
enum class DataFile : uint8_t {
  kRanks,
  kArmies,
  kBuildings,
  kCommanders,
  kCountries,
  kStringTable
};
constexpr int kDataFiles = int(DataFile::kStringTable) + 1;

enum class DataFileState : uint8_t {
  kRead,     // read, with entries
  kMissing,  // cannot be read
  kBroken,   // not valid JSON (what was read before the error is in the tables)
  kEmpty,    // read, but without a single entry
};

struct GameData {
  std::string names[kDataFiles];  // UTF-8, within the data folder, the same on every system
  std::string paths[kDataFiles];  // UTF-8, as looked for
  DataFileState states[kDataFiles] = {DataFileState::kMissing, DataFileState::kMissing,
                                      DataFileState::kMissing, DataFileState::kMissing,
                                      DataFileState::kMissing, DataFileState::kMissing};

  DataFileState state(DataFile f) const { return states[int(f)]; }
  const std::string& path(DataFile f) const { return paths[int(f)]; }
  bool usable(DataFile f) const { return state(f) == DataFileState::kRead; }
  bool anyCatalog() const;  // at least one of the five catalogs could be read
};

// The file's state in the user's words: "缺失", "已损坏（不是有效的 JSON）", "没有任何条目".
const char* DataFileStateText(DataFileState state);
// The state's stable JSON word: "read", "missing", "broken", "empty".
const char* DataFileStateKey(DataFileState state);

// Loads the catalogs and the string table of `dataDir` (empty: the data folder under the
// current one) into the process's tables, replacing what was there, and says what became of
// each file.
GameData LoadGameTables(const std::string& dataDir);

// UTF-8 names, "" when unknown.
std::string UnitTypeName(uint8_t unitClass, uint8_t unitLevel);
std::string BuildingName(const BuildingRecord& building);  // a city's own name when it has one
std::string CommanderName(int32_t commander);
std::string CountryName(int32_t country);

// The same for a record's bytes as the file holds them: a building or a unit, a general
// (its commander), a team (its country).
using RecordNamer = std::string (*)(const uint8_t* record);
std::string BuildingRecordName(const uint8_t* record);
std::string UnitRecordName(const uint8_t* record);
std::string GeneralRecordName(const uint8_t* record);
std::string TeamRecordName(const uint8_t* record);

// A name as the companion writes it after a number: "（name）", or "" without a name.
std::string InBrackets(const std::string& name);
