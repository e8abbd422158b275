// The portable private-profile reader against the system's GetPrivateProfileIntA and
// GetPrivateProfileStringA on the same tricky files: every query must give equal answers.
//
// Files in the first groups read the same whatever the ANSI code page; the last group needs
// code page 936 (a Chinese locale: LC_ALL=zh_CN.UTF-8 under Wine) and is skipped otherwise.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/profile.h"
#include "base/text.h"
#include "base/files.h"
#include "base/wide.h"
#include "tests/support/temp_folder.h"

namespace {

constexpr int kIntDefault = 77;
constexpr char kStringDefault[] = "dflt";

std::string G(const char* utf8) { return GbkFromUtf8(utf8); }

struct Query {
  std::string section;  // GBK
  std::string key;      // GBK
  std::string stringDefault = kStringDefault;
};

// A fresh folder under the temporary folder for the whole run (ASCII, for the system's A
// functions); every file gets its own name, since the system reader keeps recently read
// files cached by name.
const TempFolder& TestFolder() {
  static TempFolder folder{"btl_profile"};
  return folder;
}

std::string AnsiPath(const std::string& utf8Path) {
  std::wstring wide = WideFromUtf8(utf8Path);
  int n = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                              nullptr, nullptr);
  std::string out(n, '\0');
  WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), out.data(), n, nullptr,
                      nullptr);
  return out;
}

std::string WriteCase(const std::string& name, const std::string& bytes) {
  return TestFolder().Write(name + ".ini", bytes);
}

int SystemInt(const Query& q, const std::string& ansiPath) {
  return static_cast<int>(
      GetPrivateProfileIntA(q.section.c_str(), q.key.c_str(), kIntDefault, ansiPath.c_str()));
}

std::string SystemString(const Query& q, const std::string& ansiPath) {
  std::vector<char> buffer(4096, '\0');
  DWORD n =
      GetPrivateProfileStringA(q.section.c_str(), q.key.c_str(), q.stringDefault.c_str(),
                               buffer.data(), static_cast<DWORD>(buffer.size()), ansiPath.c_str());
  return std::string(buffer.data(), n);
}

// Writes the file (unless `missing`), asks both readers every query and compares.
void ExpectSameAnswers(const std::string& name, const std::string& bytes,
                       const std::vector<Query>& queries, bool missing = false) {
  std::string path = missing ? TestFolder().File(name + ".ini") : WriteCase(name, bytes);
  std::string ansiPath = AnsiPath(path);
  for (const Query& q : queries) {
    SCOPED_TRACE(name + " [" + Utf8FromGbk(q.section) + "] " + Utf8FromGbk(q.key));
    EXPECT_EQ(ProfileInt(bytes, q.section, q.key, kIntDefault), SystemInt(q, ansiPath));
    EXPECT_EQ(ProfileString(bytes, q.section, q.key, q.stringDefault), SystemString(q, ansiPath));
  }
}

// Queries of section 配置 for each key.
std::vector<Query> InConfig(std::initializer_list<const char*> utf8Keys) {
  std::vector<Query> queries;
  for (const char* k : utf8Keys) queries.push_back({G("配置"), G(k)});
  return queries;
}

TEST(ProfileParity, BlanksAroundLinesNamesAndValues) {
  ExpectSameAnswers(
      "blanks", G("[配置]\r\n  格子边长  =   5  \r\n窗口长\t=\t7\t\r\n\x1A窗口宽=\x1A 8\x1A\r\n"),
      InConfig({"格子边长", "窗口长", "窗口宽", "  格子边长  "}));
  ExpectSameAnswers("blank_lines", G("\r\n   \r\n[配置]\r\n\t\r\n\r\na = 1 2 3 \r\n\r\n"),
                    InConfig({"a"}));
}

TEST(ProfileParity, CommentsAreOrdinaryLines) {
  ExpectSameAnswers(
      "comments", G("[配置]\r\n;格子边长=9\r\n# 窗口长=4\r\n窗口长=6\r\n; 窗口宽\r\n"),
      InConfig({"格子边长", "窗口长", ";格子边长", "# 窗口长", "; 窗口宽", "窗口宽"}));
}

TEST(ProfileParity, IntegerText) {
  std::string file =
      G("[配置]\r\n") +
      "plus=+12\r\nminus=-7\r\nsign_blank=- 3\r\ntwo_signs=--4\r\nmixed=+-1\r\n"
      "letters=abc\r\ntrailing=12abc\r\nhex=0x1F\r\nhex_upper_x=0X1F\r\nbare_hex=0x\r\n"
      "hex_digits=0xfFz\r\nbinary=0b101\r\noctal=0o17\r\nleading_zero=08\r\nexponent=1e3\r\n"
      "wrap=4294967297\r\nmin=-2147483648\r\nover=2147483648\r\nhuge=999999999999\r\n"
      "inner_blank=12 34\r\nquoted=\"12\"\r\nsingle='7'\r\nquoted_blank=\" 42\"\r\n"
      "empty_quotes=\"\"\r\nlong=000000000000000000000000000000000012\r\n"
      "long_quoted=\"11111111111111111111111111111\"\r\n"
      "just_fits=\"1111111111111111111111111111\"\r\n" +
      G("fullwidth=１２\r\n");
  ExpectSameAnswers(
      "integers", file,
      InConfig({"plus",        "minus",     "sign_blank",   "two_signs",    "mixed",
                "letters",     "trailing",  "hex",          "hex_upper_x",  "bare_hex",
                "hex_digits",  "binary",    "octal",        "leading_zero", "exponent",
                "wrap",        "min",       "over",         "huge",         "inner_blank",
                "quoted",      "single",    "quoted_blank", "empty_quotes", "long",
                "long_quoted", "just_fits", "fullwidth"}));
}

TEST(ProfileParity, EmptyValueAndKeyWithoutEquals) {
  ExpectSameAnswers("no_equals", G("[配置]\r\na=\r\nb\r\nc = \r\nd=x=y\r\ne==\r\n"),
                    InConfig({"a", "b", "c", "d", "e"}));
  ExpectSameAnswers("no_value_first", G("[配置]\r\nk\r\nk=5\r\n"), InConfig({"k"}));
}

TEST(ProfileParity, DuplicateKeysAndSections) {
  ExpectSameAnswers("duplicate_keys",
                    G("[配置]\r\n格子边长=1\r\n格子边长=2\r\nGRID=3\r\ngrid=4\r\n"),
                    InConfig({"格子边长", "grid", "GRID"}));
  ExpectSameAnswers("duplicate_sections",
                    G("[配置]\r\na=1\r\n[其他]\r\nb=2\r\n[配置]\r\na=5\r\nc=4\r\n"),
                    InConfig({"a", "b", "c"}));
  ExpectSameAnswers("empty_first_section", G("[配置]\r\n[配置]\r\na=1\r\n"), InConfig({"a"}));
}

TEST(ProfileParity, LineBreaks) {
  std::vector<Query> ab = InConfig({"a", "b", "c"});
  ExpectSameAnswers("crlf", G("[配置]\r\na=1\r\nb=2\r\n"), ab);
  ExpectSameAnswers("lf", G("[配置]\na=1\nb=2\n"), ab);
  ExpectSameAnswers("cr", G("[配置]\ra=1\rb=2\r"), ab);
  ExpectSameAnswers("mixed_breaks", G("[配置]\n\r\r\na=1\n\n\rb=2"), ab);
  ExpectSameAnswers("no_final_break", G("[配置]\r\na=1\r\nb=22"), ab);
  ExpectSameAnswers("one_line", G("[配置]"), ab);
}

TEST(ProfileParity, KeysBeforeAnySection) {
  std::vector<Query> queries = InConfig({"a", "b"});
  queries.push_back({"", "a"});
  queries.push_back({"  ", "a"});
  queries.push_back({"", "b"});
  ExpectSameAnswers("before_section", G("a=1\r\n[配置]\r\nb=2\r\n"), queries);
  ExpectSameAnswers("empty_section_name", G("a=1\r\n[]\r\nb=2\r\n[ ]\r\nc=3\r\n"),
                    {{"", "a"}, {"", "b"}, {"", "c"}});
}

TEST(ProfileParity, AsciiLettersMatchWithoutCase) {
  ExpectSameAnswers("case", G("[配置]\r\nAbC=1\r\n[SECT]\r\nkey=2\r\nKey=3\r\n"),
                    {{G("配置"), "abc"},
                     {G("配置"), "ABC"},
                     {"sect", "KEY"},
                     {"Sect", "key"},
                     {"SECT ", " kEy "}});
}

TEST(ProfileParity, SectionHeaders) {
  std::vector<Query> abc = InConfig({"a", "b", "c", "[配置", "d"});
  ExpectSameAnswers("header_blanks", G("[ 配置 ]\r\na=1\r\n"), abc);
  ExpectSameAnswers("header_junk", G("[配置] ; note\r\nb=2\r\n"), abc);
  ExpectSameAnswers("header_unclosed", G("[其他]\r\n[配置\r\nc=3\r\n"), abc);
  ExpectSameAnswers("header_indented", G("   [配置]   \r\nd=4\r\n"), abc);
  ExpectSameAnswers("header_inner_bracket", G("[配[置]]\r\na=1\r\n[配置]x]\r\nb=2\r\n"),
                    {{G("配[置]"), "a"}, {G("配置]x"), "b"}, {G("配置"), "b"}});
}

TEST(ProfileParity, QuotedStrings) {
  std::string file = G("[配置]\r\n") +
                     "s1=\"hello\"\r\ns2='hi'\r\ns3=\"mixed'\r\ns4=\"\r\ns5=\"\"\r\n"
                     "s6=  \"  padded  \"  \r\ns7='a'b'\r\ns8=x\"y\"\r\ns9=\"\"\"\r\n";
  ExpectSameAnswers("quotes", file,
                    InConfig({"s1", "s2", "s3", "s4", "s5", "s6", "s7", "s8", "s9"}));
}

TEST(ProfileParity, Defaults) {
  std::vector<Query> queries = {{G("配置"), "none", "dflt   "}, {G("配置"), "none", "'quoted'"},
                                {G("配置"), "none", "   "},     {G("配置"), "none", ""},
                                {G("配置"), "none", "\"x"},     {G("其他"), "a", "x  y  "}};
  ExpectSameAnswers("defaults", G("[配置]\r\na=1\r\n"), queries);
  ExpectSameAnswers("missing_file", "", queries, true);
  ExpectSameAnswers("empty_file", "", queries);
}

TEST(ProfileParity, LongValues) {
  std::string file = G("[配置]\r\n") + "long=" + std::string(5000, 'x') + "\r\nquoted=\"" +
                     std::string(4094, 'y') + "\"\r\n";
  ExpectSameAnswers("long_values", file, InConfig({"long", "quoted"}));
}

TEST(ProfileParity, UnicodeFilesWithAsciiNames) {
  ExpectSameAnswers("utf8_bom", "\xEF\xBB\xBF[sec]\r\nk=v\r\nn=12\r\n",
                    {{"sec", "k"}, {"sec", "n"}});
  std::string utf16 = "\xFF\xFE";
  for (char c : std::string("[sec]\r\nk=v\r\nn=12\r\n")) {
    utf16 += c;
    utf16 += '\0';
  }
  ExpectSameAnswers("utf16_bom", utf16, {{"sec", "k"}, {"sec", "n"}});
}

// --- code page 936 only ---------------------------------------------------------------------

class ProfileParity936 : public ::testing::Test {
 protected:
  void SetUp() override {
    if (GetACP() != 936)
      GTEST_SKIP() << "needs ANSI code page 936 (Wine: LC_ALL=zh_CN.UTF-8), have " << GetACP();
  }
};

TEST_F(ProfileParity936, Utf8FileWithChineseNames) {
  ExpectSameAnswers("utf8_chinese",
                    "\xEF\xBB\xBF"
                    "[配置]\r\n语言文件=中文表.ini\r\n格子边长=4\r\n",
                    InConfig({"语言文件", "格子边长"}));
}

TEST_F(ProfileParity936, TrailBytesAreNotBracketsOrLetters) {
  // B05D is one character whose trail byte is ']'; B041 and B061 differ only in a trail byte
  // that looks like 'A' and 'a'.
  ExpectSameAnswers("trail_bracket",
                    "[\xB0\x5D"
                    "ab\r\nk=1\r\n[\xB0\x5D]\r\nm=2\r\n",
                    {{"\xB0\x5D", "m"},
                     {"\xB0\x5D", "k"},
                     {"",
                      "[\xB0\x5D"
                      "ab"}});
  ExpectSameAnswers("trail_letter", G("[配置]\r\n") + "\xB0\x41=1\r\n\xB0\x61=2\r\n",
                    {{G("配置"), "\xB0\x41"}, {G("配置"), "\xB0\x61"}});
}

TEST_F(ProfileParity936, LeadByteTakesTheNextByte) {
  ExpectSameAnswers("lead_before_break", G("[配置]\r\n") + "k=\xB0\nm=1\nn=\xB0\x20z\r\nlast=\xB0",
                    InConfig({"k", "m", "n", "last"}));
}

TEST_F(ProfileParity936, OtherLettersKeepTheirCase) {
  // Full-width, Greek and Cyrillic capitals against their small letters.
  ExpectSameAnswers("non_ascii_case", G("[配置]\r\nＡ=1\r\nΑ=2\r\nА=3\r\n"),
                    InConfig({"ａ", "α", "а", "Ａ"}));
}

}  // namespace
