#include "base/files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/support/temp_folder.h"

namespace {

// MakeFolder over the cases a caller meets: a new folder (also with a Chinese name, which
// the Windows build must pass on as UTF-16), one that is there already, one whose parent is
// missing, and a name a file already holds. After each call the path is a folder exactly
// when the call said true.
TEST(MakeFolder, MakesOneFolderAndTellsWhetherAFolderIsThere) {
  TempFolder dir{"btl_files"};
  const std::string file = dir.Write("文件.txt", "x");
  const std::string twice = dir.File("twice");
  ASSERT_TRUE(MakeFolder(twice));
  struct Case {
    std::string path;
    bool made;
  } cases[] = {
      {dir.File("plain"), true},
      {dir.File("数据"), true},
      {twice, true},
      {JoinPath(dir.File("missing"), "child"), false},
      {file, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(MakeFolder(c.path), c.made);
    EXPECT_EQ(std::filesystem::is_directory(PathFromUtf8(c.path)), c.made);
  }
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "missing")) << "no parent is made on the way";
  EXPECT_TRUE(std::filesystem::is_regular_file(PathFromUtf8(file))) << "the file is left as it was";
}

}  // namespace
