#include <gtest/gtest.h>

#include <cstring>

#include "base/files.h"
#include "catalogs/catalogs.h"
#include "catalogs/string_table.h"
#include "scenario/battle_read.h"
#include "scenario/battle_write.h"
#include "tests/support/battle_fixture.h"
#include "tools/demo_data/demo_data.h"

namespace {

template <class T>
void Append(std::vector<uint8_t>& out, const T* items, size_t count, size_t size = sizeof(T)) {
  for (size_t i = 0; i < count; ++i) {
    size_t at = out.size();
    out.resize(at + size);
    memcpy(out.data() + at, &items[i], size);
  }
}

}  // namespace

std::vector<uint8_t> BattleFixture::bytes() const {
  BtlHeader h = header;
  h.teamCount = int32_t(teams.size());
  h.buildingCount = int32_t(buildings.size());
  h.unitCount = int32_t(units.size());
  h.generalCount = int32_t(generals.size());
  std::vector<uint8_t> out;
  Append(out, &h, 1);
  Append(out, teams.data(), teams.size(), kTeamFileBytes);
  out.insert(out.end(), owners.begin(), owners.end());
  Append(out, buildings.data(), buildings.size());
  Append(out, units.data(), units.size());
  Append(out, generals.data(), generals.size());
  out.insert(out.end(), tail.begin(), tail.end());
  return out;
}

WorldImage MakeWorld(int width, int height) {
  WorldImage w;
  w.width = width;
  w.height = height;
  w.records.resize(size_t(width) * height);
  for (int row = 0; row < height; ++row)
    for (int col = 0; col < width; ++col) {
      WorldInfo& info = w.records[size_t(row) * width + col];
      info.terrain = uint8_t((col + row) % 20);
      for (int k = 0; k < 11; ++k) info.keep[k] = uint8_t(col * 7 + row * 3 + k);
    }
  return w;
}

const WorldImage& World40x30() {
  static WorldImage w = MakeWorld(40, 30);
  return w;
}

std::vector<uint8_t> WorldFileBytes(const WorldImage& world) {
  std::vector<uint8_t> out(8, 0xEE);
  Append(out, &world.width, 1);
  Append(out, &world.height, 1);
  Append(out, world.records.data(), world.records.size());
  return out;
}

TeamRecord MakeTeam(int country, uint8_t r, uint8_t g, uint8_t b, uint8_t alpha) {
  TeamRecord t{};
  t.country = country;
  t.money = 1000 * country;
  t.taxRate = 0.25f;
  t.fileColour[0] = r;
  t.fileColour[1] = g;
  t.fileColour[2] = b;
  t.fileColour[3] = alpha;
  for (int i = 0; i < 12; ++i) t.techLevels[i] = i;
  for (int i = 0; i < 12; ++i) t.keep104[i] = uint8_t(0xA0 + i);
  return t;
}

UnitRecord MakeUnit(uint16_t position, uint8_t unitClass, uint8_t level, uint8_t general) {
  UnitRecord u{};
  u.position = position;
  u.unitClass = unitClass;
  u.unitLevel = level;
  u.hp = 80;
  u.maxHp = 100;
  u.general = general;
  u.keep8[0] = 0x11;
  u.keep15 = 0x22;
  u.keep27 = 0x33;
  return u;
}

BuildingRecord MakeBuilding(uint16_t position, uint16_t code) {
  BuildingRecord b{};
  b.position = position;
  b.buildingCode = code;
  b.cityName = 7;
  b.keep14[1] = 0x44;
  return b;
}

BattleFixture CleanScenario() {
  BattleFixture s;
  for (int i = 0; i < 8; ++i) s.header.keep0[i] = uint8_t(0xB0 + i);
  s.header.originX = 5;
  s.header.originY = 4;
  s.header.rangeWidth = 6;
  s.header.rangeHeight = 5;
  s.header.keep36[2] = 0x5A;
  for (int i = 0; i < 72; ++i) s.header.keep44[i] = uint8_t(i);
  s.teams = {MakeTeam(3, 200, 10, 10), MakeTeam(7, 10, 200, 10), MakeTeam(9, 10, 10, 200)};
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 6; ++x) s.owners.push_back(x < 2 ? 0 : x < 4 ? 1 : (y == 0 ? 255 : 2));
  auto pos = [](int x, int y) { return uint16_t((4 + y) * 40 + 5 + x); };
  s.buildings = {MakeBuilding(pos(1, 0), 10101), MakeBuilding(pos(4, 2), 3),
                 MakeBuilding(pos(0, 4), 10107)};
  s.units = {MakeUnit(pos(0, 0), 1, 2, 0), MakeUnit(pos(3, 1), 2, 1), MakeUnit(pos(5, 3), 4, 5, 1),
             MakeUnit(pos(2, 4), 3, 3)};
  s.generals = {{12, 3}, {40, 0}};
  for (int i = 0; i < 37; ++i) s.tail.push_back(uint8_t(i * 13));
  return s;
}

void LoadForTest(const std::vector<uint8_t>& bytes, const WorldImage& world, const MapRange* range,
                 PlacementReport* report) {
  BattleImage image;
  Status s = ParseBattleFile(bytes, "test.btl", image);
  ASSERT_TRUE(s.ok()) << s.message;
  MapRange r = range ? *range : InitialRange(image.fileRange(), world);
  s = CommitScenario(image, world, r, report);
  ASSERT_TRUE(s.ok()) << s.message;
}

std::vector<uint8_t> SaveForTest() {
  std::vector<uint8_t> out;
  Status s = BuildBattleBytes(out);
  EXPECT_TRUE(s.ok()) << s.message;
  return out;
}

namespace {

struct DemoFiles {
  WorldImage world;
  std::vector<std::pair<std::string, std::vector<uint8_t>>> battles;
};

const DemoFiles& Demo() {
  static const DemoFiles d = [] {
    DemoFiles files;
    DemoWorld world = MakeDemoWorld();
    std::string map = EncodeWorldMap(world);
    Status s = ParseWorldMap(reinterpret_cast<const uint8_t*>(map.data()), map.size(), "demo",
                             files.world);
    EXPECT_TRUE(s.ok()) << s.message;
    DemoCatalogs catalogs = MakeDemoCatalogs();
    auto add = [&](const char* name, const DemoScenario& scenario) {
      std::string b = EncodeScenario(scenario);
      files.battles.push_back({name, std::vector<uint8_t>(b.begin(), b.end())});
    };
    add("demo_small", MakeSmallScenario(world, catalogs));
    add("demo_large", MakeLargeScenario(world, catalogs));
    add("demo_messy", MakeMessyScenario(world, catalogs));
    return files;
  }();
  return d;
}

}  // namespace

const WorldImage& DemoWorldImage() { return Demo().world; }

const std::vector<uint8_t>& DemoBattleBytes(const std::string& name) {
  for (const auto& [n, bytes] : Demo().battles)
    if (n == name) return bytes;
  ADD_FAILURE() << "no demo file " << name;
  static const std::vector<uint8_t> none;
  return none;
}

void LoadDemoCatalogs() {
  std::vector<DemoFile> files;
  ASSERT_EQ(MakeCatalogFiles(MakeDemoCatalogs(), files), "");
  const struct {
    const char* file;
    CatalogKind kind;
  } kinds[] = {{"RankSettings.json", CatalogKind::kRank},
               {"CountrySettings.json", CatalogKind::kCountry},
               {"ArmySettings.json", CatalogKind::kArmy},
               {"CommanderSettings.json", CatalogKind::kCommander},
               {"BuildingSettings.json", CatalogKind::kBuilding}};
  for (const DemoFile& f : files) {
    for (const auto& k : kinds)
      if (f.path.ends_with(k.file)) LoadCatalogText(k.kind, f.bytes);
    if (f.path.ends_with("stringtable_cn.ini")) ReadStringTable(f.bytes);
  }
  ASSERT_GT(g_catalogs.ArmyCount, 0);
  ASSERT_GT(g_strings.CityCount, 0);
}

std::vector<uint8_t> RecordSnapshot() {
  std::vector<uint8_t> out;
  auto put = [&](const void* p, size_t n) {
    const uint8_t* b = static_cast<const uint8_t*>(p);
    out.insert(out.end(), b, b + n);
  };
  const WorldRecord& w = g_world;
  MapRange r = CurrentRange();
  put(&r, sizeof r);
  put(&w.teamCount, sizeof w.teamCount);
  for (int i = 0; i < w.teamCount && i < kMaxTeams; ++i) {
    TeamRecord t = w.teams[i];
    memset(t.fileColour, 0, sizeof t.fileColour);
    put(&t, sizeof t);
  }
  for (int x = 0; x < w.rangeWidth; ++x)
    for (int y = 0; y < w.rangeHeight; ++y) {
      const Cell& c = w.grid[x][y];
      put(&c.globalX, sizeof c.globalX);
      put(&c.globalY, sizeof c.globalY);
      put(&c.owner, 3);  // owner, hasBuilding, hasUnit
      put(&c.unit, sizeof c.unit);
      put(&c.building, sizeof c.building);
      put(&c.worldInfo, sizeof c.worldInfo);
    }
  put(&w.generalCount, sizeof w.generalCount);
  put(w.generals, size_t(w.generalCount) * sizeof(GeneralEntry));
  put(w.tail, size_t(w.fileSize - w.tailOffset));
  return out;
}

void WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  FILE* f = OpenFile(path, "wb");
  ASSERT_NE(f, nullptr) << path;
  if (!bytes.empty()) fwrite(bytes.data(), 1, bytes.size(), f);
  fclose(f);
}

std::vector<uint8_t> ReadFileBytes(const std::string& path) {
  std::vector<uint8_t> out;
  bool more = false;
  ReadFilePrefix(path, SIZE_MAX, out, more);
  return out;
}
