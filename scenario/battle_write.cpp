#include "scenario/battle_write.h"

#include <algorithm>
#include <cstring>

#include "scenario/battle_format.h"
#include "scenario/safe_save.h"
#include "scenario/world_record.h"

int32_t CountBuildings() {
  int32_t n = 0;
  for (int x = 0; x < g_world.rangeWidth; ++x)
    for (int y = 0; y < g_world.rangeHeight; ++y) n += g_world.grid[x][y].hasBuilding != 0;
  return n;
}

int32_t CountUnits() {
  int32_t n = 0;
  for (int x = 0; x < g_world.rangeWidth; ++x)
    for (int y = 0; y < g_world.rangeHeight; ++y) n += g_world.grid[x][y].hasUnit != 0;
  return n;
}

Status BuildBattleBytes(std::vector<uint8_t>& out) {
  WorldRecord& w = g_world;
  const MapRange range = CurrentRange();
  if (!RangeFitsPositions(range, w.worldWidth))
    return Fail(FailureKind::kBeyondPositions,
                "地图范围包含编号 65536 及以上的格子，战役文件的 16 位位置无法表示它们，"
                "文件未保存。");
  if (w.teamCount < 0 || w.teamCount > kMaxTeams || w.generalCount < 0 ||
      w.generalCount > kMaxGenerals || w.tailOffset > w.fileSize ||
      w.fileSize - w.tailOffset > kMaxTail)
    return Fail(FailureKind::kTooLarge, "场景数据超出了战役文件的容量，文件未保存。");

  BtlHeader& h = w.header;
  h.originX = w.originX;
  h.originY = w.originY;
  h.rangeWidth = w.rangeWidth;
  h.rangeHeight = w.rangeHeight;
  h.teamCount = w.teamCount;
  h.generalCount = w.generalCount;
  // The file lists hexes row by row, but the grid lies column by column: it is walked in its
  // own order, twice. The first walk counts each row's buildings and units, which gives
  // where each row's records start in the file; the second puts every byte in its place.
  const int width = std::max(w.rangeWidth, 0), height = std::max(w.rangeHeight, 0);
  std::vector<size_t> buildingAt(size_t(height) + 1), unitAt(size_t(height) + 1);
  for (int x = 0; x < width; ++x)
    for (int y = 0; y < height; ++y) {
      buildingAt[size_t(y) + 1] += w.grid[x][y].hasBuilding != 0;
      unitAt[size_t(y) + 1] += w.grid[x][y].hasUnit != 0;
    }
  for (int y = 0; y < height; ++y) {
    buildingAt[size_t(y) + 1] += buildingAt[size_t(y)];
    unitAt[size_t(y) + 1] += unitAt[size_t(y)];
  }
  h.buildingCount = int32_t(buildingAt[size_t(height)]);
  h.unitCount = int32_t(unitAt[size_t(height)]);

  const size_t teamsAt = kHeaderBytes;
  const size_t ownersAt = teamsAt + size_t(h.teamCount) * kTeamFileBytes;
  const size_t buildingsAt = ownersAt + size_t(width) * height;
  const size_t unitsAt = buildingsAt + size_t(h.buildingCount) * sizeof(BuildingRecord);
  const size_t generalsAt = unitsAt + size_t(h.unitCount) * sizeof(UnitRecord);
  const size_t tailAt = generalsAt + size_t(h.generalCount) * sizeof(GeneralEntry);
  const size_t tailSize = size_t(w.fileSize - w.tailOffset);
  out.clear();
  out.resize(tailAt + tailSize);
  uint8_t* bytes = out.data();

  memcpy(bytes, &h, sizeof h);
  for (int i = 0; i < w.teamCount; ++i) {
    TeamRecord& t = w.teams[i];
    t.fileColour[0] = t.colour & 0xFF;
    t.fileColour[1] = (t.colour >> 8) & 0xFF;
    t.fileColour[2] = (t.colour >> 16) & 0xFF;
    t.fileColour[3] = 255;
    memcpy(bytes + teamsAt + size_t(i) * kTeamFileBytes, &t, kTeamFileBytes);
  }
  for (int y = 0; y < height; ++y) {
    buildingAt[size_t(y)] = buildingsAt + buildingAt[size_t(y)] * sizeof(BuildingRecord);
    unitAt[size_t(y)] = unitsAt + unitAt[size_t(y)] * sizeof(UnitRecord);
  }
  for (int x = 0; x < width; ++x)
    for (int y = 0; y < height; ++y) {
      const Cell& c = w.grid[x][y];
      bytes[ownersAt + size_t(y) * width + x] = c.owner;
      if (c.hasBuilding) {
        memcpy(bytes + buildingAt[size_t(y)], &c.building, sizeof(BuildingRecord));
        buildingAt[size_t(y)] += sizeof(BuildingRecord);
      }
      if (c.hasUnit) {
        memcpy(bytes + unitAt[size_t(y)], &c.unit, sizeof(UnitRecord));
        unitAt[size_t(y)] += sizeof(UnitRecord);
      }
    }
  if (h.generalCount)
    memcpy(bytes + generalsAt, w.generals, size_t(h.generalCount) * sizeof(GeneralEntry));
  if (tailSize) memcpy(bytes + tailAt, w.tail, tailSize);
  return Ok();
}

Status SaveScenarioTo(const std::string& path) { return SaveScenarioTo(path, SystemSaveOps()); }

Status SaveScenarioTo(const std::string& path, SaveOps& ops) {
  std::vector<uint8_t> bytes;
  Status s = BuildBattleBytes(bytes);
  if (!s.ok()) return s;
  return SafeSave(path, bytes.data(), bytes.size(), ops);
}
