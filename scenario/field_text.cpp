#include "scenario/field_text.h"

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
  if (i < n && t[i] == '0')
    ++i;
  else if (!digits())
    return false;
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

namespace {

// The length of the well-formed UTF-8 sequence at `at`, or 0 when there is none.
size_t Utf8SequenceAt(std::string_view t, size_t at) {
  const unsigned char c = static_cast<unsigned char>(t[at]);
  if (c < 0x80) return 1;
  size_t n = c >= 0xC2 && c <= 0xDF   ? 2
             : c >= 0xE0 && c <= 0xEF ? 3
             : c >= 0xF0 && c <= 0xF4 ? 4
                                      : 0;
  if (n == 0 || at + n > t.size()) return 0;
  // The second byte's range rules out overlong forms, surrogates and code points past U+10FFFF.
  const unsigned char second = static_cast<unsigned char>(t[at + 1]);
  unsigned char low = 0x80, high = 0xBF;
  if (c == 0xE0) low = 0xA0;
  if (c == 0xED) high = 0x9F;
  if (c == 0xF0) low = 0x90;
  if (c == 0xF4) high = 0x8F;
  if (second < low || second > high) return 0;
  for (size_t i = 2; i < n; ++i)
    if ((static_cast<unsigned char>(t[at + i]) & 0xC0) != 0x80) return 0;
  return n;
}

}  // namespace

std::string ValidUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t at = 0; at < text.size();) {
    size_t n = Utf8SequenceAt(text, at);
    if (n) {
      out.append(text.substr(at, n));
      at += n;
    } else {
      const uint8_t byte = static_cast<uint8_t>(text[at]);
      out += "\\x" + HexText(&byte, 1);
      ++at;
    }
  }
  return out;
}
