#include "app/range_frame.h"

#include <gtest/gtest.h>

#include <climits>

#include "view/layout.h"
#include "app/range_select.h"
#include "drawing/surface.h"
#include "drawing/window.h"
#include "tests/support/battle_fixture.h"
#include <vector>

namespace {

TEST(RangeFrame, FrameAroundTheFileRangeGivesItBackUnchanged) {
  RangeFrame f = FrameAround({10, 5, 120, 80});
  EXPECT_EQ(f.left, 9);
  EXPECT_EQ(f.right, 130);
  EXPECT_TRUE(FrameHoldsARange(f));
  MapRange r = RangeInside(f);
  EXPECT_EQ(r.originX, 10);
  EXPECT_EQ(r.originY, 5);
  EXPECT_EQ(r.width, 120);
  EXPECT_EQ(r.height, 80);
}

TEST(RangeFrame, BoundsTwoApartHoldOneColumnOneApartNone) {
  EXPECT_TRUE(FrameHoldsARange({3, 5, 3, 5}));
  EXPECT_EQ(RangeInside({3, 5, 3, 5}).width, 1);
  EXPECT_FALSE(FrameHoldsARange({3, 4, 3, 5}));
  EXPECT_FALSE(FrameHoldsARange({3, 5, 3, 4}));
  EXPECT_FALSE(FrameHoldsARange({6, 5, 3, 9}));
}

TEST(RangeFrame, ClicksBeyondTheFarBoundSwapCorners) {
  RangeFrame f{9, 20, 4, 15};
  LeftClickFrame(f, 25, 10);  // right of the right bound
  EXPECT_EQ(f.left, 20);
  EXPECT_EQ(f.right, 25);
  EXPECT_EQ(f.top, 10);
  EXPECT_EQ(f.bottom, 15);
  RightClickFrame(f, 22, 2);  // above the top bound
  EXPECT_EQ(f.right, 22);
  EXPECT_EQ(f.top, 2);
  EXPECT_EQ(f.bottom, 10);
  RightClickFrame(f, 1, 30);  // left of the left bound
  EXPECT_EQ(f.left, 1);
  EXPECT_EQ(f.right, 20);
  EXPECT_EQ(f.bottom, 30);
  EXPECT_LE(f.left, f.right);
  EXPECT_LE(f.top, f.bottom);
}

TEST(RangeFrame, BorderRingPutsTheFrameJustOutsideTheWorld) {
  EXPECT_EQ(HexAtPixel(3, 1, 2), (GlobalHex{-1, -1}));
  // A 200 x 120 world's far ring.
  EXPECT_EQ(HexAtPixel(3, 3 * 201 + 2, 3 * 121), (GlobalHex{200, 120}));
  RangeFrame f{5, 50, 5, 50};
  LeftClickFrame(f, -1, -1);
  EXPECT_EQ(RangeInside(f).originX, 0);
  EXPECT_EQ(RangeInside(f).originY, 0);
}

TEST(RangeFrame, CellSizeOfZeroOrLessIsTakenAsOne) {
  EXPECT_EQ(UsableCellPx(0), 1);
  EXPECT_EQ(UsableCellPx(-4), 1);
  EXPECT_EQ(UsableCellPx(5), 5);
  EXPECT_EQ(HexAtPixel(0, 7, 9), (GlobalHex{6, 8}));
}

// The side is cut so the view of the world and its ring stays within the largest window;
// 0 or less still means 1.
TEST(RangeFrame, HexSideIsCutSoTheViewFitsTheLargestWindow) {
  struct Row {
    int32_t configured, worldWidth, worldHeight, expected;
  } rows[] = {
      {3, 500, 500, 3},         {1, 500, 500, 1},          {8, 500, 500, 8},
      {9, 500, 500, 8},         {100, 500, 500, 8},        {INT_MAX, 500, 500, 8},
      {0, 500, 500, 1},         {-4, 500, 500, 1},         {INT_MIN, 500, 500, 1},
      {100, 40, 30, 4096 / 42}, {100, 30, 40, 4096 / 42},  {97, 40, 30, 97},
      {98, 40, 30, 97},         {INT_MAX, 1, 1, 4096 / 3}, {2000, 1, 500, 8},
      {5, 4094, 1, 1},  // wider than any window can show: still 1
  };
  for (const Row& r : rows) {
    int32_t side = FittingCellPx(r.configured, r.worldWidth, r.worldHeight);
    EXPECT_EQ(side, r.expected) << r.configured << " on " << r.worldWidth << " x " << r.worldHeight;
    if (r.worldWidth <= 500 && r.worldHeight <= 500) {
      EXPECT_LE(int64_t(side) * (r.worldWidth + 2), kMaxWindowSide);
      EXPECT_LE(int64_t(side) * (r.worldHeight + 2), kMaxWindowSide);
    }
  }
}

// On a screen whose work area holds less: the largest side whose window fits there.
TEST(RangeFrame, CellSideFitsTheScreensWorkArea) {
  EXPECT_EQ(FittingCellPx(3, 500, 500, 1274, 990), 1);   // 502 hexes each way: 2 px would be 1004
  EXPECT_EQ(FittingCellPx(8, 120, 80, 1274, 990), 8);    // fits as configured
  EXPECT_EQ(FittingCellPx(12, 120, 80, 1274, 990), 10);  // 122 x 10 = 1220 wide, 82 x 10 = 820 high
  EXPECT_EQ(FittingCellPx(12, 80, 120, 1274, 990), 8);   // the height decides: 122 x 8 = 976
  EXPECT_EQ(FittingCellPx(100, 80, 120, 100000, 100000), 4096 / 122);  // never past kMaxWindowSide
  EXPECT_EQ(FittingCellPx(12, 80, 120, 0, 0), 1);                      // at least 1
}

TEST(RangeFrame, NoticeOnlyWhenTheOfferedRangeIsNotTheFilesOwn) {
  EXPECT_EQ(RangeOfferNotice({5, 4, 6, 5}, {5, 4, 6, 5}, 40, 30, {}), "");

  std::string cut = RangeOfferNotice({36, 4, 6, 5}, {36, 4, 4, 5}, 40, 30, {10, 1, 2});
  EXPECT_EQ(cut,
            "注意：战役文件自己的地图范围（起点 (36, 4)，6 × 5 格）超出了世界地图（40 × 30 "
            "格），现在框出的是其中位于世界地图内的部分（起点 (36, 4)，4 × 5 格）。\n"
            "直接按X确定将舍弃 10 个格子的归属、1 个建筑和 2 个部队。");

  std::string outside = RangeOfferNotice({-20, 3, 6, 5}, {0, 0, 40, 30}, 40, 30, {30, 0, 0});
  EXPECT_NE(outside.find("（起点 (-20, 3)，6 × 5 格）完全在世界地图（40 × 30 格）之外"),
            std::string::npos)
      << outside;
  EXPECT_NE(outside.find("现在框出的是整个世界地图（起点 (0, 0)，40 × 30 格）"), std::string::npos);
  EXPECT_NE(outside.find("舍弃 30 个格子的归属、0 个建筑和 0 个部队"), std::string::npos);

  std::string empty = RangeOfferNotice({5, 4, 0, 5}, {0, 0, 40, 30}, 40, 30, {});
  EXPECT_NE(empty.find("（起点 (5, 4)，0 × 5 格）是空的，现在框出的是整个世界地图"),
            std::string::npos)
      << empty;
  EXPECT_NE(empty.find("不会舍弃任何格子归属、建筑或部队"), std::string::npos);
}

}  // namespace

// The range view puts back only the hexes the old frame covered: after any run of moves,
// growing, shrinking, onto the ring and back, what the window shows is the picture a
// whole redraw of the last frame gives.
TEST(RangeView, AMovedFrameShowsWhatAWholeRedrawShows) {
  const WorldImage& world = DemoWorldImage();
  const int32_t cellPx = 3;
  resize_surface(&rangeSurface, cellPx * (world.width + 2), cellPx * (world.height + 2));
  resize_surface(BackBuffer(), rangeSurface.width, rangeSurface.height);
  auto shown = [] {
    const Surface* back = BackBuffer();
    return std::vector<uint32_t>(back->pixels, back->pixels + size_t(back->width) * back->height);
  };
  const int32_t w = world.width, h = world.height;
  const RangeFrame frames[] = {{3, 9, 2, 7},         {4, 9, 2, 7},     {1, 20, 1, 12},
                               {-1, w, -1, h},       {0, 2, 0, 2},     {5, 6, 5, 6},
                               {w - 3, w, h - 4, h}, {2, w - 2, 3, 4}, {3, 9, 2, 7}};
  DrawRangeWorld(world, cellPx);
  for (const RangeFrame& f : frames) {
    SCOPED_TRACE(std::to_string(f.left) + "," + std::to_string(f.right) + "," +
                 std::to_string(f.top) + "," + std::to_string(f.bottom));
    DrawRangeFrame(f, cellPx);
    const std::vector<uint32_t> moved = shown();
    DrawRangeWorld(world, cellPx);  // forgets the frame drawn: the next is drawn whole
    DrawRangeFrame(f, cellPx);
    EXPECT_EQ(moved, shown());
  }
  DestroySurface(&rangeSurface);
}
