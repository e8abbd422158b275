// Text conversion to and from GBK. Every expectation holds in both builds (iconv natively,
// code page 936 on Windows); malformed input is limited to cases both decoders agree on.
#include "base/text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const std::string kBubing = "\xB2\xBD\xB1\xF8";    // 步兵 in GBK
const std::string kZhongguo = "\xD6\xD0\xB9\xFA";  // 中国 in GBK

std::string Repeat(const std::string& s, int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out += s;
  return out;
}

TEST(GbkFromUtf8, ChineseAndAscii) {
  EXPECT_EQ(GbkFromUtf8("步兵"), kBubing);
  EXPECT_EQ(GbkFromUtf8("A中国1"), std::string("A") + kZhongguo + "1");
  EXPECT_EQ(GbkFromUtf8(""), "");
  EXPECT_EQ(GbkFromUtf8("é€"), "\xA8\xA6\x80");  // pinyin letter and the euro sign
}

TEST(GbkFromUtf8, CharactersGbkLacksBecomeQuestionMarks) {
  EXPECT_EQ(GbkFromUtf8("한"), "?");
  // Outside the Basic Multilingual Plane: one mark per UTF-16 unit, as on Windows.
  EXPECT_EQ(GbkFromUtf8("a\xF0\x9F\x98\x80"
                        "b"),
            "a??b");
}

TEST(GbkFromUtf8, MalformedUtf8BecomesQuestionMarks) {
  EXPECT_EQ(GbkFromUtf8("\x80"), "?");
  EXPECT_EQ(GbkFromUtf8("A\xE4\xB8"
                        "B"),
            "A?B");                                              // cut sequence, one mark
  EXPECT_EQ(GbkFromUtf8("\xE4\xB8\xAD\xFF\xE6"), "\xD6\xD0??");  // 中, a bad byte, a cut lead
  EXPECT_EQ(GbkFromUtf8("\xC0\x80"), "??");                      // overlong zero
  EXPECT_EQ(GbkFromUtf8("\xF5\x80\x80\x80"), "????");
}

TEST(Utf8FromGbk, RoundTrip) {
  EXPECT_EQ(Utf8FromGbk(kBubing), "步兵");
  EXPECT_EQ(Utf8FromGbk(std::string("x") + kZhongguo + "\x80"), "x中国€");
  std::string all = "配置格子边长窗口长宽语言文件Ａα";
  EXPECT_EQ(Utf8FromGbk(GbkFromUtf8(all)), all);
}

TEST(Utf8FromGbk, LeadByteWithoutTrailIsAQuestionMark) { EXPECT_EQ(Utf8FromGbk("ab\xD6"), "ab?"); }

TEST(WideFromAnsi, GbkToWideCharacters) {
  EXPECT_EQ(wide_from_ansi(kZhongguo.c_str()), L"中国");
  EXPECT_EQ(wide_from_ansi("A1"), L"A1");
  EXPECT_EQ(wide_from_ansi(""), L"");
  EXPECT_EQ(wide_from_ansi("x\xD6"), L"x?");
}

TEST(GbkFit, CutsOnlyBetweenCharacters) {
  EXPECT_EQ(GbkFit(kZhongguo, 4), 4u);
  EXPECT_EQ(GbkFit(kZhongguo, 3), 2u);
  EXPECT_EQ(GbkFit(kZhongguo, 1), 0u);
  EXPECT_EQ(GbkFit(std::string("ab") + kZhongguo, 3), 2u);
  // B0 41 is one character whose trail byte looks like 'A'.
  EXPECT_EQ(GbkFit("\xB0\x41\x41", 1), 0u);
  EXPECT_EQ(GbkFit("\xB0\x41\x41", 2), 2u);
  // A lead byte before a byte that cannot trail stands alone.
  EXPECT_EQ(GbkFit("\xB0\x20", 1), 1u);
}

TEST(Utf8Fit, CutsOnlyBetweenSequences) {
  EXPECT_EQ(Utf8Fit("中国", 6), 6u);
  EXPECT_EQ(Utf8Fit("中国", 5), 3u);
  EXPECT_EQ(Utf8Fit("a中", 2), 1u);
}

TEST(AnsiFromUtf8, ConvertsInPlace) {
  char text[32] = "步兵";
  ansi_from_utf8(text);
  EXPECT_EQ(std::string(text), kBubing);
}

TEST(AnsiFromUtf8, NeverWritesPastTheInput) {
  // The euro sign is 3 bytes of UTF-8 and 1 of GBK; the bytes after the input's terminator
  // must stay as they were.
  char text[8] = {'\xE2', '\x82', '\xAC', '\0', 'k', 'e', 'e', 'p'};
  ansi_from_utf8(text);
  EXPECT_EQ(std::string(text), "\x80");
  EXPECT_EQ(std::string(text + 4, 4), "keep");
}

TEST(AnsiFromUtf8, LongTextIsCutToTheWorkBufferAtACharacterBoundary) {
  std::string input = Repeat("中", 300);  // 900 bytes of UTF-8, 600 of GBK
  std::string buffer = input + '\0' + "tail";
  ansi_from_utf8(buffer.data());
  EXPECT_EQ(std::string(buffer.c_str()), Repeat("\xD6\xD0", 127));  // 254 of at most 255 bytes
  EXPECT_EQ(buffer.substr(input.size() + 1), "tail");
}

TEST(FillSlot, CutsAtNineteenBytesOnACharacterBoundary) {
  char slot[kSlotBytes];
  FillSlot(slot, Repeat("中", 10));  // 20 bytes of GBK: the tenth character does not fit
  EXPECT_EQ(std::string(slot), Repeat("\xD6\xD0", 9));
  FillSlot(slot, std::string("a") + Repeat("中", 9));  // exactly 19 bytes
  EXPECT_EQ(std::string(slot), std::string("a") + Repeat("\xD6\xD0", 9));
  FillSlot(slot, std::string("ab") + Repeat("中", 9));
  EXPECT_EQ(std::string(slot), std::string("ab") + Repeat("\xD6\xD0", 8));
  FillSlot(slot, std::string(25, 'x'));
  EXPECT_EQ(std::string(slot), std::string(19, 'x'));
}

TEST(FillSlot, ClearsTheRestOfTheSlot) {
  char slot[kSlotBytes];
  memset(slot, 'z', sizeof slot);
  FillSlot(slot, "步兵");
  EXPECT_EQ(std::string(slot, kSlotBytes), kBubing + std::string(16, '\0'));
}

TEST(FillSlot, StopsAtAnEmbeddedZero) {
  char slot[kSlotBytes];
  FillSlot(slot, std::string("ab\0cd", 5));
  EXPECT_EQ(std::string(slot), "ab");
}

}  // namespace
