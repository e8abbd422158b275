// The data folder rules over a made-up file system: the current folder when its data is
// whole, else the program's own, else one message naming both folders; and the real start-up
// chooser on folders made for the test.
#include "catalogs/data_folder.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "base/files.h"
#include "tests/support/temp_folder.h"

namespace {

const std::string kCurrent = JoinPath("D:", "下载");
const std::string kProgram = JoinPath("C:", "游戏");

// A folder's whole data, or all of it but the files of `leaveOut` (indices of
// RequiredDataFiles), or without its 数据 folder at all.
void AddData(std::set<std::string>& files, const std::string& folder,
             std::set<size_t> leaveOut = {}, bool dataFolder = true) {
  if (!dataFolder) return;
  files.insert(JoinPath(folder, "数据"));
  const std::vector<std::string> required = RequiredDataFiles();
  for (size_t i = 0; i < required.size(); ++i)
    if (!leaveOut.count(i)) files.insert(JoinPath(folder, required[i]));
}

struct Row {
  const char* what;
  std::set<size_t> currentLacks, programLacks;
  bool currentHasData, programHasData;
  std::string program;  // the program's folder as the system tells it
  bool found;
  std::string chosen;
  std::vector<std::string> named;  // what the failure's text must name
};

TEST(DataFolder, CurrentThenProgramFolderElseOneMessageNamingBoth) {
  const Row rows[] = {
      {"both whole: the current folder", {}, {}, true, true, kProgram, true, kCurrent, {}},
      {"current whole", {}, {}, true, false, kProgram, true, kCurrent, {}},
      {"current lacks world.bin", {0}, {}, true, true, kProgram, true, kProgram, {}},
      {"current lacks a catalog", {5}, {}, true, true, kProgram, true, kProgram, {}},
      {"no data in the current folder", {}, {}, false, true, kProgram, true, kProgram, {}},
      {"neither",
       {},
       {0, 1},
       false,
       true,
       kProgram,
       false,
       {},
       {"当前文件夹：" + kCurrent + "（没有“数据”文件夹）",
        "程序所在的文件夹：" + kProgram + "（缺少 " + RequiredDataFiles()[0] + " 等 2 个文件）",
        "同时含有“数据”和“图片”的那个文件夹", "或者从那个文件夹启动它"}},
      {"started in its own folder without data",
       {3},
       {3},
       true,
       true,
       kCurrent,
       false,
       {},
       {"当前文件夹，也是程序所在的文件夹：" + kCurrent + "（缺少 " + RequiredDataFiles()[3] +
        "）"}},
      {"program folder unknown", {}, {}, false, true, "", false, {}, {kCurrent}},
  };
  for (const Row& r : rows) {
    std::set<std::string> files;
    AddData(files, kCurrent, r.currentLacks, r.currentHasData);
    AddData(files, kProgram, r.programLacks, r.programHasData);
    const DataFolderChoice c = ChooseDataFolder(
        kCurrent, r.program, [&](const std::string& p) { return files.count(p) > 0; });
    EXPECT_EQ(c.found, r.found) << r.what;
    EXPECT_EQ(c.folder, r.chosen) << r.what;
    EXPECT_EQ(c.message.empty(), r.found) << r.what;
    for (const std::string& part : r.named)
      EXPECT_NE(c.message.find(part), std::string::npos) << r.what << ": " << part << "\n"
                                                         << c.message;
    if (!r.found && r.program != kCurrent && !r.program.empty()) {
      EXPECT_NE(c.message.find(kProgram), std::string::npos) << r.what;
    }
  }
}

TEST(DataFolder, StartUpEntersTheFolderHoldingTheDataOrNamesWhereItLooked) {
  TempFolder game("btl_game");
  for (const std::string& f : RequiredDataFiles()) game.Write(f, "x");
  TempFolder elsewhere("btl_elsewhere");
  {
    CurrentFolder in(game.path());
    const DataFolderChoice c = FindAndEnterDataFolder();
    EXPECT_TRUE(c.found) << c.message;
    EXPECT_EQ(std::filesystem::current_path(), std::filesystem::canonical(game.path()));
  }
  {
    CurrentFolder in(elsewhere.path());
    const DataFolderChoice c = FindAndEnterDataFolder();
    // The test program's own folder holds no game data either.
    ASSERT_FALSE(c.found);
    EXPECT_NE(c.message.find(CurrentFolderPath()), std::string::npos) << c.message;
    EXPECT_NE(c.message.find(ProgramFolderPath()), std::string::npos) << c.message;
    EXPECT_FALSE(ProgramFolderPath().empty());
  }
}

}  // namespace
