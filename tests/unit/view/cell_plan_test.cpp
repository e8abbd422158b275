#include "view/cell_plan.h"

#include <gtest/gtest.h>

#include <cstring>

#include "catalogs/catalogs.h"

namespace {

struct CellPlanTest : ::testing::Test {
  Cell c{};
  void SetUp() override {
    memset(&g_world, 0, sizeof g_world);
    ResetCatalogs();
    g_world.teamCount = 2;
    g_world.teams[0].colour = 0x0000FF;
    g_world.teams[0].country = 7;
    g_world.teams[1].colour = 0x00FF00;
    g_world.teams[kUnownedTeam].colour = 0xFFFFFF;
    c.owner = 0;
    ClearUnit(c.unit);
    // Army Id 100005 is category 3, level 2, named 步兵 (GBK B2BD B1F8).
    g_catalogs.ArmyByTypeLevel[302] = 100005;
    g_catalogs.ArmyType[4] = 3;
    g_catalogs.ArmyLevel[4] = 2;
    strcpy(g_catalogs.ArmyName[4], "\xB2\xBD\xB1\xF8");
    strcpy(g_catalogs.BuildingName[3], "\xD2\xAA\xC8\xFB");  // 要塞
  }
  std::vector<CellStep> Plan() { return PlanCell(c, 100, 75); }
};

TEST_F(CellPlanTest, EmptyHexIsOnlyItsColourSquare) {
  auto steps = Plan();
  ASSERT_EQ(steps.size(), 1u);
  EXPECT_EQ(steps[0].kind, CellStep::kFill);
  EXPECT_EQ(steps[0].x, 100);
  EXPECT_EQ(steps[0].bottom, 125);
  EXPECT_EQ(steps[0].colour, 0x0000FFu);
}

TEST_F(CellPlanTest, UnitShowsLabelGeneralMarkAndFlag) {
  c.hasUnit = 1;
  c.unit.unitClass = 3;
  c.unit.unitLevel = 2;
  auto steps = Plan();
  ASSERT_EQ(steps.size(), 3u);
  EXPECT_EQ(steps[1].text,
            "\xB2\xBD"
            "2");
  EXPECT_EQ(steps[1].x, 117);
  EXPECT_EQ(steps[1].y, 110);
  EXPECT_EQ(steps[2].art, Art::kFlag);
  EXPECT_EQ(steps[2].index, 7);
  EXPECT_EQ(steps[2].x, 99);
  c.unit.general = 4;
  steps = Plan();
  ASSERT_EQ(steps.size(), 4u);
  EXPECT_EQ(steps[2].text, "\xBD\xAB");
  EXPECT_EQ(steps[2].x, 137);
}

TEST_F(CellPlanTest, UnknownUnitTypeStillShowsItsLevel) {
  c.hasUnit = 1;
  c.unit.unitClass = 9;
  c.unit.unitLevel = 17;
  EXPECT_EQ(Plan()[1].text,
            "\xA3\xBF"
            "17");
  // A one-byte name gives one byte, never a zero that would cut the level off.
  g_catalogs.ArmyByTypeLevel[917] = 100010;
  g_catalogs.ArmyType[9] = 9;
  g_catalogs.ArmyLevel[9] = 17;
  strcpy(g_catalogs.ArmyName[9], "A");
  EXPECT_EQ(Plan()[1].text, "A17");
  // Category 8, level 117 shares that slot; the army there is not of that pair.
  c.unit.unitClass = 8;
  c.unit.unitLevel = 117;
  EXPECT_EQ(Plan()[1].text,
            "\xA3\xBF"
            "117");
}

TEST_F(CellPlanTest, CityShowsLevelMarkAndFacilitiesInFreeSlots) {
  c.hasBuilding = 1;
  c.building.buildingCode = 10106;
  c.building.airport = 1;
  c.building.nuclear = 2;
  auto steps = Plan();
  ASSERT_EQ(steps.size(), 6u);  // fill, city, level mark, two facilities, flag
  EXPECT_EQ(steps[1].art, Art::kCity);
  EXPECT_EQ(steps[2].art, Art::kLevelMax);
  EXPECT_EQ(steps[2].x, 104);
  EXPECT_EQ(steps[2].y, 82);
  EXPECT_EQ(steps[3].art, Art::kAirport);
  EXPECT_EQ(steps[3].x, 120);
  EXPECT_EQ(steps[4].art, Art::kNuclear);
  EXPECT_EQ(steps[4].x, 136);
  EXPECT_EQ(steps[4].y, 75);
  c.building.buildingCode = 10105;
  EXPECT_EQ(Plan().size(), 5u);  // no level mark
}

TEST_F(CellPlanTest, NonCityShowsItsNameAntiAirAndMine) {
  c.hasBuilding = 1;
  c.building.buildingCode = 3;
  c.building.facilityType = 2;
  c.building.defence = 1;
  auto steps = Plan();
  ASSERT_EQ(steps.size(), 5u);  // fill, name, anti-air, mine, flag
  EXPECT_EQ(steps[1].kind, CellStep::kTextInRect);
  EXPECT_EQ(steps[1].text, "\xD2\xAA\xC8\xFB");
  EXPECT_EQ(steps[1].right, 150);
  EXPECT_EQ(steps[1].bottom, 100);
  EXPECT_EQ(steps[2].art, Art::kAntiAir);
  EXPECT_EQ(steps[2].index, 2);
  EXPECT_EQ(steps[2].x, 135);
  EXPECT_EQ(steps[2].y, 91);
  EXPECT_EQ(steps[3].text, "\xC0\xD7");
  EXPECT_EQ(steps[3].x, 140);
  c.building.facilityType = 4;  // no picture for it
  steps = Plan();
  for (const CellStep& s : steps) EXPECT_FALSE(s.kind == CellStep::kBlit && s.art == Art::kAntiAir);
}

TEST_F(CellPlanTest, SeaIsDarkBlueButKeepsTheOwnersFlag) {
  c.worldInfo.terrain = 1;
  c.hasUnit = 1;
  c.unit.unitClass = 3;
  c.unit.unitLevel = 2;
  auto steps = Plan();
  EXPECT_EQ(steps[0].colour, kSeaColour);
  EXPECT_EQ(steps.back().index, 7);
}

TEST_F(CellPlanTest, OwnersNamingNoTeamAreDrawnUnowned) {
  c.owner = 5;  // two teams only: slot 5 holds nothing counted
  g_world.teams[5].colour = 0x123456;
  EXPECT_EQ(Plan()[0].colour, 0xFFFFFFu);
  c.owner = 255;
  EXPECT_EQ(Plan()[0].colour, 0xFFFFFFu);
  c.owner = 1;
  EXPECT_EQ(Plan()[0].colour, 0x00FF00u);
}

TEST(CellPosition, OddGlobalColumnsAreShiftedHalfACell) {
  memset(&g_world, 0, sizeof g_world);
  g_world.originX = 10;
  g_world.originY = 4;
  Cell c{};
  c.globalX = 13;
  c.globalY = 6;
  EXPECT_EQ(CellScreenPosition(c, 1, 1), (PixelPoint{100, 75}));
  c.globalX = 12;
  EXPECT_EQ(CellScreenPosition(c, 1, 1).y, 50);
}

}  // namespace
