// Names from the game data for the numbers of a battle file: unit types, buildings, cities,
// commanders and countries, read from the catalogs and the string table of the data folder
// when they are there. They are helper text beside the numbers, never instead of them: every
// look-up gives "" where the data folder has no name, and the companion then shows numbers
// only.
#pragma once

#include <cstdint>
#include <string>

#include "scenario/world_record.h"

// Loads the catalogs and the string table of `dataDir` (empty: the data folder under the
// current one) into the process's tables, replacing what was there. False when none of the
// catalogs is there.
bool LoadGameTables(const std::string& dataDir);

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
