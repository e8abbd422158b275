#include "dialogs/fields.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "base/text.h"

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Length of the decimal number at the start of text: sign, digits with an optional point,
// an exponent only when digits follow it. 0 when there is no digit in the mantissa.
size_t DecimalNumberLength(std::string_view text) {
  size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  size_t mantissaDigits = 0;
  while (i < text.size() && IsDigit(text[i])) ++i, ++mantissaDigits;
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && IsDigit(text[i])) ++i, ++mantissaDigits;
  }
  if (mantissaDigits == 0) return 0;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    size_t j = i + 1;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
    if (j < text.size() && IsDigit(text[j])) {
      while (j < text.size() && IsDigit(text[j])) ++j;
      i = j;
    }
  }
  return i;
}

}  // namespace

uint32_t LeadingNumber(std::string_view text, int bits) {
  text = text.substr(0, kNumberFieldChars);
  uint64_t mask = bits >= 32 ? 0xFFFFFFFFull : (uint64_t(1) << bits) - 1;
  uint64_t value = 0;
  for (char c : text) {
    if (!IsDigit(c)) break;
    value = (value * 10 + uint64_t(c - '0')) & mask;
  }
  return uint32_t(value);
}

uint8_t ParseHexByte(std::string_view text) {
  text = text.substr(0, kHexFieldChars);
  unsigned value = 0;
  for (char c : text) {
    int digit = HexDigitValue(c);
    if (digit < 0) break;
    value = (value * 16 + unsigned(digit)) % 256;
  }
  return uint8_t(value);
}

float ParseFloatOr(std::string_view text, float old) {
  text = text.substr(0, kFloatFieldChars);
  size_t start = 0;
  while (start < text.size() && (text[start] == ' ' || text[start] == '\t')) ++start;
  size_t length = DecimalNumberLength(text.substr(start));
  if (length == 0) return old;
  std::string number(text.substr(start, length));
  float value = std::strtof(number.c_str(), nullptr);
  return std::isfinite(value) ? value : old;
}

uint8_t ReadFieldU8(Form& form, int id) { return uint8_t(LeadingNumber(form.GetText(id), 8)); }
uint16_t ReadFieldU16(Form& form, int id) { return uint16_t(LeadingNumber(form.GetText(id), 16)); }
uint32_t ReadFieldU32(Form& form, int id) { return LeadingNumber(form.GetText(id), 32); }

float ReadFieldFloat(Form& form, int id, float old) { return ParseFloatOr(form.GetText(id), old); }

std::string DecimalText(uint32_t value) { return std::to_string(value); }

std::string FloatText(float value) {
  char text[64];
  snprintf(text, sizeof text, "%f", double(value));
  return text;
}

std::string HexByteText(uint8_t value) {
  char text[4];
  snprintf(text, sizeof text, "%02X", unsigned(value));
  return text;
}

void WriteNumber(Form& form, int id, uint32_t value) { form.SetText(id, DecimalText(value)); }
void WriteFloat(Form& form, int id, float value) { form.SetText(id, FloatText(value)); }

bool SelectByNumber(Form& form, int id, uint32_t value) {
  int count = form.ComboCount(id);
  for (int i = 0; i < count; ++i) {
    std::string item = form.ComboItemText(id, i);
    // An item without a number (such as "无" alone) names no value.
    if (item.empty() || !IsDigit(item[0])) continue;
    if (LeadingNumber(item, 32) == value) {
      form.SelectComboItem(id, i);
      return true;
    }
  }
  form.SelectComboItem(id, -1);
  return false;
}

void SelectOrShowNumber(Form& form, int id, uint32_t value) {
  if (!SelectByNumber(form, id, value)) WriteNumber(form, id, value);
}

std::string NameText(const char* gbk) { return gbk ? Utf8FromGbk(gbk) : std::string(); }

std::string NumberedItem(int64_t number, const char* separator, const char* gbkName) {
  return std::to_string(number) + separator + NameText(gbkName);
}
