#include "btl/companion.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "base/files.h"
#include "base/version.h"
#include "catalogs/catalogs.h"
#include "problems/problems.h"
#include "catalogs/string_table.h"
#include "btl/command_line.h"
#include "tests/support/battle_fixture.h"
#include "tests/support/temp_folder.h"
#include "tools/demo_data/demo_data.h"

namespace {

// A data folder with a 40 x 30 world map, and a battle file beside it.
struct CompanionFolder {
  TempFolder dir{"btl_test_companion"};
  std::string folder = dir.Utf8();
  std::string data = JoinPath(folder, "数据");
  std::string battle = JoinPath(folder, "a.btl");

  explicit CompanionFolder(const std::vector<uint8_t>& bytes) {
    std::filesystem::create_directories(std::filesystem::u8path(data));
    WriteFileBytes(JoinPath(data, "world.bin"), WorldFileBytes(MakeWorld(40, 30)));
    WriteFileBytes(battle, bytes);
  }

  int Run(std::vector<std::string> args) {
    out.clear();
    err.clear();
    args.insert(args.begin(), {"--data", data});
    return RunCompanion(args, out, err);
  }
  std::string out, err;
};

TEST(Companion, ResaveWithoutEditsGivesTheSameBytes) {
  std::vector<uint8_t> bytes = CleanScenario().bytes();
  CompanionFolder f(bytes);
  std::string target = JoinPath(f.folder, "b.btl");
  ASSERT_EQ(f.Run({"resave", f.battle, target}), 0) << f.err;
  EXPECT_EQ(ReadFileBytes(target), bytes);
  EXPECT_EQ(f.err, "");
}

TEST(Companion, ResaveWithARangeSavesThatRange) {
  CompanionFolder f(CleanScenario().bytes());
  std::string target = JoinPath(f.folder, "c.btl");
  ASSERT_EQ(f.Run({"resave", f.battle, target, "--range", "6", "5", "3", "3"}), 0) << f.err;
  BattleImage image;
  ASSERT_TRUE(ReadBattleFile(target, image).ok());
  EXPECT_EQ(image.layout.header.originX, 6);
  EXPECT_EQ(image.layout.header.rangeWidth, 3);
  EXPECT_NE(f.err.find("警告"), std::string::npos);  // records outside were dropped
  // A range outside the world is refused and writes nothing.
  std::string refused = JoinPath(f.folder, "d.btl");
  EXPECT_EQ(f.Run({"resave", f.battle, refused, "--range", "38", "0", "5", "5"}), kExitTrouble);
  EXPECT_FALSE(FileExists(refused));
}

// Without --range resave keeps the file's own range; one that is empty or leaves the world
// map is refused with the range, the world's size and the way out named, and nothing is
// written. The same file saves with --range, naming what that range drops.
TEST(Companion, ResaveRefusesAFileRangeItCannotKeep) {
  struct Case {
    int32_t x, y, w, h;
    std::string range;
  } cases[] = {
      {5, 4, 0, 5, "起点 (5, 4)，大小 0 × 5"},      // no column
      {5, 4, 6, 0, "起点 (5, 4)，大小 6 × 0"},      // no row
      {36, 4, 6, 5, "起点 (36, 4)，大小 6 × 5"},    // past the right edge
      {5, 27, 6, 5, "起点 (5, 27)，大小 6 × 5"},    // past the bottom
      {-1, 4, 6, 5, "起点 (-1, 4)，大小 6 × 5"},    // left of the world
      {50, 40, 6, 5, "起点 (50, 40)，大小 6 × 5"},  // wholly outside
  };
  for (const Case& c : cases) {
    BattleFixture scenario = CleanScenario();
    scenario.header.originX = c.x;
    scenario.header.originY = c.y;
    scenario.header.rangeWidth = c.w;
    scenario.header.rangeHeight = c.h;
    scenario.owners.assign(size_t(c.w) * c.h, 1);
    CompanionFolder f(scenario.bytes());
    std::string target = JoinPath(f.folder, "b.btl");
    EXPECT_EQ(f.Run({"resave", f.battle, target}), kExitTrouble) << c.range;
    EXPECT_FALSE(FileExists(target)) << c.range;
    EXPECT_NE(f.err.find(c.range), std::string::npos) << f.err;
    EXPECT_NE(f.err.find("40 × 30"), std::string::npos) << f.err;
    EXPECT_NE(f.err.find("--range"), std::string::npos) << f.err;
    EXPECT_EQ(f.out, "");

    ASSERT_EQ(f.Run({"resave", f.battle, target, "--range", "5", "4", "6", "5"}), kExitOk) << f.err;
    BattleImage image;
    ASSERT_TRUE(ReadBattleFile(target, image).ok());
    EXPECT_EQ(image.layout.header.rangeWidth, 6);
    EXPECT_EQ(image.layout.header.originY, 4);
  }
  // Records outside the given range are named as dropped.
  CompanionFolder f(CleanScenario().bytes());
  std::string target = JoinPath(f.folder, "c.btl");
  ASSERT_EQ(f.Run({"resave", f.battle, target, "--range", "5", "4", "2", "2"}), kExitOk) << f.err;
  EXPECT_NE(f.err.find("警告: 2 条建筑记录在地图范围之外"), std::string::npos) << f.err;
  EXPECT_NE(f.err.find("警告: 3 条部队记录在地图范围之外"), std::string::npos) << f.err;
}

TEST(Companion, UnloadableFileIsRefusedAndNothingIsWritten) {
  std::vector<uint8_t> bytes = CleanScenario().bytes();
  bytes.resize(200);
  CompanionFolder f(bytes);
  std::string target = JoinPath(f.folder, "b.btl");
  EXPECT_EQ(f.Run({"resave", f.battle, target}), kExitTrouble);
  EXPECT_NE(f.err.find("a.btl"), std::string::npos) << f.err;
  EXPECT_FALSE(FileExists(target));
  EXPECT_EQ(f.Run({"check", f.battle}), kExitTrouble);
  EXPECT_EQ(f.Run({"info", f.battle}), kExitTrouble);
}

TEST(Companion, CheckListsOddRecordsWithStatusOne) {
  BattleFixture scenario = CleanScenario();
  scenario.units.push_back(MakeUnit(scenario.units[0].position, 5, 5));
  scenario.buildings.push_back(MakeBuilding(0, 4));
  scenario.owners[3] = 77;
  CompanionFolder f(scenario.bytes());
  EXPECT_EQ(f.Run({"check", f.battle}), kExitFindings);
  EXPECT_NE(f.out.find("部队记录 #0 和 #4 在同一格"), std::string::npos) << f.out;
  EXPECT_NE(f.out.find("建筑记录 #3"), std::string::npos) << f.out;
  EXPECT_NE(f.out.find("值 77 不是任何军团"), std::string::npos) << f.out;

  CompanionFolder clean(CleanScenario().bytes());
  EXPECT_EQ(clean.Run({"check", clean.battle}), kExitOk);
  EXPECT_NE(clean.out.find("没有发现问题"), std::string::npos);
}

TEST(Companion, InfoShowsCountsAsStoredAndAsSaved) {
  BattleFixture scenario = CleanScenario();
  scenario.units.push_back(MakeUnit(scenario.units[0].position, 5, 5));
  CompanionFolder f(scenario.bytes());
  ASSERT_EQ(f.Run({"info", f.battle}), 0) << f.err;
  EXPECT_NE(f.out.find("部队 5，将军 2"), std::string::npos) << f.out;
  EXPECT_NE(f.out.find("建筑 3，部队 4"), std::string::npos) << f.out;
  EXPECT_NE(f.out.find("附加数据: 37 字节"), std::string::npos) << f.out;
  EXPECT_NE(f.out.find("#C80A0A"), std::string::npos) << f.out;
}

TEST(Companion, HelpAndBadCommandLines) {
  std::string out, err;
  EXPECT_EQ(RunCompanion({"--help"}, out, err), 0);
  EXPECT_NE(out.find("resave"), std::string::npos);
  EXPECT_EQ(RunCompanion({}, out, err), 2);
  EXPECT_EQ(RunCompanion({"frobnicate", "x"}, out, err), 2);
  EXPECT_EQ(RunCompanion({"resave", "a", "b", "--range", "1", "2", "x", "4"}, out, err), 2);
}

// Each command's own help names its arguments; the version is the program's one version.
TEST(CommandLine, HelpForEachCommandAndTheVersion) {
  struct Case {
    std::vector<std::string> args;
    std::string mentions;
  } cases[] = {
      {{"--help"}, "resave"},
      {{"-h"}, "info"},
      {{"info", "--help"}, "用法: btl info"},
      {{"check", "-h"}, "用法: btl check"},
      {{"resave", "--help"}, "--range"},
      {{"--data", "d", "resave", "--help"}, "用法: btl resave"},
      {{"--version"}, std::string("btl ") + kProgramVersion + "\n"},
  };
  for (const Case& c : cases) {
    std::string out, err;
    EXPECT_EQ(RunCompanion(c.args, out, err), kExitOk) << c.args[0];
    EXPECT_NE(out.find(c.mentions), std::string::npos) << c.args[0] << "\n" << out;
    EXPECT_EQ(err, "");
  }
}

// A wrong line is refused with status 2, a Chinese sentence saying what is wrong and where
// to find the usage, and nothing on standard output.
TEST(CommandLine, WrongLinesAreRefusedWithStatusTwo) {
  struct Case {
    std::vector<std::string> args;
    std::string says;
  } cases[] = {
      {{}, "缺少命令"},
      {{"frobnicate", "x"}, "没有名为 frobnicate 的命令"},
      {{"info"}, "缺少命令或参数"},
      {{"check", "a.btl", "b.btl"}, "多余的参数"},
      {{"resave", "a.btl"}, "缺少命令或参数"},
      {{"resave", "a", "b", "--range", "1", "2", "3"}, "参数个数不对"},
      {{"resave", "a", "b", "--range", "1", "2", "x", "4"}, "不是所需的整数"},
      {{"info", "a.btl", "--data"}, "参数个数不对"},
      {{"info", "a.btl", "--colour"}, "多余的参数"},
      // Extra words named in the order they were given.
      {{"info", "a.btl", "b", "c", "d"}, "多余的参数: b c d。"},
      {{"resave", "a", "b", "x", "y", "--range", "1", "2", "3", "4"}, "多余的参数: x y。"},
  };
  for (const Case& c : cases) {
    std::string out, err;
    std::string line = c.args.empty() ? "(empty)" : c.args[0];
    EXPECT_EQ(RunCompanion(c.args, out, err), kExitTrouble) << line;
    EXPECT_EQ(err.rfind("错误: ", 0), 0u) << err;
    EXPECT_NE(err.find(c.says), std::string::npos) << line << "\n" << err;
    EXPECT_NE(err.find("--help"), std::string::npos) << err;
    EXPECT_EQ(out, "") << line;
  }
}

// --data may stand before the command, after it or between its arguments.
TEST(CommandLine, DataFolderAnywhereOnTheLine) {
  CompanionFolder f(CleanScenario().bytes());
  std::string target = JoinPath(f.folder, "b.btl");
  for (std::vector<std::string> args :
       {std::vector<std::string>{"--data", f.data, "resave", f.battle, target},
        {"resave", "--data", f.data, f.battle, target},
        {"resave", f.battle, "--data", f.data, target},
        {"resave", f.battle, target, "--data", f.data}}) {
    std::string out, err;
    std::filesystem::remove(std::filesystem::u8path(target));
    EXPECT_EQ(RunCompanion(args, out, err), kExitOk) << err;
    EXPECT_TRUE(FileExists(target));
  }
  // Without it the world map is looked for under the current folder, where there is none.
  std::string out, err;
  EXPECT_EQ(RunCompanion({"check", f.battle}, out, err), kExitTrouble);
  EXPECT_NE(err.find("world.bin"), std::string::npos) << err;
}

// Faults a new user met: an empty output name, a folder as import's input, a document that
// does not parse, info without the world map.
TEST(Companion, RefusalsSayWhatIsWrong) {
  CompanionFolder f(CleanScenario().bytes());
  const std::string json = JoinPath(f.folder, "a.json"), target = JoinPath(f.folder, "b.btl");
  ASSERT_EQ(f.Run({"export", f.battle, json}), kExitOk) << f.err;
  const struct {
    std::vector<std::string> args;
    std::string says;
  } cases[] = {
      {{"resave", f.battle, ""}, "输出文件名为空"},
      {{"import", json, ""}, "输出文件名为空"},
      {{"new", "", "--range", "1", "1", "2", "2"}, "输出文件名为空"},
      {{"render", f.battle, ""}, "输出文件名为空"},
      {{"import", f.folder, target}, "是一个文件夹，不是 JSON 文件"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(f.Run(c.args), kExitTrouble) << c.says;
    EXPECT_NE(f.err.find(c.says), std::string::npos) << f.err;
    EXPECT_EQ(f.err.find("替换"), std::string::npos) << f.err;
  }
  EXPECT_FALSE(FileExists(target));

  // A document cut or broken: the JSON path where the parser stopped, the reason in Chinese.
  std::string text;
  ASSERT_TRUE(ReadWholeFile(json, text));
  const size_t units = text.find("\"units\"");
  ASSERT_NE(units, std::string::npos);
  const size_t firstClose = text.find('}', units);
  const struct {
    std::string document;
    std::string says;
  } broken[] = {
      {text.substr(0, firstClose) + " x" + text.substr(firstClose),
       "units[0]: 不是有效的 JSON: 对象中缺少逗号或右花括号"},
      {"", "第 1 行: 不是有效的 JSON: 文件是空的"},
      {text + "{}", "不是有效的 JSON: 文档结束后还有内容"},
  };
  for (const auto& b : broken) {
    WriteFileBytes(json, std::vector<uint8_t>(b.document.begin(), b.document.end()));
    EXPECT_EQ(f.Run({"import", json, target}), kExitTrouble);
    EXPECT_NE(f.err.find(b.says), std::string::npos) << f.err;
    EXPECT_EQ(f.err.find("Missing"), std::string::npos) << f.err;
  }

  // The refusal of a range leaving the world names the world's size once.
  BattleFixture leaving = CleanScenario();
  leaving.header.originX = 36;
  const std::string leavingFile = JoinPath(f.folder, "leaving.btl");
  WriteFileBytes(leavingFile, leaving.bytes());
  EXPECT_EQ(f.Run({"resave", leavingFile, target}), kExitTrouble);
  const size_t size = f.err.find("40 × 30");
  ASSERT_NE(size, std::string::npos) << f.err;
  EXPECT_EQ(f.err.find("40 × 30", size + 1), std::string::npos) << f.err;

  // info needs the world map only for what a save keeps, and says so.
  std::filesystem::remove(std::filesystem::u8path(JoinPath(f.data, "world.bin")));
  ASSERT_EQ(f.Run({"info", f.battle}), kExitOk) << f.err;
  EXPECT_NE(f.out.find("世界地图: 没有读到"), std::string::npos) << f.out;
  EXPECT_NE(f.out.find("记录数（保存时）: （没有世界地图，未计算）"), std::string::npos) << f.out;
  ASSERT_EQ(f.Run({"info", "--json", f.battle}), kExitOk) << f.err;
  EXPECT_NE(f.out.find("\"world\": null"), std::string::npos) << f.out;
}

}  // namespace

// With the game data in the data folder, check prints the editor's problem report from the
// same finder: every row the finder gives for the scenario as the editor loads it stands in
// the output once, and an owner of no team is not named a second time by the file's own
// findings. Without the catalogs none of those rows appear.
TEST(Companion, CheckWithTheGameDataPrintsTheProblemReportsRows) {
  std::vector<DemoFile> files;
  ASSERT_EQ(MakeDemoFiles(files), "");
  TempFolder dir{"btl_test_check_data"};
  for (const DemoFile& f : files)
    if (!f.path.ends_with(".png")) dir.Write(f.path, f.bytes);
  const std::string data = dir.File("数据"), messy = dir.File("demo_messy.btl");
  std::string out, err;
  ASSERT_EQ(RunCompanion({"--data", data, "check", messy}, out, err), kExitFindings) << err;

  BattleImage image;
  WorldImage world;
  ASSERT_TRUE(ReadBattleFile(messy, image).ok());
  ASSERT_TRUE(ReadWorldMapFile(JoinPath(data, "world.bin"), world).ok());
  ASSERT_TRUE(CommitScenario(image, world, image.fileRange(), nullptr).ok());
  const std::vector<ScenarioProblem> problems = FindScenarioProblems();
  ASSERT_FALSE(problems.empty());
  for (const ScenarioProblem& p : problems) {
    const std::string row = "  " + ProblemRow(p) + "\n";
    size_t at = out.find(row);
    EXPECT_NE(at, std::string::npos) << row << out;
    EXPECT_EQ(out.find(row, at + 1), std::string::npos) << row;
  }
  EXPECT_EQ(out.find("不是任何军团"), out.rfind("不是任何军团")) << out;

  ResetCatalogs();
  ResetStringTable();

  TempFolder bare{"btl_test_check_bare"};
  for (const DemoFile& f : files)
    if (f.path.ends_with("world.bin")) bare.Write(f.path, f.bytes);
  out.clear();
  ASSERT_EQ(RunCompanion({"--data", bare.File("数据"), "check", messy}, out, err), kExitFindings)
      << err;
  EXPECT_EQ(out.find("全局 ("), std::string::npos) << out;
  EXPECT_NE(out.find("不是任何军团"), std::string::npos) << out;
}
