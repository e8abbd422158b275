#include "view/hex_geometry.h"

#include "view/layout.h"

namespace {

// View column col is an odd global column.
bool IsShiftedColumn(int32_t col, int32_t originX, int32_t scrollX) {
  return (originX + scrollX + col) & 1;
}

}  // namespace

PixelPoint HexTopLeft(int32_t col, int32_t row, int32_t originX, int32_t scrollX) {
  int32_t shift = IsShiftedColumn(col, originX, scrollX) ? halfCell : 0;
  return {col * cellSize, row * cellSize + shift};
}

std::optional<ViewHex> HexAtPoint(int32_t x, int32_t y, int32_t originX, int32_t scrollX,
                                  int32_t mapHeightPx) {
  int32_t col = x / cellSize;
  if (IsShiftedColumn(col, originX, scrollX)) {
    if (y < halfCell) return std::nullopt;
    return ViewHex{col, (y - halfCell) / cellSize};
  }
  if (y >= mapHeightPx - halfCell) return std::nullopt;
  return ViewHex{col, y / cellSize};
}
