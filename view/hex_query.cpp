#include "view/hex_query.h"

#include "problems/problems.h"
#include "scenario/world_record.h"

std::vector<uint8_t> HexesWithProblems() {
  const int32_t w = g_world.rangeWidth, h = g_world.rangeHeight;
  std::vector<uint8_t> marked(size_t(w > 0 ? w : 0) * size_t(h > 0 ? h : 0), 0);
  VisitScenarioProblems([&](const ScenarioProblem& p) {
    if (!p.onHex()) return;
    const int32_t x = p.globalX - g_world.originX, y = p.globalY - g_world.originY;
    if (x >= 0 && y >= 0 && x < w && y < h) marked[size_t(y) * size_t(w) + size_t(x)] = 1;
  });
  return marked;
}

bool HexMatches(const HexQuery& q, int32_t x, int32_t y) {
  const Cell& c = g_world.grid[x][y];
  if (q.owner && c.owner != *q.owner) return false;
  if (q.unitType) {
    if (*q.unitType == 0 ? c.hasUnit != 0
                         : !c.hasUnit || c.unit.unitClass * 100 + c.unit.unitLevel != *q.unitType)
      return false;
  }
  if (q.buildingCode) {
    if (*q.buildingCode == 0 ? c.hasBuilding != 0
                             : !c.hasBuilding || c.building.buildingCode != *q.buildingCode)
      return false;
  }
  if (q.anyCity && (!c.hasBuilding || !IsCityCode(c.building.buildingCode))) return false;
  if (q.onlyThese) {
    const size_t at = size_t(y) * size_t(g_world.rangeWidth) + size_t(x);
    if (at >= q.onlyThese->size() || !(*q.onlyThese)[at]) return false;
  }
  return true;
}

namespace {

template <class Found>
void VisitMatches(const HexQuery& q, Found found) {
  for (int32_t y = 0; y < g_world.rangeHeight; ++y)
    for (int32_t x = 0; x < g_world.rangeWidth; ++x)
      if (HexMatches(q, x, y)) found(x, y);
}

}  // namespace

std::vector<GridHex> FindHexes(const HexQuery& q) {
  std::vector<GridHex> hexes;
  VisitMatches(q, [&](int32_t x, int32_t y) { hexes.push_back({x, y}); });
  return hexes;
}

size_t CountHexes(const HexQuery& q) {
  size_t n = 0;
  VisitMatches(q, [&](int32_t, int32_t) { ++n; });
  return n;
}
