#include "btl/names.h"

#include <cstddef>
#include <cstring>

#include "base/config.h"
#include "base/files.h"
#include "base/text.h"
#include "catalogs/catalogs.h"
#include "catalogs/string_table.h"

namespace {

constexpr int kCityCodeHundreds = 101;  // building codes 10100..10199 are cities

// A GBK name slot as UTF-8.
std::string FromSlot(const char* slot) {
  if (!*slot) return {};  // most look-ups without the data folder: no conversion to set up
  return Utf8FromGbk(std::string_view(slot, strnlen(slot, kSlotBytes)));
}

// The string table has no syntax to break: a file read without a single country or city
// line is as good as none.
bool StringTableHoldsNames() {
  if (g_strings.CityCount > 0) return true;
  for (const auto& name : g_strings.CountryName)
    if (name[0]) return true;
  return false;
}

}  // namespace

bool GameData::anyCatalog() const {
  for (int f = 0; f < int(DataFile::kStringTable); ++f)
    if (states[f] != DataFileState::kMissing) return true;
  return false;
}

const char* DataFileStateText(DataFileState state) {
  switch (state) {
    case DataFileState::kRead: return "已读入";
    case DataFileState::kMissing: return "缺失或无法读取";
    case DataFileState::kBroken: return "已损坏（不是有效的 JSON）";
    case DataFileState::kEmpty: return "没有任何条目";
  }
  return "";
}

const char* DataFileStateKey(DataFileState state) {
  switch (state) {
    case DataFileState::kRead: return "read";
    case DataFileState::kMissing: return "missing";
    case DataFileState::kBroken: return "broken";
    case DataFileState::kEmpty: return "empty";
  }
  return "";
}

GameData LoadGameTables(const std::string& dataDir) {
  auto in = [&](const char* name) {
    return dataDir.empty() ? DataPath(name) : JoinPath(dataDir, name);
  };
  GameData data;
  auto note = [&](DataFile f, const char* name, const CatalogReport& r) {
    data.names[int(f)] = name;
    data.paths[int(f)] = in(name);
    data.states[int(f)] = !r.opened        ? DataFileState::kMissing
                          : !r.parsed      ? DataFileState::kBroken
                          : r.entries == 0 ? DataFileState::kEmpty
                                           : DataFileState::kRead;
  };
  // Each loader clears its own tables first, whether or not its file is there.
  const char* const catalogs[] = {"RankSettings.json", "ArmySettings.json", "BuildingSettings.json",
                                  "CommanderSettings.json", "CountrySettings.json"};
  note(DataFile::kRanks, catalogs[0], LoadRankCatalog(in(catalogs[0])));
  note(DataFile::kArmies, catalogs[1], LoadArmyCatalog(in(catalogs[1])));
  note(DataFile::kBuildings, catalogs[2], LoadBuildingCatalog(in(catalogs[2])));
  note(DataFile::kCommanders, catalogs[3], LoadCommanderCatalog(in(catalogs[3]), nullptr));
  note(DataFile::kCountries, catalogs[4], LoadCountryCatalog(in(catalogs[4])));
  const std::string name =
      Utf8FromGbk(ConfigString(in("配置.ini"), kConfigLanguageFile, "stringtable_cn.ini"));
  const std::string table = in(name.c_str());
  data.names[int(DataFile::kStringTable)] = name;
  data.paths[int(DataFile::kStringTable)] = table;
  data.states[int(DataFile::kStringTable)] = !load_string_table(table) ? DataFileState::kMissing
                                             : StringTableHoldsNames() ? DataFileState::kRead
                                                                       : DataFileState::kEmpty;
  return data;
}

std::string UnitTypeName(uint8_t unitClass, uint8_t unitLevel) {
  return FromSlot(ArmyNameOf(ArmyIdOf(unitClass, unitLevel)));
}

std::string BuildingName(const BuildingRecord& b) {
  if (b.buildingCode / 100 == kCityCodeHundreds && b.cityName != 0) {
    std::string city = FromSlot(CityNameOf(b.cityName));
    if (!city.empty()) return city;
  }
  return FromSlot(BuildingNameOf(b.buildingCode));
}

std::string CommanderName(int32_t commander) { return FromSlot(CommanderNameOf(commander)); }

std::string CountryName(int32_t country) { return FromSlot(CountryNameOf(country)); }

std::string BuildingRecordName(const uint8_t* record) {
  BuildingRecord b;
  memcpy(&b, record, sizeof b);
  return BuildingName(b);
}

std::string UnitRecordName(const uint8_t* record) {
  return UnitTypeName(record[offsetof(UnitRecord, unitClass)],
                      record[offsetof(UnitRecord, unitLevel)]);
}

std::string GeneralRecordName(const uint8_t* record) {
  GeneralEntry g;
  memcpy(&g, record, sizeof g);
  return CommanderName(g.commander);
}

std::string TeamRecordName(const uint8_t* record) {
  int32_t country;
  memcpy(&country, record + offsetof(TeamRecord, country), sizeof country);
  return CountryName(country);
}

std::string InBrackets(const std::string& name) { return name.empty() ? "" : "（" + name + "）"; }
