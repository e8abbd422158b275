// The overview: the whole range in one small picture, for the window titled "总览". Every hex
// is a square of k x k pixels at its local column and row, odd global columns shifted down by
// half a square as the map staggers; filled with its owner's colour (the sea in the map's
// dark blue), a dark dot on a unit, a mark on a city, the area marked as the map marks it
// and the main view's visible hexes framed in red.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "scenario/world_record.h"
#include "view/layout.h"
#include "view/view_state.h"

constexpr int32_t kOverviewMaxWidth = 800;
constexpr int32_t kOverviewMaxHeight = 600;
constexpr int32_t kOverviewMaxSquare = 8;

// Pixels (0x00RRGGBB) of the overview's marks.
constexpr uint32_t kOverviewFramePixel = 0xFF0000;  // the main view's hexes
constexpr uint32_t kOverviewUnitPixel = 0x202020;   // a unit's dot
constexpr uint32_t kOverviewCityPixel = 0xFFD700;   // a city's ring (k >= 3) or square
constexpr uint32_t kOverviewCityCore = 0x000000;    // inside the ring

struct OverviewGeometry {
  int32_t square = 1;             // k
  int32_t cols = 0, rows = 0;     // the range
  int32_t originX = 0;            // the range's first global column: which columns stagger
  int32_t width = 0, height = 0;  // the picture
};

// k is the largest of 1..kOverviewMaxSquare for which the picture fits in
// kOverviewMaxWidth x kOverviewMaxHeight (1 when none does).
OverviewGeometry OverviewFor(int32_t rangeWidth, int32_t rangeHeight, int32_t originX);

// The top-left pixel of local hex (col, row)'s square.
int32_t OverviewSquareX(const OverviewGeometry& g, int32_t col);
int32_t OverviewSquareY(const OverviewGeometry& g, int32_t col, int32_t row);

// The local hex whose square holds pixel (x, y); false outside every square (beyond the
// picture, or in a column's empty half-square band).
bool OverviewHexAt(const OverviewGeometry& g, int32_t x, int32_t y, int32_t& col, int32_t& row);

// Scrolls the main view so that local hex (x, y) is in its middle as far as the range
// allows, through the same scroll the arrow keys use (the selection kept or dropped as that
// keeps or drops it).
void CentreViewOn(ViewState& v, const Layout& l, int32_t x, int32_t y);

// The picture for the record, the view and the area: g.width x g.height pixels.
void DrawOverview(const OverviewGeometry& g, const WorldRecord& w, const ViewState& v,
                  const Layout& l, std::vector<uint32_t>& pixels);

// "总览", or "总览 — 区域 N 格" while the area has hexes.
std::string OverviewTitle(const HexArea& area);
