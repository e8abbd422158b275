// The kinds of the file itself and of its save, read from the file's image with its own
// range: nothing is placed and nothing is written.
#include "problems/problems.h"
#include "scenario/battle_place.h"
#include "scenario/battle_write.h"

#include <algorithm>
#include <cstddef>
#include <vector>

#include "scenario/save_loss.h"
#include "scenario/world_record.h"

namespace {

std::string N(int64_t v) { return std::to_string(v); }

// A number followed by its name in brackets, or by a space when it has none.
std::string Labelled(int64_t v, const std::string& name) {
  return N(v) + (name.empty() ? " " : "（" + name + "）");
}

// A save sets every team's colour alpha byte to this.
constexpr uint8_t kSavedAlpha = 255;

using Visit = std::function<void(const ScenarioProblem&)>;

// Buildings or units of the file, in file order.
struct Section {
  const char* what;
  size_t at, size;
  int32_t count;
  std::string (*nameOf)(const uint8_t* record);
};

class FileChecker {
 public:
  FileChecker(const BattleImage& image, const WorldImage& world, const RecordNames& names,
              const Visit& visit)
      : im_(image), world_(world), names_(names), visit_(visit), range_(image.fileRange()) {}

  void Run(bool owners);

 private:
  uint16_t PositionOf(const Section& s, int32_t i) const {
    const uint8_t* p = Record(s, i);
    return uint16_t(p[0] | p[1] << 8);
  }
  const uint8_t* Record(const Section& s, int32_t i) const {
    return im_.bytes.data() + s.at + size_t(i) * s.size;
  }
  static std::string NameOf(std::string (*namer)(const uint8_t*), const uint8_t* record) {
    return namer ? namer(record) : std::string();
  }
  // "建筑记录 #3 " or, named, "建筑记录 #3（油井）", ready for the words that follow.
  std::string Named(const Section& s, int32_t i) const {
    return std::string(s.what) + "记录 #" + Labelled(i, NameOf(s.nameOf, Record(s, i)));
  }
  std::string Where(uint16_t p) const {
    return "位置 " + N(p) + "（全局 列 " + N(p % world_.width) + "，行 " + N(p / world_.width) +
           "）";
  }
  bool Inside(uint16_t p) const {
    int64_t x = p % world_.width - int64_t(range_.originX),
            y = p / world_.width - int64_t(range_.originY);
    return x >= 0 && y >= 0 && x < range_.width && y < range_.height;
  }
  // A finding of the whole file, or of the hex at 16-bit position `p` inside its range.
  void Add(ProblemKind kind, std::string text, int64_t count = 1) {
    visit_({kind, kNoHex, kNoHex, kNoHex, std::move(text), count});
  }
  void AddAt(ProblemKind kind, uint16_t p, std::string text) {
    visit_({kind, p % world_.width, p / world_.width, p, std::move(text)});
  }

  void Range();
  void Records(const Section& s);
  void Reordered(const Section& s);
  void Owners();
  void SaveChanges();

  const BattleImage& im_;
  const WorldImage& world_;
  const RecordNames& names_;
  const Visit& visit_;
  const MapRange range_;
  // The last record of the section on each position: the one placement keeps.
  std::vector<int32_t> lastAt_;
};

void FileChecker::Run(bool owners) {
  const bool saveChecked = SaveCheckable(im_, world_);
  Range();
  const Section sections[] = {
      {"建筑", im_.layout.buildingsAt, sizeof(BuildingRecord), im_.layout.header.buildingCount,
       names_.building},
      {"部队", im_.layout.unitsAt, sizeof(UnitRecord), im_.layout.header.unitCount, names_.unit},
  };
  for (const Section& s : sections) {
    Records(s);
    if (saveChecked) Reordered(s);
  }
  if (owners) Owners();
  if (saveChecked) SaveChanges();
}

void FileChecker::Range() {
  const int32_t ww = world_.width, wh = world_.height;
  if (!RangeFitsPositions(range_, ww))
    Add(ProblemKind::kHexesBeyond16BitPositions,
        "地图范围含有编号 65536 及以上的格子，16 位位置无法表示它们；编辑器要求缩小范围后才能保存");
  if (range_.width < 1 || range_.height < 1) {
    Add(ProblemKind::kRangeOutsideWorld,
        "地图范围为空（" + N(range_.width) + " × " + N(range_.height) +
            "），载入时会改用整个世界地图；resave 需要用 --range 指定范围");
  } else if (range_.originX < 0 || range_.originY < 0 ||
             int64_t(range_.originX) + range_.width > ww ||
             int64_t(range_.originY) + range_.height > wh) {
    // What the editor then offers (InitialRange): the part inside the world, or the whole
    // world when no hex of the range is in it.
    const MapRange offered = InitialRange(range_, world_);
    const bool disjoint = int64_t(range_.originX) + range_.width <= 0 || range_.originX >= ww ||
                          int64_t(range_.originY) + range_.height <= 0 || range_.originY >= wh;
    if (disjoint)
      Add(ProblemKind::kRangeOutsideWorld,
          "地图范围完全在世界地图（" + N(ww) + " × " + N(wh) + "）之外，载入时会改用整个世界地图");
    else
      Add(ProblemKind::kRangeOutsideWorld, "地图范围超出了世界地图（" + N(ww) + " × " + N(wh) +
                                               "），载入时会缩到世界地图之内（起点 (" +
                                               N(offered.originX) + ", " + N(offered.originY) +
                                               ")，大小 " + N(offered.width) + " × " +
                                               N(offered.height) + "）");
  }
}

void FileChecker::Records(const Section& s) {
  lastAt_.assign(kPositionLimit, -1);
  for (int32_t i = 0; i < s.count; ++i) {
    const uint16_t p = PositionOf(s, i);
    if (!Inside(p)) {
      Add(ProblemKind::kRecordsOutsideRange, Named(s, i) + "的" + Where(p) + "在地图范围之外");
      continue;
    }
    if (const int32_t before = lastAt_[p]; before >= 0)
      AddAt(ProblemKind::kRecordsSharingAHex, p,
            Named(s, before) + "和 #" + Labelled(i, NameOf(s.nameOf, Record(s, i))) + "在同一格" +
                Where(p) + "，只有后者会保留");
    lastAt_[p] = i;
  }
}

// A save writes the records it keeps in the order of their hexes, row by row, which for a
// range the 16-bit positions address is the order of their positions. A kept record whose
// position is below the one of the kept record before it is moved ahead of that one.
void FileChecker::Reordered(const Section& s) {
  int32_t previous = -1;
  for (int32_t i = 0; i < s.count; ++i) {
    const uint16_t p = PositionOf(s, i);
    if (!Inside(p) || lastAt_[p] != i) continue;
    if (previous >= 0 && p < PositionOf(s, previous))
      AddAt(ProblemKind::kRecordsReorderedOnSave, p,
            Named(s, i) + "的" + Where(p) + "排在 #" + N(previous) + " 的位置 " +
                N(PositionOf(s, previous)) + " 之后，保存时会排到它前面");
    previous = i;
  }
}

void FileChecker::Owners() {
  const int teams = im_.layout.header.teamCount;
  for (int y = 0; y < range_.height; ++y)
    for (int x = 0; x < range_.width; ++x) {
      const uint8_t owner = im_.owner(x, y);
      if (owner == kUnownedTeam || owner < teams) continue;
      Add(ProblemKind::kOwnersNamingNoTeam, "归属地图第 " + N(y) + " 行第 " + N(x) + " 列的值 " +
                                                N(owner) + " 不是任何军团（共 " + N(teams) +
                                                " 个军团）");
    }
}

// What the save's placement and byte building change, told from the file's own bytes: the
// alpha byte of each team's colour, and the records placement drops, as the editor's warning
// before a save counts them.
void FileChecker::SaveChanges() {
  constexpr size_t kAlpha = offsetof(TeamRecord, fileColour) + 3;
  for (int t = 0; t < im_.layout.header.teamCount; ++t) {
    const uint8_t* team = im_.bytes.data() + im_.layout.teamsAt + size_t(t) * kTeamFileBytes;
    const uint8_t before = team[kAlpha];
    if (before == kSavedAlpha) continue;
    Add(ProblemKind::kAlphaSetOnSave, "军团 " + Labelled(t, NameOf(names_.team, team)) +
                                          "的颜色 alpha 字节为 " + N(before) + "，保存时设为 " +
                                          N(kSavedAlpha));
  }
  const SaveLoss loss = CountSaveLoss(im_, world_.width, range_);
  auto dropped = [&](const char* what, int outside, int replaced) {
    if (outside + replaced <= 0) return;
    Add(ProblemKind::kRecordsDroppedOnSave,
        std::string(what) + "记录: 保存时删去 " + N(outside + replaced) + " 条（范围外 " +
            N(outside) + " 条，同一格被后面的记录取代 " + N(replaced) + " 条）",
        outside + replaced);
  };
  dropped("建筑", loss.buildingsOutside, loss.buildingsReplaced);
  dropped("部队", loss.unitsOutside, loss.unitsReplaced);
}

}  // namespace

bool SaveCheckable(const BattleImage& file, const WorldImage& world) {
  return CheckRange(file.fileRange(), world.width, world.height).ok();
}

void VisitFileProblems(const BattleImage& file, const WorldImage& world, const RecordNames& names,
                       bool owners, const Visit& visit) {
  FileChecker(file, world, names, visit).Run(owners);
}

std::vector<ScenarioProblem> FindProblems(const BattleImage& file) {
  const WorldImage world{g_world.worldWidth, g_world.worldHeight, {}};
  std::vector<ScenarioProblem> found;
  if (!file.bytes.empty() && world.width > 0)
    VisitFileProblems(file, world, RecordNames{}, false, [&](const ScenarioProblem& p) {
      found.push_back(p);
      ScenarioProblem& kept = found.back();
      const int32_t x = kept.globalX - g_world.originX, y = kept.globalY - g_world.originY;
      if (kept.onHex() && !(x >= 0 && y >= 0 && x < g_world.rangeWidth && y < g_world.rangeHeight))
        kept.hexIndex = kept.globalX = kept.globalY = kNoHex;
    });
  std::stable_sort(
      found.begin(), found.end(),
      [](const ScenarioProblem& a, const ScenarioProblem& b) { return a.kind < b.kind; });
  VisitScenarioProblems([&found](const ScenarioProblem& p) { found.push_back(p); });
  return found;
}
