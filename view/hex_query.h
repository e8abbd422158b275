// Which hexes of the range hold what the user looks for: an owner, a unit type, a building
// (or any city, or none), and optionally only the hexes the problem finder reports. The
// conditions combine; a condition left out matches every hex. Matches come in row-major
// order (row by row, each from its first column).
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "view/hex_address.h"

struct HexQuery {
  std::optional<uint8_t> owner;      // the owner byte; 255 = unowned
  std::optional<uint16_t> unitType;  // unitClass * 100 + unitLevel of the hex's unit; 0 = no unit
  std::optional<uint16_t> buildingCode;  // the hex's building code; 0 = no building
  bool anyCity = false;                  // the hex holds a city (codes 10100..10199)
  // When set: only hexes whose byte here (row-major, one a hex of the range) is not 0.
  const std::vector<uint8_t>* onlyThese = nullptr;
};

// The hexes of the range that the problem finder reports, one byte a hex in row-major order.
std::vector<uint8_t> HexesWithProblems();

// Whether local hex (x, y) of g_world matches.
bool HexMatches(const HexQuery& query, int32_t x, int32_t y);
// Every matching hex of g_world's range, in row-major order.
std::vector<GridHex> FindHexes(const HexQuery& query);
size_t CountHexes(const HexQuery& query);
