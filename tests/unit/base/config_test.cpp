// The configuration file: ConfigInt / ConfigString (the portable reader on both builds;
// tests/wine/config_test.cpp holds it against the system's reader) and the portable reader's
// rules the editor relies on.
#include "base/config.h"
#include "base/profile.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "base/text.h"
#include "base/files.h"
#include "tests/support/temp_folder.h"

namespace fs = std::filesystem;

namespace {

std::string G(const std::string& utf8) { return GbkFromUtf8(utf8); }

std::string Repeat(const std::string& s, int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out += s;
  return out;
}

// --- ConfigInt / ConfigString --------------------------------------------------------------

TEST(ConfigFile, MissingFileGivesTheDefaults) {
  TempFolder folder{"btl_config"};
  std::string path = Utf8FromPath(folder.path() / "none.ini");
  EXPECT_EQ(ConfigInt(path, kConfigHexSide, 3), 3);
  EXPECT_EQ(ConfigInt(path, kConfigViewCols, 12), 12);
  EXPECT_EQ(ConfigString(path, kConfigLanguageFile, "stringtable_cn.ini"), "stringtable_cn.ini");
}

TEST(ConfigFile, GbkKeysAndValues) {
  TempFolder folder{"btl_config"};
  std::string path = folder.Write(
      "a.ini", G("[配置]\r\n格子边长=1\r\n窗口长 = 30\r\n窗口宽=abc\r\n语言文件=中文表.ini\r\n"));
  EXPECT_EQ(ConfigInt(path, kConfigHexSide, 3), 1);
  EXPECT_EQ(ConfigInt(path, kConfigViewCols, 12), 30);
  EXPECT_EQ(ConfigInt(path, kConfigViewRows, 10), 0);  // not a number
  EXPECT_EQ(ConfigString(path, kConfigLanguageFile, "stringtable_cn.ini"), G("中文表.ini"));
}

TEST(ConfigFile, KeysOfOtherSectionsAreNotRead) {
  TempFolder folder{"btl_config"};
  std::string path = folder.Write("b.ini", G("[其他]\r\n格子边长=9\r\n[配置]\r\n窗口长=5\r\n"));
  EXPECT_EQ(ConfigInt(path, kConfigHexSide, 3), 3);
  EXPECT_EQ(ConfigInt(path, kConfigViewCols, 12), 5);
}

TEST(ConfigFile, IntegerEdgeValues) {
  TempFolder folder{"btl_config"};
  std::string path = folder.Write("c.ini", G("[配置]\r\n格子边长=\r\n窗口长=-4\r\n窗口宽=7个\r\n"));
  EXPECT_EQ(ConfigInt(path, kConfigHexSide, 3), 3);  // empty value: default
  EXPECT_EQ(ConfigInt(path, kConfigViewCols, 12), -4);
  EXPECT_EQ(ConfigInt(path, kConfigViewRows, 10), 7);  // digits up to the first other character
}

TEST(ConfigFile, StringsAreCutTo199BytesAtACharacterBoundary) {
  TempFolder folder{"btl_config"};
  std::string path = folder.Write("d.ini", G("[配置]\r\n语言文件=" + Repeat("长", 150) + "\r\n"));
  std::string value = ConfigString(path, kConfigLanguageFile, "x");
  EXPECT_EQ(value, G(Repeat("长", 99)));  // 198 bytes
}

TEST(ConfigFile, DataFolderFileByDefault) {
  TempFolder folder{"btl_config"};
  folder.Write(DataPath("配置.ini"), G("[配置]\r\n格子边长=6\r\n语言文件=表.ini\r\n"));
  CurrentFolder here(folder.path());
  EXPECT_EQ(ConfigPath(), DataPath("配置.ini"));
  EXPECT_EQ(ConfigInt(kConfigHexSide, 3), 6);
  EXPECT_EQ(ConfigInt(kConfigViewCols, 12), 12);
  EXPECT_EQ(ConfigString(kConfigLanguageFile, "stringtable_cn.ini"), G("表.ini"));
  EXPECT_EQ(ConfigStringUtf8(kConfigLanguageFile, "stringtable_cn.ini"), "表.ini");
}

// --- the portable reader ---------------------------------------------------------------------

const std::string kSection = G("配置");

int IntOf(const std::string& file, const std::string& key, int def = 77) {
  return ProfileInt(file, kSection, key, def);
}
std::string StringOf(const std::string& file, const std::string& key) {
  return ProfileString(file, kSection, key, "d");
}

TEST(ProfileReader, FirstKeyAndFirstSectionOfANameWin) {
  std::string file = G("[配置]\na=1\na=2\n[x]\nb=3\n[配置]\na=4\nb=5\n");
  EXPECT_EQ(IntOf(file, "a"), 1);
  EXPECT_EQ(IntOf(file, "b"), 77);  // the second [配置] is never searched
}

TEST(ProfileReader, BlanksCommentsAndCase) {
  std::string file = G("  [ 配置 ]  \r\n;a=1\r\n  ViewCols\t=  8  \r\n");
  EXPECT_EQ(IntOf(file, "a"), 77);
  EXPECT_EQ(IntOf(file, ";a"), 1);
  EXPECT_EQ(IntOf(file, "viewcols"), 8);
  EXPECT_EQ(StringOf(file, "VIEWCOLS"), "8");
}

TEST(ProfileReader, LineBreaksOfEveryKind) {
  EXPECT_EQ(IntOf(G("[配置]\ra=1\rb=2"), "b"), 2);
  EXPECT_EQ(IntOf(G("[配置]\n\r\na=1"), "a"), 1);
}

TEST(ProfileReader, IntegerTextReadsLikeTheSystem) {
  std::string file =
      G("[配置]\nhex=0x1F\nbin=0b101\noct=0o17\nsign=+12\nwrap=4294967297\nq=\"12\"\nlong=") +
      std::string(30, '0') + "5\n";
  EXPECT_EQ(IntOf(file, "hex"), 31);
  EXPECT_EQ(IntOf(file, "bin"), 5);
  EXPECT_EQ(IntOf(file, "oct"), 15);
  EXPECT_EQ(IntOf(file, "sign"), 12);
  EXPECT_EQ(IntOf(file, "wrap"), 1);
  EXPECT_EQ(IntOf(file, "q"), 12);
  EXPECT_EQ(IntOf(file, "long"), 0);  // only the first 29 characters are read
}

TEST(ProfileReader, QuotesKeyWithoutValueAndDefaults) {
  std::string file = G("[配置]\ns='a b'\nt=\"x'\nbare\n");
  EXPECT_EQ(StringOf(file, "s"), "a b");
  EXPECT_EQ(StringOf(file, "t"), "\"x'");
  EXPECT_EQ(StringOf(file, "bare"), "d");
  EXPECT_EQ(ProfileString(file, kSection, "none", "def  "), "def");
  EXPECT_EQ(ProfileString(file, kSection, "none", "\"q\""), "q");
}

TEST(ProfileReader, TrailBytesAreNeitherBracketsNorLetters) {
  // B05D is one character whose trail byte is ']': this header has no closing bracket.
  std::string file =
      "[\xB0\x5D"
      "a\nk=1\n[s]\n\xB0\x41=2\n";
  EXPECT_EQ(ProfileInt(file, "",
                       "[\xB0\x5D"
                       "a",
                       77),
            77);  // a key without value
  EXPECT_EQ(ProfileInt(file, "", "k", 77), 1);
  EXPECT_EQ(ProfileInt(file, "s", "\xB0\x41", 77), 2);
  EXPECT_EQ(ProfileInt(file, "s", "\xB0\x61", 77), 77);  // another character, not another case
}

TEST(ProfileReader, UnicodeFilesComeBackAsGbk) {
  std::string utf8 = "\xEF\xBB\xBF[配置]\n语言文件=中文.ini\n";
  EXPECT_EQ(StringOf(utf8, G("语言文件")), G("中文.ini"));
  std::string utf16 = "\xFF\xFE";
  for (char16_t c : std::u16string(u"[配置]\r\n格子边长=4\r\n")) {
    utf16 += static_cast<char>(c & 0xFF);
    utf16 += static_cast<char>(c >> 8);
  }
  EXPECT_EQ(IntOf(utf16, G("格子边长")), 4);
}

}  // namespace
