#include "scenario/world_record.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

namespace {

// A 300-column world with a 4 x 3 range at global (10, 198).
void MakeSmallWorld() {
  memset(&g_world, 0, sizeof g_world);
  g_world.worldWidth = 300;
  g_world.worldHeight = 220;
  g_world.originX = 10;
  g_world.originY = 198;
  g_world.rangeWidth = 4;
  g_world.rangeHeight = 3;
  for (int x = 0; x < 4; ++x)
    for (int y = 0; y < 3; ++y) {
      Cell& c = g_world.grid[x][y];
      c.globalX = 10 + x;
      c.globalY = 198 + y;
      c.owner = kUnownedTeam;
      ClearUnit(c.unit);
    }
}

TEST(GlobalIndex, RowTimesWorldWidthPlusColumn) {
  MakeSmallWorld();
  // Global column 10, row 200 of a 300-wide world.
  EXPECT_EQ(GlobalIndex(0, 2), 60010);
}

TEST(RangeFitsPositions, LastHexDecides) {
  EXPECT_TRUE(RangeFitsPositions({0, 0, 256, 256}, 256));
  EXPECT_FALSE(RangeFitsPositions({0, 0, 256, 257}, 256));
  EXPECT_FALSE(RangeFitsPositions({1, 0, 256, 256}, 256));
  EXPECT_TRUE(RangeFitsPositions({0, 0, 0, 0}, 500));
  EXPECT_TRUE(RangeFitsPositions({35, 131, 1, 1}, 500));   // 65,535
  EXPECT_FALSE(RangeFitsPositions({36, 131, 1, 1}, 500));  // 65,536
}

// The companion checks a file's own range before anything has limited it: the last row and
// column of a range at the far end of 32 bits lie beyond it and must not wrap (run under
// -fsanitize=undefined this fails on the overflow itself).
TEST(RangeFitsPositions, RangesAtTheEndOf32BitsDoNotFit) {
  const int32_t top = INT32_MAX;
  EXPECT_FALSE(RangeFitsPositions({0, top, 1, 2}, 500));
  EXPECT_FALSE(RangeFitsPositions({top, 0, 2, 1}, 500));
  EXPECT_FALSE(RangeFitsPositions({top, top, top, top}, INT32_MAX));
  EXPECT_FALSE(RangeFitsPositions({0, top, 1, 1}, 1));
  // A wide world is no reason to refuse a range that stays below 65,536.
  EXPECT_TRUE(RangeFitsPositions({65535, 0, 1, 1}, INT32_MAX));
  EXPECT_FALSE(RangeFitsPositions({65535, 0, 2, 1}, INT32_MAX));
}

TEST(NormaliseCell, UnitWithClassGetsPositionOfItsHex) {
  MakeSmallWorld();
  Cell& c = g_world.grid[0][2];
  c.unit.unitClass = 3;
  c.unit.position = 7;
  NormaliseCell(0, 2);
  EXPECT_EQ(c.hasUnit, 1);
  EXPECT_EQ(c.unit.position, 60010);
}

TEST(NormaliseCell, UnitWithoutClassIsClearedAndLosesItsGeneral) {
  MakeSmallWorld();
  Cell& c = g_world.grid[1][1];
  c.hasUnit = 1;
  c.unit.unitClass = 0;
  c.unit.hp = 55;
  c.unit.general = 4;
  NormaliseCell(1, 1);
  EXPECT_EQ(c.hasUnit, 0);
  UnitRecord empty;
  ClearUnit(empty);
  EXPECT_EQ(memcmp(&c.unit, &empty, sizeof empty), 0);
  EXPECT_EQ(c.unit.general, kNoGeneral);
}

TEST(NormaliseCell, BuildingPresenceComesFromTypeCodeOrDefenceOnly) {
  MakeSmallWorld();
  Cell& c = g_world.grid[2][0];
  c.building.cityName = 12;
  c.building.industry = 1;
  c.hasBuilding = 1;
  NormaliseCell(2, 0);
  EXPECT_EQ(c.hasBuilding, 0);
  EXPECT_EQ(c.building.cityName, 0);

  for (int which = 0; which < 3; ++which) {
    ClearBuilding(c.building);
    if (which == 0) c.building.facilityType = 2;
    if (which == 1) c.building.buildingCode = 10105;
    if (which == 2) c.building.defence = 1;
    NormaliseCell(2, 0);
    EXPECT_EQ(c.hasBuilding, 1) << which;
    EXPECT_EQ(c.building.position, GlobalIndex(2, 0)) << which;
  }
}

// Each byte of the record set alone: only facilityType (4), the two bytes of buildingCode
// (6, 7) and defence (13) make a building.
TEST(HasBuilding, OnlyTypeCodeOrDefenceBytesCount) {
  for (size_t i = 0; i < sizeof(BuildingRecord); ++i) {
    BuildingRecord b;
    ClearBuilding(b);
    EXPECT_FALSE(HasBuilding(b));
    reinterpret_cast<uint8_t*>(&b)[i] = 0x80;
    bool counts = i == 4 || i == 6 || i == 7 || i == 13;
    EXPECT_EQ(HasBuilding(b), counts) << "byte " << i;
  }
}

TEST(NormaliseCell, PositionKeepsLowSixteenBits) {
  MakeSmallWorld();
  g_world.worldWidth = 500;
  g_world.originY = 140;  // 140 * 500 + 10 = 70,010
  Cell& c = g_world.grid[0][0];
  c.unit.unitClass = 1;
  NormaliseCell(0, 0);
  EXPECT_EQ(c.unit.position, 70010 & 0xFFFF);
}

TEST(RemoveTeam, FirstOfThreeClearsItsHexesAndShiftsTheRest) {
  MakeSmallWorld();
  g_world.teamCount = 3;
  for (int i = 0; i < 3; ++i) {
    g_world.teams[i].country = 100 + i;
    g_world.teams[i].colour = 0x10 * (i + 1);
  }
  Cell& mine = g_world.grid[0][0];
  mine.owner = 0;
  mine.hasUnit = 1;
  mine.unit.unitClass = 2;
  mine.unit.general = 3;
  mine.hasBuilding = 1;
  mine.building.buildingCode = 10101;
  g_world.grid[1][0].owner = 1;
  g_world.grid[2][0].owner = 2;
  g_world.grid[3][0].owner = kUnownedTeam;

  RemoveTeam(0);

  EXPECT_EQ(g_world.teamCount, 2);
  EXPECT_EQ(mine.owner, kUnownedTeam);
  EXPECT_EQ(mine.hasUnit, 0);
  EXPECT_EQ(mine.hasBuilding, 0);
  EXPECT_EQ(mine.unit.unitClass, 0);
  EXPECT_EQ(mine.unit.general, kNoGeneral);
  EXPECT_EQ(mine.building.buildingCode, 0);
  EXPECT_EQ(g_world.grid[1][0].owner, 0);
  EXPECT_EQ(g_world.grid[2][0].owner, 1);
  EXPECT_EQ(g_world.grid[3][0].owner, kUnownedTeam);
  EXPECT_EQ(g_world.teams[0].country, 101);
  EXPECT_EQ(g_world.teams[1].country, 102);
  EXPECT_EQ(g_world.teams[1].colour, 0x30u);
  // The old last slot is left as it was.
  EXPECT_EQ(g_world.teams[2].country, 102);
}

TEST(RemoveTeam, LastTeamMovesNoSlotAndOutOfRangeIndexDoesNothing) {
  MakeSmallWorld();
  g_world.teamCount = 2;
  g_world.teams[0].country = 5;
  g_world.teams[1].country = 6;
  RemoveTeam(1);
  EXPECT_EQ(g_world.teamCount, 1);
  EXPECT_EQ(g_world.teams[0].country, 5);
  RemoveTeam(-1);
  RemoveTeam(1);
  EXPECT_EQ(g_world.teamCount, 1);
  RemoveTeam(0);
  RemoveTeam(0);
  EXPECT_EQ(g_world.teamCount, 0);
}

TEST(AttachedGeneral, NamesOnlyAListedEntry) {
  MakeSmallWorld();
  g_world.generalCount = 3;
  g_world.generals[2] = {77, 5};
  UnitRecord unit;
  ClearUnit(unit);
  EXPECT_EQ(AttachedGeneral(unit), nullptr);  // 255: none
  unit.general = 2;
  ASSERT_EQ(AttachedGeneral(unit), &g_world.generals[2]);
  EXPECT_EQ(AttachedGeneral(unit)->commander, 77);
  unit.general = 3;  // one past the list
  EXPECT_EQ(AttachedGeneral(unit), nullptr);
  g_world.generalCount = 256;  // 255 stays "none" however long the list
  unit.general = kNoGeneral;
  EXPECT_EQ(AttachedGeneral(unit), nullptr);
}

TEST(UsableTeamCount, KeepsToSlotsZeroTo254) {
  MakeSmallWorld();
  const int32_t counts[][2] = {{0, 0}, {3, 3}, {254, 254}, {255, 255}, {256, 255}, {-1, 0}};
  for (const auto& c : counts) {
    g_world.teamCount = c[0];
    EXPECT_EQ(UsableTeamCount(), c[1]) << c[0];
  }
}

}  // namespace
