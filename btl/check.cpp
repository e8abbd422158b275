#include "btl/check.h"

#include <rapidjson/prettywriter.h>
#include <rapidjson/stringbuffer.h>

#include <cstddef>
#include <cstring>
#include <vector>

#include "catalogs/scenario_problems.h"
#include "scenario/battle_place.h"
#include "scenario/battle_write.h"
#include "scenario/save_loss.h"
#include "btl/command_line.h"
#include "scenario/field_text.h"
#include "btl/names.h"

namespace {

std::string N(int64_t v) { return std::to_string(v); }

// A number followed by its name in brackets, or by a space when it has none.
std::string Labelled(int64_t v, const std::string& name) {
  return N(v) + (name.empty() ? " " : InBrackets(name));
}

struct KindText {
  const char* key;
  const char* title;
};

// In the order of CheckKind. The kinds a save drops or changes take the titles of the
// editor's warning before a save (scenario/save_loss.h), so both say the same.
const KindText kKindTexts[kCheckKinds] = {
    {"recordsOutsideRange", kTitleRecordsOutsideRange},
    {"recordsSharingAHex", kTitleRecordsSharingAHex},
    {"hexesBeyond16BitPositions", kTitleHexesBeyondPositions},
    {"ownersNamingNoTeam", "不属于任何军团的归属"},
    {"rangeOutsideWorld", "超出世界地图或为空的地图范围"},
    {"alphaSetOnSave", kTitleAlphaSetOnSave},
    {"recordsReorderedOnSave", kTitleRecordsReorderedOnSave},
    {"recordsDroppedOnSave", "保存时删去的记录"},
    {"unitClassZero", "兵种类别为 0 的部队"},
    {"unknownUnitType", "兵种目录中没有的兵种"},
    {"missingGeneral", "没有对应将军的部队"},
    {"badGeneral", "统帅或军衔无效的将军"},
    {"wrongPosition", "位置与所在格不符的记录"},
    {"unknownBuilding", "建筑目录中没有的建筑"},
    {"unknownCityName", "语言文件中没有的城市名"},
    {"antiAirType", "防空类型大于 3 的建筑"},
    {"unknownCountry", "国家目录中没有的国家"},
};

CheckKind KindOf(ProblemKind kind) {
  switch (kind) {
    case ProblemKind::kUnitClassZero: return CheckKind::kUnitClassZero;
    case ProblemKind::kUnknownUnitType: return CheckKind::kUnknownUnitType;
    case ProblemKind::kMissingGeneral: return CheckKind::kMissingGeneral;
    case ProblemKind::kBadGeneral: return CheckKind::kBadGeneral;
    case ProblemKind::kWrongPosition: return CheckKind::kWrongPosition;
    case ProblemKind::kOwnerNamesNoTeam: return CheckKind::kOwnersNamingNoTeam;
    case ProblemKind::kUnknownBuilding: return CheckKind::kUnknownBuilding;
    case ProblemKind::kUnknownCityName: return CheckKind::kUnknownCityName;
    case ProblemKind::kAntiAirType: return CheckKind::kAntiAirType;
    case ProblemKind::kUnknownCountry: return CheckKind::kUnknownCountry;
  }
  return CheckKind::kWrongPosition;
}

// Buildings or units of the file, in file order.
struct Section {
  const char* what;
  size_t at, size;
  int32_t count;
  RecordNamer nameOf;
};

class Checker {
 public:
  Checker(const BattleImage& image, const WorldImage& world, CheckReport& report)
      : im_(image), world_(world), r_(report), range_(image.fileRange()) {}

  void Run();

 private:
  uint16_t PositionOf(const Section& s, int32_t i) const {
    const uint8_t* p = Record(s, i);
    return uint16_t(p[0] | p[1] << 8);
  }
  const uint8_t* Record(const Section& s, int32_t i) const {
    return im_.bytes.data() + s.at + size_t(i) * s.size;
  }
  // "建筑记录 #3 " or, named, "建筑记录 #3（油井）", ready for the words that follow.
  std::string Named(const Section& s, int32_t i) const {
    return std::string(s.what) + "记录 #" + Labelled(i, s.nameOf(Record(s, i)));
  }
  std::string Where(uint16_t p) const {
    return "位置 " + N(p) + "（全局 列 " + N(p % world_.width) + "，行 " + N(p / world_.width) + "）";
  }
  bool Inside(uint16_t p) const {
    int64_t x = p % world_.width - int64_t(range_.originX), y = p / world_.width - int64_t(range_.originY);
    return x >= 0 && y >= 0 && x < range_.width && y < range_.height;
  }

  void Range();
  void Records(const Section& s);
  void Reordered(const Section& s);
  void Owners();
  void Problems();
  void SaveChanges();

  const BattleImage& im_;
  const WorldImage& world_;
  CheckReport& r_;
  const MapRange range_;
  // The last record of the section on each position: the one placement keeps.
  std::vector<int32_t> lastAt_;
};

void Checker::Run() {
  r_.saveChecked = CheckRange(range_, world_.width, world_.height).ok() &&
                   CommitScenario(im_, world_, range_).ok();
  r_.problemReportChecked = r_.data.anyCatalog() && r_.saveChecked;
  if (r_.problemReportChecked)
    for (int k = 0; k < kCheckKinds; ++k)
      for (DataFile f : DataFilesDeciding(CheckKind(k))) r_.leftOut[k] |= !r_.data.usable(f);
  Range();
  const Section sections[] = {
      {"建筑", im_.layout.buildingsAt, sizeof(BuildingRecord), im_.layout.header.buildingCount, BuildingRecordName},
      {"部队", im_.layout.unitsAt, sizeof(UnitRecord), im_.layout.header.unitCount, UnitRecordName},
  };
  for (const Section& s : sections) {
    Records(s);
    if (r_.saveChecked) Reordered(s);
  }
  if (r_.problemReportChecked)
    Problems();
  else
    Owners();
  // Last: building the bytes rewrites the world record's header and team colours.
  if (r_.saveChecked) SaveChanges();
}

void Checker::Range() {
  const int32_t ww = world_.width, wh = world_.height;
  if (!RangeFitsPositions(range_, ww))
    r_[CheckKind::kHexesBeyond16BitPositions].Add([] {
      return std::string(
          "地图范围含有编号 65536 及以上的格子，16 位位置无法表示它们；编辑器要求缩小范围后才能保存");
    });
  if (range_.width < 1 || range_.height < 1)
    r_[CheckKind::kRangeOutsideWorld].Add([&] {
      return "地图范围为空（" + N(range_.width) + " × " + N(range_.height) +
             "），载入时会改用整个世界地图；resave 需要用 --range 指定范围";
    });
  else if (range_.originX < 0 || range_.originY < 0 || int64_t(range_.originX) + range_.width > ww ||
           int64_t(range_.originY) + range_.height > wh)
    r_[CheckKind::kRangeOutsideWorld].Add([&] {
      // What the editor then offers (InitialRange): the part inside the world, or the whole
      // world when no hex of the range is in it.
      const MapRange offered = InitialRange(range_, world_);
      const bool disjoint = int64_t(range_.originX) + range_.width <= 0 || range_.originX >= ww ||
                            int64_t(range_.originY) + range_.height <= 0 || range_.originY >= wh;
      if (disjoint)
        return "地图范围完全在世界地图（" + N(ww) + " × " + N(wh) + "）之外，载入时会改用整个世界地图";
      return "地图范围超出了世界地图（" + N(ww) + " × " + N(wh) + "），载入时会缩到世界地图之内（起点 (" +
             N(offered.originX) + ", " + N(offered.originY) + ")，大小 " + N(offered.width) + " × " +
             N(offered.height) + "）";
    });
}

void Checker::Records(const Section& s) {
  lastAt_.assign(kPositionLimit, -1);
  for (int32_t i = 0; i < s.count; ++i) {
    const uint16_t p = PositionOf(s, i);
    if (!Inside(p)) {
      r_[CheckKind::kRecordsOutsideRange].Add(
          [&] { return Named(s, i) + "的" + Where(p) + "在地图范围之外"; });
      continue;
    }
    if (const int32_t before = lastAt_[p]; before >= 0)
      r_[CheckKind::kRecordsSharingAHex].Add([&] {
        return Named(s, before) + "和 #" + Labelled(i, s.nameOf(Record(s, i))) + "在同一格" +
               Where(p) + "，只有后者会保留";
      });
    lastAt_[p] = i;
  }
}

// A save writes the records it keeps in the order of their hexes, row by row, which for a
// range the 16-bit positions address is the order of their positions. A kept record whose
// position is below the one of the kept record before it is moved ahead of that one.
void Checker::Reordered(const Section& s) {
  int32_t previous = -1;
  for (int32_t i = 0; i < s.count; ++i) {
    const uint16_t p = PositionOf(s, i);
    if (!Inside(p) || lastAt_[p] != i) continue;
    if (previous >= 0 && p < PositionOf(s, previous))
      r_[CheckKind::kRecordsReorderedOnSave].Add([&] {
        return Named(s, i) + "的" + Where(p) + "排在 #" + N(previous) + " 的位置 " +
               N(PositionOf(s, previous)) + " 之后，保存时会排到它前面";
      });
    previous = i;
  }
}

void Checker::Owners() {
  const int teams = im_.layout.header.teamCount;
  for (int y = 0; y < range_.height; ++y)
    for (int x = 0; x < range_.width; ++x) {
      const uint8_t owner = im_.owner(x, y);
      if (owner == kUnownedTeam || owner < teams) continue;
      r_[CheckKind::kOwnersNamingNoTeam].Add([&] {
        return "归属地图第 " + N(y) + " 行第 " + N(x) + " 列的值 " + N(owner) +
               " 不是任何军团（共 " + N(teams) + " 个军团）";
      });
    }
}

// The editor's problem report on the scenario placed with the file's own range: the same
// finder, so the two always agree.
void Checker::Problems() {
  VisitScenarioProblems([this](const ScenarioProblem& p) {
    const CheckKind kind = KindOf(p.kind);
    if (!r_.leftOut[int(kind)]) r_[kind].Add([&p] { return ProblemRow(p); });
  });
}

// The save's own bytes, built in memory, against the file's.
void Checker::SaveChanges() {
  // The dropped records as the editor's warning before a save counts them.
  const SaveLoss loss = CountSaveLoss(im_, world_.width, range_);
  std::vector<uint8_t> saved;
  if (BuildBattleBytes(saved).ok()) {
    constexpr size_t kAlpha = offsetof(TeamRecord, fileColour) + 3;
    for (int t = 0; t < im_.layout.header.teamCount; ++t) {
      const size_t at = size_t(t) * kTeamFileBytes + kAlpha;
      const uint8_t before = im_.bytes[im_.layout.teamsAt + at], after = saved[kHeaderBytes + at];
      if (before == after) continue;
      r_[CheckKind::kAlphaSetOnSave].Add([&] {
        const uint8_t* team = im_.bytes.data() + im_.layout.teamsAt + size_t(t) * kTeamFileBytes;
        return "军团 " + Labelled(t, TeamRecordName(team)) + "的颜色 alpha 字节为 " +
               N(before) + "，保存时设为 " + N(after);
      });
    }
  }
  auto dropped = [&](const char* what, int outside, int replaced) {
    r_[CheckKind::kRecordsDroppedOnSave].AddMany(outside + replaced, [&] {
      return std::string(what) + "记录: 保存时删去 " + N(outside + replaced) + " 条（范围外 " +
             N(outside) + " 条，同一格被后面的记录取代 " + N(replaced) + " 条）";
    });
  };
  dropped("建筑", loss.buildingsOutside, loss.buildingsReplaced);
  dropped("部队", loss.unitsOutside, loss.unitsReplaced);
}

// RapidJSON writes keys and strings with their lengths: UTF-8 passes through as it is.
using Writer = rapidjson::PrettyWriter<rapidjson::StringBuffer>;

void Key(Writer& w, const char* key) { w.Key(key, rapidjson::SizeType(strlen(key))); }
// Every string goes out as valid UTF-8, whatever bytes a file name holds.
void String(Writer& w, const std::string& s) {
  const std::string valid = ValidUtf8(s);
  w.String(valid.data(), rapidjson::SizeType(valid.size()));
}

const char* StatusMeaning(int status) {
  return status == kExitOk ? "noFindings" : status == kExitFindings ? "findings" : "cannotLoad";
}

// The keys every check document starts with, whether the file loaded or not.
void StatusHead(Writer& w, const std::string& path, int status) {
  Key(w, "file");
  String(w, path);
  Key(w, "exitStatus");
  w.Int(status);
  Key(w, "exitStatusMeaning");
  w.String(StatusMeaning(status));
}

// The kinds of the report that `file` decides and that were left out for it.
std::vector<CheckKind> KindsLeftOutFor(const CheckReport& r, DataFile file) {
  std::vector<CheckKind> kinds;
  if (r.data.usable(file)) return kinds;
  for (int k = 0; k < kCheckKinds; ++k)
    for (DataFile f : DataFilesDeciding(CheckKind(k)))
      if (f == file && r.leftOut[k]) kinds.push_back(CheckKind(k));
  return kinds;
}

// A line per data file that could not be used, with the kinds left out for it.
void AddDataFileNotes(const CheckReport& r, std::string& out) {
  for (int f = 0; f < kDataFiles; ++f) {
    const DataFileState state = r.data.states[f];
    if (state == DataFileState::kRead) continue;
    out += "数据文件 " + r.data.paths[f] + " " + DataFileStateText(state);
    std::string kinds;
    for (CheckKind k : KindsLeftOutFor(r, DataFile(f)))
      kinds += std::string(kinds.empty() ? "" : "、") + "“" + kKindTexts[int(k)].title + "”";
    out += kinds.empty() ? "。\n" : "：没有检查" + kinds + "。\n";
  }
}

// "dataFiles": every data file looked for, by its name in the data folder (so that both
// builds write the same document), with its state and the kinds left out for it.
void DataFilesJson(Writer& w, const CheckReport& r) {
  Key(w, "dataFiles");
  w.StartArray();
  for (int f = 0; f < kDataFiles; ++f) {
    w.StartObject();
    Key(w, "file");
    String(w, r.data.names[f]);
    Key(w, "state");
    w.String(DataFileStateKey(r.data.states[f]));
    Key(w, "kindsLeftOut");
    w.StartArray();
    for (CheckKind k : KindsLeftOutFor(r, DataFile(f))) w.String(kKindTexts[int(k)].key);
    w.EndArray();
    w.EndObject();
  }
  w.EndArray();
}

}  // namespace

const char* CheckKindKey(CheckKind kind) { return kKindTexts[int(kind)].key; }
const char* CheckKindTitle(CheckKind kind) { return kKindTexts[int(kind)].title; }

int64_t CheckReport::total() const {
  int64_t n = 0;
  for (const BoundedLines& k : kinds) n += k.count;
  return n;
}

int CheckReport::exitStatus() const { return total() ? kExitFindings : kExitOk; }

std::vector<DataFile> DataFilesDeciding(CheckKind kind) {
  switch (kind) {
    case CheckKind::kUnknownUnitType: return {DataFile::kArmies};
    case CheckKind::kBadGeneral: return {DataFile::kCommanders, DataFile::kRanks};
    case CheckKind::kUnknownBuilding: return {DataFile::kBuildings};
    case CheckKind::kUnknownCityName: return {DataFile::kStringTable};
    case CheckKind::kUnknownCountry: return {DataFile::kCountries};
    default: return {};
  }
}

CheckReport CheckBattleFile(const BattleImage& image, const WorldImage& world,
                            const GameData& data, bool all) {
  CheckReport report;
  report.data = data;
  for (BoundedLines& k : report.kinds) k.all = all;
  Checker(image, world, report).Run();
  return report;
}

std::string CheckText(const CheckReport& r, const std::string& path) {
  const int64_t total = r.total();
  std::string out = path + (total ? ": 可以载入，但有 " + N(total) + " 处值得注意。\n"
                                  : ": 载入正常，没有发现问题。\n");
  if (!r.saveChecked)
    out += "（文件的地图范围无法原样放置：没有检查保存会改变什么，也没有做问题报告的检查。）\n";
  else if (!r.problemReportChecked)
    out += "（数据文件夹中没有游戏目录：没有做问题报告的检查，记录不带名称。）\n";
  AddDataFileNotes(r, out);
  if (!total) return out;
  out += "各类数目:\n";
  for (int k = 0; k < kCheckKinds; ++k)
    if (r.kinds[k].count) out += "  " + std::string(kKindTexts[k].title) + ": " + N(r.kinds[k].count) + "\n";
  for (int k = 0; k < kCheckKinds; ++k) {
    const BoundedLines& kind = r.kinds[k];
    if (!kind.count) continue;
    out += std::string(kKindTexts[k].title) + "（" + N(kind.count) + " 处）:\n";
    for (const std::string& line : kind.lines) out += "  " + line + "\n";
    if (kind.omitted) out += "  …… 另有 " + N(kind.omitted) + " 行未显示，用 --all 显示全部\n";
  }
  return out;
}

std::string CheckJson(const CheckReport& r, const std::string& path) {
  rapidjson::StringBuffer buffer;
  Writer w(buffer);
  w.StartObject();
  StatusHead(w, path, r.exitStatus());
  Key(w, "saveChecked");
  w.Bool(r.saveChecked);
  Key(w, "problemReportChecked");
  w.Bool(r.problemReportChecked);
  Key(w, "total");
  w.Int64(r.total());
  DataFilesJson(w, r);
  Key(w, "kinds");
  w.StartObject();
  for (int k = 0; k < kCheckKinds; ++k) {
    const BoundedLines& kind = r.kinds[k];
    Key(w, kKindTexts[k].key);
    w.StartObject();
    Key(w, "title");
    w.String(kKindTexts[k].title);
    Key(w, "leftOut");
    w.Bool(r.leftOut[k]);
    Key(w, "count");
    w.Int64(kind.count);
    Key(w, "lines");
    w.StartArray();
    for (const std::string& line : kind.lines) String(w, line);
    w.EndArray();
    Key(w, "linesLeftOut");
    w.Int64(kind.omitted);
    w.EndObject();
  }
  w.EndObject();
  w.EndObject();
  return std::string(buffer.GetString(), buffer.GetSize()) + "\n";
}

std::string CheckRefusalJson(const std::string& path, const std::string& message) {
  rapidjson::StringBuffer buffer;
  Writer w(buffer);
  w.StartObject();
  StatusHead(w, path, kExitTrouble);
  Key(w, "error");
  String(w, message);
  w.EndObject();
  return std::string(buffer.GetString(), buffer.GetSize()) + "\n";
}
