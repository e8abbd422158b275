#include "scenario/battle_format.h"

#include <cstring>

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
  return Fail(FailureKind::kTruncated, file + "在第 " + N(int64_t(fileSize)) + " 字节处结束，但" +
                                           what + "需要从第 " + N(int64_t(at)) + " 字节起的 " +
                                           N(int64_t(need)) + " 字节。文件不完整或已损坏。");
}

}  // namespace

Status CannotReadBattleFile(const std::string& path) {
  return Fail(FailureKind::kCannotOpen, "无法打开战役文件" + Quoted(path) + "。");
}

Status LargerThanAnyBattleFile(const std::string& path) {
  return Fail(FailureKind::kTooLarge, "战役文件" + Quoted(path) +
                                          "比任何有效的战役文件都大（上限 " +
                                          N(int64_t(kMaxBattleFileBytes)) + " 字节）。");
}

Status LayOutBattleFile(const uint8_t* start, size_t size, const std::string& name,
                        BattleLayout& out) {
  const std::string file = "战役文件" + Quoted(name);
  if (size > kMaxBattleFileBytes)
    return Fail(FailureKind::kTooLarge, file + "有 " + N(int64_t(size)) +
                                            " 字节，比任何有效的战役文件都大（上限 " +
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
  if (!(s = PlaceSection(file, size, "军团数据", h.teamCount, kTeamFileBytes, end, l.teamsAt))
           .ok() ||
      !(s = PlaceSection(file, size, "归属地图", hexes, 1, end, l.ownersAt)).ok() ||
      !(s = PlaceSection(file, size, "建筑数据", h.buildingCount, sizeof(BuildingRecord), end,
                         l.buildingsAt))
           .ok() ||
      !(s = PlaceSection(file, size, "部队数据", h.unitCount, sizeof(UnitRecord), end, l.unitsAt))
           .ok() ||
      !(s = PlaceSection(file, size, "将军数据", h.generalCount, sizeof(GeneralEntry), end,
                         l.generalsAt))
           .ok())
    return s;
  l.tailAt = end;
  if (size - end > size_t(kMaxTail))
    return Fail(FailureKind::kTooLarge, file + "在将军数据之后还有 " + N(int64_t(size - end)) +
                                            " 字节附加数据，超过了 10000000 字节的上限。");
  out = l;
  return Ok();
}
