#include "view/hex_area.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <set>
#include <utility>

#include "view/hex_geometry.h"
#include "view/view_state.h"

namespace {

TEST(HexArea, RectanglesTogglesAndTheWalkInRowMajorOrder) {
  HexArea a;
  a.Reset(6, 4);
  EXPECT_TRUE(a.empty());
  EXPECT_FALSE(a.Next(0, 0, true));
  a.SetRectangle(4, 2, 1, 1);  // corners in either order, both ends included
  EXPECT_EQ(a.count(), 8u);
  EXPECT_TRUE(a.Contains(1, 1) && a.Contains(4, 2) && a.Contains(2, 1));
  EXPECT_FALSE(a.Contains(0, 1) || a.Contains(5, 2) || a.Contains(1, 0) || a.Contains(1, 3));
  a.SetRectangle(-3, 3, 9, 3);  // clipped to the range
  EXPECT_EQ(a.count(), 6u);
  a.Toggle(0, 0);
  a.Toggle(5, 3);  // leaves
  a.Toggle(7, 0);  // outside: nothing
  EXPECT_EQ(a.count(), 6u);
  EXPECT_EQ(a.Hexes(), (std::vector<GridHex>{{0, 0}, {0, 3}, {1, 3}, {2, 3}, {3, 3}, {4, 3}}));
  EXPECT_EQ(*a.First(), (GridHex{0, 0}));
  EXPECT_EQ(*a.Last(), (GridHex{4, 3}));
  // Forward and backward, wrapping round, from a hex in the area and from one outside it.
  EXPECT_EQ(*a.Next(0, 0, true), (GridHex{0, 3}));
  EXPECT_EQ(*a.Next(4, 3, true), (GridHex{0, 0}));
  EXPECT_EQ(*a.Next(0, 0, false), (GridHex{4, 3}));
  EXPECT_EQ(*a.Next(3, 1, true), (GridHex{0, 3}));
  EXPECT_EQ(*a.Next(3, 1, false), (GridHex{0, 0}));
  a.SetHexes({{2, 2}});
  EXPECT_EQ(*a.Next(2, 2, true), (GridHex{2, 2}));  // the one hex comes back to itself
  EXPECT_EQ(*a.Next(2, 2, false), (GridHex{2, 2}));
  a.SetAll();
  EXPECT_EQ(a.count(), 24u);
  a.Clear();
  EXPECT_TRUE(a.empty());
  EXPECT_TRUE(a.Hexes().empty());
}

// The walk against a plain model over random areas: each step from every hex of the range.
TEST(HexArea, NextAgreesWithAPlainWalkOverRandomAreas) {
  std::mt19937 random(7);
  for (int round = 0; round < 40; ++round) {
    const int w = 1 + int(random() % 9), h = 1 + int(random() % 7);
    HexArea a;
    a.Reset(w, h);
    std::vector<GridHex> in;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
        if (random() % 3 == 0) {
          a.Add(x, y);
          in.push_back({x, y});
        }
    ASSERT_EQ(a.count(), in.size());
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
        for (bool forward : {true, false}) {
          std::optional<GridHex> got = a.Next(x, y, forward);
          if (in.empty()) {
            EXPECT_FALSE(got);
            continue;
          }
          const int here = y * w + x, n = w * h;
          std::optional<GridHex> want;
          for (int step = 1; step <= n && !want; ++step) {
            int at = forward ? (here + step) % n : (here - step + n) % n;
            if (a.Contains(at % w, at / w)) want = GridHex{at % w, at / w};
          }
          EXPECT_EQ(got, want) << w << "x" << h << " from " << x << "," << y;
        }
  }
}

struct AreaGestures : ::testing::Test {
  Layout l = ComputeLayout(12, 10, 40, 30);
  ViewState v;

  void SetUp() override {
    memset(&g_world, 0, sizeof g_world);
    g_world.worldWidth = 100;
    g_world.worldHeight = 100;
    g_world.originX = 4;  // even: no visible column is shifted at scroll 0 in even columns
    g_world.rangeWidth = 40;
    g_world.rangeHeight = 30;
    ResetArea(v);
  }
  // Clicks the middle of visible hex (col, row).
  void Click(int col, int row, ClickMods mods) {
    PixelPoint p = HexTopLeft(col, row, g_world.originX, v.scrollX);
    ClickMapHex(v, l, g_world.originX, p.x + 25, p.y + 25, mods);
  }
  void Drag(int col, int row, bool held = true) {
    PixelPoint p = HexTopLeft(col, row, g_world.originX, v.scrollX);
    DragMapHex(v, l, g_world.originX, p.x + 25, p.y + 25, held);
  }
  std::set<std::pair<int, int>> Area() {
    std::set<std::pair<int, int>> s;
    for (GridHex h : v.area.Hexes()) s.insert({h.x, h.y});
    return s;
  }
  static std::set<std::pair<int, int>> Rect(int x0, int y0, int x1, int y1) {
    std::set<std::pair<int, int>> s;
    for (int x = x0; x <= x1; ++x)
      for (int y = y0; y <= y1; ++y) s.insert({x, y});
    return s;
  }
};

TEST_F(AreaGestures, ShiftCtrlPlainAndTheAnchor) {
  Click(3, 2, ClickMods::kShift);  // nothing selected: as a plain click
  EXPECT_TRUE(v.area.empty());
  EXPECT_EQ(v.selX(), 3);
  EXPECT_EQ(v.anchorX, 3);
  Click(5, 6, ClickMods::kShift);
  EXPECT_EQ(Area(), Rect(3, 2, 5, 6));
  EXPECT_EQ(v.selX(), 5);
  EXPECT_EQ(v.selY(), 6);
  Click(1, 1, ClickMods::kShift);  // the anchor stays: the rectangle turns round it
  EXPECT_EQ(Area(), Rect(1, 1, 3, 2));
  Click(7, 7, ClickMods::kCtrl);  // joins, and becomes the anchor
  auto expected = Rect(1, 1, 3, 2);
  expected.insert({7, 7});
  EXPECT_EQ(Area(), expected);
  EXPECT_EQ(v.anchorX, 7);
  Click(2, 2, ClickMods::kCtrl);  // leaves
  expected.erase({2, 2});
  expected.insert({7, 7});
  EXPECT_EQ(Area(), expected);
  EXPECT_EQ(v.selX(), 2);
  Click(4, 4, ClickMods::kShift);  // from the last Ctrl click
  EXPECT_EQ(Area(), Rect(2, 2, 4, 4));
  // Scrolling keeps the area where it is in the grid.
  scroll_by(v, l, 3, 2);
  EXPECT_EQ(Area(), Rect(2, 2, 4, 4));
  SelectWholeRange(v);
  EXPECT_EQ(v.area.count(), 40u * 30u);
  Click(0, 0, ClickMods::kPlain);
  EXPECT_TRUE(v.area.empty());
  EXPECT_EQ(v.selX(), 3);
  EXPECT_EQ(v.anchorX, 3);
  EXPECT_EQ(v.anchorY, 2);
}

TEST_F(AreaGestures, AShiftDragFollowsThePointerUntilTheButtonComesUp) {
  Click(2, 2, ClickMods::kPlain);
  Drag(6, 6);  // a plain press does not drag
  EXPECT_TRUE(v.area.empty());
  Click(3, 3, ClickMods::kShift);
  Drag(5, 4);
  EXPECT_EQ(Area(), Rect(2, 2, 5, 4));
  EXPECT_EQ(v.selX(), 5);
  Drag(0, 1);
  EXPECT_EQ(Area(), Rect(0, 1, 2, 2));
  Drag(8, 8, false);  // moved with the button up: the drag is over
  Drag(9, 9);
  EXPECT_EQ(Area(), Rect(0, 1, 2, 2));
  EXPECT_EQ(v.selX(), 0);
}

TEST_F(AreaGestures, StepThroughTheAreaScrollsOnlyWhenTheHexIsOutOfView) {
  EXPECT_FALSE(StepThroughArea(v, l, true));
  v.area.SetHexes({{2, 1}, {30, 1}, {5, 3}});
  ASSERT_TRUE(StepThroughArea(v, l, true));  // nothing selected: the first
  EXPECT_EQ(v.selX(), 2);
  EXPECT_EQ(v.selY(), 1);
  StepThroughArea(v, l, true);
  EXPECT_EQ(v.selX(), 30);  // out of view: scrolled, centred as far as the range allows
  EXPECT_EQ(v.scrollX, 30 - l.viewCols / 2);
  const int32_t scrolled = v.scrollX;
  StepThroughArea(v, l, true);
  EXPECT_EQ(v.selX(), 5);
  EXPECT_EQ(v.selY(), 3);
  EXPECT_NE(v.scrollX, scrolled);
  scroll_by(v, l, 1, 0);  // (5, 3) stays in view
  const int32_t before = v.scrollX;
  StepThroughArea(v, l, true);  // wraps round
  EXPECT_EQ(v.selX(), 2);
  EXPECT_EQ(v.scrollX, before);  // (2, 1) was in view: no scroll
  StepThroughArea(v, l, false);
  EXPECT_EQ(v.selX(), 5);
  v.selCol = v.selRow = -1;
  StepThroughArea(v, l, false);  // nothing selected: the last
  EXPECT_EQ(v.selX(), 5);
  EXPECT_EQ(v.selY(), 3);
}

// Whole notches scroll a row (Shift: a column) each, through the scroll clamp; partial
// notches of a high-resolution wheel add up, and a turn back drops the rest.
TEST_F(AreaGestures, TheWheelScrollsByWholeNotches) {
  v.scrollX = 5;
  v.scrollY = 5;
  const struct {
    int32_t delta;
    bool shift;
    int32_t x, y;
  } turns[] = {
      {-120, false, 5, 6},    {-240, false, 5, 8}, {120, false, 5, 7}, {-40, false, 5, 7},
      {-40, false, 5, 7},     {-40, false, 5, 8},  {-60, false, 5, 8}, {30, false, 5, 8},
      {90, false, 5, 7},      {-120, true, 6, 7},  {360, true, 3, 7},  {1200, false, 3, 0},
      {-12000, false, 3, 20},  // clamped at maxScrollY (30 rows, 10 in view)
  };
  for (const auto& t : turns) {
    TurnWheel(v, l, t.delta, t.shift);
    EXPECT_EQ(v.scrollX, t.x) << t.delta;
    EXPECT_EQ(v.scrollY, t.y) << t.delta;
  }
}

}  // namespace
