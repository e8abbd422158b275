#include "scenario/battle_summary.h"

#include <algorithm>
#include <cstring>

#include "base/files.h"

namespace {

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
  if (size > kMaxBattleFileBytes) return LargerThanAnyBattleFile(path);
  uint8_t start[kHeaderBytes];
  const size_t startSize = std::min<size_t>(size_t(size), sizeof start);
  if (!ReadExactly(f, start, startSize)) return CannotReadBattleFile(path);
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
    return CannotReadBattleFile(path);
  return Ok();
}

// A pipe or a device has no size to lay the sections out by: it is read whole, as the other
// readers read every file, and summarised from memory.
Status SummariseWhole(FILE* f, const std::string& path, BattleSummary& out) {
  std::vector<uint8_t> bytes;
  std::vector<uint8_t> buffer(size_t(64) * 1024);
  size_t n;
  while ((n = fread(buffer.data(), 1, buffer.size(), f)) > 0) {
    if (bytes.size() + n > kMaxBattleFileBytes) return LargerThanAnyBattleFile(path);
    bytes.insert(bytes.end(), buffer.begin(), buffer.begin() + ptrdiff_t(n));
  }
  if (ferror(f)) return CannotReadBattleFile(path);
  BattleImage image;
  Status s = ParseBattleFile(std::move(bytes), path, image);
  if (!s.ok()) return s;
  SummariseBattleImage(image, out);
  return Ok();
}

}  // namespace

TeamRecord BattleSummary::team(int i) const {
  TeamRecord t{};
  memcpy(&t, teams.data() + size_t(i) * kTeamFileBytes, kTeamFileBytes);
  return t;
}

Status SummariseBattleFile(const std::string& path, BattleSummary& out) {
  FILE* f = OpenFile(path, "rb");
  if (!f) return CannotReadBattleFile(path);
  uint64_t size = 0;
  BattleSummary summary;
  Status s =
      OpenFileSize(f, size) ? Summarise(f, path, size, summary) : SummariseWhole(f, path, summary);
  fclose(f);
  if (s.ok()) out = std::move(summary);
  return s;
}

void SummariseBattleImage(const BattleImage& image, BattleSummary& out) {
  BattleSummary summary;
  const std::vector<uint8_t>& b = image.bytes;
  const BattleLayout& l = image.layout;
  summary.name = image.name;
  summary.layout = l;
  summary.teams.assign(b.begin() + ptrdiff_t(l.teamsAt), b.begin() + ptrdiff_t(l.ownersAt));
  summary.generals.resize(size_t(l.header.generalCount));
  if (!summary.generals.empty())
    memcpy(summary.generals.data(), b.data() + l.generalsAt, l.tailAt - l.generalsAt);
  MarkPositions(b.data() + l.buildingsAt, size_t(l.header.buildingCount), sizeof(BuildingRecord),
                summary.occupied.buildings);
  MarkPositions(b.data() + l.unitsAt, size_t(l.header.unitCount), sizeof(UnitRecord),
                summary.occupied.units);
  out = std::move(summary);
}
