#include "view/overview.h"

#include <gtest/gtest.h>

#include <cstring>

#include "drawing/surface.h"
#include "view/cell_plan.h"

namespace {

TEST(Overview, SquareIsTheLargestThatFits) {
  const struct {
    int32_t cols, rows, originX;
    int32_t square, width, height;
  } cases[] = {
      {16, 14, 0, 8, 128, 116},   // small: the largest square
      {100, 74, 0, 8, 800, 596},  // exactly the width, and the half square below
      {100, 75, 1, 7, 700, 528},  // 75 rows of 8 and a half square is 604: one smaller
      {120, 80, 0, 6, 720, 483},
      {500, 500, 3, 1, 500, 500},  // the largest range: one pixel a hex, no half pixel
      {1, 1, 0, 8, 8, 12},
  };
  for (const auto& c : cases) {
    const OverviewGeometry g = OverviewFor(c.cols, c.rows, c.originX);
    EXPECT_EQ(g.square, c.square) << c.cols << "x" << c.rows;
    EXPECT_EQ(g.width, c.width) << c.cols << "x" << c.rows;
    EXPECT_EQ(g.height, c.height) << c.cols << "x" << c.rows;
    EXPECT_LE(g.width, kOverviewMaxWidth);
    EXPECT_LE(g.height, kOverviewMaxHeight);
  }
}

// Every pixel of the picture names the hex whose square holds it, or none in a column's
// empty half-square band; both staggers.
TEST(Overview, EveryPixelHitsTheSquareThatHoldsIt) {
  for (int32_t originX : {0, 1}) {
    for (int32_t size : {3, 8}) {
      const OverviewGeometry g = OverviewFor(size * 10, size * 7, originX);
      std::vector<int> owner(size_t(g.width) * g.height, -1);
      for (int32_t col = 0; col < g.cols; ++col)
        for (int32_t row = 0; row < g.rows; ++row)
          for (int32_t dy = 0; dy < g.square; ++dy)
            for (int32_t dx = 0; dx < g.square; ++dx) {
              const int32_t x = OverviewSquareX(g, col) + dx, y = OverviewSquareY(g, col, row) + dy;
              ASSERT_LT(y, g.height);
              int& o = owner[size_t(y) * g.width + x];
              ASSERT_EQ(o, -1) << "squares overlap at " << x << "," << y;
              o = col * 1000 + row;
            }
      for (int32_t y = -1; y <= g.height; ++y)
        for (int32_t x = -1; x <= g.width; ++x) {
          int32_t col, row;
          const bool hit = OverviewHexAt(g, x, y, col, row);
          const bool inside = x >= 0 && y >= 0 && x < g.width && y < g.height;
          const int expected = inside ? owner[size_t(y) * g.width + x] : -1;
          ASSERT_EQ(hit, expected != -1) << x << "," << y;
          if (hit) {
            ASSERT_EQ(col * 1000 + row, expected) << x << "," << y;
          }
        }
      // Odd global columns lie half a square lower.
      EXPECT_EQ(OverviewSquareY(g, 1 - originX, 0), g.square / 2);
      EXPECT_EQ(OverviewSquareY(g, originX, 0), 0);
    }
  }
}

TEST(Overview, ClickCentresTheViewAsFarAsTheRangeAllows) {
  const Layout l = ComputeLayout(12, 10, 40, 30);  // scroll limits 28 x 20
  const struct {
    int32_t x, y, scrollX, scrollY;
  } cases[] = {{20, 15, 14, 10}, {0, 0, 0, 0}, {39, 29, 28, 20}, {3, 28, 0, 20}, {30, 4, 24, 0}};
  for (const auto& c : cases) {
    ViewState v;
    v.scrollX = 5, v.scrollY = 5;
    v.selCol = 2, v.selRow = 3;  // grid (7, 8)
    CentreViewOn(v, l, c.x, c.y);
    EXPECT_EQ(v.scrollX, c.scrollX) << c.x << "," << c.y;
    EXPECT_EQ(v.scrollY, c.scrollY) << c.x << "," << c.y;
    // The selection follows scrolling's rule: kept while in view, else dropped.
    const bool inView =
        7 >= v.scrollX && 7 < v.scrollX + 12 && 8 >= v.scrollY && 8 < v.scrollY + 10;
    EXPECT_EQ(v.hasSelection(), inView);
    if (inView) {
      EXPECT_EQ(v.selX() * 100 + v.selY(), 708);
    }
  }
}

// A hand-made record, read back by the picture's pixels: owners, the sea, a unit's dot, a
// city's mark, an area hex's rings and the red frame around the main view.
TEST(Overview, PictureShowsOwnersSeaUnitsCitiesAreaAndTheView) {
  WorldRecord& w = g_world;
  w.rangeWidth = 10, w.rangeHeight = 6, w.originX = 1, w.teamCount = 2;
  w.teams[0].colour = 0x00FFFF;  // yellow: apart from the frame's red
  w.teams[1].colour = 0x00FF00;  // green
  w.teams[255].colour = 0xFFFFFF;
  for (int x = 0; x < 10; ++x)
    for (int y = 0; y < 6; ++y) {
      Cell& c = w.grid[x][y];
      std::memset(&c, 0, sizeof c);
      c.owner = x < 5 ? 0 : 1;
    }
  w.grid[2][2].worldInfo.terrain = 1;  // sea, whatever its owner
  w.grid[3][1].owner = 255;            // nobody's
  w.grid[6][3].hasUnit = 1;
  w.grid[7][4].hasBuilding = 1;
  w.grid[7][4].building.buildingCode = 10105;
  w.grid[8][1].hasBuilding = 1;
  w.grid[8][1].building.buildingCode = 20001;  // no city: no mark
  ViewState v;
  v.scrollX = 1, v.scrollY = 1;
  v.area.Reset(10, 6);
  v.area.Toggle(4, 4);
  const Layout l = ComputeLayout(5, 3, 10, 6);
  const OverviewGeometry g = OverviewFor(10, 6, 1);
  ASSERT_EQ(g.square, 8);
  std::vector<uint32_t> pixels;
  DrawOverview(g, w, v, l, pixels);
  ASSERT_EQ(pixels.size(), size_t(g.width) * g.height);
  auto at = [&](int col, int row, int dx, int dy) {
    return pixels[size_t(OverviewSquareY(g, col, row) + dy) * g.width + OverviewSquareX(g, col) +
                  dx];
  };
  EXPECT_EQ(at(0, 5, 4, 4), 0xFFFF00u);                    // team 0
  EXPECT_EQ(at(9, 0, 4, 4), 0x00FF00u);                    // team 1
  EXPECT_EQ(at(2, 2, 1, 1), PixelFromColour(kSeaColour));  // the sea
  EXPECT_EQ(at(3, 1, 4, 4), 0xFFFFFFu);                    // unowned
  EXPECT_EQ(at(6, 3, 3, 3), kOverviewUnitPixel);           // the unit's dot, 2 x 2 in the middle
  EXPECT_EQ(at(6, 3, 4, 4), kOverviewUnitPixel);
  EXPECT_EQ(at(6, 3, 2, 2), 0x00FF00u);           // around it the owner
  EXPECT_EQ(at(7, 4, 2, 2), kOverviewCityPixel);  // the city's square, 4 x 4
  EXPECT_EQ(at(7, 4, 5, 5), kOverviewCityPixel);
  EXPECT_EQ(at(7, 4, 1, 1), 0x00FF00u);
  EXPECT_EQ(at(8, 1, 4, 4), 0x00FF00u);                        // another building: no mark
  EXPECT_EQ(at(4, 4, 0, 3), PixelFromColour(kAreaMarkOuter));  // the area's rings
  EXPECT_EQ(at(4, 4, 1, 3), PixelFromColour(kAreaMarkInner));
  EXPECT_EQ(at(4, 4, 3, 3), 0xFFFF00u);
  // The frame: columns 1..5, rows 1..3 and the half square below, two pixels thick.
  auto px = [&](int x, int y) { return pixels[size_t(y) * g.width + x]; };
  EXPECT_EQ(px(8, 8), kOverviewFramePixel);
  EXPECT_EQ(px(9, 20), kOverviewFramePixel);
  EXPECT_EQ(px(10, 20), 0xFFFF00u);                       // inside the frame
  EXPECT_EQ(px(7, 20), 0xFFFF00u);                        // outside it
  EXPECT_EQ(px(6 * 8 - 1, 20), kOverviewFramePixel);      // right edge
  EXPECT_EQ(px(20, 4 * 8 + 4 - 1), kOverviewFramePixel);  // bottom edge, with the half square
  EXPECT_NE(px(20, 4 * 8 + 4), kOverviewFramePixel);
  // Small squares: no dot on a unit, the area's hexes filled with its colour.
  OverviewGeometry small = g;
  small.square = 2, small.width = 20, small.height = 13;
  DrawOverview(small, w, v, l, pixels);
  auto smallAt = [&](int col, int row) {
    return pixels[size_t(OverviewSquareY(small, col, row)) * small.width +
                  OverviewSquareX(small, col) + 1];
  };
  EXPECT_EQ(smallAt(6, 3), 0x00FF00u);
  EXPECT_EQ(smallAt(4, 4), PixelFromColour(kAreaMarkInner));
  EXPECT_EQ(smallAt(7, 4), kOverviewCityPixel);
  for (int x = 0; x < 10; ++x)
    for (int y = 0; y < 6; ++y) std::memset(&w.grid[x][y], 0, sizeof(Cell));
}

TEST(Overview, TitleNamesTheAreaSize) {
  HexArea a;
  a.Reset(8, 8);
  EXPECT_EQ(OverviewTitle(a), "总览");
  a.SetRectangle(0, 0, 4, 5);
  EXPECT_EQ(OverviewTitle(a), "总览 — 区域 30 格");
}

}  // namespace
