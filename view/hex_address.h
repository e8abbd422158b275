// Naming a hex of the range by the numbers users talk in: the global hex index (the number
// the building editor's 地块ID shows, row * worldWidth + column) or the global column and row.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "scenario/world_record.h"

// A hex of the grid: local column and row inside the range.
struct GridHex {
  int32_t x = 0, y = 0;
  bool operator==(const GridHex&) const = default;
};

// What the user typed, UTF-8: either one number, a global hex index ("1234"), or two, a
// global column and row ("12,30"), separated by a comma: ASCII ",", full-width "，" or "、".
// Blanks (space, tab, the full-width space) may stand around each number, full-width digits
// count as digits, and a column and row may be put in parentheses ("(12, 30)", "（12，30）").
// Gives the local hex of `range` that the text names. Nothing for any other text (signs,
// letters, a missing or third number), for a number too large for 64 bits, and for a hex
// outside the range or the world's width.
std::optional<GridHex> ParseHexAddress(std::string_view utf8, const MapRange& range,
                                       int32_t worldWidth);
