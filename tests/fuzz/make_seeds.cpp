// Writes the seed corpora of the fuzz targets into FOLDER/<target>/: the demo data
// generator's files (world map, three battle files, five catalogs, string table,
// configuration) and, for every section of each format, files at counts 0, 1, the capacity
// and one past it. Sections whose capacity would make a file larger than the fuzzers take
// get a header that claims the capacity over a short body. The import target gets the JSON
// form of the small battle files, whole, cut short and with a wrong value.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "catalogs/catalogs.h"
#include "catalogs/string_table.h"
#include "base/text.h"
#include "scenario/battle_format.h"
#include "scenario/battle_read.h"
#include "btl/export_json.h"
#include "tools/demo_data/demo_data.h"

namespace {

namespace fs = std::filesystem;

// The fuzzers' -max_len: seeds stay below it.
constexpr size_t kSeedLimit = 300000;

fs::path g_root;
int g_serial = 0;

void Save(const char* target, const std::string& bytes) {
  fs::path folder = g_root / target;
  fs::create_directories(folder);
  fs::path path = folder / ("seed" + std::to_string(g_serial++));
  if (FILE* f = fopen(path.string().c_str(), "wb")) {
    fwrite(bytes.data(), 1, bytes.size(), f);
    fclose(f);
  }
}

void Put(std::string& out, const void* p, size_t n) { out.append(static_cast<const char*>(p), n); }

// ---- Battle files and world maps ------------------------------------------------------

struct BattleCounts {
  int w = 1, h = 1, teams = 1, buildings = 1, units = 1, generals = 1, tail = 1;
};

// A battle file on the fuzzer's 60-wide world at origin (2, 3). Records beyond what the
// seed limit allows are left out, so the header may claim more than the body holds.
std::string Battle(const BattleCounts& c) {
  BtlHeader hd{};
  hd.originX = 2;
  hd.originY = 3;
  hd.rangeWidth = c.w;
  hd.rangeHeight = c.h;
  hd.teamCount = c.teams;
  hd.buildingCount = c.buildings;
  hd.unitCount = c.units;
  hd.generalCount = c.generals;
  std::string out;
  Put(out, &hd, sizeof hd);
  auto room = [&](size_t n) { return out.size() + n <= kSeedLimit; };
  for (int i = 0; i < c.teams && room(kTeamFileBytes); ++i) {
    TeamRecord t{};
    t.country = i;
    t.fileColour[0] = uint8_t(i * 40);
    t.fileColour[3] = uint8_t(i);
    Put(out, &t, kTeamFileBytes);
  }
  for (int64_t i = 0; i < int64_t(c.w) * c.h && room(1); ++i)
    out += char(i % 3 == 0 ? 255 : i % (c.teams + 2));
  int w = c.w > 0 ? c.w : 1;
  for (int i = 0; i < c.buildings && room(sizeof(BuildingRecord)); ++i) {
    BuildingRecord b{};
    b.position = uint16_t((3 + i / w % (c.h + 1)) * 60 + 2 + i % w);
    b.buildingCode = uint16_t(i % 2 ? 10100 + i % 10 : i);
    b.defence = uint8_t(i & 1);
    Put(out, &b, sizeof b);
  }
  for (int i = 0; i < c.units && room(sizeof(UnitRecord)); ++i) {
    UnitRecord u{};
    u.position = uint16_t((3 + i / w % (c.h + 1)) * 60 + 2 + (i * 7) % (w + 1));
    u.unitClass = uint8_t(i % 5);
    u.general = uint8_t(i % 3 ? 255 : i);
    Put(out, &u, sizeof u);
  }
  for (int i = 0; i < c.generals && room(sizeof(GeneralEntry)); ++i) {
    GeneralEntry g{uint16_t(i), uint16_t(i % 11)};
    Put(out, &g, sizeof g);
  }
  for (int i = 0; i < c.tail && room(1); ++i) out += char(i * 17);
  return out;
}

// Every battle seed serves the reader's target and the JSON form's round trip.
void SaveBattle(const std::string& bytes) {
  Save("battle_fuzz", bytes);
  Save("export_fuzz", bytes);
}

void BattleSeeds(const std::vector<DemoFile>& demo) {
  for (const DemoFile& f : demo)
    if (f.path.ends_with(".btl")) SaveBattle(f.bytes);
  SaveBattle(Battle({0, 0, 0, 0, 0, 0, 0}));
  SaveBattle(Battle({}));
  SaveBattle(Battle({5, 4, 3, 6, 9, 2, 16}));
  // Each section at its capacity and one past it, the others small.
  const int caps[] = {kMaxGrid,  kMaxGrid,     kMaxTeams, kMaxBuildings,
                      kMaxUnits, kMaxGenerals, kMaxTail};
  for (int field = 0; field < 7; ++field)
    for (int extra : {0, 1}) {
      BattleCounts c;
      int* slots[] = {&c.w, &c.h, &c.teams, &c.buildings, &c.units, &c.generals, &c.tail};
      *slots[field] = caps[field] + extra;
      SaveBattle(Battle(c));
    }
  SaveBattle(Battle({kMaxGrid, kMaxGrid, 2, 3, 3, 1, 0}));  // the largest range
  // A count of -1 (0xFFFFFFFF) in each count field.
  for (size_t at : {offsetof(BtlHeader, rangeWidth), offsetof(BtlHeader, teamCount),
                    offsetof(BtlHeader, buildingCount), offsetof(BtlHeader, unitCount),
                    offsetof(BtlHeader, generalCount)}) {
    std::string bytes = Battle({2, 2, 1, 1, 1, 1, 0});
    memset(bytes.data() + at, 0xFF, 4);
    SaveBattle(bytes);
  }
}

// JSON documents for import: the export of small battle files (the demo files that fit the
// fuzzers' length), and documents that are cut short or name a value wrongly.
void ImportSeeds(const std::vector<DemoFile>& demo) {
  std::vector<std::string> files = {Battle({}), Battle({5, 4, 3, 6, 9, 2, 16}),
                                    Battle({0, 0, 0, 0, 0, 0, 0})};
  for (const DemoFile& f : demo)
    if (f.path.ends_with(".btl")) files.push_back(f.bytes);
  for (const std::string& bytes : files) {
    BattleImage image;
    if (!ParseBattleFile(std::vector<uint8_t>(bytes.begin(), bytes.end()), "seed", image).ok())
      continue;
    std::string json = ExportJson(image, 60);
    if (json.size() > kSeedLimit) continue;
    Save("import_fuzz", json);
    Save("import_fuzz", json.substr(0, json.size() / 2));
    std::string wrong = json;
    size_t hp = wrong.find("\"hp\":");
    if (hp != std::string::npos) Save("import_fuzz", wrong.replace(hp, 5, "\"hp\":70000,\"x\":"));
  }
  Save("import_fuzz", "{\"format\": \"btl\", \"version\": 1, \"header\": {}}");
  Save("import_fuzz", "[1, \"0x7FC00000\", -0, 1e39, {\"a\": null}]");
}

std::string World(int w, int h) {
  std::string out(8, '\0');
  Put(out, &w, 4);
  Put(out, &h, 4);
  for (int64_t i = 0; i < int64_t(w) * h && out.size() + sizeof(WorldInfo) <= kSeedLimit; ++i) {
    WorldInfo info{};
    info.terrain = uint8_t(i % 21);
    Put(out, &info, sizeof info);
  }
  return out;
}

void WorldSeeds(const std::vector<DemoFile>& demo) {
  for (const DemoFile& f : demo)
    if (f.path.ends_with("world.bin")) Save("world_fuzz", f.bytes);
  for (auto [w, h] : {std::pair{0, 0},
                      {1, 1},
                      {2, 3},
                      {60, 40},
                      {500, 1},
                      {1, 500},
                      {501, 1},
                      {500, 500},
                      {-1, -1}})
    Save("world_fuzz", World(w, h));
}

// ---- Catalogs, string table, configuration --------------------------------------------

// One catalog file for the catalog target: its loader's byte, then the JSON.
void Catalog(CatalogKind kind, const std::string& json) {
  Save("catalog_fuzz", std::string(1, char(int(kind))) + json);
}

// n entries made by `entry(i)`, as a JSON array.
template <class Entry>
std::string JsonArray(int n, Entry entry) {
  std::string out = "[";
  for (int i = 0; i < n; ++i) out += (i ? ",\n" : "\n") + entry(i);
  return out + "\n]\n";
}

void CatalogSeeds(const std::vector<DemoFile>& demo) {
  const std::pair<const char*, CatalogKind> files[] = {
      {"RankSettings.json", CatalogKind::kRank},
      {"CountrySettings.json", CatalogKind::kCountry},
      {"ArmySettings.json", CatalogKind::kArmy},
      {"CommanderSettings.json", CatalogKind::kCommander},
      {"BuildingSettings.json", CatalogKind::kBuilding}};
  for (const DemoFile& f : demo)
    for (auto [name, kind] : files)
      if (f.path.ends_with(name)) Catalog(kind, f.bytes);

  struct Table {
    CatalogKind kind;
    int capacity;
    std::string (*entry)(int);
  } tables[] = {
      {CatalogKind::kRank, kRankSlots,
       [](int i) {
         return "{\"Id\":" + std::to_string(i) + ",\"Life\":" + std::to_string(i * 7) + "}";
       }},
      {CatalogKind::kCountry, kCountryIdSlots,
       [](int i) { return "{\"Id\":" + std::to_string(i % 1000) + "}"; }},
      {CatalogKind::kArmy, kArmyIdSlots,
       [](int i) {
         return "{\"Id\":" + std::to_string(kFirstArmyId + i) + ",\"OName\":\"步兵" +
                std::to_string(i) + "\",\"Level\":" + std::to_string(i % 6) +
                ",\"Army\":" + std::to_string(i % 9) + ",\"HP\":100,\"Mobility\":4}";
       }},
      {CatalogKind::kCommander, kCommanderNameSlots - 1,
       [](int i) {
         return "{\"Id\":" + std::to_string(i * 3) + ",\"Photo\":\"p" + std::to_string(i) +
                "\",\"OName\":\"将军" + std::to_string(i) + "\"}";
       }},
      {CatalogKind::kBuilding, kBuildingIdSlots,
       [](int i) { return "{\"OName\":\"城市\",\"Id\":" + std::to_string(10000 + i) + "}"; }},
  };
  for (const Table& t : tables)
    for (int count : {0, 1, t.capacity, t.capacity + 1}) Catalog(t.kind, JsonArray(count, t.entry));
  // Shapes the loaders skip or cut: a BOM, a non-array top, wrong types, deep nesting.
  Catalog(CatalogKind::kArmy,
          "\xEF\xBB\xBF[{\"Id\":100001,\"OName\":[1],\"Level\":\"x\",\"HP\":1e10}]");
  Catalog(CatalogKind::kRank, "{\"Id\":1}");
  Catalog(CatalogKind::kCountry,
          "[1,\"a\",null,true,{\"Id\":\"3\"},{\"Id\":-1},{\"Id\":4294967296}]");
  Catalog(CatalogKind::kCommander, "[{\"Id\":5,\"Photo\":\"" + std::string(300, 'x') +
                                       "\",\"OName\":\"" + std::string(40, 'y') + "\"}]");
  Catalog(CatalogKind::kBuilding, std::string(2000, '[') + std::string(2000, ']'));
}

void StringTableSeeds(const std::vector<DemoFile>& demo) {
  for (const DemoFile& f : demo)
    if (f.path.ends_with("stringtable_cn.ini")) Save("string_table_fuzz", f.bytes);
  for (int count : {0, 1, kCityIdSlots, kCityIdSlots + 1}) {
    std::string text;
    for (int i = 0; i < count; ++i)
      text += "city_cityname_" + std::to_string(i * 97) + "=城" + std::to_string(i) + "\r\n";
    for (int i = 0; i < (count ? kCountryNameSlots : 0); i += 37)
      text += "text3_countryname_" + std::to_string(i) + "=国家" + std::to_string(i) + "\n";
    Save("string_table_fuzz", text);
  }
  Save("string_table_fuzz",
       "text3_countryname_ -5=x\ncity_cityname_99999=" + std::string(200, 'z') +
           "\ncity_cityname_100000=y\ntext3_countryname_999999999999=q");
}

void ConfigSeeds(const std::vector<DemoFile>& demo) {
  std::string gbk;
  for (const DemoFile& f : demo)
    if (f.path.ends_with(".ini") && !f.path.ends_with("stringtable_cn.ini")) gbk = f.bytes;
  Save("config_fuzz", gbk);
  // The same file as UTF-16 with its byte-order mark, and as UTF-8 with one.
  std::string utf8 = Utf8FromGbk(gbk);
  Save("config_fuzz", "\xEF\xBB\xBF" + utf8);
  std::string utf16 = "\xFF\xFE";
  for (size_t i = 0; i < utf8.size();) {
    unsigned char c = utf8[i];
    char32_t u = c;
    size_t n = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
    if (n > 1) u = c & (0x3F >> (n - 1));
    for (size_t k = 1; k < n && i + k < utf8.size(); ++k) u = u << 6 | (utf8[i + k] & 0x3F);
    i += n;
    utf16 += char(u & 0xFF);
    utf16 += char(u >> 8);
  }
  Save("config_fuzz", utf16);
  Save("config_fuzz", "s|k\n[s]\nk = 0x7fffffff\n[S]\nk=2\n");
  Save("config_fuzz", "a|b\n[a]\nb=\"" + std::string(5000, 'v') + "\"\n");
  Save("config_fuzz", GbkFromUtf8("[配置]\n格子边长=-0b101\n窗口长='12'\n窗口宽\n;语言文件=x\n"));
}

void FieldSeeds() {
  for (const char* text :
       {"", "0", "255", "256", "65536", "4294967296", "99999999999999999999999999999999", "3:防守",
        "+1", " 7", "1.5e3", "-0.25", "1e400", "nan", "inf", ".5", "5.", "7\n0:无\n7:七\n70\n",
        "12\n255:无\n12\n"})
    Save("fields_fuzz", text);
}

void HexSeeds() {
  std::string lines;
  for (int i = 0; i < int(sizeof(UnitRecord) + sizeof(BuildingRecord)); ++i)
    lines += std::string(i % 3 ? "1F" : "abc") + "\n";
  Save("hex_fuzz", lines + "2:队伍");
  Save("hex_fuzz", "");
  Save("hex_fuzz", "g7\n7g\n1FF\n" + std::string(150, 'f') + "\n\n\n255");
}

void HexAddressSeeds() {
  for (const char* text : {"2111", "12,8", " 12 ， 8 ", "（１２，８）", "12、8", "-12,8", "12,",
                           "(12,8", "4294969708", "18446744073709554028", "abc"})
    Save("hex_address_fuzz", text);
}

// The largest file the reader accepts: every section at its capacity (range 500 x 500, 255
// teams, 100,000 buildings, 1,000,000 units, 100,000 generals, 10,000,000 tail bytes), for
// measuring what loading and checking such a file costs.
bool WriteLargest(const char* path) {
  BtlHeader hd{};
  hd.rangeWidth = hd.rangeHeight = kMaxGrid;
  hd.teamCount = kMaxTeams;
  hd.buildingCount = kMaxBuildings;
  hd.unitCount = kMaxUnits;
  hd.generalCount = kMaxGenerals;
  std::string out;
  out.reserve(kMaxBattleFileBytes);
  Put(out, &hd, sizeof hd);
  for (int i = 0; i < kMaxTeams; ++i) {
    TeamRecord t{};
    t.country = i;
    Put(out, &t, kTeamFileBytes);
  }
  for (int i = 0; i < kMaxGrid * kMaxGrid; ++i) out += char(i % (kMaxTeams + 1));
  for (int i = 0; i < kMaxBuildings; ++i) {
    BuildingRecord b{};
    b.position = uint16_t(i);
    b.buildingCode = uint16_t(10100 + i % 10);
    Put(out, &b, sizeof b);
  }
  for (int i = 0; i < kMaxUnits; ++i) {
    UnitRecord u{};
    u.position = uint16_t(i * 7);
    u.unitClass = uint8_t(1 + i % 8);
    u.general = uint8_t(i % 256);
    Put(out, &u, sizeof u);
  }
  for (int i = 0; i < kMaxGenerals; ++i) {
    GeneralEntry g{uint16_t(i), uint16_t(i % 30)};
    Put(out, &g, sizeof g);
  }
  out.append(size_t(kMaxTail), '\x5A');
  if (out.size() != kMaxBattleFileBytes) return false;
  FILE* f = fopen(path, "wb");
  if (!f) return false;
  bool ok = fwrite(out.data(), 1, out.size(), f) == out.size();
  return fclose(f) == 0 && ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && strcmp(argv[1], "--largest") == 0) {
    if (WriteLargest(argv[2])) return 0;
    fprintf(stderr, "make_seeds: cannot write %s\n", argv[2]);
    return 1;
  }
  if (argc != 2) {
    fprintf(stderr, "usage: make_seeds FOLDER | make_seeds --largest FILE.btl\n");
    return 2;
  }
  g_root = argv[1];
  std::vector<DemoFile> demo;
  DemoWorld world = MakeDemoWorld();
  demo.push_back({"world.bin", EncodeWorldMap(world)});
  DemoCatalogs catalogs = MakeDemoCatalogs();
  demo.push_back({"demo_small.btl", EncodeScenario(MakeSmallScenario(world, catalogs))});
  demo.push_back({"demo_large.btl", EncodeScenario(MakeLargeScenario(world, catalogs))});
  demo.push_back({"demo_messy.btl", EncodeScenario(MakeMessyScenario(world, catalogs))});
  std::string error = MakeCatalogFiles(catalogs, demo);
  if (!error.empty()) {
    fprintf(stderr, "make_seeds: %s\n", error.c_str());
    return 1;
  }
  BattleSeeds(demo);
  ImportSeeds(demo);
  WorldSeeds(demo);
  CatalogSeeds(demo);
  StringTableSeeds(demo);
  ConfigSeeds(demo);
  FieldSeeds();
  HexSeeds();
  HexAddressSeeds();
  return 0;
}
