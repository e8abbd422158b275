// The companion's commands for version control and new files: merge, new, export to standard
// output and "-" as standard input.
#include <gtest/gtest.h>

#include <filesystem>

#include "base/files.h"
#include "catalogs/catalogs.h"
#include "catalogs/string_table.h"
#include "tests/support/battle_fixture.h"
#include "tests/support/temp_folder.h"
#include "btl/companion.h"
#include "btl/export_json.h"
#include "scenario/field_text.h"
#include "tools/demo_data/demo_data.h"

namespace {

// The demo data (world map, catalogs, string table) in a folder of its own.
struct DemoFolder {
  TempFolder dir{"btl_test_vcs"};
  std::string data = dir.File("数据");
  std::string out, err;

  DemoFolder() {
    std::vector<DemoFile> files;
    EXPECT_EQ(MakeDemoFiles(files), "");
    for (const DemoFile& f : files)
      if (!f.path.ends_with(".png")) dir.Write(f.path, f.bytes);
  }
  ~DemoFolder() {
    ResetCatalogs();
    ResetStringTable();
  }
  std::string File(const std::string& name) const { return dir.File(name); }
  int Run(std::vector<std::string> args, const InputReader& input = nullptr) {
    out.clear();
    err.clear();
    args.insert(args.begin(), {"--data", data});
    return RunCompanion(args, out, err, input);
  }
};

InputReader Giving(const std::vector<uint8_t>& bytes) {
  return [bytes](std::vector<uint8_t>& into) {
    into = bytes;
    return true;
  };
}

TEST(CompanionMerge, StatusesOutputAndNothingWrittenOnTrouble) {
  DemoFolder f;
  const BattleFixture base = CleanScenario();
  BattleFixture ours = base, theirs = base;
  ours.teams[0].money = 1;
  theirs.teams[1].money = 2;
  const std::string b = f.File("base.btl"), o = f.File("ours.btl"), t = f.File("theirs.btl"),
                    out = f.File("out.btl");
  WriteFileBytes(b, base.bytes());
  WriteFileBytes(o, ours.bytes());
  WriteFileBytes(t, theirs.bytes());
  ASSERT_EQ(f.Run({"merge", b, o, t, "-o", out}), kExitOk) << f.err;
  BattleFixture both = ours;
  both.teams[1].money = 2;
  EXPECT_EQ(ReadFileBytes(out), both.bytes());
  EXPECT_NE(f.out.find("没有冲突"), std::string::npos) << f.out;

  // A conflict: ours kept, status 1; with --prefer theirs, theirs kept and status 0.
  theirs.teams[0].money = 3;
  WriteFileBytes(t, theirs.bytes());
  EXPECT_EQ(f.Run({"merge", b, o, t, "-o", out}), kExitFindings) << f.err;
  EXPECT_NE(f.out.find("1 处冲突"), std::string::npos) << f.out;
  EXPECT_NE(f.out.find("军团 0"), std::string::npos) << f.out;
  EXPECT_EQ(ReadFileBytes(out), both.bytes());
  EXPECT_EQ(f.Run({"merge", b, o, t, "-o", out, "--prefer", "theirs"}), kExitOk) << f.err;
  both.teams[0].money = 3;
  EXPECT_EQ(ReadFileBytes(out), both.bytes());

  // Trouble: a file that cannot load, ranges that differ, a side that is no side.
  const std::string none = f.File("none.btl");
  BattleFixture moved = theirs;
  moved.header.originX = 7;
  WriteFileBytes(t, moved.bytes());
  EXPECT_EQ(f.Run({"merge", b, o, t, "-o", none}), kExitTrouble);
  EXPECT_NE(f.err.find("地图范围"), std::string::npos) << f.err;
  EXPECT_EQ(f.Run({"merge", b, f.File("missing.btl"), t, "-o", none}), kExitTrouble);
  EXPECT_EQ(f.Run({"merge", b, o, t, "-o", none, "--prefer", "mine"}), kExitTrouble);
  EXPECT_FALSE(FileExists(none));
}

// export without an output (or "-") writes the same text as to a file, to standard output
// and with nothing on standard error; info, check and export read "-" as standard input.
TEST(CompanionStandardStreams, ExportToStandardOutputAndDashAsStandardInput) {
  DemoFolder f;
  const std::vector<uint8_t>& bytes = DemoBattleBytes("demo_messy");
  const std::string file = f.File("demo_messy.btl"), json = f.File("messy.json");
  WriteFileBytes(file, bytes);
  ASSERT_EQ(f.Run({"export", file, json}), kExitOk) << f.err;
  std::string written;
  ASSERT_TRUE(ReadWholeFile(json, written));
  for (std::vector<std::string> args : {std::vector<std::string>{"export", file},
                                        {"export", file, "-"},
                                        {"export", "-"},
                                        {"export", "-", "-"}}) {
    SCOPED_TRACE(args.back());
    ASSERT_EQ(f.Run(args, Giving(bytes)), kExitOk) << f.err;
    EXPECT_TRUE(f.out == written);
    EXPECT_EQ(f.err, "");
  }
  for (const char* command : {"info", "check"})
    for (bool asJson : {false, true}) {
      SCOPED_TRACE(std::string(command) + (asJson ? " --json" : ""));
      std::vector<std::string> fromFile = {command, file}, fromInput = {command, "-"};
      if (asJson) fromFile.push_back("--json"), fromInput.push_back("--json");
      const int status = f.Run(fromFile);
      const std::string expected = f.out;
      EXPECT_EQ(f.Run(fromInput, Giving(bytes)), status) << f.err;
      // The same report, the file named as the user did: "-".
      // JSON writes a Windows path's backslashes doubled.
      std::string shown = file;
      if (asJson)
        for (size_t at = 0; (at = shown.find('\\', at)) != std::string::npos; at += 2)
          shown.insert(at, 1, '\\');
      std::string named = expected;
      for (size_t at; (at = named.find(shown)) != std::string::npos;)
        named.replace(at, shown.size(), "-");
      EXPECT_EQ(f.out, named);
    }
  // Standard input that cannot be read, or holds no battle file, is trouble.
  EXPECT_EQ(f.Run({"info", "-"}, [](std::vector<uint8_t>&) { return false; }), kExitTrouble);
  EXPECT_EQ(f.Run({"check", "-"}, Giving({1, 2, 3})), kExitTrouble);
}

// A blank scenario: the range and the teams given, nothing else; the editor's load and save
// give its bytes back. Countries by Id or by name; unknown ones and ranges leaving the world
// are refused and nothing is written.
TEST(CompanionNew, BlankScenarioResavesToItsBytesAndBadInputIsRefused) {
  DemoFolder f;
  const DemoCatalogs catalogs = MakeDemoCatalogs();
  const DemoCountry &first = catalogs.countries[0], &second = catalogs.countries[1];
  const std::string blank = f.File("blank.btl");
  ASSERT_EQ(f.Run({"new", blank, "--range", "10", "20", "30", "25", "--teams",
                   std::to_string(first.id) + "," + second.name + "," + std::to_string(first.id)}),
            kExitOk)
      << f.err;
  BattleImage image;
  ASSERT_TRUE(ReadBattleFile(blank, image).ok());
  const BtlHeader& h = image.layout.header;
  EXPECT_EQ(h.originX, 10);
  EXPECT_EQ(h.originY, 20);
  EXPECT_EQ(h.rangeWidth, 30);
  EXPECT_EQ(h.rangeHeight, 25);
  EXPECT_EQ(h.teamCount, 3);
  EXPECT_EQ(h.buildingCount + h.unitCount + h.generalCount, 0);
  EXPECT_EQ(image.tailSize(), 0u);
  for (int i = 0; i < 8; ++i) EXPECT_EQ(h.keep0[i], 0);
  int32_t countries[] = {first.id, second.id, first.id};
  std::vector<uint32_t> colours;
  for (int i = 0; i < 3; ++i) {
    TeamRecord t{};
    memcpy(&t, image.bytes.data() + image.layout.teamsAt + size_t(i) * kTeamFileBytes,
           kTeamFileBytes);
    EXPECT_EQ(t.teamNumber, i);
    EXPECT_EQ(t.country, countries[i]);
    EXPECT_EQ(t.money, 0);
    EXPECT_EQ(t.fileColour[3], 255);
    uint32_t colour = t.fileColour[0] | t.fileColour[1] << 8 | t.fileColour[2] << 16;
    EXPECT_NE(colour, 0xFFFFFFu);
    EXPECT_EQ(std::count(colours.begin(), colours.end(), colour), 0);
    colours.push_back(colour);
  }
  for (int row = 0; row < 25; ++row)
    for (int column = 0; column < 30; ++column) ASSERT_EQ(image.owner(column, row), kUnownedTeam);
  const std::string resaved = f.File("resaved.btl");
  ASSERT_EQ(f.Run({"resave", blank, resaved}), kExitOk) << f.err;
  EXPECT_EQ(ReadFileBytes(resaved), ReadFileBytes(blank));

  // Many teams: still all distinct, none white.
  std::string many;
  for (int i = 0; i < 254; ++i) many += (i ? "," : "") + std::to_string(first.id);
  ASSERT_EQ(f.Run({"new", blank, "--range", "0", "0", "5", "5", "--teams", many}), kExitOk)
      << f.err;
  ASSERT_TRUE(ReadBattleFile(blank, image).ok());
  std::vector<uint32_t> all;
  for (int i = 0; i < 254; ++i) {
    const uint8_t* c = image.bytes.data() + image.layout.teamsAt + size_t(i) * kTeamFileBytes + 40;
    all.push_back(c[0] | c[1] << 8 | c[2] << 16);
  }
  std::sort(all.begin(), all.end());
  EXPECT_EQ(std::adjacent_find(all.begin(), all.end()), all.end());
  EXPECT_FALSE(std::binary_search(all.begin(), all.end(), 0xFFFFFFu));

  const std::string refused = f.File("refused.btl");
  EXPECT_EQ(f.Run({"new", refused, "--range", "190", "0", "20", "5"}), kExitTrouble);
  EXPECT_EQ(f.Run({"new", refused, "--range", "0", "0", "5", "5", "--teams", "没有这个国家"}),
            kExitTrouble);
  EXPECT_NE(f.err.find("没有这个国家"), std::string::npos) << f.err;
  EXPECT_EQ(f.Run({"new", refused, "--range", "0", "0", "5", "5", "--teams", "998"}), kExitTrouble);
  EXPECT_EQ(f.Run({"new", refused}), kExitTrouble);
  EXPECT_FALSE(FileExists(refused));
}

}  // namespace

namespace {

// Faults a hunt found, each as a new user met it.
TEST(CompanionFaults, JsonRefusalsValidUtf8HelpBeforeTheCommandAndAnEmptyDataFolder) {
  DemoFolder f;
  // info --json and check --json on a file they refuse: one JSON document each.
  for (const char* command : {"info", "check"}) {
    SCOPED_TRACE(command);
    EXPECT_EQ(f.Run({command, "--json", f.File("missing.btl")}), kExitTrouble);
    EXPECT_EQ(f.out.front(), '{') << f.out;
    EXPECT_NE(f.out.find("\"exitStatus\": 2"), std::string::npos) << f.out;
    EXPECT_NE(f.out.find("\"error\""), std::string::npos) << f.out;
  }
  // A file name that is not UTF-8 (a byte of another encoding) gives valid UTF-8 JSON.
  const std::string latin = f.File("caf\xE9.btl");
  for (const char* command : {"info", "check"}) {
    SCOPED_TRACE(command);
    f.Run({command, "--json", latin});
    EXPECT_EQ(ValidUtf8(f.out), f.out);
    EXPECT_NE(f.out.find("caf\\\\xE9.btl"), std::string::npos) << f.out;
  }
  EXPECT_EQ(ValidUtf8("a\xE9\xFF 中 \xE4\xB8"), "a\\xE9\\xFF 中 \\xE4\\xB8");
  EXPECT_EQ(ValidUtf8("\xED\xA0\x80\xC0\xAF\xF4\x90\x80\x80"),  // a surrogate, overlong, too large
            "\\xED\\xA0\\x80\\xC0\\xAF\\xF4\\x90\\x80\\x80");

  // Help asked for before the command's name is that command's help.
  for (const char* help : {"--help", "-h"})
    for (const char* command : {"info", "resave", "merge"}) {
      SCOPED_TRACE(std::string(help) + " " + command);
      std::string expected, out, err;
      ASSERT_EQ(RunCompanion({command, help}, expected, err), kExitOk);
      ASSERT_EQ(RunCompanion({help, command}, out, err), kExitOk) << err;
      EXPECT_EQ(out, expected);
    }
  // An empty data folder is refused, not taken as the default one.
  std::string out, err;
  EXPECT_EQ(RunCompanion({"--data", "", "info", f.File("missing.btl")}, out, err), kExitTrouble);
  EXPECT_NE(err.find("--data"), std::string::npos) << err;
}

}  // namespace
