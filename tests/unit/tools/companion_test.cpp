#include "tools/btl/companion.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "base/files.h"
#include "tests/support/battle_fixture.h"
#include "tests/support/temp_folder.h"

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
  EXPECT_EQ(image.header.originX, 6);
  EXPECT_EQ(image.header.rangeWidth, 3);
  EXPECT_NE(f.err.find("警告"), std::string::npos);  // records outside were dropped
  // A range outside the world is refused and writes nothing.
  std::string refused = JoinPath(f.folder, "d.btl");
  EXPECT_EQ(f.Run({"resave", f.battle, refused, "--range", "38", "0", "5", "5"}), 1);
  EXPECT_FALSE(FileExists(refused));
}

TEST(Companion, UnloadableFileIsRefusedAndNothingIsWritten) {
  std::vector<uint8_t> bytes = CleanScenario().bytes();
  bytes.resize(200);
  CompanionFolder f(bytes);
  std::string target = JoinPath(f.folder, "b.btl");
  EXPECT_EQ(f.Run({"resave", f.battle, target}), 1);
  EXPECT_NE(f.err.find("a.btl"), std::string::npos) << f.err;
  EXPECT_FALSE(FileExists(target));
  EXPECT_NE(f.Run({"check", f.battle}), 0);
  EXPECT_NE(f.Run({"info", f.battle}), 0);
}

TEST(Companion, CheckListsOddRecordsButStillSucceeds) {
  BattleSpec scenario = CleanScenario();
  scenario.units.push_back(MakeUnit(scenario.units[0].position, 5, 5));
  scenario.buildings.push_back(MakeBuilding(0, 4));
  scenario.owners[3] = 77;
  CompanionFolder f(scenario.bytes());
  EXPECT_EQ(f.Run({"check", f.battle}), 0);
  EXPECT_NE(f.out.find("部队记录 #0 和 #4 在同一格"), std::string::npos) << f.out;
  EXPECT_NE(f.out.find("建筑记录 #3"), std::string::npos) << f.out;
  EXPECT_NE(f.out.find("值 77 不是任何队伍"), std::string::npos) << f.out;

  CompanionFolder clean(CleanScenario().bytes());
  EXPECT_EQ(clean.Run({"check", clean.battle}), 0);
  EXPECT_NE(clean.out.find("没有发现问题"), std::string::npos);
}

TEST(Companion, InfoShowsCountsAsStoredAndAsSaved) {
  BattleSpec scenario = CleanScenario();
  scenario.units.push_back(MakeUnit(scenario.units[0].position, 5, 5));
  CompanionFolder f(scenario.bytes());
  ASSERT_EQ(f.Run({"info", f.battle}), 0) << f.err;
  EXPECT_NE(f.out.find("部队 5，将领 2"), std::string::npos) << f.out;
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

}  // namespace
