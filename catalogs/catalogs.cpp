#include "catalogs/catalogs.h"

#include <json/json.h>

#include <cstring>
#include <exception>
#include <sstream>

#include "base/files.h"

Catalogs g_catalogs;

namespace {

const char kEmptySlot[kSlotBytes] = {};

void ClearRanks() {
  g_catalogs.RankCount = 0;
  memset(g_catalogs.RankLife, 0, sizeof g_catalogs.RankLife);
}

void ClearCountries() {
  g_catalogs.CountryCount = 0;
  memset(g_catalogs.CountryIds, 0, sizeof g_catalogs.CountryIds);
}

void ClearArmies() {
  g_catalogs.ArmyCount = 0;
  memset(g_catalogs.ArmyIds, 0, sizeof g_catalogs.ArmyIds);
  memset(g_catalogs.ArmyName, 0, sizeof g_catalogs.ArmyName);
  memset(g_catalogs.ArmyLevel, 0, sizeof g_catalogs.ArmyLevel);
  memset(g_catalogs.ArmyType, 0, sizeof g_catalogs.ArmyType);
  memset(g_catalogs.ArmyHP, 0, sizeof g_catalogs.ArmyHP);
  memset(g_catalogs.ArmyMobility, 0, sizeof g_catalogs.ArmyMobility);
  memset(g_catalogs.ArmyByTypeLevel, 0, sizeof g_catalogs.ArmyByTypeLevel);
}

void ClearCommanders() {
  g_catalogs.CommanderSlotCount = 0;
  g_catalogs.CommanderCount = 0;
  memset(g_catalogs.CommanderSlot, 0, sizeof g_catalogs.CommanderSlot);
  memset(g_catalogs.CommanderIds, 0, sizeof g_catalogs.CommanderIds);
  memset(g_catalogs.CommanderName, 0, sizeof g_catalogs.CommanderName);
}

void ClearBuildings() {
  g_catalogs.BuildingCount = 0;
  memset(g_catalogs.BuildingIds, 0, sizeof g_catalogs.BuildingIds);
  memset(g_catalogs.BuildingName, 0, sizeof g_catalogs.BuildingName);
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
CatalogReport LoadCatalog(std::string_view text, bool opened,
                          bool (*store)(const Json::Value& entry)) {
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

bool StoreRank(const Json::Value& entry) {
  int32_t id;
  if (!ReadId(entry, id) || id < 0 || id >= kRankSlots) return false;
  g_catalogs.RankLife[id] = ReadNumber(entry, "Life");
  ++g_catalogs.RankCount;
  return true;
}

bool StoreCountry(const Json::Value& entry) {
  int32_t id;
  if (!ReadId(entry, id) || id < 0 || id >= kCountryIdLimit) return false;
  if (g_catalogs.CountryCount >= kCountryIdSlots) return false;
  g_catalogs.CountryIds[g_catalogs.CountryCount++] = id;
  return true;
}

bool StoreArmy(const Json::Value& entry) {
  int32_t id;
  if (!ReadId(entry, id)) return false;
  int k = ArmySlotOf(id);
  if (k < 0 || g_catalogs.ArmyCount >= kArmyIdSlots) return false;
  FillSlot(g_catalogs.ArmyName[k], ReadText(entry, "OName"));
  g_catalogs.ArmyLevel[k] = static_cast<uint8_t>(ReadNumber(entry, "Level"));  // low 8 bits
  g_catalogs.ArmyType[k] = static_cast<uint8_t>(ReadNumber(entry, "Army"));
  g_catalogs.ArmyHP[k] = ReadNumber(entry, "HP");
  g_catalogs.ArmyMobility[k] = ReadNumber(entry, "Mobility");
  g_catalogs.ArmyIds[g_catalogs.ArmyCount++] = id;
  // A later entry with the same category and level takes the place of an earlier one.
  g_catalogs.ArmyByTypeLevel[g_catalogs.ArmyType[k] * 100 + g_catalogs.ArmyLevel[k]] = id;
  return true;
}

bool StoreBuilding(const Json::Value& entry) {
  std::string name = ReadText(entry, "OName");
  int32_t id;
  if (!ReadId(entry, id) || id < 0 || id >= kBuildingNameSlots) return false;
  if (g_catalogs.BuildingCount >= kBuildingIdSlots) return false;
  FillSlot(g_catalogs.BuildingName[id], name);
  g_catalogs.BuildingIds[g_catalogs.BuildingCount++] = id;
  return true;
}

PortraitLoader g_portraitLoader;

// A commander listed twice gets two slots; CommanderSlot keeps the later one.
bool StoreCommander(const Json::Value& entry) {
  int32_t id;
  if (!ReadId(entry, id) || id < 0 || id >= kCommanderSlotIndex) return false;
  if (g_catalogs.CommanderSlotCount + 1 >= kCommanderNameSlots ||
      g_catalogs.CommanderCount >= kCommanderIdSlots)
    return false;
  std::string photo = ReadText(entry, "Photo");
  std::string name = ReadText(entry, "OName");
  int slot = ++g_catalogs.CommanderSlotCount;
  g_catalogs.CommanderSlot[id] = slot;
  g_catalogs.CommanderIds[g_catalogs.CommanderCount++] = id;
  FillSlot(g_catalogs.CommanderName[slot], name);
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

// The tables of one catalog and how an entry is stored in them.
struct CatalogLoader {
  void (*clear)();
  bool (*store)(const Json::Value& entry);
};

CatalogLoader LoaderOf(CatalogKind kind) {
  switch (kind) {
    case CatalogKind::kRank: return {ClearRanks, StoreRank};
    case CatalogKind::kCountry: return {ClearCountries, StoreCountry};
    case CatalogKind::kArmy: return {ClearArmies, StoreArmy};
    case CatalogKind::kBuilding: return {ClearBuildings, StoreBuilding};
    case CatalogKind::kCommander: return {ClearCommanders, StoreCommander};
  }
  return {};
}

// Every loader: the catalog's tables are cleared, then filled from the text.
CatalogReport ReplaceCatalog(CatalogKind kind, std::string_view text, bool opened,
                             PortraitLoader loadPortrait) {
  CatalogLoader loader = LoaderOf(kind);
  if (!loader.clear) return {};
  loader.clear();
  g_portraitLoader = loadPortrait;  // only commander entries use it
  CatalogReport report = LoadCatalog(text, opened, loader.store);
  g_portraitLoader = nullptr;
  return report;
}

CatalogReport LoadCatalogFile(CatalogKind kind, const std::string& path,
                              PortraitLoader loadPortrait = nullptr) {
  std::string text;
  bool opened = ReadWholeFile(path, text);
  return ReplaceCatalog(kind, text, opened, loadPortrait);
}

}  // namespace

CatalogReport LoadRankCatalog() { return LoadRankCatalog(DataPath("RankSettings.json")); }

CatalogReport LoadRankCatalog(const std::string& path) {
  return LoadCatalogFile(CatalogKind::kRank, path);
}

CatalogReport LoadArmyCatalog() { return LoadArmyCatalog(DataPath("ArmySettings.json")); }

CatalogReport LoadArmyCatalog(const std::string& path) {
  return LoadCatalogFile(CatalogKind::kArmy, path);
}

CatalogReport LoadBuildingCatalog() {
  return LoadBuildingCatalog(DataPath("BuildingSettings.json"));
}

CatalogReport LoadBuildingCatalog(const std::string& path) {
  return LoadCatalogFile(CatalogKind::kBuilding, path);
}

CatalogReport LoadCommanderCatalog(PortraitLoader loadPortrait) {
  return LoadCommanderCatalog(DataPath("CommanderSettings.json"), loadPortrait);
}

CatalogReport LoadCommanderCatalog(const std::string& path, PortraitLoader loadPortrait) {
  return LoadCatalogFile(CatalogKind::kCommander, path, loadPortrait);
}

CatalogReport LoadCountryCatalog() { return LoadCountryCatalog(DataPath("CountrySettings.json")); }

CatalogReport LoadCountryCatalog(const std::string& path) {
  return LoadCatalogFile(CatalogKind::kCountry, path);
}

CatalogReport LoadCatalogText(CatalogKind kind, std::string_view text,
                              PortraitLoader loadPortrait) {
  return ReplaceCatalog(kind, text, true, loadPortrait);
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
  int32_t id = g_catalogs.ArmyByTypeLevel[unitClass * 100 + unitLevel];
  int k = ArmySlotOf(id);
  if (k < 0 || g_catalogs.ArmyType[k] != unitClass || g_catalogs.ArmyLevel[k] != unitLevel)
    return 0;
  return id;
}

int ArmySlotOf(int32_t armyId) {
  if (armyId < kFirstArmyId || armyId - kFirstArmyId >= kArmySlots) return -1;
  return armyId - kFirstArmyId;
}

const char* ArmyNameOf(int32_t armyId) {
  int k = ArmySlotOf(armyId);
  return k < 0 ? kEmptySlot : g_catalogs.ArmyName[k];
}

const char* BuildingNameOf(int32_t buildingId) {
  if (buildingId < 0 || buildingId >= kBuildingNameSlots) return kEmptySlot;
  return g_catalogs.BuildingName[buildingId];
}

const char* CommanderNameOf(int32_t commanderId) {
  if (commanderId < 0 || commanderId >= kCommanderSlotIndex) return kEmptySlot;
  return g_catalogs.CommanderName[g_catalogs.CommanderSlot[commanderId]];
}

int32_t RankLifeOf(int32_t rank) {
  if (rank < 0 || rank >= kRankSlots) return 0;
  return g_catalogs.RankLife[rank];
}

int32_t ArmyHpOf(int32_t armyId) {
  int slot = ArmySlotOf(armyId);
  return slot < 0 ? 0 : g_catalogs.ArmyHP[slot];
}

int32_t ArmyMobilityOf(int32_t armyId) {
  int slot = ArmySlotOf(armyId);
  return slot < 0 ? 0 : g_catalogs.ArmyMobility[slot];
}

int PortraitSlotOf(int32_t commanderId) {
  if (commanderId < 0 || commanderId >= kCommanderSlotIndex) return 0;
  int slot = g_catalogs.CommanderSlot[commanderId];
  return slot > 0 && slot < kCommanderNameSlots ? slot : 0;
}
