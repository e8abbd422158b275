// The counts of what a save would drop or change, on crafted files with known counts, the
// warning's text, and agreement with `btl check` (which counts the same kinds its own way)
// on each crafted file and each demo scenario.
#include "scenario/save_loss.h"

#include <gtest/gtest.h>

#include <functional>

#include "tests/support/battle_fixture.h"
#include "btl/check.h"

namespace {

uint16_t Pos(int x, int y) { return uint16_t((4 + y) * 40 + 5 + x); }  // CleanScenario's hexes

BattleImage Image(const std::vector<uint8_t>& bytes) {
  BattleImage image;
  EXPECT_TRUE(ParseBattleFile(bytes, "t.btl", image).ok());
  return image;
}

// Check's counts of the same kinds for the file placed with its own range. Check says once
// that a range has hexes beyond the 16-bit positions; the warning counts those hexes.
void ExpectCheckAgrees(const BattleImage& image, const WorldImage& world, const SaveLoss& loss) {
  const CheckReport r = CheckBattleFile(image, world, GameData{}, false);
  EXPECT_EQ(r[ProblemKind::kRecordsOutsideRange].count, loss.recordsOutside());
  EXPECT_EQ(r[ProblemKind::kRecordsSharingAHex].count, loss.recordsSharing());
  EXPECT_EQ(r[ProblemKind::kHexesBeyond16BitPositions].count, loss.hexesBeyondPositions ? 1 : 0);
  if (!r.saveChecked) return;
  EXPECT_EQ(r[ProblemKind::kAlphaSetOnSave].count, loss.alphaBytes);
  EXPECT_EQ(r[ProblemKind::kRecordsReorderedOnSave].count, loss.reordered);
  EXPECT_EQ(r[ProblemKind::kRecordsDroppedOnSave].count,
            loss.recordsOutside() + loss.recordsSharing());
}

TEST(SaveLoss, CountsOnCraftedFilesAgreeWithCheckAndWithTheSave) {
  struct Case {
    const char* name;
    std::function<void(BattleFixture&)> change;
    SaveLoss want;
    int worldWidth = 40, worldHeight = 30;
  } cases[] = {
      {"clean", [](BattleFixture&) {}, {}},
      {"a building outside the range, a second unit on a hex, two alpha bytes",
       [](BattleFixture& s) {
         s.buildings.insert(s.buildings.begin(), MakeBuilding(0, 4));
         s.units.push_back(MakeUnit(Pos(0, 0), 5, 5));
         s.teams[0].fileColour[3] = 0;
         s.teams[2].fileColour[3] = 128;
       },
       {1, 0, 0, 1, 0, 2, 1}},
      {"units out of hex order",
       [](BattleFixture& s) { std::swap(s.units[0], s.units[1]); },
       {0, 0, 0, 0, 0, 0, 1}},
      {"units outside and on one hex twice",
       [](BattleFixture& s) {
         s.units.push_back(MakeUnit(Pos(7, 0), 1, 1));
         s.units.insert(s.units.begin(), MakeUnit(Pos(5, 3), 6, 6));
         s.buildings.insert(s.buildings.begin(), MakeBuilding(Pos(1, 0), 9));
       },
       {0, 1, 1, 1, 0, 0, 0}},
      {"hexes beyond 16-bit positions",
       [](BattleFixture& s) {
         s.header.originX = 0, s.header.originY = 218, s.units.clear(), s.buildings.clear();
       },
       {},  // worked out below
       300,
       300},
  };
  // The last case's count: the hexes of rows 218..222, columns 0..5 (the fixture's range is
  // 6 x 5), whose index on the 300-wide world is 65,536 or more.
  int64_t beyond = 0;
  for (int64_t y = 218; y < 223; ++y)
    for (int64_t x = 0; x < 6; ++x) beyond += y * 300 + x >= kPositionLimit;
  cases[4].want.hexesBeyondPositions = beyond;
  ASSERT_GT(beyond, 0);

  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    BattleFixture scenario = CleanScenario();
    c.change(scenario);
    const std::vector<uint8_t> bytes = scenario.bytes();
    const BattleImage image = Image(bytes);
    const WorldImage world = MakeWorld(c.worldWidth, c.worldHeight);
    const SaveLoss loss = CountSaveLoss(image, world.width, image.fileRange());
    EXPECT_EQ(loss.buildingsOutside, c.want.buildingsOutside);
    EXPECT_EQ(loss.unitsOutside, c.want.unitsOutside);
    EXPECT_EQ(loss.buildingsReplaced, c.want.buildingsReplaced);
    EXPECT_EQ(loss.unitsReplaced, c.want.unitsReplaced);
    EXPECT_EQ(loss.hexesBeyondPositions, c.want.hexesBeyondPositions);
    EXPECT_EQ(loss.alphaBytes, c.want.alphaBytes);
    EXPECT_EQ(loss.reordered, c.want.reordered);
    ExpectCheckAgrees(image, world, loss);
    if (loss.hexesBeyondPositions) continue;  // no such range can be placed
    // Nothing to warn of exactly when a save gives the file's bytes back.
    LoadForTest(bytes, world);
    EXPECT_EQ(loss.none(), SaveForTest() == bytes);
  }
}

TEST(SaveLoss, DemoScenariosAgreeWithCheckAndTheMessyOneIsWarnedOf) {
  for (const char* name : {"demo_small", "demo_large", "demo_messy"}) {
    SCOPED_TRACE(name);
    const BattleImage image = Image(DemoBattleBytes(name));
    const SaveLoss loss = CountSaveLoss(image, DemoWorldImage().width, image.fileRange());
    ExpectCheckAgrees(image, DemoWorldImage(), loss);
    EXPECT_EQ(loss.none(), std::string(name) != "demo_messy");
  }
  // A smaller range than the file's drops what lies outside it.
  const BattleImage image = Image(DemoBattleBytes("demo_small"));
  MapRange smaller = image.fileRange();
  smaller.width = 1;
  const SaveLoss loss = CountSaveLoss(image, DemoWorldImage().width, smaller);
  const KeptRecords all = CountKeptRecords(image, DemoWorldImage().width, image.fileRange());
  const KeptRecords kept = CountKeptRecords(image, DemoWorldImage().width, smaller);
  EXPECT_EQ(loss.buildingsOutside, all.buildings - kept.buildings);
  EXPECT_EQ(loss.unitsOutside, all.units - kept.units);
}

TEST(SaveLoss, WarningTextNamesEachKindWithItsCountAndCheck) {
  EXPECT_EQ(SaveLossText({}, "a.btl"), "");
  SaveLoss loss;
  loss.buildingsOutside = 1;
  loss.unitsReplaced = 1;
  loss.alphaBytes = 2;
  EXPECT_EQ(SaveLossText(loss, "示例\\demo_messy.btl"),
            "按现在的地图范围保存时，会删去或改变文件中没有编辑过的内容：\n"
            "  地图范围之外的记录: 1（建筑 1 条，部队 0 条），保存时删去\n"
            "  同一格上的多条记录: 1（建筑 0 条，部队 1 条），只保留每格最后一条\n"
            "  保存时设为 255 的颜色 alpha 字节: 2\n"
            "\n用命令行工具 btl check \"示例\\demo_messy.btl\" 可以列出每一处。");
  loss = {};
  loss.reordered = 3;
  loss.hexesBeyondPositions = 4;
  const std::string text = SaveLossText(loss, "b.btl");
  EXPECT_NE(text.find(std::string(kTitleRecordsReorderedOnSave) + ": 3\n"), std::string::npos);
  EXPECT_NE(text.find(std::string(kTitleHexesBeyondPositions) + ": 4\n"), std::string::npos);
  EXPECT_EQ(text.find(kTitleAlphaSetOnSave), std::string::npos);
}

}  // namespace
