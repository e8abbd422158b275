// Where the hexes of the map area lie. Hexes are squares of cellSize pixels in columns, and
// every column whose global column number is odd sits halfCell lower, so the first visible
// column's place in the world decides the stagger of the whole view. Drawing, picking and
// the selection outline all go through these two functions.
//
// Columns and rows here are those of the view (0 at the top-left of the map area); the view
// starts at grid column scrollX of a range whose first global column is originX.
#pragma once

#include <cstdint>
#include <optional>

struct ViewHex {
  int32_t col, row;
  bool operator==(const ViewHex&) const = default;
};

struct PixelPoint {
  int32_t x, y;
  bool operator==(const PixelPoint&) const = default;
};

// The top-left pixel of view hex (col, row) in the map area.
PixelPoint HexTopLeft(int32_t col, int32_t row, int32_t originX, int32_t scrollX);

// The view hex under map-area point (x, y) of a map area mapHeightPx high. A point in a
// column's empty half-cell band picks nothing: the top halfCell pixels of a shifted column,
// the bottom halfCell pixels of the map area in an unshifted one. Divisions truncate toward
// zero, so a point a pixel left of the map area still falls in its first column.
std::optional<ViewHex> HexAtPoint(int32_t x, int32_t y, int32_t originX, int32_t scrollX,
                                  int32_t mapHeightPx);
