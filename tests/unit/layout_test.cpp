#include "view/layout.h"

#include <gtest/gtest.h>

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

TEST(Layout, ThumbPositionsFollowTheScroll) {
  Layout l = ComputeLayout(12, 10, 120, 80);
  EXPECT_EQ(HorizontalThumbX(l, 0, 120), 30);
  EXPECT_EQ(HorizontalThumbX(l, 60, 120), 30 + 270);
  EXPECT_EQ(VerticalThumbY(l, 70, 80), 30 + 465 * 70 / 80);
}

}  // namespace
