#include "tools/btl/companion.h"

#include "base/files.h"
#include "base/text.h"
#include "scenario/safe_save.h"
#include "tools/btl/check.h"
#include "tools/btl/command_line.h"
#include "tools/btl/diff.h"
#include "tools/btl/export_json.h"
#include "tools/btl/import_json.h"
#include "tools/btl/info.h"
#include "tools/btl/names.h"

namespace {

std::string N(int64_t v) { return std::to_string(v); }

struct Loaded {
  BattleImage image;
  WorldImage world;
};

std::string WorldPathIn(const std::string& dataDir) {
  return dataDir.empty() ? WorldMapPath() : JoinPath(dataDir, "world.bin");
}

Status ReadBoth(const std::string& dataDir, const std::string& path, Loaded& loaded) {
  Status s = ReadBattleFile(path, loaded.image);
  if (!s.ok()) return s;
  return ReadWorldMapFile(WorldPathIn(dataDir), loaded.world);
}

int Refused(const Status& s, std::string& err) {
  err += "错误: " + s.message + "\n";
  return kExitTrouble;
}

// The whole file as JSON, in file order. The world map only adds each record's column and
// row, so a file exports without it.
int Export(const CommandLine& line, std::string& out, std::string& err) {
  BattleImage image;
  Status s = ReadBattleFile(line.input, image);
  if (!s.ok()) return Refused(s, err);
  WorldImage world;
  if (!ReadWorldMapFile(WorldPathIn(line.dataDir), world).ok()) {
    world.width = 0;
    err += "提示: 没有读到世界地图，导出的记录不带列和行。\n";
  }
  size_t size = 0;
  s = SaveExportJson(image, world.width, line.output, size);
  if (!s.ok()) return Refused(s, err);
  out += "已导出 " + line.output + "（" + N(int64_t(size)) + " 字节）\n";
  return kExitOk;
}

// Both files as they are, in file order; the world map only names hexes by column and row.
int Diff(const CommandLine& line, std::string& out, std::string& err) {
  BattleImage a, b;
  Status s = ReadBattleFile(line.input, a);
  if (s.ok()) s = ReadBattleFile(line.output, b);
  if (!s.ok()) return Refused(s, err);
  WorldImage world;
  DiffOptions options;
  options.all = line.all;
  if (ReadWorldMapFile(WorldPathIn(line.dataDir), world).ok()) options.worldWidth = world.width;
  LoadGameTables(line.dataDir);
  std::string differences;
  if (!DiffBattleFiles(a, b, options, differences)) {
    out += line.input + " 与 " + line.output + " 相同。\n";
    return kExitOk;
  }
  out += "从 " + line.input + " 到 " + line.output + " 的不同:\n" + differences;
  return kExitFindings;
}

int Import(const CommandLine& line, std::string& out, std::string& err) {
  std::vector<uint8_t> bytes;
  Status s = BattleBytesFromJsonFile(line.input, bytes);
  if (s.ok()) s = SafeSave(line.output, bytes.data(), bytes.size());
  if (!s.ok()) return Refused(s, err);
  out += "已保存 " + line.output + "（" + N(int64_t(bytes.size())) + " 字节）\n";
  return kExitOk;
}

void ReportPlacement(const PlacementReport& r, std::string& err) {
  auto line = [&](int n, const char* what) {
    if (n) err += "警告: " + N(n) + " " + what + "\n";
  };
  line(r.buildingsOutside, "条建筑记录在地图范围之外，未保存");
  line(r.unitsOutside, "条部队记录在地图范围之外，未保存");
  line(r.buildingsReplaced, "条建筑记录与后面的记录在同一格，被后者取代");
  line(r.unitsReplaced, "条部队记录与后面的记录在同一格，被后者取代");
  line(r.ownersOutside, "个归属格在地图范围之外，未保存");
  line(r.ownersNamingNoTeam, "个归属格指向不存在的军团（原样保存）");
}

// The file is summarised rather than read whole: info shows no record but the generals.
int Info(const CommandLine& line, std::string& out, std::string& err) {
  BattleSummary summary;
  WorldImage world;
  Status s = SummariseBattleFile(line.input, summary);
  if (s.ok()) s = ReadWorldMapFile(WorldPathIn(line.dataDir), world);
  if (!s.ok()) return Refused(s, err);
  LoadGameTables(line.dataDir);
  if (line.json)
    out += InfoJson(summary, world, line.input);
  else
    AddInfoText(summary, world, line.input, out);
  return kExitOk;
}

// Without the catalogs in the data folder the check looks at the file alone.
int Check(const Loaded& l, const CommandLine& line, std::string& out) {
  const bool gameData = LoadGameTables(line.dataDir);
  const CheckReport report = CheckBattleFile(l.image, l.world, gameData, line.all);
  out += line.json ? CheckJson(report, line.input) : CheckText(report, line.input);
  return report.exitStatus();
}

std::string RangeText(const MapRange& r) {
  return "起点 (" + N(r.originX) + ", " + N(r.originY) + ")，大小 " + N(r.width) + " × " +
         N(r.height);
}

// Without --range the file is saved with its own range, as it is: a range the editor would
// have to cut or move is the user's choice to make, not the companion's.
Status RangeToSave(const Loaded& l, const MapRange* given, MapRange& range) {
  if (given) {
    range = *given;
    return Ok();
  }
  range = l.image.fileRange();
  Status s = CheckRange(range, l.world.width, l.world.height);
  if (s.ok()) return s;
  return Fail(s.kind, "文件" + Quoted(l.image.name) + "的地图范围（" + RangeText(range) +
                          "）无法原样保存: " + s.message + "世界地图为 " + N(l.world.width) +
                          " × " + N(l.world.height) +
                          "。请用 --range X Y 宽 高 指定要保存的范围。");
}

int Resave(const Loaded& l, const std::string& target, const MapRange* given, std::string& out,
           std::string& err) {
  MapRange range;
  PlacementReport report;
  std::vector<uint8_t> bytes;
  Status s = RangeToSave(l, given, range);
  if (s.ok()) s = CommitScenario(l.image, l.world, range, &report);
  if (s.ok()) s = BuildBattleBytes(bytes);
  if (s.ok()) s = SafeSave(target, bytes.data(), bytes.size());
  if (!s.ok()) {
    err += "错误: " + s.message + "\n";
    return kExitTrouble;
  }
  ReportPlacement(report, err);
  out += "已保存 " + target + "（" + N(int64_t(bytes.size())) + " 字节）\n";
  return kExitOk;
}

}  // namespace

int RunCompanion(const std::vector<std::string>& args, std::string& out, std::string& err) {
  CommandLine line;
  int status = kExitOk;
  if (!ParseCommandLine(args, line, out, err, status)) return status;
  if (line.command == Command::kExport) return Export(line, out, err);
  if (line.command == Command::kImport) return Import(line, out, err);
  if (line.command == Command::kDiff) return Diff(line, out, err);
  if (line.command == Command::kInfo) return Info(line, out, err);

  Loaded loaded;
  Status s = ReadBoth(line.dataDir, line.input, loaded);
  if (!s.ok()) {
    // A script asking for JSON still gets a document saying why.
    if (line.json && line.command == Command::kCheck) out += CheckRefusalJson(line.input, s.message);
    return Refused(s, err);
  }
  switch (line.command) {
    case Command::kCheck:
      return Check(loaded, line, out);
    case Command::kResave:
      return Resave(loaded, line.output, line.hasRange ? &line.range : nullptr, out, err);
    default:
      break;
  }
  return kExitTrouble;
}
