// The language string table: line grammar, 149-byte pieces, limits, and the file named by
// the configuration.
#include "catalogs/string_table.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "base/files.h"
#include "tests/support/temp_folder.h"
#include "tools/demo_data/demo_data.h"

namespace fs = std::filesystem;

namespace {

std::string Repeat(const std::string& s, int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out += s;
  return out;
}

class StringTableTest : public ::testing::Test {
 protected:
  void TearDown() override { ResetStringTable(); }
  bool Load(const std::string& text) { return load_string_table(folder.Write("table.ini", text)); }
  TempFolder folder{"btl_strings"};
};

TEST_F(StringTableTest, CountryLineGivesTheGbkName) {
  EXPECT_TRUE(Load("text3_countryname_86=中国\n"));
  EXPECT_EQ(std::string(g_strings.CountryName[86], 5), std::string("\xD6\xD0\xB9\xFA\0", 5));
  EXPECT_EQ(g_strings.CityCount, 0);
}

TEST_F(StringTableTest, NameIsEverythingAfterTheFirstEquals) {
  Load("city_cityname_12=A=B\n");
  EXPECT_STREQ(g_strings.CityName[12], "A=B");
  ASSERT_EQ(g_strings.CityCount, 1);
  EXPECT_EQ(g_strings.CityIds[0], 12);
}

TEST_F(StringTableTest, IdReadsLikeStrtol) {
  Load("city_cityname_x=Y\ncity_cityname_ +5 extra=plus\ntext3_countryname_7abc = 七 \n");
  EXPECT_STREQ(g_strings.CityName[0], "Y");
  EXPECT_STREQ(g_strings.CityName[5], "plus");
  EXPECT_EQ(std::string(g_strings.CountryName[7]),
            std::string(" ") + GbkFromUtf8("七") + " ");  // nothing trimmed
  ASSERT_EQ(g_strings.CityCount, 2);
  EXPECT_EQ(g_strings.CityIds[0], 0);
  EXPECT_EQ(g_strings.CityIds[1], 5);
}

TEST_F(StringTableTest, LastLineWithoutBreakKeepsItsWholeName) {
  Load("text3_countryname_1=甲\ntext3_countryname_2=乙国");
  EXPECT_EQ(std::string(g_strings.CountryName[2]), GbkFromUtf8("乙国"));
}

TEST_F(StringTableTest, CarriageReturnLineFeedReadsAsLineFeed) {
  Load("[strings]\r\ntext3_countryname_3=丙\r\ncity_cityname_4=D\r\n");
  EXPECT_EQ(std::string(g_strings.CountryName[3]), GbkFromUtf8("丙"));
  EXPECT_STREQ(g_strings.CityName[4], "D");
}

TEST_F(StringTableTest, PrefixesCountOnlyExactlyAtTheStart) {
  Load("Text3_countryname_1=no\n city_cityname_2=no\n;city_cityname_3=no\ncity_cityname_4=yes\n");
  EXPECT_STREQ(g_strings.CountryName[1], "");
  EXPECT_STREQ(g_strings.CityName[2], "");
  EXPECT_STREQ(g_strings.CityName[3], "");
  EXPECT_STREQ(g_strings.CityName[4], "yes");
  EXPECT_EQ(g_strings.CityCount, 1);
}

TEST_F(StringTableTest, LaterLinesReplaceNamesAndCitiesAreListedAgain) {
  Load("city_cityname_9=" + Repeat("x", 15) +
       "\ncity_cityname_9=短\ntext3_countryname_1=a\ntext3_countryname_1=b\n");
  EXPECT_EQ(std::string(g_strings.CityName[9], kSlotBytes),
            GbkFromUtf8("短") + std::string(18, '\0'));
  EXPECT_STREQ(g_strings.CountryName[1], "b");
  ASSERT_EQ(g_strings.CityCount, 2);
  EXPECT_EQ(g_strings.CityIds[0], 9);
  EXPECT_EQ(g_strings.CityIds[1], 9);
}

TEST_F(StringTableTest, MatchingLineWithoutEqualsIsSkipped) {
  Load("city_cityname_5 nothing\ntext3_countryname_6\ncity_cityname_7=G\n");
  EXPECT_EQ(g_strings.CityCount, 1);
  EXPECT_EQ(g_strings.CityIds[0], 7);
  EXPECT_STREQ(g_strings.CountryName[6], "");
}

TEST_F(StringTableTest, IdsOutsideTheTablesAreSkipped) {
  Load(
      "text3_countryname_1000=no\ntext3_countryname_-1=no\ncity_cityname_100000=no\ncity_cityname_-"
      "3=no\n"
      "city_cityname_99999999999999999999=no\ntext3_countryname_999=last\ncity_cityname_99999="
      "end\n");
  EXPECT_STREQ(g_strings.CountryName[999], "last");
  EXPECT_STREQ(g_strings.CityName[99999], "end");
  ASSERT_EQ(g_strings.CityCount, 1);
  EXPECT_EQ(g_strings.CityIds[0], 99999);
  EXPECT_STREQ(CountryNameOf(1000), "");
  EXPECT_STREQ(CityNameOf(-1), "");
}

TEST_F(StringTableTest, CityLinesPastTheThousandthAreSkipped) {
  std::string text;
  for (int i = 0; i < 1001; ++i) text += "city_cityname_" + std::to_string(i) + "=c\n";
  Load(text);
  EXPECT_EQ(g_strings.CityCount, 1000);
  EXPECT_EQ(g_strings.CityIds[999], 999);
  EXPECT_STREQ(g_strings.CityName[999], "c");
  EXPECT_STREQ(g_strings.CityName[1000], "");
}

TEST_F(StringTableTest, LongNamesAreCutAtACharacterBoundary) {
  // 10 characters are 30 bytes of UTF-8 and 20 of GBK; the slot keeps 9.
  Load("text3_countryname_2=" + Repeat("国", 10) + "\n");
  EXPECT_EQ(std::string(g_strings.CountryName[2]), GbkFromUtf8(Repeat("国", 9)));
}

TEST_F(StringTableTest, LinesAreReadInPiecesOf149Bytes) {
  // The first piece is 149 bytes of x; the rest of that line is a piece of its own, which
  // starts with a city prefix.
  Load(std::string(149, 'x') + "city_cityname_7=Z\n" + "city_cityname_8=" + std::string(140, 'y') +
       "city_cityname_9=W\n");
  EXPECT_STREQ(g_strings.CityName[7], "Z");
  EXPECT_STREQ(g_strings.CityName[8], std::string(19, 'y').c_str());
  EXPECT_STREQ(g_strings.CityName[9], "");  // its piece starts with the last 7 bytes of y
  EXPECT_EQ(g_strings.CityCount, 2);
}

TEST_F(StringTableTest, MissingFileLeavesEveryNameEmpty) {
  Load("text3_countryname_1=a\n");
  EXPECT_FALSE(load_string_table(Utf8FromPath(folder.path() / "none.ini")));
  EXPECT_STREQ(g_strings.CountryName[1], "");
  EXPECT_EQ(g_strings.CityCount, 0);
}

TEST_F(StringTableTest, WithoutConfiguredNameTheDefaultFileIsRead) {
  folder.Write(DataPath("配置.ini"), GbkFromUtf8("[配置]\r\n窗口长=12\r\n"));
  folder.Write(DataPath("stringtable_cn.ini"), "text3_countryname_5=默认\n");
  CurrentFolder here(folder.path());
  EXPECT_EQ(StringTablePath(), DataPath("stringtable_cn.ini"));
  EXPECT_TRUE(load_string_table());
  EXPECT_EQ(std::string(g_strings.CountryName[5]), GbkFromUtf8("默认"));
}

TEST_F(StringTableTest, ConfiguredFileNameIsReadAsGbk) {
  folder.Write(DataPath("配置.ini"), GbkFromUtf8("[配置]\r\n语言文件=中文表.ini\r\n"));
  folder.Write(DataPath("中文表.ini"), "text3_countryname_6=选中\n");
  CurrentFolder here(folder.path());
  EXPECT_EQ(StringTablePath(), DataPath("中文表.ini"));
  EXPECT_TRUE(load_string_table());
  EXPECT_EQ(std::string(g_strings.CountryName[6]), GbkFromUtf8("选中"));
}

}  // namespace

namespace {

TEST_F(StringTableTest, BytesInMemoryReadLikeTheFileOfTheSameBytes) {
  DemoCatalogs catalogs = MakeDemoCatalogs();
  std::vector<DemoFile> files;
  ASSERT_EQ(MakeCatalogFiles(catalogs, files), "");
  std::string bytes;
  for (const DemoFile& f : files)
    if (f.path.ends_with("stringtable_cn.ini")) bytes = f.bytes;
  ASSERT_FALSE(bytes.empty());
  auto tables = [] {
    return std::string(reinterpret_cast<const char*>(&g_strings), sizeof g_strings);
  };
  ASSERT_TRUE(Load(bytes));
  std::string fromFile = tables();
  EXPECT_GT(g_strings.CityCount, 0);
  ResetStringTable();
  ReadStringTable(bytes);
  EXPECT_TRUE(tables() == fromFile);
}

}  // namespace
