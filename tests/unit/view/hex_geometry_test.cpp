#include "view/hex_geometry.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>

#include "view/layout.h"

// Readable failures: gtest finds these by argument-dependent lookup.
static void PrintTo(const ViewHex& h, std::ostream* os) { *os << "hex " << h.col << "," << h.row; }
static void PrintTo(const PixelPoint& p, std::ostream* os) {
  *os << "(" << p.x << ", " << p.y << ")";
}

namespace {

// A 12 x 10 view: the map area is 600 x 525 pixels.
constexpr int32_t kMapHeight = 10 * cellSize + halfCell;

const std::optional<ViewHex> kNothing = std::nullopt;

struct PointRow {
  const char* name;
  int32_t originX, scrollX;  // the view's first column is global column originX + scrollX
  int32_t x, y;
  std::optional<ViewHex> hex;
};

// Origin 0, scroll 0: view column 0 is even, column 1 odd (shifted down half a cell).
const PointRow kPointRows[] = {
    {"even column: first pixel", 0, 0, 0, 0, ViewHex{0, 0}},
    {"even column: last pixel of the first cell", 0, 0, 49, 49, ViewHex{0, 0}},
    {"even column: first pixel of the next row", 0, 0, 0, 50, ViewHex{0, 1}},
    {"even column: last pixel of the last row", 0, 0, 49, 499, ViewHex{0, 9}},
    {"even column: bottom half-cell band", 0, 0, 0, 500, kNothing},
    {"even column: last pixel of the map area", 0, 0, 49, 524, kNothing},
    {"odd column: top half-cell band", 0, 0, 50, 0, kNothing},
    {"odd column: last pixel of the top band", 0, 0, 99, 24, kNothing},
    {"odd column: first pixel of the first cell", 0, 0, 50, 25, ViewHex{1, 0}},
    {"odd column: last pixel of the first cell", 0, 0, 99, 74, ViewHex{1, 0}},
    {"odd column: first pixel of the next row", 0, 0, 99, 75, ViewHex{1, 1}},
    {"odd column: last pixel of the last row", 0, 0, 99, 524, ViewHex{1, 9}},
    {"last column (odd): top band", 0, 0, 599, 24, kNothing},
    {"last column (odd): first row", 0, 0, 599, 25, ViewHex{11, 0}},
    {"last column (odd): last row", 0, 0, 550, 499, ViewHex{11, 9}},
    {"second to last column (even): last row", 0, 0, 549, 499, ViewHex{10, 9}},
    // An odd origin column turns the stagger round.
    {"odd origin: column 0 top band", 5, 0, 0, 24, kNothing},
    {"odd origin: column 0 first cell", 5, 0, 0, 25, ViewHex{0, 0}},
    {"odd origin: column 1 first pixel", 5, 0, 50, 0, ViewHex{1, 0}},
    {"odd origin: column 1 bottom band", 5, 0, 50, 500, kNothing},
    {"odd origin: column 2, the typical click", 5, 0, 120, 80, ViewHex{2, 1}},
    {"odd origin: last column (even) last row", 5, 0, 599, 499, ViewHex{11, 9}},
    // The scroll position counts as much as the origin.
    {"even origin, odd scroll: column 0 top band", 4, 1, 10, 10, kNothing},
    {"even origin, odd scroll: column 0 first cell", 4, 1, 10, 30, ViewHex{0, 0}},
    {"odd origin, odd scroll: column 0 even", 5, 1, 10, 10, ViewHex{0, 0}},
    {"odd origin, odd scroll: column 2 even", 5, 1, 120, 80, ViewHex{2, 1}},
    {"odd origin, odd scroll: column 2 above the band", 5, 1, 120, 20, ViewHex{2, 0}},
};

TEST(HexAtPoint, Table) {
  for (const PointRow& r : kPointRows) {
    SCOPED_TRACE(r.name);
    EXPECT_EQ(HexAtPoint(r.x, r.y, r.originX, r.scrollX, kMapHeight), r.hex);
  }
}

struct CornerRow {
  const char* name;
  int32_t originX, scrollX;
  int32_t col, row;
  PixelPoint topLeft;
};

const CornerRow kCornerRows[] = {
    {"even column, first row", 0, 0, 0, 0, {0, 0}},
    {"odd column, first row", 0, 0, 1, 0, {50, 25}},
    {"even column, inner hex", 0, 0, 2, 3, {100, 150}},
    {"even column, last row", 0, 0, 10, 9, {500, 450}},
    {"odd last column, last row", 0, 0, 11, 9, {550, 475}},
    {"odd origin: column 0", 5, 0, 0, 0, {0, 25}},
    {"odd origin: column 1", 5, 0, 1, 0, {50, 0}},
    {"odd origin: last column (even), last row", 5, 0, 11, 9, {550, 450}},
    {"even origin, odd scroll: column 0", 4, 1, 0, 0, {0, 25}},
    {"odd origin, odd scroll: column 0", 5, 1, 0, 0, {0, 0}},
    {"odd origin, odd scroll: column 1", 5, 1, 1, 4, {50, 225}},
    {"global column 13 at view column 2", 10, 1, 2, 1, {100, 75}},
};

TEST(HexTopLeft, Table) {
  for (const CornerRow& r : kCornerRows) {
    SCOPED_TRACE(r.name);
    EXPECT_EQ(HexTopLeft(r.col, r.row, r.originX, r.scrollX), r.topLeft);
  }
}

// Every pixel from a hex's top-left to its last pixel picks that hex, for both staggers.
TEST(HexGeometry, EachHexPicksItsOwnSquare) {
  for (int32_t first = 0; first < 2; ++first)
    for (int32_t col = 0; col < 12; ++col)
      for (int32_t row = 0; row < 10; ++row) {
        PixelPoint p = HexTopLeft(col, row, first, 0);
        for (int32_t dx : {0, cellSize - 1})
          for (int32_t dy : {0, cellSize - 1})
            EXPECT_EQ(HexAtPoint(p.x + dx, p.y + dy, first, 0, kMapHeight), (ViewHex{col, row}))
                << "first column " << first << ", hex " << col << "," << row;
      }
}

}  // namespace
