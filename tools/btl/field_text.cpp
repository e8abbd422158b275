#include "tools/btl/field_text.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool SameBits(float a, float b) { return memcmp(&a, &b, sizeof a) == 0; }

// JSON's number grammar: -? (0 | [1-9][0-9]*) (. [0-9]+)? ([eE] [+-]? [0-9]+)?
bool IsJsonNumber(const std::string& t) {
  size_t i = 0, n = t.size();
  auto digits = [&] {
    size_t start = i;
    while (i < n && t[i] >= '0' && t[i] <= '9') ++i;
    return i > start;
  };
  if (i < n && t[i] == '-') ++i;
  if (i < n && t[i] == '0') ++i;
  else if (!digits()) return false;
  if (i < n && t[i] == '.' && (++i, !digits())) return false;
  if (i < n && (t[i] == 'e' || t[i] == 'E')) {
    ++i;
    if (i < n && (t[i] == '+' || t[i] == '-')) ++i;
    if (!digits()) return false;
  }
  return i == n;
}

}  // namespace

bool FloatFromJsonNumber(const std::string& text, float& value) {
  if (!IsJsonNumber(text)) return false;
  errno = 0;
  char* end = nullptr;
  float v = strtof(text.c_str(), &end);
  if (*end || !std::isfinite(v)) return false;
  value = v;
  return true;
}

std::string ShortestFloatText(float value) {
  if (!std::isfinite(value)) return "";
  char buf[48];
  for (int digits = 1; digits <= 9; ++digits) {
    snprintf(buf, sizeof buf, "%.*g", digits, double(value));
    float back;
    if (FloatFromJsonNumber(buf, back) && SameBits(back, value)) return buf;
  }
  return "";
}

std::string FloatBitsText(float value) {
  uint32_t bits;
  memcpy(&bits, &value, 4);
  char buf[16];
  snprintf(buf, sizeof buf, "0x%08X", unsigned(bits));
  return buf;
}

bool FloatFromBitsText(const std::string& text, float& value) {
  uint8_t b[4];
  if (text.size() != 10 || text[0] != '0' || (text[1] != 'x' && text[1] != 'X') ||
      !BytesFromHex(text.substr(2), b, 4))
    return false;
  uint32_t bits = uint32_t(b[0]) << 24 | uint32_t(b[1]) << 16 | uint32_t(b[2]) << 8 | b[3];
  memcpy(&value, &bits, 4);
  return true;
}

std::string HexText(const uint8_t* bytes, size_t size) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string s(size * 2, '0');
  for (size_t i = 0; i < size; ++i) {
    s[2 * i] = kDigits[bytes[i] >> 4];
    s[2 * i + 1] = kDigits[bytes[i] & 15];
  }
  return s;
}

bool BytesFromHex(std::string_view text, uint8_t* bytes, size_t size) {
  if (text.size() != size * 2) return false;
  for (size_t i = 0; i < size; ++i) {
    int hi = HexDigit(text[2 * i]), lo = HexDigit(text[2 * i + 1]);
    if (hi < 0 || lo < 0) return false;
    bytes[i] = uint8_t(hi << 4 | lo);
  }
  return true;
}
