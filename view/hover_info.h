// The information box the map shows about the hex under the resting pointer: the lines it
// holds and where it goes. Drawn by draw_screen after the selection outline.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "view/hex_geometry.h"
#include "view/layout.h"

// What local hex (x, y) of the range holds, one UTF-8 line per fact that applies, in the
// words the editing dialogs use: where it is (local and global column and row, the global
// hex index that 地块ID shows), its terrain class and owner; for a unit its type and level,
// hit points, general and policies; for a building the city (name, code, level mark,
// facilities) or the building's name and code, its anti-air facility and 防御.
std::vector<std::string> HoverLines(int x, int y);

// The box's size for lines whose widest is textWidth pixels: a padding of kHoverPad around
// lines kHoverLineStep apart.
constexpr int32_t kHoverPad = 4;
constexpr int32_t kHoverLineStep = 14;
constexpr int32_t HoverBoxWidth(int32_t textWidth) { return textWidth + 2 * kHoverPad; }
constexpr int32_t HoverBoxHeight(int32_t lineCount) {
  return lineCount * kHoverLineStep + 2 * kHoverPad;
}

// Where a box of width x height pixels goes for the pointer at (px, py) over the hex whose
// top-left pixel is `hex`: beside that hex and kHoverGap pixels clear of it, on its right,
// else its left, else below it, else above it, and along that side as close to the pointer
// as the map area allows. The box never covers the hex and lies wholly inside the map area
// (mapWidthPx x mapHeightPx at the window's top-left); none when it fits on no side.
constexpr int32_t kHoverGap = 3;
std::optional<Rect> PlaceHoverBox(int32_t width, int32_t height, int32_t px, int32_t py,
                                  PixelPoint hex, int32_t mapWidthPx, int32_t mapHeightPx);
