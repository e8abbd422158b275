// The field helpers every dialog reads and writes its controls with.
//
// Numbers: a field's value is its leading decimal digits, accumulated as value * 10 + digit
// and wrapping at the field's width; only the first 29 characters of the text are looked at,
// and an empty text or one that does not start with a digit gives 0. On a combo box the text
// is the combo's current text, so an item "3:防守" gives 3 and a number typed into the combo
// is taken as typed.
//
// Raw bytes: the raw hex editor's boxes hold hexadecimal; the leading hex digits of the first
// 99 characters are accumulated modulo 256, so only the last two count ("1FF" gives 0xFF,
// "abc" 0xBC, "7g" 0x07) and a text that starts with anything else gives 0 ("g7").
//
// Floats: shown with "%f"; read from the first 99 characters when they start with a decimal
// number (blanks, a sign, digits with an optional point and exponent); otherwise, and for a
// result that is not finite, the field keeps its old value.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "dialogs/form.h"

constexpr size_t kNumberFieldChars = 29;
constexpr size_t kHexFieldChars = 99;
constexpr size_t kFloatFieldChars = 99;

// The parsing rules above, on a text.
uint32_t LeadingNumber(std::string_view text, int bits);
uint8_t ParseHexByte(std::string_view text);
float ParseFloatOr(std::string_view text, float old);

uint8_t ReadFieldU8(Form& form, int id);
uint16_t ReadFieldU16(Form& form, int id);
uint32_t ReadFieldU32(Form& form, int id);
float ReadFieldFloat(Form& form, int id, float old);

std::string DecimalText(uint32_t value);
std::string FloatText(float value);      // "%f"
std::string HexByteText(uint8_t value);  // "%02X"

void WriteNumber(Form& form, int id, uint32_t value);
void WriteFloat(Form& form, int id, float value);

// Selects the first item, in list order, whose leading decimal number equals value; when none
// does, the combo is left without a selection and with an empty text. True when one matched.
bool SelectByNumber(Form& form, int id, uint32_t value);

// SelectByNumber, but a value no item carries is written into the combo's edit field as its
// decimal text, so that reading the field back gives the stored value, not 0.
void SelectOrShowNumber(Form& form, int id, uint32_t value);

// GBK text from a catalog slot (may be null) as UTF-8 for the form.
std::string NameText(const char* gbk);
// "%d" + separator + name: the item texts of the catalog combos.
std::string NumberedItem(int64_t number, const char* separator, const char* gbkName);
