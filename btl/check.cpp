#include "btl/check.h"

#include <rapidjson/prettywriter.h>
#include <rapidjson/stringbuffer.h>

#include <cstddef>
#include <cstring>
#include <vector>

#include "btl/command_line.h"
#include "scenario/field_text.h"
#include "btl/names.h"
#include "problems/problems.h"
#include "scenario/battle_place.h"

namespace {

std::string N(int64_t v) { return std::to_string(v); }

// The file's kinds from its own bytes; then, with the catalogs, the scenario's on the file
// placed with its own range (the world record is the scratch area), else owners from the
// file's ownership map. The finder's problems are named by hex, the file's name their own
// places.
void Check(const BattleImage& image, const WorldImage& world, CheckReport& r) {
  r.saveChecked =
      SaveCheckable(image, world) && CommitScenario(image, world, image.fileRange()).ok();
  r.problemReportChecked = r.data.anyCatalog() && r.saveChecked;
  if (r.problemReportChecked)
    for (int k = 0; k < kProblemKinds; ++k)
      for (DataFile f : DataFilesDeciding(ProblemKind(k))) r.leftOut[k] |= !r.data.usable(f);
  const RecordNames names{BuildingRecordName, UnitRecordName, TeamRecordName};
  VisitFileProblems(image, world, names, !r.problemReportChecked, [&r](const ScenarioProblem& p) {
    r[p.kind].AddMany(p.count, [&p] { return p.text; });
  });
  if (!r.problemReportChecked) return;
  VisitScenarioProblems([&r](const ScenarioProblem& p) {
    if (!r.leftOut[int(p.kind)]) r[p.kind].Add([&p] { return ProblemRow(p); });
  });
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
std::vector<ProblemKind> KindsLeftOutFor(const CheckReport& r, DataFile file) {
  std::vector<ProblemKind> kinds;
  if (r.data.usable(file)) return kinds;
  for (int k = 0; k < kProblemKinds; ++k)
    for (DataFile f : DataFilesDeciding(ProblemKind(k)))
      if (f == file && r.leftOut[k]) kinds.push_back(ProblemKind(k));
  return kinds;
}

// A line per data file that could not be used, with the kinds left out for it.
void AddDataFileNotes(const CheckReport& r, std::string& out) {
  for (int f = 0; f < kDataFiles; ++f) {
    const DataFileState state = r.data.states[f];
    if (state == DataFileState::kRead) continue;
    out += "数据文件 " + r.data.paths[f] + " " + DataFileStateText(state);
    std::string kinds;
    for (ProblemKind k : KindsLeftOutFor(r, DataFile(f)))
      kinds += std::string(kinds.empty() ? "" : "、") + "“" + ProblemKindTitle(k) + "”";
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
    for (ProblemKind k : KindsLeftOutFor(r, DataFile(f))) w.String(ProblemKindKey(k));
    w.EndArray();
    w.EndObject();
  }
  w.EndArray();
}

}  // namespace

int64_t CheckReport::total() const {
  int64_t n = 0;
  for (const BoundedLines& k : kinds) n += k.count;
  return n;
}

int CheckReport::exitStatus() const { return total() ? kExitFindings : kExitOk; }

std::vector<DataFile> DataFilesDeciding(ProblemKind kind) {
  switch (kind) {
    case ProblemKind::kUnknownUnitType: return {DataFile::kArmies};
    case ProblemKind::kBadGeneral: return {DataFile::kCommanders, DataFile::kRanks};
    case ProblemKind::kUnknownBuilding: return {DataFile::kBuildings};
    case ProblemKind::kUnknownCityName: return {DataFile::kStringTable};
    case ProblemKind::kUnknownCountry: return {DataFile::kCountries};
    default: return {};
  }
}

CheckReport CheckBattleFile(const BattleImage& image, const WorldImage& world, const GameData& data,
                            bool all) {
  CheckReport report;
  report.data = data;
  for (BoundedLines& k : report.kinds) k.all = all;
  Check(image, world, report);
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
  for (int k = 0; k < kProblemKinds; ++k)
    if (r.kinds[k].count)
      out +=
          "  " + std::string(ProblemKindTitle(ProblemKind(k))) + ": " + N(r.kinds[k].count) + "\n";
  for (int k = 0; k < kProblemKinds; ++k) {
    const BoundedLines& kind = r.kinds[k];
    if (!kind.count) continue;
    out += std::string(ProblemKindTitle(ProblemKind(k))) + "（" + N(kind.count) + " 处）:\n";
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
  for (int k = 0; k < kProblemKinds; ++k) {
    const BoundedLines& kind = r.kinds[k];
    Key(w, ProblemKindKey(ProblemKind(k)));
    w.StartObject();
    Key(w, "title");
    w.String(ProblemKindTitle(ProblemKind(k)));
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
