#include "view/layout.h"

#include <gtest/gtest.h>

#include <cstring>

#include <climits>

namespace {

TEST(Layout, DefaultViewGivesThe630By625Window) {
  Layout l = ComputeLayout(12, 10, 120, 80);
  EXPECT_EQ(l.viewCols, 12);
  EXPECT_EQ(l.viewRows, 10);
  EXPECT_EQ(l.mapWidthPx, 600);
  EXPECT_EQ(l.mapHeightPx, 525);
  EXPECT_EQ(l.windowWidth, 630);
  EXPECT_EQ(l.windowHeight, 625);
  const int xs[4] = {0, 157, 314, 471};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(l.commandButtons[i].x, xs[i]);
    EXPECT_EQ(l.commandButtons[i].y, 560);
    EXPECT_EQ(l.commandButtons[i].w, 70);
    EXPECT_EQ(l.commandButtons[i].h, 65);
  }
  EXPECT_EQ(l.arrowButtons[1].x, 570);
  EXPECT_EQ(l.arrowButtons[3].y, 495);
  EXPECT_EQ(l.hTrack.w, 540);
  EXPECT_EQ(l.vTrack.h, 465);
  EXPECT_EQ(l.hThumbLength, 540 * 12 / 120);
  EXPECT_EQ(l.vThumbLength, 465 * 10 / 80);
  EXPECT_EQ(l.maxScrollX, 108);
  EXPECT_EQ(l.maxScrollY, 70);
}

TEST(Layout, ViewIsClampedToTheRangeAndNegativeConfigMeansAll) {
  Layout l = ComputeLayout(30, 10, 20, 8);
  EXPECT_EQ(l.viewCols, 20);
  EXPECT_EQ(l.viewRows, 8);
  EXPECT_EQ(l.maxScrollX, 0);
  EXPECT_EQ(l.maxScrollY, 0);
  EXPECT_EQ(l.hThumbLength, l.hTrack.w);
  EXPECT_EQ(l.vThumbLength, l.vTrack.h);
  l = ComputeLayout(-3, 0, 20, 8);
  EXPECT_EQ(l.viewCols, 20);  // unsigned compare
  EXPECT_EQ(l.viewRows, 0);
}

// A configured view whose window could not be made (a 500 x 500 range shown whole would be
// 25,030 x 25,125 pixels) is cut so that the window stays within the largest side.
TEST(Layout, ViewIsCutSoTheWindowFitsTheLargestSide) {
  // At most (4096 - 30) / 50 = 81 columns and (4096 - 125) / 50 = 79 rows.
  struct Row {
    int32_t configured, range, cols, rows;
  } rows[] = {
      {12, 500, 12, 12},      {80, 500, 80, 79},  {81, 500, 81, 79},      {82, 500, 81, 79},
      {100, 500, 81, 79},     {500, 500, 81, 79}, {INT_MAX, 500, 81, 79}, {-1, 500, 81, 79},
      {INT_MIN, 500, 81, 79}, {100, 60, 60, 60},  {-7, 60, 60, 60},       {0, 500, 0, 0},
  };
  for (const Row& r : rows) {
    Layout l = ComputeLayout(r.configured, r.configured, r.range, r.range);
    EXPECT_EQ(l.viewCols, r.cols) << r.configured << " of " << r.range;
    EXPECT_EQ(l.viewRows, r.rows) << r.configured << " of " << r.range;
    EXPECT_EQ(l.windowWidth, l.viewCols * 50 + 30);
    EXPECT_EQ(l.windowHeight, l.viewRows * 50 + 125);
    EXPECT_LE(l.windowWidth, kMaxWindowSide);
    EXPECT_LE(l.windowHeight, kMaxWindowSide);
    EXPECT_EQ(l.maxScrollX, r.range - l.viewCols);
    EXPECT_EQ(l.maxScrollY, r.range - l.viewRows);
  }
}

TEST(Layout, ThumbPositionsFollowTheScroll) {
  Layout l = ComputeLayout(12, 10, 120, 80);
  EXPECT_EQ(HorizontalThumbX(l, 0, 120), 30);
  EXPECT_EQ(HorizontalThumbX(l, 60, 120), 30 + 270);
  EXPECT_EQ(VerticalThumbY(l, 70, 80), 30 + 465 * 70 / 80);
}

}  // namespace

namespace {

// Layout is int32_t fields and rectangles of them, without padding.
bool Same(const Layout& a, const Layout& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// The first window on a small screen, and the window after a resize: whole hexes of the
// client area, the Parts' rules applied to them, the range and the smallest view as limits.
TEST(LayoutResize, FirstSizeFitsTheScreenAndResizesFollowTheClientArea) {
  // 24 x 18 configured on a 120 x 80 range: 1230 x 1025, taller than a 1024 screen's work area.
  const Layout wide = ComputeLayoutWithin(24, 18, 120, 80, 1270, 960);
  EXPECT_EQ(wide.viewCols, 24);
  EXPECT_EQ(wide.viewRows, 16);  // (960 - 125) / 50
  EXPECT_LE(wide.windowHeight, 960);
  EXPECT_TRUE(Same(wide, ComputeLayout(24, 16, 120, 80)));  // otherwise the Parts' layout itself
  EXPECT_TRUE(
      Same(ComputeLayoutWithin(12, 10, 120, 80, 1270, 960), ComputeLayout(12, 10, 120, 80)));
  EXPECT_EQ(ComputeLayoutWithin(24, 18, 120, 80, 300, 100).viewRows, 1);  // never none
  EXPECT_EQ(ComputeLayoutWithin(24, 18, 120, 80, 300, 100).viewCols, 5);

  const struct {
    int32_t clientW, clientH, cols, rows;
  } sizes[] = {
      {1230, 1025, 24, 18}, {1279, 1074, 24, 18},  // up to a pixel short of one more hex
      {1280, 1075, 25, 19}, {630, 625, 12, 10},   {100, 100, 5, 2},  // the smallest view
      {9000, 9000, 81, 79},                                          // cut to kMaxWindowSide
  };
  for (const auto& s : sizes) {
    const Layout l = LayoutForClient(s.clientW, s.clientH, 120, 80, kMinViewCols, kMinViewRows);
    EXPECT_EQ(l.viewCols, s.cols) << s.clientW << "x" << s.clientH;
    EXPECT_EQ(l.viewRows, s.rows) << s.clientW << "x" << s.clientH;
    EXPECT_TRUE(
        Same(l, ComputeLayout(s.cols, s.rows, 120, 80)));  // buttons, tracks, thumbs, limits
    EXPECT_EQ(l.maxScrollX, 120 - s.cols);
  }
  EXPECT_EQ(LayoutForClient(9000, 9000, 60, 40, kMinViewCols, kMinViewRows).viewCols,
            60);  // the range
  // A range smaller than the smallest view: the range.
  const Layout tiny = LayoutForClient(100, 100, 3, 1, 3, 1);
  EXPECT_EQ(tiny.viewCols, 3);
  EXPECT_EQ(tiny.viewRows, 1);
}

}  // namespace
