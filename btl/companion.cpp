#include "btl/companion.h"

#include <cstring>

#include "base/files.h"
#include "base/text.h"
#include "catalogs/catalogs.h"
#include "scenario/battle_place.h"
#include "scenario/battle_read.h"
#include "scenario/battle_summary.h"
#include "scenario/battle_write.h"
#include "scenario/safe_save.h"
#include "btl/check.h"
#include "btl/command_line.h"
#include "btl/diff.h"
#include "btl/export_json.h"
#include "btl/import_json.h"
#include "btl/info.h"
#include "btl/merge.h"
#include "btl/names.h"
#include "btl/render.h"

namespace {

std::string N(int64_t v) { return std::to_string(v); }

struct Loaded {
  BattleImage image;
  WorldImage world;
};

std::string WorldPathIn(const std::string& dataDir) {
  return dataDir.empty() ? WorldMapPath() : JoinPath(dataDir, "world.bin");
}

// The name "-" stands for standard input, so that other programs can pipe a file in.
constexpr char kStandardStream[] = "-";
const char kStandardInputName[] = "标准输入";

Status ReadInput(const std::string& path, const InputReader& readInput, BattleImage& image) {
  if (path != kStandardStream) return ReadBattleFile(path, image);
  std::vector<uint8_t> bytes;
  if (!readInput || !readInput(bytes)) return Fail(FailureKind::kCannotOpen, "无法读取标准输入。");
  return ParseBattleFile(std::move(bytes), kStandardInputName, image);
}

Status ReadBoth(const std::string& dataDir, const std::string& path, const InputReader& readInput,
                Loaded& loaded) {
  Status s = ReadInput(path, readInput, loaded.image);
  if (!s.ok()) return s;
  return ReadWorldMapFile(WorldPathIn(dataDir), loaded.world);
}

int Refused(const Status& s, std::string& err) {
  err += "错误: " + s.message + "\n";
  return kExitTrouble;
}

// The whole file as JSON, in file order. The world map only adds each record's column and
// row, so a file exports without it.
// Without an output file (or with "-") the text goes to standard output, as a program that
// converts files for reading (git's textconv) calls it; the hint about the world map is
// then left out, since such a program shows what goes to standard error on every call.
int Export(const CommandLine& line, const InputReader& readInput, std::string& out,
           std::string& err) {
  BattleImage image;
  Status s = ReadInput(line.input, readInput, image);
  if (!s.ok()) return Refused(s, err);
  const bool toStandardOutput = line.output.empty() || line.output == kStandardStream;
  WorldImage world;
  if (!ReadWorldMapFile(WorldPathIn(line.dataDir), world).ok()) {
    world.width = 0;
    if (!toStandardOutput) err += "提示: 没有读到世界地图，导出的记录不带列和行。\n";
  }
  if (toStandardOutput) {
    out += ExportJson(image, world.width);
    return kExitOk;
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
int Info(const CommandLine& line, const InputReader& readInput, std::string& out,
         std::string& err) {
  BattleSummary summary;
  WorldImage world;
  Status s;
  if (line.input == kStandardStream) {
    BattleImage image;
    s = ReadInput(line.input, readInput, image);
    if (s.ok()) SummariseBattleImage(image, summary);
  } else {
    s = SummariseBattleFile(line.input, summary);
  }
  // The world map only tells what a save would keep; info goes on without it.
  if (s.ok() && !ReadWorldMapFile(WorldPathIn(line.dataDir), world).ok()) world = WorldImage{};
  if (!s.ok()) {
    // A script asking for JSON gets a document saying why, as from check.
    if (line.json) out += CheckRefusalJson(line.input, s.message);
    return Refused(s, err);
  }
  LoadGameTables(line.dataDir);
  if (line.json)
    out += InfoJson(summary, world, line.input);
  else
    AddInfoText(summary, world, line.input, out);
  return kExitOk;
}

// Without the catalogs in the data folder the check looks at the file alone; without one of
// them it leaves out what that one decides.
int Check(const Loaded& l, const CommandLine& line, std::string& out) {
  const GameData data = LoadGameTables(line.dataDir);
  const CheckReport report = CheckBattleFile(l.image, l.world, data, line.all);
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
  // The sentence of a range outside the world already gives the world's size.
  const std::string world =
      s.kind == FailureKind::kOutsideWorld
          ? std::string()
          : "世界地图为 " + N(l.world.width) + " × " + N(l.world.height) + "。";
  return Fail(s.kind, "文件" + Quoted(l.image.name) + "的地图范围（" + RangeText(range) +
                          "）无法原样保存: " + s.message + world +
                          "请用 --range X Y 宽 高 指定要保存的范围。");
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

// Three files combined; OUT is written, conflicts or not, unless they cannot be combined.
int Merge(const CommandLine& line, std::string& out, std::string& err) {
  BattleImage base, ours, theirs;
  Status s = ReadBattleFile(line.input, base);
  if (s.ok()) s = ReadBattleFile(line.ours, ours);
  if (s.ok()) s = ReadBattleFile(line.theirs, theirs);
  if (!s.ok()) return Refused(s, err);
  MergeOptions options;
  options.prefer = line.preferTheirs ? MergeSide::kTheirs : MergeSide::kOurs;
  WorldImage world;
  if (ReadWorldMapFile(WorldPathIn(line.dataDir), world).ok()) options.worldWidth = world.width;
  LoadGameTables(line.dataDir);
  MergeResult result;
  s = MergeBattleFiles(base, ours, theirs, options, result);
  if (s.ok()) s = SafeSave(line.output, result.bytes.data(), result.bytes.size());
  if (!s.ok()) return Refused(s, err);
  if (result.conflicts.empty()) {
    out += "已合并到 " + line.output + "（" + N(int64_t(result.bytes.size())) +
           " 字节），没有冲突。\n";
    return kExitOk;
  }
  const char* side = line.preferTheirs ? "对方" : "我方";
  out += "合并到 " + line.output + "，有 " + N(int64_t(result.conflicts.size())) + " 处冲突（取" +
         side + "的值）:\n";
  for (const std::string& c : result.conflicts) out += "  " + c + "\n";
  return line.preferGiven ? kExitOk : kExitFindings;
}

// A country of --teams: its Id, or its name in the string table.
bool CountryOf(const std::string& word, int32_t& country) {
  if (!word.empty() && word.find_first_not_of("0123456789") == std::string::npos &&
      word.size() < 10) {
    country = int32_t(std::stol(word));
    return true;
  }
  for (int i = 0; i < g_catalogs.CountryCount; ++i)
    if (CountryName(g_catalogs.CountryIds[i]) == word) {
      country = g_catalogs.CountryIds[i];
      return true;
    }
  return false;
}

bool KnownCountry(int32_t country) {
  for (int i = 0; i < g_catalogs.CountryCount; ++i)
    if (g_catalogs.CountryIds[i] == country) return true;
  return false;
}

// Team colours, 0x00BBGGRR: a few strong ones, then hues around the wheel; all distinct and
// none white (the colour of hexes nobody owns).
uint32_t TeamColour(int i) {
  static const uint32_t kFirst[] = {0x0000CC, 0xCC6600, 0x00AA00, 0x00CCCC,
                                    0xCC00CC, 0xCCCC00, 0x0066FF, 0x663399};
  if (i < 8) return kFirst[i];
  // Beyond them: the index spread over red and green, blue marking the round.
  const uint32_t red = uint32_t(i * 53 % 200), green = uint32_t(i * 97 % 200), blue = uint32_t(i);
  return red | green << 8 | blue << 16;
}

Status BlankTeams(const std::string& list, bool catalogs, std::vector<int32_t>& countries) {
  if (list.empty()) return Ok();
  size_t at = 0;
  while (at <= list.size()) {
    size_t comma = list.find(',', at);
    std::string word = list.substr(at, comma == std::string::npos ? std::string::npos : comma - at);
    int32_t country = 0;
    if (!CountryOf(word, country))
      return Fail(FailureKind::kBadValue, "--teams 中的" + Quoted(word) + "不是国家的编号或名称。");
    if (catalogs && !KnownCountry(country))
      return Fail(FailureKind::kBadValue, "国家目录中没有编号为 " + N(country) + " 的国家。");
    countries.push_back(country);
    if (countries.size() > size_t(kMaxTeams))
      return Fail(FailureKind::kBadValue, "军团最多 " + N(kMaxTeams) + " 个。");
    if (comma == std::string::npos) break;
    at = comma + 1;
  }
  return Ok();
}

// A blank scenario, made as the editor saves one: the file is laid out, placed into the world
// record and written by the same save, so that opening and saving it gives its bytes back.
int New(const CommandLine& line, std::string& out, std::string& err) {
  WorldImage world;
  Status s = ReadWorldMapFile(WorldPathIn(line.dataDir), world);
  if (s.ok()) s = CheckRange(line.range, world.width, world.height);
  // Countries are checked against their catalog only when it could be read whole.
  const bool catalogs = s.ok() && LoadGameTables(line.dataDir).usable(DataFile::kCountries);
  std::vector<int32_t> countries;
  if (s.ok()) s = BlankTeams(line.teams, catalogs, countries);
  if (!s.ok()) return Refused(s, err);

  BtlHeader h{};
  h.originX = line.range.originX;
  h.originY = line.range.originY;
  h.rangeWidth = line.range.width;
  h.rangeHeight = line.range.height;
  h.teamCount = int32_t(countries.size());
  std::vector<uint8_t> bytes(kHeaderBytes + countries.size() * kTeamFileBytes, 0);
  memcpy(bytes.data(), &h, sizeof h);
  for (size_t i = 0; i < countries.size(); ++i) {
    TeamRecord t{};
    t.teamNumber = int32_t(i);
    t.country = countries[i];
    const uint32_t colour = TeamColour(int(i));
    t.fileColour[0] = colour & 0xFF;
    t.fileColour[1] = (colour >> 8) & 0xFF;
    t.fileColour[2] = (colour >> 16) & 0xFF;
    t.fileColour[3] = 255;
    memcpy(bytes.data() + kHeaderBytes + i * kTeamFileBytes, &t, kTeamFileBytes);
  }
  bytes.insert(bytes.end(), size_t(h.rangeWidth) * size_t(h.rangeHeight), uint8_t(kUnownedTeam));
  BattleImage image;
  std::vector<uint8_t> saved;
  s = ParseBattleFile(std::move(bytes), line.output, image);
  if (s.ok()) s = CommitScenario(image, world, line.range);
  if (s.ok()) s = BuildBattleBytes(saved);
  if (s.ok()) s = SafeSave(line.output, saved.data(), saved.size());
  if (!s.ok()) return Refused(s, err);
  out += "已新建 " + line.output + "（" + RangeText(line.range) + "，" + N(h.teamCount) +
         " 个军团，" + N(int64_t(saved.size())) + " 字节）\n";
  return kExitOk;
}

// The picture folder "图片" sits beside the data folder "数据" in the game's folder.
std::string PictureFolderFor(const std::string& dataDir) {
  if (dataDir.empty()) return "图片";
  std::string folder = dataDir;
  while (folder.size() > 1 && (folder.back() == '/' || folder.back() == '\\')) folder.pop_back();
  const size_t cut = folder.find_last_of("/\\");
  if (cut == std::string::npos) return "图片";
  return JoinPath(folder.substr(0, cut == 0 ? 1 : cut), "图片");
}

// The scenario drawn as the map view draws it, written through the safe save; with --diff,
// the status says whether any hex differs.
int Render(const CommandLine& line, std::string& out, std::string& err) {
  BattleImage scenario, other;
  WorldImage world;
  const bool diff = !line.other.empty();
  Status s = ReadBattleFile(line.input, scenario);
  if (s.ok() && diff) s = ReadBattleFile(line.other, other);
  if (s.ok()) s = ReadWorldMapFile(WorldPathIn(line.dataDir), world);
  if (!s.ok()) return Refused(s, err);
  LoadGameTables(line.dataDir);
  RenderOptions options;
  options.hex = line.hex;
  options.hasRange = line.hasRange;
  options.range = line.range;
  options.pictureFolder = PictureFolderFor(line.dataDir);
  options.fontPath = line.font;
  options.otherName = FileNameOf(line.other);
  RenderResult result;
  s = RenderScenario(scenario, diff ? &other : nullptr, world, options, result);
  if (s.ok()) s = SafeSave(line.output, result.png.data(), result.png.size());
  if (!s.ok()) return Refused(s, err);
  for (const std::string& notice : result.notices) err += "提示: " + notice + "\n";
  out += "已画出 " + line.output + "（" + RangeText(result.range) + "，每格 " + N(result.hex) +
         " 像素，" + N(result.width) + " × " + N(result.height) + " 像素，" +
         N(int64_t(result.png.size())) + " 字节）\n";
  if (!diff) return kExitOk;
  if (result.changedHexes == 0) {
    out += "与 " + line.other + " 相比没有不同的格。\n";
    return kExitOk;
  }
  out += "与 " + line.other + " 相比有 " + N(result.changedHexes) + " 格不同（黄框标出）。\n";
  return kExitFindings;
}

}  // namespace

int RunCompanion(const std::vector<std::string>& args, std::string& out, std::string& err,
                 const InputReader& readInput) {
  CommandLine line;
  int status = kExitOk;
  if (!ParseCommandLine(args, line, out, err, status)) return status;
  const bool writes = line.command == Command::kResave || line.command == Command::kImport ||
                      line.command == Command::kMerge || line.command == Command::kNew ||
                      line.command == Command::kRender;
  if (writes && line.output.empty()) {
    err += "错误: 输出文件名为空。\n";
    return kExitTrouble;
  }
  if (line.command == Command::kExport) return Export(line, readInput, out, err);
  if (line.command == Command::kImport) return Import(line, out, err);
  if (line.command == Command::kDiff) return Diff(line, out, err);
  if (line.command == Command::kInfo) return Info(line, readInput, out, err);
  if (line.command == Command::kMerge) return Merge(line, out, err);
  if (line.command == Command::kNew) return New(line, out, err);
  if (line.command == Command::kRender) return Render(line, out, err);

  Loaded loaded;
  Status s = ReadBoth(line.dataDir, line.input, readInput, loaded);
  if (!s.ok()) {
    // A script asking for JSON still gets a document saying why.
    if (line.json && line.command == Command::kCheck)
      out += CheckRefusalJson(line.input, s.message);
    return Refused(s, err);
  }
  switch (line.command) {
    case Command::kCheck: return Check(loaded, line, out);
    case Command::kResave:
      return Resave(loaded, line.output, line.hasRange ? &line.range : nullptr, out, err);
    default: break;
  }
  return kExitTrouble;
}
