#include "scenario/world_record.h"

#include <cstring>

WorldRecord g_world;

MapRange CurrentRange() {
  return {g_world.originX, g_world.originY, g_world.rangeWidth, g_world.rangeHeight};
}

int32_t GlobalIndex(int x, int y) {
  // Unsigned arithmetic: the value is only ever stored in 16 bits, and a wrap must not be
  // undefined behaviour for ranges the caller has not checked.
  uint32_t row = uint32_t(g_world.originY) + uint32_t(y);
  uint32_t col = uint32_t(g_world.originX) + uint32_t(x);
  return int32_t(row * uint32_t(g_world.worldWidth) + col);
}

bool RangeFitsPositions(const MapRange& range, int32_t worldWidth) {
  if (range.width <= 0 || range.height <= 0) return true;
  // Widened before adding: the range may come straight from a file's header.
  int64_t lastRow = int64_t(range.originY) + range.height - 1;
  int64_t lastColumn = int64_t(range.originX) + range.width - 1;
  return lastRow * worldWidth + lastColumn < kPositionLimit;
}

void ClearUnit(UnitRecord& unit) {
  memset(&unit, 0, sizeof unit);
  unit.general = kNoGeneral;
}

void ClearBuilding(BuildingRecord& building) { memset(&building, 0, sizeof building); }

bool HasBuilding(const BuildingRecord& b) {
  return b.facilityType != 0 || b.buildingCode != 0 || b.defence != 0;
}

void NormaliseCell(int x, int y) {
  Cell& c = g_world.grid[x][y];
  uint16_t position = uint16_t(GlobalIndex(x, y));
  c.hasUnit = c.unit.unitClass != 0;
  c.hasBuilding = HasBuilding(c.building);
  if (c.hasUnit)
    c.unit.position = position;
  else
    ClearUnit(c.unit);
  if (c.hasBuilding)
    c.building.position = position;
  else
    ClearBuilding(c.building);
}

void RemoveTeam(int k) {
  WorldRecord& w = g_world;
  if (w.teamCount <= 0 || k < 0 || k >= w.teamCount) return;
  for (int x = 0; x < w.rangeWidth; ++x) {
    for (int y = 0; y < w.rangeHeight; ++y) {
      Cell& c = w.grid[x][y];
      if (c.owner == kUnownedTeam) continue;
      if (c.owner == k) {
        c.hasUnit = 0;
        c.hasBuilding = 0;
        ClearUnit(c.unit);
        ClearBuilding(c.building);
        c.owner = kUnownedTeam;
      } else if (c.owner > k) {
        c.owner -= 1;
      }
    }
  }
  w.teamCount -= 1;
  // The last slot keeps its old contents; it is simply no longer counted.
  for (int i = k; i < w.teamCount; ++i) w.teams[i] = w.teams[i + 1];
}

const GeneralEntry* AttachedGeneral(const UnitRecord& unit) {
  if (unit.general == kNoGeneral || unit.general >= g_world.generalCount) return nullptr;
  return &g_world.generals[unit.general];
}

int UsableTeamCount() {
  int n = g_world.teamCount;
  return n < 0 ? 0 : n > kMaxTeams ? kMaxTeams : n;
}
