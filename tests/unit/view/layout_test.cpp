#include "view/layout.h"

#include <gtest/gtest.h>

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
      {12, 500, 12, 12},         {80, 500, 80, 79},          {81, 500, 81, 79},
      {82, 500, 81, 79},         {100, 500, 81, 79},         {500, 500, 81, 79},
      {INT_MAX, 500, 81, 79},    {-1, 500, 81, 79},          {INT_MIN, 500, 81, 79},
      {100, 60, 60, 60},         {-7, 60, 60, 60},           {0, 500, 0, 0},
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
