#include "btl/diff.h"

#include <algorithm>
#include <cstring>
#include <span>
#include <vector>

#include "btl/bounded_lines.h"
#include "scenario/field_text.h"
#include "btl/names.h"
#include "scenario/record_fields.h"

namespace {

std::string N(int64_t v) { return std::to_string(v); }

// The lines of one kind of difference, bounded unless every line is wanted.
struct Kind {
  std::string title;
  BoundedLines found;

  void Add(std::string line) {
    found.Add([&line] { return std::move(line); });
  }
  int64_t count() const { return found.count; }
  void Print(std::string& out) const {
    if (!found.count) return;
    out += title + "（" + N(found.count) + " 处不同）:\n";
    for (const std::string& line : found.lines) out += "  " + line + "\n";
    if (found.omitted) out += "  …… 另有 " + N(found.omitted) + " 处，用 --all 显示全部\n";
  }
};

// The same, on one line: "金钱 7000 → 8000，步兵科技 1 → 3".
void FieldChanges(std::span<const Field> fields, const uint8_t* a, const uint8_t* b,
                  std::string& line) {
  std::vector<std::string> changes;
  FieldChanges(fields, a, b, changes);
  for (const std::string& c : changes) line += (line.empty() ? "" : "，") + c;
}

// The names of a record on both sides, beside its numbers: "（步兵）" when they are the same,
// "（步兵 → 坦克）" when they differ; "" when the data folder names neither.
std::string NamesOf(RecordNamer nameOf, const uint8_t* a, const uint8_t* b) {
  std::string na = nameOf(a), nb = nameOf(b);
  if (na == nb) return InBrackets(na);
  return "（" + (na.empty() ? "?" : na) + " → " + (nb.empty() ? "?" : nb) + "）";
}

struct Sides {
  const BattleImage& a;
  const BattleImage& b;
  const DiffOptions& options;
};

// The header's fields one a line, then its counts.
void Header(const Sides& s, Kind& kind) {
  std::vector<std::string> changes;
  FieldChanges(HeaderFields().fields, s.a.bytes.data(), s.b.bytes.data(), changes);
  for (std::string& c : changes) kind.Add(std::move(c));
  const BtlHeader &ha = s.a.layout.header, &hb = s.b.layout.header;
  struct Count {
    const char* label;
    int32_t a, b;
  } counts[] = {{"军团数", ha.teamCount, hb.teamCount},
                {"建筑数", ha.buildingCount, hb.buildingCount},
                {"部队数", ha.unitCount, hb.unitCount},
                {"将军数", ha.generalCount, hb.generalCount}};
  for (const Count& c : counts)
    if (c.a != c.b) kind.Add(std::string(c.label) + " " + N(c.a) + " → " + N(c.b));
}

// Records compared by index (teams, generals).
void ByIndex(const Sides& s, const RecordFields& fields, RecordNamer nameOf, int32_t countA,
             size_t atA, int32_t countB, size_t atB, const std::string& what, Kind& kind) {
  for (int32_t i = 0; i < std::max(countA, countB); ++i) {
    const uint8_t* a = i < countA ? s.a.bytes.data() + atA + size_t(i) * fields.size : nullptr;
    const uint8_t* b = i < countB ? s.b.bytes.data() + atB + size_t(i) * fields.size : nullptr;
    std::string name = what + " " + N(i);
    if (!b) {
      kind.Add(name + InBrackets(nameOf(a)) + ": 只在第一个文件中（删除）");
    } else if (!a) {
      kind.Add(name + InBrackets(nameOf(b)) + ": 只在第二个文件中（新增）");
    } else {
      std::string changes;
      FieldChanges(fields.fields, a, b, changes);
      if (!changes.empty()) kind.Add(name + NamesOf(nameOf, a, b) + ": " + changes);
    }
  }
}

// The owner byte of global hex (x, y) in a file, or -1 outside its range.
int OwnerAt(const BattleImage& im, int64_t x, int64_t y) {
  int64_t column = x - im.layout.header.originX, row = y - im.layout.header.originY;
  if (column < 0 || row < 0 || column >= im.layout.header.rangeWidth ||
      row >= im.layout.header.rangeHeight)
    return -1;
  return im.owner(int(column), int(row));
}

// Owners by global hex: each file's range walked, the other's owner looked up.
void Owners(const Sides& s, Kind& kind) {
  auto walk = [&](const BattleImage& self, const BattleImage& other, bool first) {
    const BtlHeader& h = self.layout.header;
    for (int row = 0; row < h.rangeHeight; ++row)
      for (int column = 0; column < h.rangeWidth; ++column) {
        int64_t x = int64_t(h.originX) + column, y = int64_t(h.originY) + row;
        int mine = self.owner(column, row), theirs = OwnerAt(other, x, y);
        if (!first && theirs >= 0) continue;  // met in the first walk
        if (mine == theirs) continue;
        std::string at = "(全局 列 " + N(x) + "，行 " + N(y) + "): ";
        kind.Add(at + (first ? OwnerText(mine) + " → " + OwnerText(theirs)
                             : OwnerText(theirs) + " → " + OwnerText(mine)));
      }
  };
  walk(s.a, s.b, true);
  walk(s.b, s.a, false);
}

struct Placed {
  uint16_t position;
  int32_t index;
  bool operator<(const Placed& o) const {
    return position != o.position ? position < o.position : index < o.index;
  }
};

std::vector<Placed> ByPosition(const BattleImage& im, size_t at, int32_t count, size_t size) {
  std::vector<Placed> placed(static_cast<size_t>(count));
  for (int32_t i = 0; i < count; ++i) {
    const uint8_t* p = im.bytes.data() + at + size_t(i) * size;
    placed[size_t(i)] = {uint16_t(p[0] | p[1] << 8), i};
  }
  std::sort(placed.begin(), placed.end());
  return placed;
}

// Buildings and units by hex. A save keeps the last record on a hex and drops those before
// it, so the last records of the two files on a hex are paired first (what each file shows
// there), then the earlier ones in file order, each marked as one a save drops; those left
// over are added or removed. Records that only moved in the file show as one line.
void ByHex(const Sides& s, const RecordFields& fields, RecordNamer nameOf, size_t atA,
           int32_t countA, size_t atB, int32_t countB, Kind& kind) {
  std::vector<Placed> a = ByPosition(s.a, atA, countA, fields.size);
  std::vector<Placed> b = ByPosition(s.b, atB, countB, fields.size);
  int32_t ww = s.options.worldWidth;
  auto hex = [&](uint16_t p) {
    return "位置 " + N(p) + (ww > 0 ? "（全局 列 " + N(p % ww) + "，行 " + N(p / ww) + "）" : "");
  };
  auto recordA = [&](size_t n) {
    return s.a.bytes.data() + atA + size_t(a[n].index) * fields.size;
  };
  auto recordB = [&](size_t n) {
    return s.b.bytes.data() + atB + size_t(b[n].index) * fields.size;
  };
  const char* kDropped = "，保存时被同一格后面的记录取代";
  auto added = [&](uint16_t p, size_t n, bool dropped) {
    kind.Add(hex(p) + InBrackets(nameOf(recordB(n))) + ": 新增（第二个文件的第 " + N(b[n].index) +
             " 条" + (dropped ? kDropped : "") + "）");
  };
  auto removed = [&](uint16_t p, size_t n, bool dropped) {
    kind.Add(hex(p) + InBrackets(nameOf(recordA(n))) + ": 删除（第一个文件的第 " + N(a[n].index) +
             " 条" + (dropped ? kDropped : "") + "）");
  };
  auto changed = [&](uint16_t p, size_t na, size_t nb, bool dropped) {
    std::string changes;
    FieldChanges(fields.fields, recordA(na), recordB(nb), changes);
    if (!changes.empty())
      kind.Add(hex(p) + NamesOf(nameOf, recordA(na), recordB(nb)) + ": " + changes +
               (dropped ? "（两个文件中都是保存时被同一格后面的记录取代的一条）" : ""));
  };
  int64_t before = kind.count();
  size_t i = 0, k = 0;
  while (i < a.size() || k < b.size()) {
    uint16_t p = i < a.size() && (k == b.size() || a[i].position <= b[k].position) ? a[i].position
                                                                                   : b[k].position;
    size_t endA = i, endB = k;
    while (endA < a.size() && a[endA].position == p) ++endA;
    while (endB < b.size() && b[endB].position == p) ++endB;
    // The kept records (the last of each side), then the dropped ones before them.
    if (endA > i && endB > k)
      changed(p, endA - 1, endB - 1, false);
    else if (endA > i)
      removed(p, endA - 1, false);
    else
      added(p, endB - 1, false);
    const size_t droppedA = endA > i ? endA - i - 1 : 0, droppedB = endB > k ? endB - k - 1 : 0;
    for (size_t n = 0; n < std::max(droppedA, droppedB); ++n) {
      if (n >= droppedA)
        added(p, k + n, true);
      else if (n >= droppedB)
        removed(p, i + n, true);
      else
        changed(p, i + n, k + n, true);
    }
    i = endA;
    k = endB;
  }
  size_t bytes = size_t(countA) * fields.size;
  if (kind.count() == before &&
      (countA != countB || memcmp(s.a.bytes.data() + atA, s.b.bytes.data() + atB, bytes) != 0))
    kind.Add("记录的顺序不同（每格的内容相同）");
}

void Tail(const Sides& s, Kind& kind) {
  size_t sa = s.a.tailSize(), sb = s.b.tailSize();
  const uint8_t *pa = s.a.bytes.data() + s.a.layout.tailAt,
                *pb = s.b.bytes.data() + s.b.layout.tailAt;
  size_t common = std::min(sa, sb), first = 0;
  while (first < common && pa[first] == pb[first]) ++first;
  if (first == common && sa == sb) return;
  std::string line = sa == sb ? "大小相同（" + N(int64_t(sa)) + " 字节）"
                              : "大小 " + N(int64_t(sa)) + " → " + N(int64_t(sb)) + " 字节";
  if (first < common)
    line += "，从第 " + N(int64_t(first)) + " 字节起不同";
  else
    line += "，前 " + N(int64_t(common)) + " 字节相同";
  kind.Add(line);
}

}  // namespace

std::string OwnerText(int owner) {
  return owner < 0 ? "范围外" : owner == kUnownedTeam ? "无" : "军团 " + N(owner);
}

bool DiffBattleFiles(const BattleImage& a, const BattleImage& b, const DiffOptions& options,
                     std::string& out) {
  if (a.bytes == b.bytes) return false;
  Sides s{a, b, options};
  Kind kinds[] = {{"文件头"}, {"军团"}, {"归属"}, {"建筑"}, {"部队"}, {"将军"}, {"附加数据"}};
  for (Kind& k : kinds) k.found.all = options.all;
  Header(s, kinds[0]);
  ByIndex(s, TeamFields(), TeamRecordName, a.layout.header.teamCount, a.layout.teamsAt,
          b.layout.header.teamCount, b.layout.teamsAt, "军团", kinds[1]);
  Owners(s, kinds[2]);
  ByHex(s, BuildingFields(), BuildingRecordName, a.layout.buildingsAt,
        a.layout.header.buildingCount, b.layout.buildingsAt, b.layout.header.buildingCount,
        kinds[3]);
  ByHex(s, UnitFields(), UnitRecordName, a.layout.unitsAt, a.layout.header.unitCount,
        b.layout.unitsAt, b.layout.header.unitCount, kinds[4]);
  ByIndex(s, GeneralFields(), GeneralRecordName, a.layout.header.generalCount, a.layout.generalsAt,
          b.layout.header.generalCount, b.layout.generalsAt, "将军", kinds[5]);
  Tail(s, kinds[6]);
  int64_t total = 0;
  for (const Kind& k : kinds) {
    k.Print(out);
    total += k.count();
  }
  out += "共 " + N(total) + " 处不同。\n";
  return true;
}
