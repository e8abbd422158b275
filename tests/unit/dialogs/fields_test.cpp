#include "dialogs/fields.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/fake_form.h"

namespace {

TEST(LeadingNumber, WrapsAtTheFieldWidth) {
  EXPECT_EQ(LeadingNumber("300", 8), 44u);
  EXPECT_EQ(LeadingNumber("255", 8), 255u);
  EXPECT_EQ(LeadingNumber("65537", 16), 1u);
  EXPECT_EQ(LeadingNumber("4294967297", 32), 1u);
  // Wrapping happens digit by digit, so long texts keep wrapping the same way.
  EXPECT_EQ(LeadingNumber("99999999999", 32), uint32_t(99999999999ull % 4294967296ull));
}

TEST(LeadingNumber, TakesLeadingDigitsOnly) {
  EXPECT_EQ(LeadingNumber("3:防守", 8), 3u);
  EXPECT_EQ(LeadingNumber("12 北京", 16), 12u);
  EXPECT_EQ(LeadingNumber("", 32), 0u);
  EXPECT_EQ(LeadingNumber("x5", 32), 0u);
  EXPECT_EQ(LeadingNumber(" 5", 32), 0u);
  EXPECT_EQ(LeadingNumber("-5", 32), 0u);
  EXPECT_EQ(LeadingNumber("无", 32), 0u);
}

TEST(LeadingNumber, LooksAtTheFirst29CharactersOnly) {
  std::string zeros28(28, '0');
  EXPECT_EQ(LeadingNumber(zeros28 + "7", 32), 7u);   // the 29th character counts
  EXPECT_EQ(LeadingNumber(zeros28 + "07", 32), 0u);  // the 30th does not
  EXPECT_EQ(LeadingNumber(zeros28 + "1" + "9", 8), 1u);
}

TEST(ReadField, ComboGivesTheNumberOfItsCurrentText) {
  FakeForm form;
  FillCombo(form, 5, {"0:无", "3:防守"});
  form.Pick(5, 1);
  EXPECT_EQ(ReadFieldU8(form, 5), 3);
  form.Type(5, "300");  // a number typed into the combo's edit field
  EXPECT_EQ(ReadFieldU8(form, 5), 44);
  EXPECT_EQ(ReadFieldU16(form, 5), 300);
  form.SelectComboItem(5, -1);
  EXPECT_EQ(ReadFieldU32(form, 5), 0u);
}

TEST(ParseHexByte, LastTwoLeadingHexDigitsCount) {
  EXPECT_EQ(ParseHexByte("g7"), 0x00);
  EXPECT_EQ(ParseHexByte("7g"), 0x07);
  EXPECT_EQ(ParseHexByte("abc"), 0xBC);
  EXPECT_EQ(ParseHexByte("1FF"), 0xFF);
  EXPECT_EQ(ParseHexByte("fF"), 0xFF);
  EXPECT_EQ(ParseHexByte("0a"), 0x0A);
  EXPECT_EQ(ParseHexByte(""), 0x00);
  EXPECT_EQ(ParseHexByte(" 7"), 0x00);
}

TEST(ParseHexByte, LooksAtTheFirst99CharactersOnly) {
  EXPECT_EQ(ParseHexByte(std::string(98, '0') + "7"), 0x07);
  EXPECT_EQ(ParseHexByte(std::string(99, '0') + "7"), 0x00);
}

TEST(ParseFloatOr, TextWithoutALeadingNumberKeepsTheOldValue) {
  EXPECT_EQ(ParseFloatOr("abc", 1.25f), 1.25f);
  EXPECT_EQ(ParseFloatOr("", 1.25f), 1.25f);
  EXPECT_EQ(ParseFloatOr(".", 1.25f), 1.25f);
  EXPECT_EQ(ParseFloatOr("-", 1.25f), 1.25f);
  // Words a C library would read as numbers are letters to the user.
  EXPECT_EQ(ParseFloatOr("inf", 1.25f), 1.25f);
  EXPECT_EQ(ParseFloatOr("nan", 1.25f), 1.25f);
  // A number too large for a float is refused rather than stored as infinity.
  EXPECT_EQ(ParseFloatOr("1e39", 1.25f), 1.25f);
}

TEST(ParseFloatOr, LeadingDecimalNumberIsTaken) {
  EXPECT_EQ(ParseFloatOr("0.5abc", 9.0f), 0.5f);
  EXPECT_EQ(ParseFloatOr("  2.25", 9.0f), 2.25f);
  EXPECT_EQ(ParseFloatOr("-1.5", 9.0f), -1.5f);
  EXPECT_EQ(ParseFloatOr("+3", 9.0f), 3.0f);
  EXPECT_EQ(ParseFloatOr(".75", 9.0f), 0.75f);
  EXPECT_EQ(ParseFloatOr("1e3", 9.0f), 1000.0f);
  EXPECT_EQ(ParseFloatOr("2e", 9.0f), 2.0f);    // an exponent needs digits
  EXPECT_EQ(ParseFloatOr("0x10", 9.0f), 0.0f);  // decimal only
}

TEST(FieldText, FloatsAreShownWithPercentF) {
  EXPECT_EQ(FloatText(0.5f), "0.500000");
  EXPECT_EQ(FloatText(-2.0f), "-2.000000");
  EXPECT_EQ(HexByteText(0x0A), "0A");
  EXPECT_EQ(DecimalText(4294967295u), "4294967295");
}

TEST(SelectByNumber, FirstItemWithThatLeadingNumberIsSelected) {
  FakeForm form;
  FillCombo(form, 9, {"无", "12 北京", "1:甲", "1:乙"});
  EXPECT_TRUE(SelectByNumber(form, 9, 1));
  EXPECT_EQ(form.ComboSelection(9), 2);
  EXPECT_EQ(form.text(9), "1:甲");
  EXPECT_TRUE(SelectByNumber(form, 9, 12));
  EXPECT_EQ(form.ComboSelection(9), 1);
}

TEST(SelectByNumber, NoMatchLeavesNoSelectionAndEmptyText) {
  FakeForm form;
  FillCombo(form, 9, {"无", "1:甲"});
  form.Pick(9, 1);
  EXPECT_FALSE(SelectByNumber(form, 9, 0));  // "无" carries no number
  EXPECT_EQ(form.ComboSelection(9), -1);
  EXPECT_EQ(form.text(9), "");
}

TEST(SelectOrShowNumber, UnlistedValueReadsBackUnchanged) {
  FakeForm form;
  FillCombo(form, 9, {"0:无", "1:左"});
  SelectOrShowNumber(form, 9, 7);
  EXPECT_EQ(form.ComboSelection(9), -1);
  EXPECT_EQ(ReadFieldU8(form, 9), 7);
  SelectOrShowNumber(form, 9, 1);
  EXPECT_EQ(form.ComboSelection(9), 1);
}

}  // namespace
