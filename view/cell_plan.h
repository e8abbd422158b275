// What one hex of the map view shows, worked out apart from drawing it: a list of drawing
// steps in the order they are drawn. The map view runs the steps on its surface; tests read
// them directly.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "scenario/world_record.h"
#include "view/hex_geometry.h"

// The artwork a step copies with the colour key.
enum class Art { kCity, kFactory, kAirport, kLaunch, kNuclear, kLevelMax, kAntiAir, kFlag };

struct CellStep {
  enum Kind { kFill, kText, kTextInRect, kBlit } kind;
  int32_t x = 0, y = 0;           // top-left (kFill: left, top)
  int32_t right = 0, bottom = 0;  // kFill and kTextInRect
  uint32_t colour = 0;            // kFill: 0x00BBGGRR
  std::string text;               // GBK
  Art art = Art::kCity;
  int index = 0;  // AntiAir: 1..3; Flag: country Id
};

constexpr uint32_t kSeaColour = 0xAA0000;        // terrain class 1: dark blue
constexpr uint32_t kSelectionColour = 0x0000AA;  // (170, 0, 0)
// The area's mark around each of its hexes (view/map_view.cpp): a black ring and a magenta one.
constexpr uint32_t kAreaMarkOuter = 0x000000;
constexpr uint32_t kAreaMarkInner = 0xFF00FF;  // (255, 0, 255)

// The team a hex is drawn with: its owner when that names a counted team, else the
// unowned slot 255 (white).
const TeamRecord& TeamOfOwner(uint8_t owner);

// The unit label: the first character of the unit type's name and the level. A type the
// catalog does not know shows "？" (full-width question mark) before the level.
std::string UnitLabel(const UnitRecord& unit);

// Steps for the cell at screen position (px, py).
std::vector<CellStep> PlanCell(const Cell& cell, int32_t px, int32_t py);

// Screen position of a cell for the current scroll position.
PixelPoint CellScreenPosition(const Cell& cell, int32_t scrollX, int32_t scrollY);
