// The portable private-profile reader.
//
// The reader works on characters, as the Win32 one does after decoding the file: each GBK
// character becomes one 16-bit unit (a single byte as itself, a double-byte character as
// lead << 8 | trail), so a trail byte that happens to equal '[', ']' or an ASCII letter is
// never taken for one.
#include "base/profile.h"

#include <cstdint>

#include "base/text.h"

namespace {

using Units = std::u16string;
using UnitView = std::u16string_view;

constexpr size_t kStringChars = 4096;  // the string reader's buffer, terminator included
constexpr size_t kIntChars = 30;       // the integer reader's buffer, terminator included

// --- decoding the file ---------------------------------------------------------------------

// UTF-16 text (after its byte-order mark) as UTF-8; a lone surrogate becomes U+FFFD.
std::string Utf8FromUtf16(std::string_view bytes, bool bigEndian) {
  auto unit = [&](size_t i) -> uint32_t {
    unsigned char a = bytes[2 * i], b = bytes[2 * i + 1];
    return bigEndian ? (a << 8 | b) : (b << 8 | a);
  };
  size_t count = bytes.size() / 2;
  std::string out;
  for (size_t i = 0; i < count; ++i) {
    uint32_t c = unit(i);
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < count && unit(i + 1) >= 0xDC00 &&
        unit(i + 1) <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (unit(++i) - 0xDC00);
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = 0xFFFD;
    }
    AppendUtf8(out, c);
  }
  return out;
}

// The file as GBK bytes: a UTF-8 or UTF-16 byte-order mark marks a Unicode file, whose text
// the Win32 reader hands back in the ANSI code page.
std::string FileAsGbk(std::string_view file) {
  if (file.starts_with("\xEF\xBB\xBF")) return GbkFromUtf8(file.substr(3));
  if (file.starts_with("\xFF\xFE")) return GbkFromUtf8(Utf8FromUtf16(file.substr(2), false));
  if (file.starts_with("\xFE\xFF")) return GbkFromUtf8(Utf8FromUtf16(file.substr(2), true));
  return std::string(file);
}

// GBK bytes as units. A lead byte takes the next byte with it whatever it is, as the code
// page 936 decoder does; a pair that is no character, and a lead byte at the end, read '?'.
Units UnitsFromGbk(std::string_view gbk) {
  Units units;
  for (size_t i = 0; i < gbk.size();) {
    unsigned char b = gbk[i];
    bool lead = b >= 0x81 && b <= 0xFE;
    if (!lead) {
      units += static_cast<char16_t>(b);
      i += 1;
    } else if (i + 1 < gbk.size()) {
      units += GbkCharBytes(gbk.substr(i, 2)) == 2
                   ? static_cast<char16_t>(b << 8 | static_cast<unsigned char>(gbk[i + 1]))
                   : u'?';
      i += 2;
    } else {
      units += u'?';
      i += 1;
    }
  }
  return units;
}

std::string GbkFromUnits(UnitView units) {
  std::string out;
  for (char16_t u : units) {
    if (u > 0xFF) out += static_cast<char>(u >> 8);
    out += static_cast<char>(u & 0xFF);
  }
  return out;
}

// --- lines ---------------------------------------------------------------------------------

bool IsBlank(char16_t u) { return (u >= 0x09 && u <= 0x0D) || u == 0x1A || u == 0x20; }
bool IsLineBreak(char16_t u) { return u == '\r' || u == '\n'; }

UnitView Trim(UnitView s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

// Names and values are C strings to the Win32 reader: a zero byte ends them.
UnitView UpToZero(UnitView s) { return s.substr(0, s.find(u'\0')); }

char16_t FoldCase(char16_t u) { return u >= 'A' && u <= 'Z' ? u + ('a' - 'A') : u; }

bool SameName(UnitView a, UnitView b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (FoldCase(a[i]) != FoldCase(b[i])) return false;
  return true;
}

// The name of a section header line ("[" already seen), or false when the line has no "]"
// and so is an ordinary line.
bool SectionName(UnitView line, UnitView& name) {
  size_t close = line.rfind(u']');
  if (close == UnitView::npos || close == 0) return false;
  name = UpToZero(Trim(line.substr(1, close - 1)));
  return true;
}

struct KeyLine {
  UnitView name;
  bool hasValue = false;
  UnitView value;
};

KeyLine ReadKeyLine(UnitView line) {
  KeyLine k;
  size_t equals = line.find(u'=');
  if (equals == UnitView::npos) {
    k.name = UpToZero(line);
    return k;
  }
  k.name = UpToZero(Trim(line.substr(0, equals)));
  k.hasValue = true;
  k.value = UpToZero(Trim(line.substr(equals + 1)));
  return k;
}

enum class Found { kMissing, kNoValue, kValue };

// Looks the key up in the first section of the given name.
Found FindValue(UnitView file, UnitView section, UnitView key, UnitView& value) {
  bool searching = section.empty();  // lines before any header form a section without name
  bool hasPrevKey = false, prevKeyEmpty = false;
  size_t pos = 0;
  while (pos < file.size()) {
    size_t end = pos;
    while (end < file.size() && !IsLineBreak(file[end])) ++end;
    UnitView line = Trim(file.substr(pos, end - pos));
    while (end < file.size() && IsLineBreak(file[end])) ++end;
    pos = end;
    if (line.empty()) continue;

    UnitView name;
    if (line.front() == u'[' && SectionName(line, name)) {
      if (searching) return Found::kMissing;  // later sections of the same name are not read
      searching = SameName(name, section);
      hasPrevKey = false;
      continue;
    }
    KeyLine k = ReadKeyLine(line);
    // A line with an empty name right after another one is not kept as a key.
    if (k.name.empty() && hasPrevKey && prevKeyEmpty) continue;
    hasPrevKey = true;
    prevKeyEmpty = k.name.empty();
    if (!searching || !SameName(k.name, key)) continue;
    if (!k.hasValue) return Found::kNoValue;
    value = k.value;
    return Found::kValue;
  }
  return Found::kMissing;
}

// Copies a value into a buffer of `chars` characters the way the Win32 reader does,
// removing one pair of enclosing quotes. Its check for the closing quote is done on the
// value before the copy is cut, so a value that just overflows loses its last kept character
// instead of the quote; that is kept here too.
Units CopyEntry(UnitView value, size_t chars) {
  bool quoted =
      value.size() >= 2 && (value[0] == u'\'' || value[0] == u'"') && value.back() == value[0];
  if (quoted) value.remove_prefix(1);
  Units out(value.substr(0, chars - 1));
  if (quoted && chars >= value.size() && !out.empty()) out.pop_back();
  return out;
}

// A default loses trailing spaces, but never its first character.
UnitView TrimDefault(UnitView s) {
  while (s.size() > 1 && s.back() == u' ') s.remove_suffix(1);
  return s;
}

Units Lookup(std::string_view file, std::string_view section, std::string_view key,
             std::string_view defaultValue, size_t chars) {
  Units fileUnits = UnitsFromGbk(FileAsGbk(file));
  Units sectionUnits = UnitsFromGbk(section);
  Units keyUnits = UnitsFromGbk(key);
  Units defaultUnits = UnitsFromGbk(defaultValue);
  UnitView value;
  Found found = FindValue(fileUnits, Trim(sectionUnits), Trim(keyUnits), value);
  return CopyEntry(found == Found::kValue ? value : TrimDefault(defaultUnits), chars);
}

int DigitValue(char16_t u) {
  if (u >= '0' && u <= '9') return u - '0';
  if (u >= 'A' && u <= 'Z') return u - 'A' + 10;
  if (u >= 'a' && u <= 'z') return u - 'a' + 10;
  return 99;
}

// Like RtlUnicodeStringToInteger with base 0.
uint32_t IntegerFromUnits(UnitView s) {
  while (!s.empty() && s.front() <= u' ') s.remove_prefix(1);
  bool negative = false;
  if (!s.empty() && (s.front() == u'+' || s.front() == u'-')) {
    negative = s.front() == u'-';
    s.remove_prefix(1);
  }
  uint32_t base = 10;
  if (s.size() >= 2 && s[0] == u'0') {
    if (s[1] == u'b') base = 2;
    if (s[1] == u'o') base = 8;
    if (s[1] == u'x') base = 16;
    if (base != 10) s.remove_prefix(2);
  }
  uint32_t value = 0;
  for (char16_t u : s) {
    int d = DigitValue(u);
    if (d >= static_cast<int>(base)) break;
    value = value * base + static_cast<uint32_t>(d);
  }
  return negative ? 0u - value : value;
}

}  // namespace

int ProfileInt(std::string_view file, std::string_view section, std::string_view key,
               int defaultValue) {
  Units text = Lookup(file, section, key, "", kIntChars);
  if (text.empty()) return defaultValue;
  return static_cast<int>(IntegerFromUnits(text));
}

std::string ProfileString(std::string_view file, std::string_view section, std::string_view key,
                          std::string_view defaultValue) {
  return GbkFromUnits(Lookup(file, section, key, defaultValue, kStringChars));
}
