#include "scenario/battle_file.h"

#include <algorithm>
#include <cstring>

#include "base/files.h"
#include "scenario/safe_save.h"

namespace {

std::string N(int64_t v) { return std::to_string(v); }

// A header count must lie in 0..limit.
Status CheckCount(const std::string& file, const char* what, int32_t value, int32_t limit) {
  if (value >= 0 && value <= limit) return Ok();
  return Fail(FailureKind::kBadValue,
              file + "的" + what + " " + N(value) + " 无效：应在 0 到 " + N(limit) + " 之间。");
}

Status CheckHeader(const std::string& file, const BtlHeader& h) {
  struct Count {
    const char* what;
    int32_t value, limit;
  } counts[] = {
      {"地图范围宽度", h.rangeWidth, kMaxGrid}, {"地图范围高度", h.rangeHeight, kMaxGrid},
      {"军团数", h.teamCount, kMaxTeams},       {"建筑数", h.buildingCount, kMaxBuildings},
      {"部队数", h.unitCount, kMaxUnits},       {"将军数", h.generalCount, kMaxGenerals},
  };
  for (const Count& c : counts) {
    Status s = CheckCount(file, c.what, c.value, c.limit);
    if (!s.ok()) return s;
  }
  return Ok();
}

// Lays out one section of `count` records of `size` bytes from `end` on, or says where the
// file ends.
Status PlaceSection(const std::string& file, size_t fileSize, const char* what, int64_t count,
                    size_t size, size_t& end, size_t& at) {
  const size_t need = size_t(count) * size;
  at = end;
  if (need <= fileSize - at) {
    end = at + need;
    return Ok();
  }
  return Fail(FailureKind::kTruncated,
              file + "在第 " + N(int64_t(fileSize)) + " 字节处结束，但" + what + "需要从第 " +
              N(int64_t(at)) + " 字节起的 " + N(int64_t(need)) + " 字节。文件不完整或已损坏。");
}

Status CannotRead(const std::string& path) {
  return Fail(FailureKind::kCannotOpen, "无法打开战役文件" + Quoted(path) + "。");
}

Status LargerThanAnyValid(const std::string& path) {
  return Fail(FailureKind::kTooLarge, "战役文件" + Quoted(path) + "比任何有效的战役文件都大（上限 " +
                                          N(int64_t(kMaxBattleFileBytes)) + " 字节）。");
}

bool ReadExactly(FILE* f, void* into, size_t size) {
  return size == 0 || fread(into, 1, size, f) == size;
}

// Reads `count` records of `size` bytes a buffer's worth at a time and flags their positions.
bool MarkSection(FILE* f, size_t count, size_t size, std::vector<uint8_t>& buffer,
                 std::vector<uint8_t>& flags) {
  const size_t perRead = buffer.size() / size;
  while (count) {
    const size_t n = std::min(count, perRead);
    if (!ReadExactly(f, buffer.data(), n * size)) return false;
    MarkPositions(buffer.data(), n, size, flags);
    count -= n;
  }
  return true;
}

// The file is read in its order, each section once; what lies between the teams and the
// buildings (the ownership map) is skipped, and the tail is not read.
Status Summarise(FILE* f, const std::string& path, uint64_t size, BattleSummary& out) {
  if (size > kMaxBattleFileBytes) return LargerThanAnyValid(path);
  uint8_t start[kHeaderBytes];
  const size_t startSize = std::min<size_t>(size_t(size), sizeof start);
  if (!ReadExactly(f, start, startSize)) return CannotRead(path);
  BattleLayout& l = out.layout;
  Status s = LayOutBattleFile(start, size_t(size), path, l);
  if (!s.ok()) return s;
  out.name = path;
  out.teams.resize(l.ownersAt - l.teamsAt);
  out.generals.resize(size_t(l.header.generalCount));
  // Records are read in pieces of at most 256 KB: the buffer stays in the cache.
  std::vector<uint8_t> buffer(size_t(256) * 1024);
  if (!ReadExactly(f, out.teams.data(), out.teams.size()) ||
      fseek(f, long(l.buildingsAt), SEEK_SET) != 0 ||
      !MarkSection(f, size_t(l.header.buildingCount), sizeof(BuildingRecord), buffer,
                   out.occupied.buildings) ||
      !MarkSection(f, size_t(l.header.unitCount), sizeof(UnitRecord), buffer, out.occupied.units) ||
      !ReadExactly(f, out.generals.data(), l.tailAt - l.generalsAt))
    return CannotRead(path);
  return Ok();
}

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

BuildingRecord BattleImage::building(int i) const {
  BuildingRecord r;
  memcpy(&r, bytes.data() + buildingsAt + size_t(i) * sizeof r, sizeof r);
  return r;
}

UnitRecord BattleImage::unit(int i) const {
  UnitRecord r;
  memcpy(&r, bytes.data() + unitsAt + size_t(i) * sizeof r, sizeof r);
  return r;
}

Status LayOutBattleFile(const uint8_t* start, size_t size, const std::string& name,
                        BattleLayout& out) {
  const std::string file = "战役文件" + Quoted(name);
  if (size > kMaxBattleFileBytes)
    return Fail(FailureKind::kTooLarge,
                file + "有 " + N(int64_t(size)) + " 字节，比任何有效的战役文件都大（上限 " +
                N(int64_t(kMaxBattleFileBytes)) + " 字节）。");
  // A file cut inside the header, or whose header holds counts no battle file has (a text
  // or a picture renamed, say), is no battle file: said as such, the detail on a line below.
  const std::string notBattleFile = Quoted(name) + "不是战役文件，或已损坏。\n";
  BtlHeader h;
  if (size < sizeof h)
    return Fail(FailureKind::kTruncated, notBattleFile + "它只有 " + N(int64_t(size)) +
                                             " 字节，而战役文件的文件头就有 116 字节。");
  memcpy(&h, start, sizeof h);
  Status s = CheckHeader("文件头", h);
  if (!s.ok()) {
    s.message = notBattleFile + s.message;
    return s;
  }

  BattleLayout l;
  l.header = h;
  l.size = size;
  size_t end = sizeof h;
  const int64_t hexes = int64_t(h.rangeWidth) * h.rangeHeight;
  if (!(s = PlaceSection(file, size, "军团数据", h.teamCount, kTeamFileBytes, end, l.teamsAt)).ok() ||
      !(s = PlaceSection(file, size, "归属地图", hexes, 1, end, l.ownersAt)).ok() ||
      !(s = PlaceSection(file, size, "建筑数据", h.buildingCount, sizeof(BuildingRecord), end,
                         l.buildingsAt)).ok() ||
      !(s = PlaceSection(file, size, "部队数据", h.unitCount, sizeof(UnitRecord), end,
                         l.unitsAt)).ok() ||
      !(s = PlaceSection(file, size, "将军数据", h.generalCount, sizeof(GeneralEntry), end,
                         l.generalsAt)).ok())
    return s;
  l.tailAt = end;
  if (size - end > size_t(kMaxTail))
    return Fail(FailureKind::kTooLarge, file + "在将军数据之后还有 " + N(int64_t(size - end)) +
                " 字节附加数据，超过了 10000000 字节的上限。");
  out = l;
  return Ok();
}

Status ParseBattleFile(std::vector<uint8_t> bytes, const std::string& name, BattleImage& out) {
  BattleLayout l;
  Status s = LayOutBattleFile(bytes.data(), bytes.size(), name, l);
  if (!s.ok()) return s;
  BattleImage image;
  image.header = l.header;
  image.teamsAt = l.teamsAt;
  image.ownersAt = l.ownersAt;
  image.buildingsAt = l.buildingsAt;
  image.unitsAt = l.unitsAt;
  image.generalsAt = l.generalsAt;
  image.tailAt = l.tailAt;
  image.name = name;
  image.bytes = std::move(bytes);
  out = std::move(image);
  return Ok();
}

Status ReadBattleFile(const std::string& path, BattleImage& out) {
  std::vector<uint8_t> bytes;
  bool more = false;
  if (!ReadFilePrefix(path, kMaxBattleFileBytes, bytes, more)) return CannotRead(path);
  if (more) return LargerThanAnyValid(path);
  return ParseBattleFile(std::move(bytes), path, out);
}

TeamRecord BattleSummary::team(int i) const {
  TeamRecord t{};
  memcpy(&t, teams.data() + size_t(i) * kTeamFileBytes, kTeamFileBytes);
  return t;
}

namespace {

// A pipe or a device has no size to lay the sections out by: it is read whole, as the other
// readers read every file, and summarised from memory.
Status SummariseWhole(FILE* f, const std::string& path, BattleSummary& out) {
  std::vector<uint8_t> bytes;
  std::vector<uint8_t> buffer(size_t(64) * 1024);
  size_t n;
  while ((n = fread(buffer.data(), 1, buffer.size(), f)) > 0) {
    if (bytes.size() + n > kMaxBattleFileBytes) return LargerThanAnyValid(path);
    bytes.insert(bytes.end(), buffer.begin(), buffer.begin() + ptrdiff_t(n));
  }
  if (ferror(f)) return CannotRead(path);
  BattleImage image;
  Status s = ParseBattleFile(std::move(bytes), path, image);
  if (!s.ok()) return s;
  const std::vector<uint8_t>& b = image.bytes;
  BattleLayout& l = out.layout;
  s = LayOutBattleFile(b.data(), b.size(), path, l);
  if (!s.ok()) return s;
  out.name = path;
  out.teams.assign(b.begin() + ptrdiff_t(l.teamsAt), b.begin() + ptrdiff_t(l.ownersAt));
  out.generals.resize(size_t(l.header.generalCount));
  if (!out.generals.empty())
    memcpy(out.generals.data(), b.data() + l.generalsAt, l.tailAt - l.generalsAt);
  MarkPositions(b.data() + l.buildingsAt, size_t(l.header.buildingCount), sizeof(BuildingRecord),
                out.occupied.buildings);
  MarkPositions(b.data() + l.unitsAt, size_t(l.header.unitCount), sizeof(UnitRecord),
                out.occupied.units);
  return Ok();
}

}  // namespace

Status SummariseBattleFile(const std::string& path, BattleSummary& out) {
  FILE* f = OpenFile(path, "rb");
  if (!f) return CannotRead(path);
  uint64_t size = 0;
  BattleSummary summary;
  Status s = OpenFileSize(f, size) ? Summarise(f, path, size, summary)
                                   : SummariseWhole(f, path, summary);
  fclose(f);
  if (s.ok()) out = std::move(summary);
  return s;
}

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
      image.header.buildingCount, [&](int i) { return image.building(i).position; }, lost);
  loss.units = KeptRecordsOn(
      image.header.unitCount, [&](int i) { return image.unit(i).position; }, lost);
  return loss;
}

void MarkPositions(const uint8_t* records, size_t count, size_t size, std::vector<uint8_t>& flags) {
  for (size_t i = 0; i < count; ++i, records += size) flags[size_t(records[0] | records[1] << 8)] = 1;
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
  const BtlHeader& h = image.header;
  MarkPositions(image.bytes.data() + image.buildingsAt, size_t(h.buildingCount),
                sizeof(BuildingRecord), occupied.buildings);
  MarkPositions(image.bytes.data() + image.unitsAt, size_t(h.unitCount), sizeof(UnitRecord),
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
                "请把范围选在世界地图的上部（编号 = 行 × " + N(worldWidth) + " + 列）。");
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
  const BtlHeader& h = image.header;

  w.header = h;
  w.fileSize = int32_t(image.bytes.size());
  w.tailOffset = int32_t(image.tailAt);
  w.teamCount = h.teamCount;
  for (int i = 0; i < h.teamCount; ++i) {
    TeamRecord& t = w.teams[i];
    memcpy(&t, image.bytes.data() + image.teamsAt + size_t(i) * kTeamFileBytes, kTeamFileBytes);
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
  PlaceRecords(image.bytes.data() + image.buildingsAt, h.buildingCount, cellOf, &Cell::building,
               &Cell::hasBuilding, rep.buildingsOutside, rep.buildingsReplaced);
  PlaceRecords(image.bytes.data() + image.unitsAt, h.unitCount, cellOf, &Cell::unit,
               &Cell::hasUnit, rep.unitsOutside, rep.unitsReplaced);

  w.generalCount = h.generalCount;
  memcpy(w.generals, image.bytes.data() + image.generalsAt,
         size_t(h.generalCount) * sizeof(GeneralEntry));
  memcpy(w.tail, image.bytes.data() + image.tailAt, image.tailSize());
  return Ok();
}

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
  if (h.generalCount) memcpy(bytes + generalsAt, w.generals, size_t(h.generalCount) * sizeof(GeneralEntry));
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
