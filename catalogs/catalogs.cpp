#include "catalogs/catalogs.h"

#include <json/json.h>

#include <cstring>
#include <exception>
#include <sstream>

#include "base/files.h"

int32_t RankCount;
int32_t RankLife[kRankSlots];
int32_t CountryCount;
int32_t CountryIds[kCountryIdSlots];
int32_t ArmyCount;
int32_t ArmyIds[kArmyIdSlots];
char ArmyName[kArmySlots][kSlotBytes];
uint8_t ArmyLevel[kArmySlots];
uint8_t ArmyType[kArmySlots];
int32_t ArmyHP[kArmySlots];
int32_t ArmyMobility[kArmySlots];
int32_t ArmyByTypeLevel[kArmyByTypeLevelSlots];
int32_t CommanderSlotCount;
int32_t CommanderSlot[kCommanderSlotIndex];
int32_t CommanderCount;
int32_t CommanderIds[kCommanderIdSlots];
char CommanderName[kCommanderNameSlots][kSlotBytes];
int32_t BuildingCount;
int32_t BuildingIds[kBuildingIdSlots];
char BuildingName[kBuildingNameSlots][kSlotBytes];

namespace {

const char kEmptySlot[kSlotBytes] = {};

void ClearRanks() {
  RankCount = 0;
  memset(RankLife, 0, sizeof RankLife);
}

void ClearCountries() {
  CountryCount = 0;
  memset(CountryIds, 0, sizeof CountryIds);
}

void ClearArmies() {
  ArmyCount = 0;
  memset(ArmyIds, 0, sizeof ArmyIds);
  memset(ArmyName, 0, sizeof ArmyName);
  memset(ArmyLevel, 0, sizeof ArmyLevel);
  memset(ArmyType, 0, sizeof ArmyType);
  memset(ArmyHP, 0, sizeof ArmyHP);
  memset(ArmyMobility, 0, sizeof ArmyMobility);
  memset(ArmyByTypeLevel, 0, sizeof ArmyByTypeLevel);
}

void ClearCommanders() {
  CommanderSlotCount = 0;
  CommanderCount = 0;
  memset(CommanderSlot, 0, sizeof CommanderSlot);
  memset(CommanderIds, 0, sizeof CommanderIds);
  memset(CommanderName, 0, sizeof CommanderName);
}

void ClearBuildings() {
  BuildingCount = 0;
  memset(BuildingIds, 0, sizeof BuildingIds);
  memset(BuildingName, 0, sizeof BuildingName);
}

// Parses a catalog's text into a root value. The result of the parse only goes into the
// report: whatever the reader built is used, so an empty text gives a null root (no
// entries) and a syntax error keeps the entries read before it. JsonCpp's old reader does
// not skip a UTF-8 byte-order mark, so it is removed here. The reader throws when arrays and
// objects nest deeper than its limit; the part built until then is kept.
Json::Value ParseCatalog(std::string_view text, CatalogReport& report) {
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  std::istringstream stream{std::string(text)};
  Json::Value root;
  Json::Reader reader;
  try {
    report.parsed = reader.parse(stream, root, false);
  } catch (const std::exception&) {
    report.parsed = false;
  }
  return root;
}

// "Id": a number that fits 32 bits, read like asInt (a missing Id reads as 0). False for
// anything else, which asInt would throw on or which names no entry.
bool ReadId(const Json::Value& entry, int32_t& id) {
  const Json::Value& v = entry["Id"];
  if (!(v.isNull() || v.isNumeric()) || !v.isConvertibleTo(Json::intValue)) return false;
  id = v.asInt();
  return true;
}

// Any other number: asInt where asInt accepts the value, else 0 like a missing key.
int32_t ReadNumber(const Json::Value& entry, const char* key) {
  const Json::Value& v = entry[key];
  return v.isConvertibleTo(Json::intValue) ? v.asInt() : 0;
}

// A text: asString where asString accepts the value (numbers and booleans give their text),
// else empty.
std::string ReadText(const Json::Value& entry, const char* key) {
  const Json::Value& v = entry[key];
  return v.isConvertibleTo(Json::stringValue) ? v.asString() : std::string();
}

// The frame every loader shares: parse, then hand each object entry of the top-level array
// to `store`, which returns false for an entry that does not fit. A top level that is not an
// array holds no entries.
template <class Store>
CatalogReport LoadCatalog(std::string_view text, bool opened, Store store) {
  CatalogReport report;
  report.opened = opened;
  try {
    Json::Value root = ParseCatalog(text, report);
    if (!root.isArray()) return report;
    for (Json::ArrayIndex i = 0; i < root.size(); ++i) {
      const Json::Value& entry = root[i];
      ++report.entries;
      if (!entry.isObject() || !store(entry)) ++report.skipped;
    }
  } catch (const std::exception&) {
    // Only an allocation failure can get here; the entries stored so far stay.
  }
  return report;
}

template <class Store>
CatalogReport LoadCatalogFile(const std::string& path, Store store) {
  std::string text;
  bool opened = ReadWholeFile(path, text);
  return LoadCatalog(text, opened, store);
}

bool StoreRank(const Json::Value& entry) {
  int32_t id;
  if (!ReadId(entry, id) || id < 0 || id >= kRankSlots) return false;
  RankLife[id] = ReadNumber(entry, "Life");
  ++RankCount;
  return true;
}

bool StoreCountry(const Json::Value& entry) {
  int32_t id;
  if (!ReadId(entry, id) || id < 0 || id >= kCountryIdLimit) return false;
  if (CountryCount >= kCountryIdSlots) return false;
  CountryIds[CountryCount++] = id;
  return true;
}

bool StoreArmy(const Json::Value& entry) {
  int32_t id;
  if (!ReadId(entry, id)) return false;
  int k = ArmySlotOf(id);
  if (k < 0 || ArmyCount >= kArmyIdSlots) return false;
  FillSlot(ArmyName[k], ReadText(entry, "OName"));
  ArmyLevel[k] = static_cast<uint8_t>(ReadNumber(entry, "Level"));  // low 8 bits
  ArmyType[k] = static_cast<uint8_t>(ReadNumber(entry, "Army"));
  ArmyHP[k] = ReadNumber(entry, "HP");
  ArmyMobility[k] = ReadNumber(entry, "Mobility");
  ArmyIds[ArmyCount++] = id;
  // A later entry with the same category and level takes the place of an earlier one.
  ArmyByTypeLevel[ArmyType[k] * 100 + ArmyLevel[k]] = id;
  return true;
}

bool StoreBuilding(const Json::Value& entry) {
  std::string name = ReadText(entry, "OName");
  int32_t id;
  if (!ReadId(entry, id) || id < 0 || id >= kBuildingNameSlots) return false;
  if (BuildingCount >= kBuildingIdSlots) return false;
  FillSlot(BuildingName[id], name);
  BuildingIds[BuildingCount++] = id;
  return true;
}

PortraitLoader g_portraitLoader;

// A commander listed twice gets two slots; CommanderSlot keeps the later one.
bool StoreCommander(const Json::Value& entry) {
  int32_t id;
  if (!ReadId(entry, id) || id < 0 || id >= kCommanderSlotIndex) return false;
  if (CommanderSlotCount + 1 >= kCommanderNameSlots || CommanderCount >= kCommanderIdSlots) return false;
  std::string photo = ReadText(entry, "Photo");
  std::string name = ReadText(entry, "OName");
  int slot = ++CommanderSlotCount;
  CommanderSlot[id] = slot;
  CommanderIds[CommanderCount++] = id;
  FillSlot(CommanderName[slot], name);
  if (g_portraitLoader) {
    char photoAnsi[kAnsiWorkBytes];
    size_t n = Utf8Fit(photo, sizeof photoAnsi - 1);
    memcpy(photoAnsi, photo.data(), n);
    photoAnsi[n] = '\0';
    ansi_from_utf8(photoAnsi);
    g_portraitLoader(slot, photoAnsi);
  }
  return true;
}

}  // namespace

CatalogReport LoadRankCatalog() { return LoadRankCatalog(DataPath("RankSettings.json")); }

CatalogReport LoadRankCatalog(const std::string& path) {
  ClearRanks();
  return LoadCatalogFile(path, StoreRank);
}

CatalogReport LoadArmyCatalog() { return LoadArmyCatalog(DataPath("ArmySettings.json")); }

CatalogReport LoadArmyCatalog(const std::string& path) {
  ClearArmies();
  return LoadCatalogFile(path, StoreArmy);
}

CatalogReport LoadBuildingCatalog() { return LoadBuildingCatalog(DataPath("BuildingSettings.json")); }

CatalogReport LoadBuildingCatalog(const std::string& path) {
  ClearBuildings();
  return LoadCatalogFile(path, StoreBuilding);
}

CatalogReport LoadCommanderCatalog(PortraitLoader loadPortrait) {
  return LoadCommanderCatalog(DataPath("CommanderSettings.json"), loadPortrait);
}

CatalogReport LoadCommanderCatalog(const std::string& path, PortraitLoader loadPortrait) {
  ClearCommanders();
  g_portraitLoader = loadPortrait;
  CatalogReport report = LoadCatalogFile(path, StoreCommander);
  g_portraitLoader = nullptr;
  return report;
}

CatalogReport LoadCountryCatalog() { return LoadCountryCatalog(DataPath("CountrySettings.json")); }

CatalogReport LoadCountryCatalog(const std::string& path) {
  ClearCountries();
  return LoadCatalogFile(path, StoreCountry);
}

CatalogReport LoadCatalogText(CatalogKind kind, std::string_view text, PortraitLoader loadPortrait) {
  switch (kind) {
    case CatalogKind::Rank:
      ClearRanks();
      return LoadCatalog(text, true, StoreRank);
    case CatalogKind::Country:
      ClearCountries();
      return LoadCatalog(text, true, StoreCountry);
    case CatalogKind::Army:
      ClearArmies();
      return LoadCatalog(text, true, StoreArmy);
    case CatalogKind::Building:
      ClearBuildings();
      return LoadCatalog(text, true, StoreBuilding);
    case CatalogKind::Commander: {
      ClearCommanders();
      g_portraitLoader = loadPortrait;
      CatalogReport report = LoadCatalog(text, true, StoreCommander);
      g_portraitLoader = nullptr;
      return report;
    }
  }
  return {};
}

void ResetCatalogs() {
  ClearRanks();
  ClearCountries();
  ClearArmies();
  ClearCommanders();
  ClearBuildings();
}

int32_t ArmyIdOf(uint8_t unitClass, uint8_t unitLevel) {
  // The table's key, category * 100 + level, is shared by pairs whose levels reach 100 (1/105
  // and 2/5), and an Id listed again with another pair leaves its first slot behind. Only an
  // entry whose own category and level are the ones asked for is the unit's type.
  int32_t id = ArmyByTypeLevel[unitClass * 100 + unitLevel];
  int k = ArmySlotOf(id);
  if (k < 0 || ArmyType[k] != unitClass || ArmyLevel[k] != unitLevel) return 0;
  return id;
}

int ArmySlotOf(int32_t armyId) {
  if (armyId < kFirstArmyId || armyId - kFirstArmyId >= kArmySlots) return -1;
  return armyId - kFirstArmyId;
}

const char* ArmyNameOf(int32_t armyId) {
  int k = ArmySlotOf(armyId);
  return k < 0 ? kEmptySlot : ArmyName[k];
}

const char* BuildingNameOf(int32_t buildingId) {
  if (buildingId < 0 || buildingId >= kBuildingNameSlots) return kEmptySlot;
  return BuildingName[buildingId];
}

const char* CommanderNameOf(int32_t commanderId) {
  if (commanderId < 0 || commanderId >= kCommanderSlotIndex) return kEmptySlot;
  return CommanderName[CommanderSlot[commanderId]];
}

int32_t RankLifeOf(int32_t rank) {
  if (rank < 0 || rank >= kRankSlots) return 0;
  return RankLife[rank];
}

int32_t ArmyHpOf(int32_t armyId) {
  int slot = ArmySlotOf(armyId);
  return slot < 0 ? 0 : ArmyHP[slot];
}

int32_t ArmyMobilityOf(int32_t armyId) {
  int slot = ArmySlotOf(armyId);
  return slot < 0 ? 0 : ArmyMobility[slot];
}

int PortraitSlotOf(int32_t commanderId) {
  if (commanderId < 0 || commanderId >= kCommanderSlotIndex) return 0;
  int slot = CommanderSlot[commanderId];
  return slot > 0 && slot < kCommanderNameSlots ? slot : 0;
}
