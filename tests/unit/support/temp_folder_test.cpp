// The tests' temporary folders: each one fresh and its own, also under a Chinese tag, and
// gone with everything in it at the end of its scope.
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;

TEST(TempFolder, EachIsFreshAndRemovedWithItsFiles) {
  fs::path first, second;
  {
    TempFolder a{"btl_演示"}, b{"btl_演示"};
    first = a.path();
    second = b.path();
    EXPECT_NE(first, second);
    EXPECT_TRUE(fs::is_directory(first));
    EXPECT_TRUE(fs::is_empty(first));
    EXPECT_EQ(first.parent_path(), (fs::temp_directory_path() / "x").parent_path());
    EXPECT_EQ(Utf8FromPath(first.filename()).rfind("btl_演示_", 0), 0u) << Utf8FromPath(first);
    std::string written = a.Write(JoinPath("数据", "配置.ini"), "x=1");
    EXPECT_EQ(written, a.File(JoinPath("数据", "配置.ini")));
    std::string back;
    ASSERT_TRUE(ReadWholeFile(written, back));
    EXPECT_EQ(back, "x=1");
    EXPECT_TRUE(fs::is_empty(second));
  }
  EXPECT_FALSE(fs::exists(first));
  EXPECT_FALSE(fs::exists(second));
}

}  // namespace
