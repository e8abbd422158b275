// The five JSON catalogs: storing by Id, read order, and entries outside the tables' limits.
// Fixture files go into a temporary folder; the data-folder test also opens a Chinese path.
#include "catalogs/catalogs.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "base/files.h"
#include "tests/support/temp_folder.h"
#include "tools/demo_data/demo_data.h"

namespace fs = std::filesystem;

namespace {

std::string Repeat(const std::string& s, int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out += s;
  return out;
}

// A JSON array of the given entry texts.
std::string Array(const std::vector<std::string>& entries) {
  std::string out = "[";
  for (size_t i = 0; i < entries.size(); ++i) out += (i ? "," : "") + entries[i];
  return out + "]";
}

class CatalogTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetCatalogs(); }
  void TearDown() override { ResetCatalogs(); }
  TempFolder folder{"btl_catalogs"};
};

// --- army ------------------------------------------------------------------------------------

TEST_F(CatalogTest, ArmyEntryFillsEveryTableAtIdMinus100001) {
  std::string path = folder.Write(
      "army.json",
      R"([{"Id": 100005, "Army": 3, "Level": 2, "HP": 10, "Mobility": 4, "OName": "步兵"}])");
  CatalogReport report = LoadArmyCatalog(path);
  EXPECT_TRUE(report.opened);
  EXPECT_TRUE(report.parsed);
  EXPECT_EQ(g_catalogs.ArmyCount, 1);
  EXPECT_EQ(g_catalogs.ArmyIds[0], 100005);
  EXPECT_EQ(g_catalogs.ArmyByTypeLevel[302], 100005);
  EXPECT_EQ(g_catalogs.ArmyHP[4], 10);
  EXPECT_EQ(g_catalogs.ArmyMobility[4], 4);
  EXPECT_EQ(g_catalogs.ArmyType[4], 3);
  EXPECT_EQ(g_catalogs.ArmyLevel[4], 2);
  EXPECT_EQ(std::string(g_catalogs.ArmyName[4], 5), std::string("\xB2\xBD\xB1\xF8\0", 5));
  EXPECT_EQ(ArmyIdOf(3, 2), 100005);
  EXPECT_STREQ(ArmyNameOf(100005), "\xB2\xBD\xB1\xF8");
}

TEST_F(CatalogTest, ArmyLevelAndCategoryKeepTheirLowEightBits) {
  LoadArmyCatalog(folder.Write("army.json", R"([{"Id": 100001, "Level": 300, "Army": -1}])"));
  EXPECT_EQ(g_catalogs.ArmyLevel[0], 44);
  EXPECT_EQ(g_catalogs.ArmyType[0], 255);
  EXPECT_EQ(g_catalogs.ArmyByTypeLevel[255 * 100 + 44], 100001);
}

TEST_F(CatalogTest, LaterArmyWithSameCategoryAndLevelTakesTheTypeSlot) {
  LoadArmyCatalog(folder.Write("army.json", R"([{"Id": 100001, "Army": 1, "Level": 1},
                                                {"Id": 100002, "Army": 1, "Level": 1}])"));
  EXPECT_EQ(g_catalogs.ArmyByTypeLevel[101], 100002);
  EXPECT_EQ(g_catalogs.ArmyCount, 2);
}

// Levels reach 255, so category * 100 + level is shared (1/105 and 2/5), and an Id listed
// again under another pair leaves its first slot behind: a slot names the type of a pair only
// when the army's own pair is that pair.
TEST_F(CatalogTest, ArmyIdOfNamesOnlyAnArmyOfThatVeryPair) {
  LoadCatalogText(CatalogKind::kArmy, R"([{"Id": 100011, "Army": 2, "Level": 5},
                                         {"Id": 100012, "Army": 1, "Level": 105},
                                         {"Id": 100013, "Army": 4, "Level": 4},
                                         {"Id": 100013, "Army": 6, "Level": 6},
                                         {"Id": 100014, "Army": 1, "Level": 5}])");
  const struct {
    uint8_t category, level;
    int32_t id;
  } cases[] = {{1, 105, 100012}, {2, 5, 0},   {6, 6, 100013}, {4, 4, 0},
               {1, 5, 100014},   {0, 105, 0}, {3, 3, 0},      {0, 0, 0}};
  for (const auto& c : cases)
    EXPECT_EQ(ArmyIdOf(c.category, c.level), c.id) << int(c.category) << "/" << int(c.level);
  EXPECT_EQ(g_catalogs.ArmyByTypeLevel[205], 100012);  // the table itself is as loaded
  EXPECT_EQ(g_catalogs.ArmyByTypeLevel[404], 100013);
}

TEST_F(CatalogTest, ArmyIdsOutsideTheirRangeAreSkipped) {
  CatalogReport report = LoadArmyCatalog(folder.Write(
      "army.json",
      R"([{"Id": 100000, "HP": 1}, {"Id": 200001, "HP": 2}, {"Id": 200000, "HP": 3}, {"HP": 4}])"));
  EXPECT_EQ(g_catalogs.ArmyCount, 1);
  EXPECT_EQ(g_catalogs.ArmyIds[0], 200000);
  EXPECT_EQ(g_catalogs.ArmyHP[99999], 3);
  EXPECT_EQ(report.entries, 4);
  EXPECT_EQ(report.skipped, 3);
  EXPECT_STREQ(ArmyNameOf(0), "");
  EXPECT_STREQ(ArmyNameOf(200001), "");
  EXPECT_EQ(ArmySlotOf(100000), -1);
}

TEST_F(CatalogTest, ArmiesPastTheThousandthAreSkipped) {
  std::vector<std::string> entries;
  for (int i = 0; i < 1001; ++i)
    entries.push_back("{\"Id\": " + std::to_string(100001 + i) + ", \"HP\": 7}");
  CatalogReport report = LoadArmyCatalog(folder.Write("army.json", Array(entries)));
  EXPECT_EQ(g_catalogs.ArmyCount, 1000);
  EXPECT_EQ(g_catalogs.ArmyIds[999], 101000);
  EXPECT_EQ(g_catalogs.ArmyHP[1000], 0);  // the 1001st entry stored nothing
  EXPECT_EQ(report.skipped, 1);
}

TEST_F(CatalogTest, LongNamesAreCutAtACharacterBoundary) {
  LoadArmyCatalog(
      folder.Write("army.json", "[{\"Id\": 100001, \"OName\": \"" + Repeat("坦克", 8) + "\"}]"));
  EXPECT_EQ(std::string(g_catalogs.ArmyName[0]),
            GbkFromUtf8(Repeat("坦克", 4) + "坦"));  // 18 of 19 bytes
}

TEST_F(CatalogTest, ValuesAsIntRefusesReadAsZeroAndOddTextsAsTheirText) {
  LoadArmyCatalog(
      folder.Write("army.json", R"([{"Id": 100001, "HP": "ten", "Mobility": 1e12, "Level": [1],
                                                 "Army": {"a": 1}, "OName": {"x": 1}},
                                                {"Id": 100002.9, "HP": 2.7, "Mobility": true, "OName": 12}])"));
  EXPECT_EQ(g_catalogs.ArmyCount, 2);
  EXPECT_EQ(g_catalogs.ArmyHP[0], 0);
  EXPECT_EQ(g_catalogs.ArmyMobility[0], 0);
  EXPECT_EQ(g_catalogs.ArmyLevel[0], 0);
  EXPECT_EQ(g_catalogs.ArmyType[0], 0);
  EXPECT_STREQ(g_catalogs.ArmyName[0], "");
  EXPECT_EQ(g_catalogs.ArmyIds[1], 100002);  // a fractional Id reads like asInt: truncated
  EXPECT_EQ(g_catalogs.ArmyHP[1], 2);
  EXPECT_EQ(g_catalogs.ArmyMobility[1], 1);
  EXPECT_STREQ(g_catalogs.ArmyName[1], "12");
}

TEST_F(CatalogTest, LoadingAgainReplacesTheCatalog) {
  LoadArmyCatalog(
      folder.Write("a.json", R"([{"Id": 100001, "Army": 1, "Level": 1, "HP": 5, "OName": "甲"}])"));
  LoadArmyCatalog(folder.Write("b.json", R"([{"Id": 100002, "Army": 2, "Level": 1}])"));
  EXPECT_EQ(g_catalogs.ArmyCount, 1);
  EXPECT_EQ(g_catalogs.ArmyHP[0], 0);
  EXPECT_STREQ(g_catalogs.ArmyName[0], "");
  EXPECT_EQ(ArmyIdOf(1, 1), 0);
  EXPECT_EQ(ArmyIdOf(2, 1), 100002);
}

// --- rank ------------------------------------------------------------------------------------

TEST_F(CatalogTest, RanksNeedNotBeInOrder) {
  LoadRankCatalog(folder.Write("rank.json", R"([{"Id": 2, "Life": 50}, {"Id": 1, "Life": 20}])"));
  EXPECT_EQ(g_catalogs.RankCount, 2);
  EXPECT_EQ(g_catalogs.RankLife[1], 20);
  EXPECT_EQ(g_catalogs.RankLife[2], 50);
}

TEST_F(CatalogTest, RankIdsOutsideZeroToTwentyNineAreSkipped) {
  CatalogReport report = LoadRankCatalog(folder.Write(
      "rank.json",
      R"([{"Id": 30, "Life": 1}, {"Id": -1, "Life": 2}, {"Id": 29, "Life": 3}, {"Life": 4}])"));
  EXPECT_EQ(g_catalogs.RankCount, 2);
  EXPECT_EQ(g_catalogs.RankLife[29], 3);
  EXPECT_EQ(g_catalogs.RankLife[0], 4);  // a missing Id reads as 0
  EXPECT_EQ(report.skipped, 2);
  EXPECT_EQ(RankLifeOf(30), 0);
  EXPECT_EQ(RankLifeOf(29), 3);
}

TEST_F(CatalogTest, IdsThatAreNotNumbersSkipTheEntry) {
  CatalogReport report = LoadRankCatalog(folder.Write(
      "rank.json",
      R"([{"Id": "1", "Life": 1}, {"Id": true, "Life": 2}, {"Id": [3], "Life": 3}, {"Id": 4294967297, "Life": 4},
          {"Id": null, "Life": 5}])"));
  EXPECT_EQ(g_catalogs.RankCount, 1);
  EXPECT_EQ(g_catalogs.RankLife[0], 5);  // null is a missing Id
  EXPECT_EQ(g_catalogs.RankLife[1], 0);
  EXPECT_EQ(report.skipped, 4);
}

// --- whole files -----------------------------------------------------------------------------

TEST_F(CatalogTest, EmptyArrayLeavesEveryTableZero) {
  CatalogReport report = LoadArmyCatalog(folder.Write("army.json", "[]"));
  EXPECT_TRUE(report.parsed);
  EXPECT_EQ(g_catalogs.ArmyCount, 0);
  for (int i = 0; i < kArmyByTypeLevelSlots; ++i) ASSERT_EQ(g_catalogs.ArmyByTypeLevel[i], 0) << i;
  for (int k = 0; k < kArmySlots; ++k) ASSERT_EQ(g_catalogs.ArmyName[k][0], 0) << k;
}

TEST_F(CatalogTest, MissingOrEmptyFileGivesAnEmptyCatalog) {
  CatalogReport missing = LoadBuildingCatalog(folder.File("none.json"));
  EXPECT_FALSE(missing.opened);
  EXPECT_EQ(g_catalogs.BuildingCount, 0);
  CatalogReport empty = LoadBuildingCatalog(folder.Write("empty.json", ""));
  EXPECT_TRUE(empty.opened);
  EXPECT_FALSE(empty.parsed);
  EXPECT_EQ(g_catalogs.BuildingCount, 0);
}

TEST_F(CatalogTest, SyntaxErrorKeepsTheEntriesReadBeforeIt) {
  CatalogReport report = LoadRankCatalog(
      folder.Write("rank.json", R"([{"Id": 1, "Life": 5}, {"Id": 2, "Life": 6}, {"Id": 3, "Li)"));
  EXPECT_FALSE(report.parsed);
  EXPECT_EQ(g_catalogs.RankLife[1], 5);
  EXPECT_EQ(g_catalogs.RankLife[2], 6);
}

TEST_F(CatalogTest, ByteOrderMarkIsAccepted) {
  CatalogReport report =
      LoadRankCatalog(folder.Write("rank.json", "\xEF\xBB\xBF[{\"Id\": 3, \"Life\": 9}]"));
  EXPECT_TRUE(report.parsed);
  EXPECT_EQ(g_catalogs.RankLife[3], 9);
}

TEST_F(CatalogTest, TopLevelThatIsNotAnArrayHoldsNoEntries) {
  LoadRankCatalog(folder.Write("rank.json", R"({"a": {"Id": 1, "Life": 5}, "b": 2})"));
  EXPECT_EQ(g_catalogs.RankCount, 0);
  EXPECT_EQ(g_catalogs.RankLife[1], 0);
  LoadRankCatalog(folder.Write("number.json", "42"));
  EXPECT_EQ(g_catalogs.RankCount, 0);
}

TEST_F(CatalogTest, EntriesThatAreNotObjectsAreSkipped) {
  CatalogReport report =
      LoadRankCatalog(folder.Write("rank.json", R"([null, 7, "x", [1, 2], {"Id": 1, "Life": 5}])"));
  EXPECT_EQ(g_catalogs.RankCount, 1);
  EXPECT_EQ(g_catalogs.RankLife[1], 5);
  EXPECT_EQ(g_catalogs.RankLife[0], 0);
  EXPECT_EQ(report.skipped, 4);
}

TEST_F(CatalogTest, DeepNestingDoesNotThrowOutOfTheLoader) {
  std::string deep =
      "[{\"Id\": 1, \"Life\": 5}, " + std::string(5000, '[') + std::string(5000, ']') + "]";
  std::string path = folder.Write("rank.json", deep);
  CatalogReport report;
  EXPECT_NO_THROW(report = LoadRankCatalog(path));
  EXPECT_FALSE(report.parsed);
  EXPECT_EQ(g_catalogs.RankLife[1], 5);
}

// --- commanders ------------------------------------------------------------------------------

std::vector<std::pair<int, std::string>> g_portraits;
void RecordPortrait(int slot, const char* photoAnsi) { g_portraits.emplace_back(slot, photoAnsi); }

TEST_F(CatalogTest, CommandersGetSlotsFromOneInFileOrder) {
  g_portraits.clear();
  LoadCommanderCatalog(
      folder.Write("commander.json", R"([{"Id": 7, "OName": "张三", "Photo": "头像7"},
                                                          {"Id": 3, "OName": "李四"}])"),
      RecordPortrait);
  EXPECT_EQ(g_catalogs.CommanderSlot[7], 1);
  EXPECT_EQ(g_catalogs.CommanderSlot[3], 2);
  EXPECT_EQ(g_catalogs.CommanderCount, 2);
  EXPECT_EQ(g_catalogs.CommanderSlotCount, 2);
  EXPECT_EQ(g_catalogs.CommanderIds[0], 7);
  EXPECT_EQ(g_catalogs.CommanderIds[1], 3);
  EXPECT_EQ(std::string(g_catalogs.CommanderName[1]), GbkFromUtf8("张三"));
  EXPECT_STREQ(g_catalogs.CommanderName[0], "");
  EXPECT_EQ(std::string(CommanderNameOf(3)), GbkFromUtf8("李四"));
  EXPECT_STREQ(CommanderNameOf(8), "");
  // Portraits are asked for as the entries are read, with the photo text in GBK; a missing
  // Photo gives an empty text.
  ASSERT_EQ(g_portraits.size(), 2u);
  EXPECT_EQ(g_portraits[0], std::make_pair(1, GbkFromUtf8("头像7")));
  EXPECT_EQ(g_portraits[1], std::make_pair(2, std::string()));
}

TEST_F(CatalogTest, CommanderListedTwiceGetsTwoSlotsAndKeepsTheLater) {
  LoadCommanderCatalog(
      folder.Write("commander.json", R"([{"Id": 5, "OName": "甲"}, {"Id": 5, "OName": "乙"}])"),
      nullptr);
  EXPECT_EQ(g_catalogs.CommanderSlotCount, 2);
  EXPECT_EQ(g_catalogs.CommanderSlot[5], 2);
  EXPECT_EQ(g_catalogs.CommanderCount, 2);
  EXPECT_EQ(std::string(g_catalogs.CommanderName[1]), GbkFromUtf8("甲"));
  EXPECT_EQ(std::string(CommanderNameOf(5)), GbkFromUtf8("乙"));
}

TEST_F(CatalogTest, CommanderIdsBeyondSixteenBitsAreSkipped) {
  g_portraits.clear();
  CatalogReport report = LoadCommanderCatalog(
      folder.Write("commander.json",
                   R"([{"Id": 65536}, {"Id": -1}, {"Id": 65535, "OName": "末"}])"),
      RecordPortrait);
  EXPECT_EQ(g_catalogs.CommanderSlotCount, 1);
  EXPECT_EQ(g_catalogs.CommanderSlot[65535], 1);
  EXPECT_EQ(report.skipped, 2);
  EXPECT_EQ(g_portraits.size(), 1u);  // skipped entries ask for no portrait
}

TEST_F(CatalogTest, CommandersPastSlot799AreSkipped) {
  std::vector<std::string> entries;
  for (int i = 0; i < 801; ++i)
    entries.push_back("{\"Id\": " + std::to_string(i) + ", \"OName\": \"c\"}");
  CatalogReport report =
      LoadCommanderCatalog(folder.Write("commander.json", Array(entries)), nullptr);
  EXPECT_EQ(g_catalogs.CommanderSlotCount, 799);
  EXPECT_EQ(g_catalogs.CommanderCount, 799);
  EXPECT_EQ(g_catalogs.CommanderSlot[798], 799);
  EXPECT_EQ(g_catalogs.CommanderSlot[799], 0);
  EXPECT_EQ(report.skipped, 2);
}

// --- buildings and countries -----------------------------------------------------------------

TEST_F(CatalogTest, BuildingsAreNamedByIdAndListedInFileOrder) {
  LoadBuildingCatalog(
      folder.Write("building.json", R"([{"OName": "城市", "Id": 10100}, {"OName": "工厂", "Id": 7},
                                                         {"OName": "远", "Id": 20000}])"));
  EXPECT_EQ(g_catalogs.BuildingCount, 2);
  EXPECT_EQ(g_catalogs.BuildingIds[0], 10100);
  EXPECT_EQ(g_catalogs.BuildingIds[1], 7);
  EXPECT_EQ(std::string(g_catalogs.BuildingName[10100]), GbkFromUtf8("城市"));
  EXPECT_EQ(std::string(BuildingNameOf(7)), GbkFromUtf8("工厂"));
  EXPECT_STREQ(BuildingNameOf(20000), "");
}

TEST_F(CatalogTest, BuildingsPast256AreSkipped) {
  std::vector<std::string> entries;
  for (int i = 0; i < 257; ++i)
    entries.push_back("{\"Id\": " + std::to_string(i) + ", \"OName\": \"b\"}");
  LoadBuildingCatalog(folder.Write("building.json", Array(entries)));
  EXPECT_EQ(g_catalogs.BuildingCount, 256);
  EXPECT_STREQ(g_catalogs.BuildingName[255], "b");
  EXPECT_STREQ(g_catalogs.BuildingName[256], "");
}

TEST_F(CatalogTest, CountriesListTheirIdsInFileOrder) {
  CatalogReport report = LoadCountryCatalog(
      folder.Write("country.json", R"([{"Id": 86}, {"Id": 1}, {"Id": 1000}, {"Id": -2}])"));
  EXPECT_EQ(g_catalogs.CountryCount, 2);
  EXPECT_EQ(g_catalogs.CountryIds[0], 86);
  EXPECT_EQ(g_catalogs.CountryIds[1], 1);
  EXPECT_EQ(report.skipped, 2);
}

TEST_F(CatalogTest, CountriesPastTheThousandthAreSkipped) {
  std::vector<std::string> entries;
  for (int i = 0; i < 1001; ++i) entries.push_back("{\"Id\": " + std::to_string(i % 1000) + "}");
  LoadCountryCatalog(folder.Write("country.json", Array(entries)));
  EXPECT_EQ(g_catalogs.CountryCount, 1000);
  EXPECT_EQ(g_catalogs.CountryIds[999], 999);
}

// --- the data folder -------------------------------------------------------------------------

TEST_F(CatalogTest, LoadersWithoutPathReadTheDataFolder) {
  folder.Write(DataPath("RankSettings.json"), R"([{"Id": 1, "Life": 11}])");
  folder.Write(DataPath("ArmySettings.json"), R"([{"Id": 100001, "HP": 12}])");
  folder.Write(DataPath("BuildingSettings.json"), R"([{"Id": 3, "OName": "b"}])");
  folder.Write(DataPath("CommanderSettings.json"), R"([{"Id": 4}])");
  folder.Write(DataPath("CountrySettings.json"), R"([{"Id": 5}])");
  CurrentFolder here(folder.path());
  LoadRankCatalog();
  LoadArmyCatalog();
  LoadBuildingCatalog();
  LoadCommanderCatalog(nullptr);
  LoadCountryCatalog();
  EXPECT_EQ(g_catalogs.RankLife[1], 11);
  EXPECT_EQ(g_catalogs.ArmyHP[0], 12);
  EXPECT_STREQ(g_catalogs.BuildingName[3], "b");
  EXPECT_EQ(g_catalogs.CommanderSlot[4], 1);
  EXPECT_EQ(g_catalogs.CountryIds[0], 5);
}

}  // namespace

// --- the same loaders over bytes in memory (what the fuzz target drives) ----------------------

namespace {

// Every catalog table and count, as bytes.
std::string CatalogTables() {
  return std::string(reinterpret_cast<const char*>(&g_catalogs), sizeof g_catalogs);
}

}  // namespace

TEST_F(CatalogTest, BytesInMemoryLoadLikeTheFileOfTheSameBytes) {
  DemoCatalogs catalogs = MakeDemoCatalogs();
  std::vector<DemoFile> files;
  ASSERT_EQ(MakeCatalogFiles(catalogs, files), "");
  struct Kind {
    const char* file;
    CatalogKind kind;
    CatalogReport (*load)(const std::string&);
  } kinds[] = {
      {"RankSettings.json", CatalogKind::kRank, LoadRankCatalog},
      {"CountrySettings.json", CatalogKind::kCountry, LoadCountryCatalog},
      {"ArmySettings.json", CatalogKind::kArmy, LoadArmyCatalog},
      {"CommanderSettings.json", CatalogKind::kCommander,
       [](const std::string& p) { return LoadCommanderCatalog(p, nullptr); }},
      {"BuildingSettings.json", CatalogKind::kBuilding, LoadBuildingCatalog},
  };
  for (const Kind& k : kinds) {
    std::string bytes;
    for (const DemoFile& f : files)
      if (f.path.ends_with(k.file)) bytes = f.bytes;
    ASSERT_FALSE(bytes.empty()) << k.file;
    // A byte-order mark and a cut-off end as well, so the skipped and broken paths count too.
    for (const std::string& text :
         {bytes, "\xEF\xBB\xBF" + bytes, bytes.substr(0, bytes.size() / 2)}) {
      ResetCatalogs();
      CatalogReport fromFile = k.load(folder.Write("c.json", text));
      std::string tables = CatalogTables();
      ResetCatalogs();
      CatalogReport fromBytes = LoadCatalogText(k.kind, text);
      EXPECT_EQ(fromBytes.parsed, fromFile.parsed) << k.file;
      EXPECT_EQ(fromBytes.entries, fromFile.entries) << k.file;
      EXPECT_EQ(fromBytes.skipped, fromFile.skipped) << k.file;
      EXPECT_GT(fromBytes.entries - fromBytes.skipped, 0) << k.file;
      EXPECT_TRUE(CatalogTables() == tables) << k.file;
    }
  }
}

// --- checked lookups of hit points, mobility and portraits -----------------------------------

TEST_F(CatalogTest, HpMobilityAndPortraitOfWhatTheCatalogsDoNotNameAreZero) {
  LoadCatalogText(
      CatalogKind::kArmy,
      R"([{"Id": 100001, "HP": 10, "Mobility": 4}, {"Id": 200000, "HP": 30, "Mobility": 6}])");
  LoadCatalogText(CatalogKind::kCommander, R"([{"Id": 7}, {"Id": 65535}])");
  const struct {
    int32_t army, hp, mobility;
  } armies[] = {{100001, 10, 4}, {200000, 30, 6}, {100002, 0, 0}, {0, 0, 0},
                {100000, 0, 0},  {200001, 0, 0},  {-1, 0, 0}};
  for (const auto& a : armies) {
    EXPECT_EQ(ArmyHpOf(a.army), a.hp) << a.army;
    EXPECT_EQ(ArmyMobilityOf(a.army), a.mobility) << a.army;
  }
  const int32_t portraits[][2] = {{7, 1}, {65535, 2}, {8, 0}, {0, 0}, {-1, 0}, {65536, 0}};
  for (const auto& p : portraits) EXPECT_EQ(PortraitSlotOf(p[0]), p[1]) << p[0];
}
