#include "scenario/battle_place.h"

#include <algorithm>
#include <cstring>

namespace {

std::string N(int64_t v) { return std::to_string(v); }

// Local hex of a record's 16-bit position, or false when it lies outside the range.
bool LocalHexOf(uint16_t position, const MapRange& range, int32_t worldWidth, int& x, int& y) {
  int64_t lx = int64_t(position % worldWidth) - range.originX;
  int64_t ly = int64_t(position / worldWidth) - range.originY;
  if (lx < 0 || ly < 0 || lx >= range.width || ly >= range.height) return false;
  x = int(lx);
  y = int(ly);
  return true;
}

// Length of the overlap of [a, a + aLength) and [b, b + bLength).
int64_t Overlap(int64_t a, int64_t aLength, int64_t b, int64_t bLength) {
  return std::max<int64_t>(0, std::min(a + aLength, b + bLength) - std::max(a, b));
}

// Of `count` records placed by position, how many placement keeps on the hexes `marked`
// flags by position. Walking backwards, the first record met on a hex is the last one in file
// order: the one placement keeps.
template <class PositionOf>
int KeptRecordsOn(int count, PositionOf positionOf, const std::vector<uint8_t>& marked) {
  std::vector<uint8_t> seen(kPositionLimit);
  int n = 0;
  for (int i = count - 1; i >= 0; --i) {
    uint16_t position = positionOf(i);
    if (seen[position]) continue;
    seen[position] = 1;
    n += marked[position];
  }
  return n;
}

// The grid index (column * kMaxGrid + row, as the grid lies in memory) of the hex each 16-bit
// position names inside `range`, or -1 for positions outside it. The range must pass
// CheckRange: each of its hexes then has one position, row * worldWidth + column.
std::vector<int32_t> CellsByPosition(const MapRange& range, int32_t worldWidth) {
  std::vector<int32_t> cells(kPositionLimit, -1);
  for (int y = 0; y < range.height; ++y) {
    const int64_t rowStart = int64_t(range.originY + y) * worldWidth + range.originX;
    for (int x = 0; x < range.width; ++x) cells[size_t(rowStart + x)] = x * kMaxGrid + y;
  }
  return cells;
}

// Places `count` records of type Record (each starting with its position) from `records` on
// the grid. Walked from the last: the first record met on a hex is the last in file order,
// the one placement keeps; the earlier ones on that hex count as replaced. Each hex is then
// written once, however many records name it.
template <class Record>
void PlaceRecords(const uint8_t* records, int count, const std::vector<int32_t>& cellOf,
                  Record Cell::*record, uint8_t Cell::*present, int& outside, int& replaced) {
  Cell* cells = &g_world.grid[0][0];
  for (int i = count - 1; i >= 0; --i) {
    const uint8_t* r = records + size_t(i) * sizeof(Record);
    const int32_t at = cellOf[size_t(r[0] | r[1] << 8)];
    if (at < 0) {
      outside++;
      continue;
    }
    Cell& c = cells[at];
    if (c.*present) {
      replaced++;
      continue;
    }
    memcpy(&(c.*record), r, sizeof(Record));
    c.*present = 1;
  }
}

}  // namespace

MapRange InitialRange(const MapRange& fileRange, const WorldImage& world) {
  int64_t left = std::max<int64_t>(fileRange.originX, 0);
  int64_t top = std::max<int64_t>(fileRange.originY, 0);
  int64_t right = std::min<int64_t>(int64_t(fileRange.originX) + fileRange.width, world.width);
  int64_t bottom = std::min<int64_t>(int64_t(fileRange.originY) + fileRange.height, world.height);
  if (right <= left || bottom <= top) return {0, 0, world.width, world.height};
  return {int32_t(left), int32_t(top), int32_t(right - left), int32_t(bottom - top)};
}

RangeLoss LossOfRange(const BattleImage& image, int32_t worldWidth, const MapRange& offered) {
  RangeLoss loss;
  const MapRange f = image.fileRange();
  loss.owners = int64_t(f.width) * f.height -
                Overlap(f.originX, f.width, offered.originX, offered.width) *
                    Overlap(f.originY, f.height, offered.originY, offered.height);
  if (worldWidth < 1) return loss;  // no record can be placed at all
  // Judged once for each of the 65,536 positions rather than for each record.
  std::vector<uint8_t> lost(kPositionLimit);
  for (int p = 0; p < kPositionLimit; ++p) {
    int x, y;
    lost[size_t(p)] = LocalHexOf(uint16_t(p), f, worldWidth, x, y) &&
                      !LocalHexOf(uint16_t(p), offered, worldWidth, x, y);
  }
  loss.buildings = KeptRecordsOn(
      image.layout.header.buildingCount, [&](int i) { return image.building(i).position; }, lost);
  loss.units = KeptRecordsOn(
      image.layout.header.unitCount, [&](int i) { return image.unit(i).position; }, lost);
  return loss;
}

void MarkPositions(const uint8_t* records, size_t count, size_t size, std::vector<uint8_t>& flags) {
  for (size_t i = 0; i < count; ++i, records += size)
    flags[size_t(records[0] | records[1] << 8)] = 1;
}

KeptRecords CountKeptRecords(const OccupiedPositions& occupied, int32_t worldWidth,
                             const MapRange& range) {
  KeptRecords kept;
  for (int p = 0; p < kPositionLimit; ++p) {
    int x, y;
    if (!LocalHexOf(uint16_t(p), range, worldWidth, x, y)) continue;
    kept.buildings += occupied.buildings[size_t(p)];
    kept.units += occupied.units[size_t(p)];
  }
  return kept;
}

KeptRecords CountKeptRecords(const BattleImage& image, int32_t worldWidth, const MapRange& range) {
  OccupiedPositions occupied;
  const BtlHeader& h = image.layout.header;
  MarkPositions(image.bytes.data() + image.layout.buildingsAt, size_t(h.buildingCount),
                sizeof(BuildingRecord), occupied.buildings);
  MarkPositions(image.bytes.data() + image.layout.unitsAt, size_t(h.unitCount), sizeof(UnitRecord),
                occupied.units);
  return CountKeptRecords(occupied, worldWidth, range);
}

Status CheckRange(const MapRange& r, int32_t worldWidth, int32_t worldHeight) {
  if (r.width < 1 || r.height < 1)
    return Fail(FailureKind::kEmptyRange, "地图范围至少要有一列和一行。");
  if (r.width > kMaxGrid || r.height > kMaxGrid)
    return Fail(FailureKind::kRangeTooLarge,
                "地图范围 " + N(r.width) + " × " + N(r.height) + " 超过了 500 × 500 的上限。");
  if (r.originX < 0 || r.originY < 0 || int64_t(r.originX) + r.width > worldWidth ||
      int64_t(r.originY) + r.height > worldHeight)
    return Fail(FailureKind::kOutsideWorld,
                "地图范围超出了世界地图（" + N(worldWidth) + " × " + N(worldHeight) + "）。");
  if (!RangeFitsPositions(r, worldWidth))
    return Fail(FailureKind::kBeyondPositions,
                "地图范围包含编号 65536 及以上的格子，战役文件的 16 位位置无法表示它们。"
                "请把范围选在世界地图的上部（编号 = 行 × " +
                    N(worldWidth) + " + 列）。");
  return Ok();
}

Status CommitScenario(const BattleImage& image, const WorldImage& world, const MapRange& range,
                      PlacementReport* report) {
  Status s = CheckRange(range, world.width, world.height);
  if (!s.ok()) return s;
  PlacementReport local;
  PlacementReport& rep = report ? *report : local;
  rep = {};
  WorldRecord& w = g_world;
  const BtlHeader& h = image.layout.header;

  w.header = h;
  w.fileSize = int32_t(image.bytes.size());
  w.tailOffset = int32_t(image.layout.tailAt);
  w.teamCount = h.teamCount;
  for (int i = 0; i < h.teamCount; ++i) {
    TeamRecord& t = w.teams[i];
    memcpy(&t, image.bytes.data() + image.layout.teamsAt + size_t(i) * kTeamFileBytes,
           kTeamFileBytes);
    t.colour = t.fileColour[0] | t.fileColour[1] << 8 | t.fileColour[2] << 16;
  }
  w.teams[kUnownedTeam].colour = 0xFFFFFF;

  CommitWorldMap(world);
  w.originX = range.originX;
  w.originY = range.originY;
  w.rangeWidth = range.width;
  w.rangeHeight = range.height;
  // Only the range's hexes are cleared and walked, column by column as the grid lies in
  // memory: what lies outside the range is never read while this scenario is loaded.
  for (int x = 0; x < range.width; ++x)
    for (int y = 0; y < range.height; ++y) {
      Cell& c = w.grid[x][y];
      memset(&c, 0, sizeof c);
      c.globalX = range.originX + x;
      c.globalY = range.originY + y;
      c.worldInfo = w.world[c.globalX][c.globalY];
      c.owner = kUnownedTeam;
      c.unit.general = kNoGeneral;  // a hex without a unit keeps it so
    }

  // The ownership map is positional: it follows the file's own range. Only where the two
  // ranges overlap does a byte land on a hex.
  const MapRange f = image.fileRange();
  const int64_t shiftX = int64_t(f.originX) - range.originX;  // local x of file column 0
  const int64_t shiftY = int64_t(f.originY) - range.originY;
  const int64_t firstColumn = std::max<int64_t>(0, -shiftX);
  const int64_t endColumn = std::min<int64_t>(f.width, range.width - shiftX);
  const int64_t firstRow = std::max<int64_t>(0, -shiftY);
  const int64_t endRow = std::min<int64_t>(f.height, range.height - shiftY);
  int64_t ownersInside = 0;
  for (int64_t j = firstColumn; j < endColumn; ++j)
    for (int64_t i = firstRow; i < endRow; ++i) {
      uint8_t owner = image.owner(int(j), int(i));
      if (owner != kUnownedTeam && owner >= h.teamCount) rep.ownersNamingNoTeam++;
      w.grid[j + shiftX][i + shiftY].owner = owner;
      ownersInside++;
    }
  rep.ownersOutside = int(int64_t(f.width) * f.height - ownersInside);

  const std::vector<int32_t> cellOf = CellsByPosition(range, world.width);
  PlaceRecords(image.bytes.data() + image.layout.buildingsAt, h.buildingCount, cellOf,
               &Cell::building, &Cell::hasBuilding, rep.buildingsOutside, rep.buildingsReplaced);
  PlaceRecords(image.bytes.data() + image.layout.unitsAt, h.unitCount, cellOf, &Cell::unit,
               &Cell::hasUnit, rep.unitsOutside, rep.unitsReplaced);

  w.generalCount = h.generalCount;
  memcpy(w.generals, image.bytes.data() + image.layout.generalsAt,
         size_t(h.generalCount) * sizeof(GeneralEntry));
  memcpy(w.tail, image.bytes.data() + image.layout.tailAt, image.tailSize());
  return Ok();
}
