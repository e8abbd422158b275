#include "btl/merge.h"

#include <algorithm>
#include <cstring>
#include <span>

#include "btl/diff.h"
#include "btl/names.h"
#include "scenario/record_fields.h"

namespace {

std::string N(int64_t v) { return std::to_string(v); }

// Bytes of one thing on one side; null when that side does not have it.
bool Same(const uint8_t* a, const uint8_t* b, size_t size) {
  if (!a || !b) return a == b;
  return memcmp(a, b, size) == 0;
}

// Longer bytes are not written out in a conflict's line.
constexpr uint16_t kBytesShownWhole = 12;

struct Merger {
  const MergeOptions& options;
  std::vector<std::string>& conflicts;

  bool theirsWins() const { return options.prefer == MergeSide::kTheirs; }

  std::string Values(const Field& f, const uint8_t* base, const uint8_t* ours,
                     const uint8_t* theirs) const {
    auto text = [&](const uint8_t* record) {
      if (!record) return std::string("无");
      if (f.kind == FieldKind::kBytes && f.size > kBytesShownWhole) return N(f.size) + " 字节";
      return FieldValueText(f, record);
    };
    return "共同的版本 " + text(base) + "，我方 " + text(ours) + "，对方 " + text(theirs);
  }

  // The fields of one record, each merged on its own into `into` (a copy of ours). `base` is
  // null for a record both sides added.
  void Fields(std::span<const Field> fields, const uint8_t* base, const uint8_t* ours,
              const uint8_t* theirs, uint8_t* into, const std::string& what) {
    for (const Field& f : fields) {
      if (f.kind == FieldKind::kColumn || f.kind == FieldKind::kRow) continue;
      const uint8_t* b = base ? base + f.offset : nullptr;
      if (f.kind == FieldKind::kGroup) {
        Fields(f.group, b, ours + f.offset, theirs + f.offset, into + f.offset, what);
        continue;
      }
      const uint8_t *o = ours + f.offset, *t = theirs + f.offset;
      if (Same(o, t, f.size) || (b && Same(t, b, f.size))) continue;  // ours stays
      if (b && Same(o, b, f.size)) {
        memcpy(into + f.offset, t, f.size);
        continue;
      }
      if (theirsWins()) memcpy(into + f.offset, t, f.size);
      conflicts.push_back(what + ": " + f.label + "（" + Values(f, base, ours, theirs) + "）");
    }
  }

  // One record that each side may have or not. Appends the merged record to `section` and
  // says whether there is one.
  bool Record(const RecordFields& fields, const uint8_t* base, const uint8_t* ours,
              const uint8_t* theirs, const std::string& what, std::vector<uint8_t>& section) {
    const size_t size = fields.size;
    const uint8_t* taken = nullptr;
    if (Same(ours, theirs, size) || Same(theirs, base, size)) {
      taken = ours;
    } else if (Same(ours, base, size)) {
      taken = theirs;
    } else if (ours && theirs) {
      section.insert(section.end(), ours, ours + size);
      Fields(fields.fields, base, ours, theirs, section.data() + section.size() - size, what);
      return true;
    } else {
      // One side removed what the other changed.
      conflicts.push_back(what + ": " +
                          (ours ? "我方修改了，对方删除了" : "我方删除了，对方修改了"));
      taken = theirsWins() ? theirs : ours;
    }
    if (taken) section.insert(section.end(), taken, taken + size);
    return taken != nullptr;
  }
};

struct Three {
  const BattleImage& base;
  const BattleImage& ours;
  const BattleImage& theirs;
};

// Records kept by index (teams, generals): a side that has fewer has removed the rest.
int32_t ByIndex(Merger& m, const RecordFields& fields, RecordNamer nameOf, const Three& f,
                int32_t BtlHeader::*count, size_t BattleLayout::*at, const std::string& what,
                std::vector<uint8_t>& section) {
  auto record = [&](const BattleImage& im, int32_t i) -> const uint8_t* {
    return i < im.layout.header.*count ? im.bytes.data() + im.layout.*at + size_t(i) * fields.size
                                       : nullptr;
  };
  const int32_t most = std::max(
      {f.base.layout.header.*count, f.ours.layout.header.*count, f.theirs.layout.header.*count});
  int32_t kept = 0;
  for (int32_t i = 0; i < most; ++i) {
    const uint8_t *b = record(f.base, i), *o = record(f.ours, i), *t = record(f.theirs, i);
    const uint8_t* named = o ? o : t ? t : b;
    kept += m.Record(fields, b, o, t, what + " " + N(i) + InBrackets(nameOf(named)), section);
  }
  return kept;
}

// The record a save keeps on each 16-bit position (the last in file order), or -1.
std::vector<int32_t> LastOnEachHex(const BattleImage& im, size_t at, int32_t count, size_t size) {
  std::vector<int32_t> last(kPositionLimit, -1);
  for (int32_t i = 0; i < count; ++i) {
    const uint8_t* r = im.bytes.data() + at + size_t(i) * size;
    last[size_t(r[0] | r[1] << 8)] = i;
  }
  return last;
}

// Buildings or units by hex, written one a hex in position order.
int32_t ByHex(Merger& m, const RecordFields& fields, RecordNamer nameOf, const Three& f,
              int32_t BtlHeader::*count, size_t BattleLayout::*at, const std::string& what,
              std::vector<uint8_t>& section) {
  const BattleImage* sides[3] = {&f.base, &f.ours, &f.theirs};
  std::vector<int32_t> last[3];
  for (int s = 0; s < 3; ++s)
    last[s] =
        LastOnEachHex(*sides[s], sides[s]->layout.*at, sides[s]->layout.header.*count, fields.size);
  const int32_t ww = m.options.worldWidth;
  int32_t kept = 0;
  for (size_t p = 0; p < size_t(kPositionLimit); ++p) {
    const uint8_t* r[3];
    for (int s = 0; s < 3; ++s)
      r[s] = last[s][p] < 0
                 ? nullptr
                 : sides[s]->bytes.data() + sides[s]->layout.*at + size_t(last[s][p]) * fields.size;
    if (!r[0] && !r[1] && !r[2]) continue;
    const uint8_t* named = r[1] ? r[1] : r[2] ? r[2] : r[0];
    std::string hex =
        what + " 位置 " + N(int64_t(p)) +
        (ww > 0 ? "（列 " + N(int64_t(p) % ww) + "，行 " + N(int64_t(p) / ww) + "）" : "") +
        InBrackets(nameOf(named));
    kept += m.Record(fields, r[0], r[1], r[2], hex, section);
  }
  return kept;
}

// The ownership map hex by hex; the three ranges are the same.
void Owners(Merger& m, const Three& f, std::vector<uint8_t>& section) {
  const BtlHeader& h = f.ours.layout.header;
  section.resize(size_t(h.rangeWidth) * size_t(h.rangeHeight));
  for (int row = 0; row < h.rangeHeight; ++row)
    for (int column = 0; column < h.rangeWidth; ++column) {
      uint8_t b = f.base.owner(column, row), o = f.ours.owner(column, row),
              t = f.theirs.owner(column, row);
      uint8_t& into = section[size_t(row) * size_t(h.rangeWidth) + size_t(column)];
      into = o;
      if (o == t || t == b) continue;
      if (o == b) {
        into = t;
        continue;
      }
      if (m.theirsWins()) into = t;
      m.conflicts.push_back("归属 (列 " + N(int64_t(h.originX) + column) + "，行 " +
                            N(int64_t(h.originY) + row) + "): 共同的版本 " + OwnerText(b) +
                            "，我方 " + OwnerText(o) + "，对方 " + OwnerText(t));
    }
}

// The tail is kept whole: its bytes mean nothing to the editor.
void Tail(Merger& m, const Three& f, std::vector<uint8_t>& section) {
  auto tail = [](const BattleImage& im) {
    return std::vector<uint8_t>(im.bytes.begin() + std::ptrdiff_t(im.layout.tailAt),
                                im.bytes.end());
  };
  std::vector<uint8_t> b = tail(f.base), o = tail(f.ours), t = tail(f.theirs);
  if (o == t || t == b) {
    section = o;
  } else if (o == b) {
    section = t;
  } else {
    section = m.theirsWins() ? t : o;
    m.conflicts.push_back("附加数据: 两边都改了（共同的版本 " + N(int64_t(b.size())) +
                          " 字节，我方 " + N(int64_t(o.size())) + " 字节，对方 " +
                          N(int64_t(t.size())) + " 字节）");
  }
}

bool SameRange(const BattleImage& a, const BattleImage& b) {
  const BtlHeader &x = a.layout.header, &y = b.layout.header;
  return x.originX == y.originX && x.originY == y.originY && x.rangeWidth == y.rangeWidth &&
         x.rangeHeight == y.rangeHeight;
}

void Append(std::vector<uint8_t>& out, const std::vector<uint8_t>& section) {
  out.insert(out.end(), section.begin(), section.end());
}

}  // namespace

Status MergeBattleFiles(const BattleImage& base, const BattleImage& ours, const BattleImage& theirs,
                        const MergeOptions& options, MergeResult& out) {
  out = MergeResult{};
  // Nothing to combine: one side's bytes are the answer, whatever they hold.
  if (theirs.bytes == base.bytes || theirs.bytes == ours.bytes) {
    out.bytes = ours.bytes;
    return Ok();
  }
  if (ours.bytes == base.bytes) {
    out.bytes = theirs.bytes;
    return Ok();
  }
  if (!SameRange(base, ours) || !SameRange(base, theirs))
    return Fail(
        FailureKind::kBadValue,
        "三个文件的地图范围不全相同，无法逐格合并。请先用 btl resave --range 把它们存成同一范围。");

  Merger m{options, out.conflicts};
  const Three f{base, ours, theirs};
  std::vector<uint8_t> header(ours.bytes.begin(), ours.bytes.begin() + kHeaderBytes);
  m.Fields(HeaderFields().fields, base.bytes.data(), ours.bytes.data(), theirs.bytes.data(),
           header.data(), "文件头");
  std::vector<uint8_t> teams, owners, buildings, units, generals, tail;
  BtlHeader h;
  memcpy(&h, header.data(), sizeof h);
  h.teamCount = ByIndex(m, TeamFields(), TeamRecordName, f, &BtlHeader::teamCount,
                        &BattleLayout::teamsAt, "军团", teams);
  Owners(m, f, owners);
  h.buildingCount = ByHex(m, BuildingFields(), BuildingRecordName, f, &BtlHeader::buildingCount,
                          &BattleLayout::buildingsAt, "建筑", buildings);
  h.unitCount = ByHex(m, UnitFields(), UnitRecordName, f, &BtlHeader::unitCount,
                      &BattleLayout::unitsAt, "部队", units);
  h.generalCount = ByIndex(m, GeneralFields(), GeneralRecordName, f, &BtlHeader::generalCount,
                           &BattleLayout::generalsAt, "将军", generals);
  Tail(m, f, tail);
  memcpy(header.data(), &h, sizeof h);
  for (const std::vector<uint8_t>* section :
       {&header, &teams, &owners, &buildings, &units, &generals, &tail})
    Append(out.bytes, *section);
  return Ok();
}
