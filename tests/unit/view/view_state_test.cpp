#include "view/view_state.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

struct ViewFixture : ::testing::Test {
  Layout l = ComputeLayout(12, 10, 40, 30);
  ViewState v;

  void SetUp() override {
    memset(&g_world, 0, sizeof g_world);
    g_world.worldWidth = 100;
    g_world.worldHeight = 100;
    g_world.originX = 5;  // odd: visible column 0 is shifted down when scrollX is even
    g_world.originY = 2;
    g_world.rangeWidth = 40;
    g_world.rangeHeight = 30;
    for (int x = 0; x < 40; ++x)
      for (int y = 0; y < 30; ++y) {
        Cell& c = g_world.grid[x][y];
        c.globalX = 5 + x;
        c.globalY = 2 + y;
        c.owner = kUnownedTeam;
        ClearUnit(c.unit);
      }
  }
};

TEST_F(ViewFixture, PickingRespectsTheHalfCellBands) {
  // Visible column 0 is global column 5 (odd): shifted down by 25.
  PickHex(v, l, 5, 10, 24);
  EXPECT_FALSE(v.hasSelection());
  PickHex(v, l, 5, 10, 25);
  EXPECT_EQ(v.selCol, 0);
  EXPECT_EQ(v.selRow, 0);
  PickHex(v, l, 5, 10, 124);
  EXPECT_EQ(v.selRow, 1);
  // Visible column 1 is even: its bottom 25 pixels are empty.
  PickHex(v, l, 5, 60, 499);
  EXPECT_EQ(v.selCol, 1);
  EXPECT_EQ(v.selRow, 9);
  PickHex(v, l, 5, 60, 500);
  EXPECT_EQ(v.selRow, 9);  // ignored, as it was
  EXPECT_EQ(v.selCol, 1);
  // The typical edit: client (120, 80) is column 2 (global 7, odd), row (80-25)/50 = 1.
  PickHex(v, l, 5, 120, 80);
  EXPECT_EQ(v.selCol, 2);
  EXPECT_EQ(v.selRow, 1);
  // Parity follows the scroll position.
  v.scrollX = 1;
  PickHex(v, l, 5, 120, 80);  // global 8, even: row 80 / 50
  EXPECT_EQ(v.selRow, 1);
  PickHex(v, l, 5, 120, 20);
  EXPECT_EQ(v.selRow, 0);
}

TEST_F(ViewFixture, ScrollClampsAndKeepsOrDropsTheSelection) {
  scroll_by(v, l, -5, -5);
  EXPECT_EQ(v.scrollX, 0);
  EXPECT_EQ(v.scrollY, 0);
  scroll_by(v, l, 100, 100);
  EXPECT_EQ(v.scrollX, 28);
  EXPECT_EQ(v.scrollY, 20);

  v.scrollX = v.scrollY = 0;
  v.selCol = 3;
  v.selRow = 4;
  scroll_by(v, l, 2, 1);
  EXPECT_EQ(v.selCol, 1);
  EXPECT_EQ(v.selRow, 3);
  scroll_by(v, l, 2, 0);  // grid column 3 leaves the view
  EXPECT_FALSE(v.hasSelection());
  EXPECT_EQ(v.selRow, -1);
  scroll_by(v, l, -2, 0);  // coming back does not restore it
  EXPECT_FALSE(v.hasSelection());
}

TEST_F(ViewFixture, NegativeLimitsScrollToZero) {
  Layout small = ComputeLayout(12, 10, 5, 3);
  small.maxScrollX = -7;  // as a range smaller than the view would give without the clamp
  scroll_by(v, small, 3, 3);
  EXPECT_EQ(v.scrollX, 0);
  EXPECT_EQ(v.scrollY, 0);
}

TEST_F(ViewFixture, TracksCentreTheViewOnTheClickedShare) {
  // Half-way along the horizontal track: 40 * 270 / 540 - 6 = 14.
  ClickTracks(v, l, 40, 30, l.hTrack.x + 270, l.hTrack.y + 5);
  EXPECT_EQ(v.scrollX, 14);
  EXPECT_EQ(v.scrollY, 0);
  // Near the bottom of the vertical track: clamped to the limit.
  ClickTracks(v, l, 40, 30, l.vTrack.x + 5, l.vTrack.y + l.vTrack.h - 1);
  EXPECT_EQ(v.scrollY, 20);
  // The left end of the track: (0 * 40 / 540) - 6 = -6, clamped to 0.
  ClickTracks(v, l, 40, 30, l.hTrack.x, l.hTrack.y);
  EXPECT_EQ(v.scrollX, 0);
  // A point on neither track does nothing.
  ClickTracks(v, l, 40, 30, 5, 5);
  EXPECT_EQ(v.scrollY, 20);
}

TEST_F(ViewFixture, ArrowButtonsScrollOneCellAndCommandButtonsAreFound) {
  EXPECT_TRUE(ClickArrowButtons(v, l, 590, 530));  // right arrow
  EXPECT_EQ(v.scrollX, 1);
  EXPECT_TRUE(ClickArrowButtons(v, l, 610, 500));  // down arrow
  EXPECT_EQ(v.scrollY, 1);
  EXPECT_TRUE(ClickArrowButtons(v, l, 5, 530));  // left arrow
  EXPECT_EQ(v.scrollX, 0);
  EXPECT_FALSE(ClickArrowButtons(v, l, 300, 300));
  EXPECT_EQ(CommandButtonAt(l, 0, 560), 0);
  EXPECT_EQ(CommandButtonAt(l, 160, 600), 1);
  EXPECT_EQ(CommandButtonAt(l, 540, 624), 3);
  EXPECT_EQ(CommandButtonAt(l, 100, 600), -1);
}

TEST_F(ViewFixture, PasteRulesCopyOnlyTheirPart) {
  Cell& from = g_world.grid[1][1];
  from.owner = 2;
  from.unit.unitClass = 4;
  from.unit.hp = 33;
  from.hasUnit = 1;
  from.building.buildingCode = 10103;
  from.hasBuilding = 1;
  from.worldInfo.terrain = 9;

  // Nothing to paste yet.
  v.selCol = v.selRow = 3;
  PasteSelected(v, true, true, true);
  EXPECT_EQ(g_world.grid[3][3].hasUnit, 0);

  v.selCol = v.selRow = 1;
  CopySelected(v);
  EXPECT_EQ(v.clipboardEmpty, 0);
  v.selCol = v.selRow = 3;
  PasteSelected(v, false, true, false);
  Cell& to = g_world.grid[3][3];
  EXPECT_EQ(to.owner, 2);
  EXPECT_EQ(to.hasUnit, 0);
  PasteSelected(v, true, false, false);
  EXPECT_EQ(to.hasUnit, 1);
  EXPECT_EQ(to.unit.hp, 33);
  EXPECT_EQ(to.unit.position, GlobalIndex(3, 3));
  EXPECT_EQ(to.hasBuilding, 0);
  PasteSelected(v, false, false, true);
  EXPECT_EQ(to.building.buildingCode, 10103);
  EXPECT_EQ(to.building.position, GlobalIndex(3, 3));
  EXPECT_EQ(to.globalX, 8);
  EXPECT_EQ(to.worldInfo.terrain, 0);

  // Pasting from a copied hex without a unit clears the target's unit.
  v.selCol = v.selRow = 5;
  CopySelected(v);
  v.selCol = v.selRow = 3;
  PasteSelected(v, true, false, false);
  EXPECT_EQ(to.hasUnit, 0);
  EXPECT_EQ(to.unit.general, kNoGeneral);
  EXPECT_EQ(to.hasBuilding, 1);
}

}  // namespace

// A jump centres the hex where the range allows and selects it; near the range's edges the
// view stops at the limits and the hex is selected where it then stands.
TEST_F(ViewFixture, CentreAndSelectCentresAsFarAsTheRangeAllows) {
  struct Row {
    int gx, gy, scrollX, scrollY;
  } rows[] = {
      {20, 15, 14, 10},  // middle: 20 - 12/2, 15 - 10/2
      {0, 0, 0, 0},      // first hex: the view stays at the origin
      {39, 29, 28, 20},  // last hex: the view stops at the limits
      {3, 27, 0, 20},
  };
  for (const Row& r : rows) {
    v.scrollX = 7;
    v.scrollY = 3;
    v.selCol = 2;  // a selection elsewhere never survives the jump
    v.selRow = 2;
    CentreAndSelect(v, l, r.gx, r.gy);
    EXPECT_EQ(v.scrollX, r.scrollX) << r.gx << "," << r.gy;
    EXPECT_EQ(v.scrollY, r.scrollY) << r.gx << "," << r.gy;
    EXPECT_EQ(v.selX(), r.gx);
    EXPECT_EQ(v.selY(), r.gy);
  }
}
