#include "scenario/battle_write.h"

#include <gtest/gtest.h>

#include <cstring>

#include "scenario/battle_format.h"
#include "scenario/battle_read.h"
#include "tests/support/battle_fixture.h"

namespace {

// ---- Round trips ----------------------------------------------------------------------

TEST(BattleRoundTrip, CleanFileComesBackByteForByte) {
  std::vector<uint8_t> bytes = CleanScenario().bytes();
  LoadForTest(bytes, World40x30());
  EXPECT_EQ(SaveForTest(), bytes);
  // A second save of the same record is the same again.
  EXPECT_EQ(SaveForTest(), bytes);
}

TEST(BattleRoundTrip, AlphaBytesBecome255AndNothingElseChanges) {
  BattleFixture scenario = CleanScenario();
  scenario.teams[1].fileColour[3] = 0;
  scenario.teams[2].fileColour[3] = 17;
  std::vector<uint8_t> bytes = scenario.bytes();
  LoadForTest(bytes, World40x30());
  std::vector<uint8_t> saved = SaveForTest();
  ASSERT_EQ(saved.size(), bytes.size());
  for (size_t i = 0; i < bytes.size(); ++i) {
    bool alpha = i >= kHeaderBytes && i < kHeaderBytes + 3 * kTeamFileBytes &&
                 (i - kHeaderBytes) % kTeamFileBytes == 43;
    if (alpha)
      EXPECT_EQ(saved[i], 255) << i;
    else
      EXPECT_EQ(saved[i], bytes[i]) << i;
  }
}

TEST(BattleRoundTrip, ColourIsBuiltFromRedGreenBlue) {
  LoadForTest(CleanScenario().bytes(), World40x30());
  EXPECT_EQ(g_world.teams[0].colour, 200u | 10u << 8 | 10u << 16);
  EXPECT_EQ(g_world.teams[2].colour, 10u | 10u << 8 | 200u << 16);
  EXPECT_EQ(g_world.teams[kUnownedTeam].colour, 0xFFFFFFu);
  // A colour chosen in the editor goes back as red, green, blue.
  g_world.teams[1].colour = 0x00123456;
  std::vector<uint8_t> saved = SaveForTest();
  const uint8_t* c = &saved[kHeaderBytes + kTeamFileBytes + 40];
  EXPECT_EQ(c[0], 0x56);
  EXPECT_EQ(c[1], 0x34);
  EXPECT_EQ(c[2], 0x12);
  EXPECT_EQ(c[3], 0xFF);
}

TEST(BattleRoundTrip, RecordsAreWrittenInRowMajorOrder) {
  BattleFixture scenario = CleanScenario();
  std::vector<uint8_t> sorted = scenario.bytes();
  std::swap(scenario.units[0], scenario.units[3]);
  std::swap(scenario.buildings[0], scenario.buildings[2]);
  LoadForTest(scenario.bytes(), World40x30());
  EXPECT_EQ(SaveForTest(), sorted);
}

TEST(BattleRoundTrip, LaterRecordOnTheSameHexWins) {
  BattleFixture scenario = CleanScenario();
  UnitRecord later = MakeUnit(scenario.units[1].position, 7, 4);
  scenario.units.push_back(later);
  PlacementReport report;
  LoadForTest(scenario.bytes(), World40x30(), nullptr, &report);
  EXPECT_EQ(report.unitsReplaced, 1);
  std::vector<uint8_t> saved = SaveForTest();
  BattleImage image;
  ASSERT_TRUE(ParseBattleFile(saved, "saved", image).ok());
  EXPECT_EQ(image.layout.header.unitCount, 4);
  EXPECT_EQ(image.unit(1).unitClass, 7);
  EXPECT_EQ(image.unit(1).unitLevel, 4);
}

TEST(BattleRoundTrip, RecordsOutsideTheRangeAreDropped) {
  BattleFixture scenario = CleanScenario();
  scenario.units.push_back(MakeUnit(Pos(4, 4), 1, 1));        // one column left of the range
  scenario.units.push_back(MakeUnit(Pos(5, 9), 1, 1));        // one row below
  scenario.buildings.push_back(MakeBuilding(Pos(11, 4), 5));  // one column right
  scenario.buildings.push_back(MakeBuilding(65535, 5));       // beyond the world's rows
  PlacementReport report;
  LoadForTest(scenario.bytes(), World40x30(), nullptr, &report);
  EXPECT_EQ(report.unitsOutside, 2);
  EXPECT_EQ(report.buildingsOutside, 2);
  EXPECT_EQ(SaveForTest(), CleanScenario().bytes());
}

TEST(BattleRoundTrip, UnitWithoutClassIsKeptUntilItsHexIsNormalised) {
  BattleFixture scenario = CleanScenario();
  scenario.units[2].unitClass = 0;
  std::vector<uint8_t> bytes = scenario.bytes();
  LoadForTest(bytes, World40x30());
  EXPECT_EQ(g_world.grid[5][3].hasUnit, 1);
  EXPECT_EQ(SaveForTest(), bytes);
  NormaliseCell(5, 3);
  BattleImage image;
  ASSERT_TRUE(ParseBattleFile(SaveForTest(), "saved", image).ok());
  EXPECT_EQ(image.layout.header.unitCount, 3);
}

TEST(BattleRoundTrip, EmptyGeneralsAndNoTailEndAfterTheUnits) {
  BattleFixture scenario = CleanScenario();
  scenario.generals.clear();
  scenario.tail.clear();
  scenario.units[0].general = 255;
  std::vector<uint8_t> bytes = scenario.bytes();
  LoadForTest(bytes, World40x30());
  std::vector<uint8_t> saved = SaveForTest();
  EXPECT_EQ(saved, bytes);
  EXPECT_EQ(saved.size(), kHeaderBytes + 3 * kTeamFileBytes + 30 + 3 * 20 + 4 * 28);
}

TEST(BattleRoundTrip, HexesWithoutUnitGetNoGeneral) {
  LoadForTest(CleanScenario().bytes(), World40x30());
  EXPECT_EQ(g_world.grid[1][1].hasUnit, 0);
  EXPECT_EQ(g_world.grid[1][1].unit.general, kNoGeneral);
  EXPECT_EQ(g_world.grid[0][0].unit.general, 0);
  EXPECT_EQ(g_world.generalCount, 2);
  EXPECT_EQ(g_world.generals[0].commander, 12);
  EXPECT_EQ(g_world.generals[0].rank, 3);
}

TEST(BattleRoundTrip, CellsCarryCoordinatesAndTheirWorldInfo) {
  LoadForTest(CleanScenario().bytes(), World40x30());
  const Cell& c = g_world.grid[2][3];
  EXPECT_EQ(c.globalX, 7);
  EXPECT_EQ(c.globalY, 7);
  EXPECT_EQ(memcmp(&c.worldInfo, &World40x30().at(7, 7), sizeof(WorldInfo)), 0);
  EXPECT_EQ(g_world.worldWidth, 40);
  EXPECT_EQ(memcmp(&g_world.world[39][29], &World40x30().at(39, 29), sizeof(WorldInfo)), 0);
}

TEST(BattleRoundTrip, OwnerNamingNoTeamIsKeptAndReported) {
  BattleFixture scenario = CleanScenario();
  scenario.owners[7] = 9;  // three teams only
  std::vector<uint8_t> bytes = scenario.bytes();
  PlacementReport report;
  LoadForTest(bytes, World40x30(), nullptr, &report);
  EXPECT_EQ(report.ownersNamingNoTeam, 1);
  EXPECT_EQ(SaveForTest(), bytes);
}

}  // namespace
