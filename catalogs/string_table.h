// The game's language string table: country and city names by Id, read once at start-up
// from a UTF-8 text file of key=value lines in the data folder. Only two key families are
// read:
//
//   text3_countryname_<Id>...=<name>     CountryName[Id]
//   city_cityname_<Id>...=<name>         CityName[Id], and Id appended to CityIds
//
// The file is read like fgets with a 150-byte buffer on a text-mode stream: pieces of at most
// 149 bytes, each ending after its line break (CR LF reads as LF in both builds); a longer
// line is read in several pieces, each treated as a line. A prefix counts only at the very
// start of a piece and is case-sensitive. The Id is the decimal number right after the prefix
// (leading blanks and a sign accepted, stopping at the first other byte; no digits give 0).
// The name is everything after the first "=", without the line break, nothing trimmed,
// stored as GBK cut to its 20-byte slot at a character boundary. A later line with the same
// Id replaces the name; for cities the Id is listed again.
//
// Skipped lines: a matching line without "=", a country Id outside 0..999, a city Id outside
// 0..99999, and city lines after the 1000th stored one. A file that cannot be read leaves
// every name empty.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "base/text.h"

constexpr int kCountryNameSlots = 1000;
constexpr int kCityNameSlots = 100000;
constexpr int kCityIdSlots = 1000;

struct StringTable {
  char CountryName[kCountryNameSlots][kSlotBytes];
  char CityName[kCityNameSlots][kSlotBytes];
  int32_t CityIds[kCityIdSlots];
  int32_t CityCount;
};

// The string table of the process; empty until loaded.
extern StringTable g_strings;

// The table named by the configuration key 语言文件 (default stringtable_cn.ini) in the data
// folder. True when the file could be read.
bool load_string_table();
// The given file; replaces all four tables.
bool load_string_table(const std::string& path);
// The same over a file's bytes held in memory; replaces all four tables.
void ReadStringTable(std::string_view text);
// "数据" + separator + the configured file name, as a UTF-8 path.
std::string StringTablePath();
void ResetStringTable();

const char* CountryNameOf(int32_t countryId);  // "" out of range
const char* CityNameOf(int32_t cityId);        // "" out of range
