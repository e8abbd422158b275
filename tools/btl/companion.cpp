#include "tools/btl/companion.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>

#include "base/config.h"
#include "base/files.h"
#include "base/text.h"
#include "catalogs/catalogs.h"
#include "catalogs/scenario_problems.h"
#include "catalogs/string_table.h"
#include "scenario/safe_save.h"
#include "tools/btl/command_line.h"
#include "tools/btl/diff.h"
#include "tools/btl/export_json.h"
#include "tools/btl/import_json.h"

namespace {

std::string N(int64_t v) { return std::to_string(v); }

std::string Hex(const uint8_t* p, size_t n) {
  std::string s;
  char buf[4];
  for (size_t i = 0; i < n; ++i) {
    snprintf(buf, sizeof buf, "%02X", p[i]);
    if (i) s += ' ';
    s += buf;
  }
  return s;
}

std::string Colour(const TeamRecord& t) {
  char buf[32];
  snprintf(buf, sizeof buf, "#%02X%02X%02X (alpha %u)", t.fileColour[0], t.fileColour[1],
           t.fileColour[2], t.fileColour[3]);
  return buf;
}

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
  line(r.ownersNamingNoTeam, "个归属格指向不存在的队伍（原样保存）");
}

int Info(const Loaded& l, const std::string& path, std::string& out) {
  const BattleImage& im = l.image;
  const BtlHeader& h = im.header;
  out += "文件: " + path + "（" + N(int64_t(im.bytes.size())) + " 字节）\n";
  out += "文件头保留字节 0-7: " + Hex(h.keep0, 8) + "\n";
  out += "地图范围: 起点 (" + N(h.originX) + ", " + N(h.originY) + ")，大小 " + N(h.rangeWidth) +
         " × " + N(h.rangeHeight) + "\n";
  out += "世界地图: " + N(l.world.width) + " × " + N(l.world.height) + "\n";

  std::string saved = "（文件的范围无法载入，未计算）";
  MapRange range = InitialRange(im.fileRange(), l.world);
  if (CommitScenario(im, l.world, range).ok())
    saved = "建筑 " + N(CountBuildings()) + "，部队 " + N(CountUnits());
  out += "记录数（文件中）: 队伍 " + N(h.teamCount) + "，建筑 " + N(h.buildingCount) + "，部队 " +
         N(h.unitCount) + "，将领 " + N(h.generalCount) + "\n";
  out += "记录数（保存时）: " + saved + "\n";

  out += "队伍:\n";
  for (int i = 0; i < h.teamCount; ++i) {
    TeamRecord t{};
    memcpy(&t, im.bytes.data() + im.teamsAt + size_t(i) * kTeamFileBytes, kTeamFileBytes);
    out += "  " + N(i) + "  国家 " + N(t.country) + "  金钱 " + N(t.money) + "  颜色 " + Colour(t) +
           "\n";
  }
  out += "将领:\n";
  for (int i = 0; i < h.generalCount; ++i) {
    GeneralEntry g;
    memcpy(&g, im.bytes.data() + im.generalsAt + size_t(i) * sizeof g, sizeof g);
    out += "  " + N(i) + "  将领 " + N(g.commander) + "  军衔 " + N(g.rank) + "\n";
  }
  out += "附加数据: " + N(int64_t(im.tailSize())) + " 字节（从第 " + N(int64_t(im.tailAt)) +
         " 字节起）\n";
  return 0;
}

// The catalogs and the string table of the data folder, for the problems judged against
// them. False when none of the catalogs is there: the companion then checks the file alone.
bool LoadGameTables(const std::string& dataDir) {
  auto in = [&](const char* name) { return dataDir.empty() ? DataPath(name) : JoinPath(dataDir, name); };
  ResetCatalogs();
  ResetStringTable();
  bool any = LoadRankCatalog(in("RankSettings.json")).opened;
  any |= LoadArmyCatalog(in("ArmySettings.json")).opened;
  any |= LoadBuildingCatalog(in("BuildingSettings.json")).opened;
  any |= LoadCommanderCatalog(in("CommanderSettings.json"), nullptr).opened;
  any |= LoadCountryCatalog(in("CountrySettings.json")).opened;
  std::string table = Utf8FromGbk(ConfigString(in("配置.ini"), kConfigLanguageFile, "stringtable_cn.ini"));
  load_string_table(in(table.c_str()));
  return any;
}

// The editor's problem report on the scenario as the editor would load it with the file's
// own range: the same finder, so the two always agree. Empty when the range cannot be placed
// (the file-level findings say why).
std::vector<std::string> ScenarioProblemLines(const Loaded& l) {
  std::vector<std::string> lines;
  const MapRange range = l.image.fileRange();
  if (!CheckRange(range, l.world.width, l.world.height).ok()) return lines;
  if (!CommitScenario(l.image, l.world, range, nullptr).ok()) return lines;
  for (const ScenarioProblem& p : FindScenarioProblems()) lines.push_back(ProblemRow(p));
  return lines;
}

int Check(const Loaded& l, const std::string& dataDir, const std::string& path, std::string& out) {
  const bool tables = LoadGameTables(dataDir);
  // With the game data the finder names owners of no team, by global hex.
  std::vector<std::string> problems = FindProblems(l.image, l.world, !tables);
  if (tables) {
    std::vector<std::string> more = ScenarioProblemLines(l);
    problems.insert(problems.end(), more.begin(), more.end());
  }
  if (problems.empty()) {
    out += path + ": 载入正常，没有发现问题。\n";
    return 0;
  }
  out += path + ": 可以载入，但有 " + N(int64_t(problems.size())) + " 处值得注意:\n";
  for (const std::string& p : problems) out += "  " + p + "\n";
  return 0;
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

std::vector<std::string> FindProblems(const BattleImage& im, const WorldImage& world, bool owners) {
  std::vector<std::string> lines;
  const MapRange r = im.fileRange();
  const int32_t ww = world.width;
  auto where = [&](uint16_t p) {
    return "位置 " + N(p) + "（列 " + N(p % ww) + "，行 " + N(p / ww) + "）";
  };
  auto inside = [&](uint16_t p) {
    int64_t x = p % ww - int64_t(r.originX), y = p / ww - int64_t(r.originY);
    return x >= 0 && y >= 0 && x < r.width && y < r.height;
  };
  std::map<uint16_t, int> buildingAt, unitAt;
  for (int i = 0; i < im.header.buildingCount; ++i) {
    uint16_t p = im.building(i).position;
    if (!inside(p))
      lines.push_back("建筑记录 #" + N(i) + " 的" + where(p) + "在地图范围之外");
    else if (buildingAt.count(p))
      lines.push_back("建筑记录 #" + N(buildingAt[p]) + " 和 #" + N(i) + " 在同一格" + where(p) +
                      "，只有后者会保留");
    buildingAt[p] = i;
  }
  for (int i = 0; i < im.header.unitCount; ++i) {
    uint16_t p = im.unit(i).position;
    if (!inside(p))
      lines.push_back("部队记录 #" + N(i) + " 的" + where(p) + "在地图范围之外");
    else if (unitAt.count(p))
      lines.push_back("部队记录 #" + N(unitAt[p]) + " 和 #" + N(i) + " 在同一格" + where(p) +
                      "，只有后者会保留");
    unitAt[p] = i;
  }
  if (!RangeFitsPositions(r, ww))
    lines.push_back("地图范围含有编号 65536 及以上的格子，16 位位置无法表示它们；"
                    "编辑器要求缩小范围后才能保存");
  if (r.originX < 0 || r.originY < 0 || int64_t(r.originX) + r.width > world.width ||
      int64_t(r.originY) + r.height > world.height)
    lines.push_back("地图范围超出了世界地图（" + N(world.width) + " × " + N(world.height) +
                    "），载入时会缩到世界地图之内");
  for (int y = 0; owners && y < r.height; ++y)
    for (int x = 0; x < r.width; ++x) {
      uint8_t owner = im.owner(x, y);
      if (owner != kUnownedTeam && owner >= im.header.teamCount)
        lines.push_back("归属地图第 " + N(y) + " 行第 " + N(x) + " 列的值 " + N(owner) +
                        " 不是任何队伍（共 " + N(im.header.teamCount) + " 支队伍）");
    }
  return lines;
}

int RunCompanion(const std::vector<std::string>& args, std::string& out, std::string& err) {
  CommandLine line;
  int status = kExitOk;
  if (!ParseCommandLine(args, line, out, err, status)) return status;
  if (line.command == Command::kExport) return Export(line, out, err);
  if (line.command == Command::kImport) return Import(line, out, err);
  if (line.command == Command::kDiff) return Diff(line, out, err);

  Loaded loaded;
  Status s = ReadBoth(line.dataDir, line.input, loaded);
  if (!s.ok()) {
    err += "错误: " + s.message + "\n";
    return kExitTrouble;
  }
  switch (line.command) {
    case Command::kInfo:
      return Info(loaded, line.input, out);
    case Command::kCheck:
      return Check(loaded, line.dataDir, line.input, out);
    case Command::kResave:
      return Resave(loaded, line.output, line.hasRange ? &line.range : nullptr, out, err);
    default:
      break;
  }
  return kExitTrouble;
}
