#include "tools/btl/names.h"

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

}  // namespace

bool LoadGameTables(const std::string& dataDir) {
  auto in = [&](const char* name) { return dataDir.empty() ? DataPath(name) : JoinPath(dataDir, name); };
  // Each loader clears its own tables first, whether or not its file is there.
  bool any = LoadRankCatalog(in("RankSettings.json")).opened;
  any |= LoadArmyCatalog(in("ArmySettings.json")).opened;
  any |= LoadBuildingCatalog(in("BuildingSettings.json")).opened;
  any |= LoadCommanderCatalog(in("CommanderSettings.json"), nullptr).opened;
  any |= LoadCountryCatalog(in("CountrySettings.json")).opened;
  std::string table = Utf8FromGbk(ConfigString(in("配置.ini"), kConfigLanguageFile, "stringtable_cn.ini"));
  load_string_table(in(table.c_str()));
  return any;
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
  return UnitTypeName(record[offsetof(UnitRecord, unitClass)], record[offsetof(UnitRecord, unitLevel)]);
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
