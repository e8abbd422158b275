#include "scenario/step_words.h"

#include <cstddef>
#include <cstring>
#include <vector>

#include "base/text.h"
#include "scenario/record_fields.h"

namespace {

// Where the parts of a hex lie in its edited bytes (CellBytes).
constexpr size_t kOwnerAt = offsetof(Cell, owner) - kCellEditAt;
constexpr size_t kHasBuildingAt = offsetof(Cell, hasBuilding) - kCellEditAt;
constexpr size_t kHasUnitAt = offsetof(Cell, hasUnit) - kCellEditAt;
constexpr size_t kUnitAt = offsetof(Cell, unit) - kCellEditAt;
constexpr size_t kBuildingAt = offsetof(Cell, building) - kCellEditAt;
static_assert(kOwnerAt == 0 && kUnitAt + sizeof(UnitRecord) <= kCellEditBytes &&
              kBuildingAt + sizeof(BuildingRecord) <= kCellEditBytes);

// Teams or generals named one by one up to this many; more are counted.
constexpr size_t kNamedRecords = 3;
// Field changes named for one record; more are counted.
constexpr size_t kNamedFields = 2;
// The notice is one line over the map: longer text is cut.
constexpr size_t kMaxDescriptionBytes = 150;

bool Differs(const CellBytes& a, const CellBytes& b, size_t at, size_t n) {
  return memcmp(a.b + at, b.b + at, n) != 0;
}

struct HexKinds {
  int64_t owners = 0, units = 0, buildings = 0;
};

HexKinds CountHexKinds(const std::vector<HexChange>& hexes) {
  HexKinds k;
  for (const HexChange& h : hexes) {
    k.owners += Differs(h.before, h.after, kOwnerAt, 1);
    k.units += Differs(h.before, h.after, kHasUnitAt, 1) ||
               Differs(h.before, h.after, kUnitAt, sizeof(UnitRecord));
    k.buildings += Differs(h.before, h.after, kHasBuildingAt, 1) ||
                   Differs(h.before, h.after, kBuildingAt, sizeof(BuildingRecord));
  }
  return k;
}

void Join(std::string& out, const std::string& part, const char* between = "，") {
  if (part.empty()) return;
  if (!out.empty()) out += between;
  out += part;
}

// "位置 (15, 7) 的部队和建筑" for one hex; "30 格的归属，12 格的建筑" for many.
std::string HexWords(const EditStep& step, int32_t originX, int32_t originY) {
  if (step.hexes.empty()) return "";
  const HexKinds k = CountHexKinds(step.hexes);
  const struct {
    int64_t count;
    const char* word;
  } kinds[] = {{k.owners, "归属"}, {k.units, "部队"}, {k.buildings, "建筑"}};
  std::string out;
  if (step.hexes.size() == 1) {
    const HexChange& h = step.hexes[0];
    std::string what;
    for (const auto& kind : kinds)
      if (kind.count) Join(what, kind.word, "和");
    if (what.empty()) what = "数据";  // only bytes no word names (the alignment byte)
    return "位置 (" + std::to_string(originX + h.x) + ", " + std::to_string(originY + h.y) +
           ") 的" + what;
  }
  for (const auto& kind : kinds)
    if (kind.count) Join(out, std::to_string(kind.count) + " 格的" + kind.word);
  if (out.empty()) out = std::to_string(step.hexes.size()) + " 格";
  return out;
}

// "军团 2 金钱 17000 → 99999" for one record; "，等 5 项" when more fields changed.
std::string RecordWords(const RecordFields& fields, int32_t index, const void* before,
                        const void* after) {
  std::vector<std::string> changes;
  FieldChanges(fields.fields, static_cast<const uint8_t*>(before),
               static_cast<const uint8_t*>(after), changes);
  std::string out = std::string(fields.what) + " " + std::to_string(index);
  if (changes.empty()) return out;
  std::string listed;
  for (size_t i = 0; i < changes.size() && i < kNamedFields; ++i) Join(listed, changes[i]);
  if (changes.size() > kNamedFields) listed += "，等 " + std::to_string(changes.size()) + " 项";
  return out + " " + listed;
}

std::string CountWords(const char* label, int32_t before, int32_t after) {
  if (before == after) return "";
  return std::string(label) + " " + std::to_string(before) + " → " + std::to_string(after);
}

template <class Change>
std::string RecordListWords(const std::vector<Change>& changes, const RecordFields& fields,
                            const char* counter, int32_t (*indexOf)(const Change&)) {
  if (changes.size() > kNamedRecords)
    return std::to_string(changes.size()) + " " + counter + fields.what;
  std::string out;
  for (const Change& c : changes) Join(out, RecordWords(fields, indexOf(c), &c.before, &c.after));
  return out;
}

int32_t SlotOf(const TeamChange& c) { return c.slot; }
int32_t IndexOf(const GeneralChange& c) { return c.index; }

std::string CutToLength(std::string text) {
  if (text.size() <= kMaxDescriptionBytes) return text;
  text.resize(Utf8Fit(text, kMaxDescriptionBytes));
  return text + "……";
}

}  // namespace

std::string DescribeStep(const EditStep& step, int32_t originX, int32_t originY) {
  std::string out = HexWords(step, originX, originY);
  Join(out, CountWords("军团数", step.teamCountBefore, step.teamCountAfter));
  Join(out, RecordListWords(step.teams, TeamFields(), "个", SlotOf));
  Join(out, CountWords("将军数", step.generalCountBefore, step.generalCountAfter));
  Join(out, RecordListWords(step.generals, GeneralFields(), "个", IndexOf));
  return CutToLength(out.empty() ? "无变化" : out);
}
