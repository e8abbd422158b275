#include "view/overview.h"

#include <algorithm>

#include "drawing/surface.h"
#include "view/cell_plan.h"

namespace {

int32_t HalfSquare(const OverviewGeometry& g) { return g.square / 2; }

bool Staggered(const OverviewGeometry& g, int32_t col) { return (g.originX + col) % 2 != 0; }

struct Picture {
  std::vector<uint32_t>& pixels;
  int32_t width, height;

  void Fill(int32_t x, int32_t y, int32_t w, int32_t h, uint32_t pixel) {
    const int32_t x0 = std::max(x, 0), y0 = std::max(y, 0);
    const int32_t x1 = std::min(x + w, width), y1 = std::min(y + h, height);
    for (int32_t row = y0; row < y1; ++row)
      std::fill_n(&pixels[size_t(row) * width + x0], std::max(x1 - x0, 0), pixel);
  }
  // A ring of `thickness` pixels just inside the rectangle.
  void Ring(int32_t x, int32_t y, int32_t w, int32_t h, int32_t thickness, uint32_t pixel) {
    Fill(x, y, w, thickness, pixel);
    Fill(x, y + h - thickness, w, thickness, pixel);
    Fill(x, y, thickness, h, pixel);
    Fill(x + w - thickness, y, thickness, h, pixel);
  }
};

// The square's fill, without clipping: squares lie wholly inside the picture.
void FillSquare(uint32_t* topLeft, int32_t stride, int32_t k, uint32_t pixel) {
  for (int32_t dy = 0; dy < k; ++dy, topLeft += stride) std::fill_n(topLeft, k, pixel);
}

// What the hex holds besides its owner.
void MarkHex(Picture& p, const OverviewGeometry& g, const Cell& c, bool inArea, int32_t x,
             int32_t y) {
  const int32_t k = g.square;
  if (c.hasBuilding && IsCityCode(c.building.buildingCode)) {
    const int32_t side = k - 2 * (k / 4);
    p.Fill(x + (k - side) / 2, y + (k - side) / 2, side, side, kOverviewCityPixel);
  }
  if (c.hasUnit && k >= 3) {
    const int32_t dot = std::max(1, k / 4);
    p.Fill(x + (k - dot) / 2, y + (k - dot) / 2, dot, dot, kOverviewUnitPixel);
  }
  if (!inArea) return;  // squares under 4 pixels in the area are filled by the caller
  p.Ring(x, y, k, k, 1, PixelFromColour(kAreaMarkOuter));
  p.Ring(x + 1, y + 1, k - 2, k - 2, 1, PixelFromColour(kAreaMarkInner));
}

}  // namespace

OverviewGeometry OverviewFor(int32_t rangeWidth, int32_t rangeHeight, int32_t originX) {
  OverviewGeometry g;
  g.cols = std::max(rangeWidth, 0);
  g.rows = std::max(rangeHeight, 0);
  g.originX = originX;
  for (int32_t k = kOverviewMaxSquare; k >= 1; --k) {
    g.square = k;
    if (int64_t(g.cols) * k <= kOverviewMaxWidth &&
        int64_t(g.rows) * k + k / 2 <= kOverviewMaxHeight)
      break;
  }
  g.width = g.cols * g.square;
  g.height = g.rows * g.square + HalfSquare(g);
  return g;
}

int32_t OverviewSquareX(const OverviewGeometry& g, int32_t col) { return col * g.square; }

int32_t OverviewSquareY(const OverviewGeometry& g, int32_t col, int32_t row) {
  return row * g.square + (Staggered(g, col) ? HalfSquare(g) : 0);
}

bool OverviewHexAt(const OverviewGeometry& g, int32_t x, int32_t y, int32_t& col, int32_t& row) {
  if (x < 0 || y < 0 || x >= g.width) return false;
  col = x / g.square;
  const int32_t top = y - (Staggered(g, col) ? HalfSquare(g) : 0);
  if (top < 0) return false;
  row = top / g.square;
  return row < g.rows;
}

void CentreViewOn(ViewState& v, const Layout& l, int32_t x, int32_t y) {
  scroll_by(v, l, x - l.viewCols / 2 - v.scrollX, y - l.viewRows / 2 - v.scrollY);
}

void DrawOverview(const OverviewGeometry& g, const WorldRecord& w, const ViewState& v,
                  const Layout& l, std::vector<uint32_t>& pixels) {
  pixels.assign(size_t(g.width) * size_t(g.height), 0);
  Picture p{pixels, g.width, g.height};
  // Each owner's pixel once, not a team lookup a hex: a 500 x 500 range is 250,000 hexes.
  uint32_t ownerPixel[256];
  for (int owner = 0; owner < 256; ++owner)
    ownerPixel[owner] = PixelFromColour(TeamOfOwner(uint8_t(owner)).colour);
  const uint32_t sea = PixelFromColour(kSeaColour);
  const bool anyArea = !v.area.empty();
  for (int32_t col = 0; col < g.cols; ++col) {
    const int32_t x = OverviewSquareX(g, col);
    for (int32_t row = 0; row < g.rows; ++row) {
      const Cell& c = w.grid[col][row];
      const int32_t y = OverviewSquareY(g, col, row);
      FillSquare(&pixels[size_t(y) * g.width + x], g.width, g.square,
                 c.worldInfo.terrain == 1 ? sea : ownerPixel[c.owner]);
      const bool inArea = anyArea && v.area.Contains(col, row);
      if (inArea && g.square < 4) {  // the area's mark covers the square: nothing else shows
        FillSquare(&pixels[size_t(y) * g.width + x], g.width, g.square,
                   PixelFromColour(kAreaMarkInner));
        continue;
      }
      if (c.hasUnit || c.hasBuilding || inArea) MarkHex(p, g, c, inArea, x, y);
    }
  }
  // The main view's hexes: its columns, and its rows with the half square a staggered column
  // reaches below them.
  const int32_t k = g.square;
  const int32_t thickness = k >= 2 ? 2 : 1;
  p.Ring(v.scrollX * k, v.scrollY * k, l.viewCols * k, l.viewRows * k + HalfSquare(g), thickness,
         kOverviewFramePixel);
}

std::string OverviewTitle(const HexArea& area) {
  if (area.empty()) return "总览";
  return "总览 — 区域 " + std::to_string(area.count()) + " 格";
}
