// The game's settings catalogs: five JSON files of the data folder read once at start-up
// into fixed static tables that the map view and the dialogs index directly by Id.
//
// Every catalog file is a UTF-8 JSON array of objects, one per entry (a UTF-8 byte-order
// mark is accepted). Keys not listed below are ignored; a missing number reads as 0 and a
// missing text as empty. Names are stored as GBK in 20-byte slots (see base/text.h).
//
//   数据/RankSettings.json       "Id", "Life"                               RankLife[Id]
//   数据/CountrySettings.json    "Id"                                       CountryIds
//   数据/ArmySettings.json       "Id", "OName", "Level", "Army", "HP",      Army*[Id - 100001]
//                               "Mobility"
//   数据/CommanderSettings.json  "Id", "Photo", "OName"                     by commander slot
//   数据/BuildingSettings.json   "OName", "Id"                              BuildingName[Id]
//
// A missing or empty file gives an empty catalog, a file with a syntax error what the
// reader built before the error; neither is reported to the user.
//
// Entries that do not fit the tables are skipped whole, so every stored entry is also listed
// and counted (counts are the number of entries stored):
//   - an entry that is not an object, or whose "Id" is not a number of 32 bits (text, true,
//     an array, 1e10, ...); a missing "Id" reads as 0 like any missing number;
//   - an Id outside its table: rank 0..29, country 0..999 (the string table's names and
//     everything indexed by country Id stop there), army 100001..200000, commander 0..65535,
//     building 0..19999;
//   - entries past a list's capacity: 1000 countries, 1000 armies, 799 commanders (name
//     slots 1..799), 256 buildings.
// Other numbers that JsonCpp's asInt would refuse (text, arrays, objects, values beyond 32
// bits) read as 0; arrays and objects where a text is expected read as empty. Names longer
// than a slot are cut at a character boundary. No exception leaves a loader.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "base/text.h"

constexpr int kRankSlots = 30;
constexpr int kCountryIdSlots = 1000;
constexpr int kCountryIdLimit = 1000;  // country Ids 0..999
constexpr int kArmyIdSlots = 1000;
constexpr int kFirstArmyId = 100001;
constexpr int kArmySlots = 100000;  // army Ids 100001..200000, stored at Id - 100001
constexpr int kArmyByTypeLevelSlots = 100000;
constexpr int kCommanderSlotIndex = 65536;  // CommanderSlot covers every 16-bit commander Id
constexpr int kCommanderIdSlots = 2000;
constexpr int kCommanderNameSlots = 800;  // commander slots 1..799; slot 0 stays empty
constexpr int kBuildingIdSlots = 256;
constexpr int kBuildingNameSlots = 20000;

// Every catalog's tables. Each loader replaces the tables of its own catalog.
struct Catalogs {
  int32_t RankCount;
  int32_t RankLife[kRankSlots];

  int32_t CountryCount;
  int32_t CountryIds[kCountryIdSlots];

  int32_t ArmyCount;
  int32_t ArmyIds[kArmyIdSlots];
  char ArmyName[kArmySlots][kSlotBytes];
  uint8_t ArmyLevel[kArmySlots];
  uint8_t ArmyType[kArmySlots];  // the army category
  int32_t ArmyHP[kArmySlots];
  int32_t ArmyMobility[kArmySlots];
  int32_t ArmyByTypeLevel[kArmyByTypeLevelSlots];  // [category * 100 + level] = army Id

  int32_t CommanderSlotCount;
  int32_t CommanderSlot[kCommanderSlotIndex];  // 1-based slot; 0 = unknown commander
  int32_t CommanderCount;
  int32_t CommanderIds[kCommanderIdSlots];
  char CommanderName[kCommanderNameSlots][kSlotBytes];

  int32_t BuildingCount;
  int32_t BuildingIds[kBuildingIdSlots];
  char BuildingName[kBuildingNameSlots][kSlotBytes];
};

// The catalogs of the process; zero until loaded.
extern Catalogs g_catalogs;

// Called for each commander as its entry is read, with its slot and its "Photo" text in GBK;
// the artwork module loads "图片\smallheads\" + photo + ".png" into the slot's portrait.
using PortraitLoader = void (*)(int slot, const char* photoAnsi);

// What a loader found. The editor ignores it (catalog trouble is silent there); tools and
// tests can look.
struct CatalogReport {
  bool opened = false;  // the file could be read
  bool parsed = false;  // the whole file was valid JSON
  int entries = 0;      // entries of the top-level array
  int skipped = 0;      // entries left out because they do not fit the tables
};

// Each loader replaces its own tables. The forms without a path read the data folder's file.
CatalogReport LoadRankCatalog();
CatalogReport LoadRankCatalog(const std::string& path);
CatalogReport LoadArmyCatalog();
CatalogReport LoadArmyCatalog(const std::string& path);
CatalogReport LoadBuildingCatalog();
CatalogReport LoadBuildingCatalog(const std::string& path);
CatalogReport LoadCommanderCatalog(PortraitLoader loadPortrait);  // null: no portraits
CatalogReport LoadCommanderCatalog(const std::string& path, PortraitLoader loadPortrait);
CatalogReport LoadCountryCatalog();
CatalogReport LoadCountryCatalog(const std::string& path);

// The same loaders over a catalog file's bytes held in memory; `opened` is always true.
enum class CatalogKind { kRank, kCountry, kArmy, kCommander, kBuilding };
CatalogReport LoadCatalogText(CatalogKind kind, std::string_view text,
                              PortraitLoader loadPortrait = nullptr);

// Zeroes every table and count.
void ResetCatalogs();

// Checked lookups for code that holds numbers from a scenario file.
int ArmySlotOf(int32_t armyId);                    // Id - 100001, or -1 out of range
const char* ArmyNameOf(int32_t armyId);            // "" for 0 and out-of-range Ids
const char* BuildingNameOf(int32_t buildingId);    // "" out of range
const char* CommanderNameOf(int32_t commanderId);  // "" for unknown commanders
int32_t RankLifeOf(int32_t rank);                  // 0 out of range
// The army whose own category and level are the pair given, or 0 where none is (also where
// the pair's slot of ArmyByTypeLevel holds an army listed with another pair).
int32_t ArmyIdOf(uint8_t unitClass, uint8_t unitLevel);

// Checked lookups of a unit type's numbers and a commander's portrait, for numbers from a
// scenario file or a control.
int32_t ArmyHpOf(int32_t armyId);        // 0 for 0 and unknown Ids
int32_t ArmyMobilityOf(int32_t armyId);  // 0 for 0 and unknown Ids
// Portrait slot of a commander (its 1-based catalog slot), or 0 when it has none.
int PortraitSlotOf(int32_t commanderId);
