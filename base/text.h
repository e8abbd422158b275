// Text conversion between the program's UTF-8 and the game's GBK bytes (code page 936).
//
// The game's names are GBK text in fixed 20-byte slots. Conversions always use code page 936
// itself, never the process's ANSI code page, so the editor reads and shows the same bytes on
// any system locale. Windows converts with MultiByteToWideChar/WideCharToMultiByte (936),
// the native build with iconv "CP936"; both give '?' for a character GBK lacks and for
// malformed input.
//
// Known difference between the two builds: the user-defined GBK areas (AAA1-AFFE, F8A1-FEFE,
// A140-A7A0 and a few single codes) are private-use characters on Windows and '?' natively;
// no name of the game uses them.
#pragma once

#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

// Appends one character (a code point) in UTF-8.
inline void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// A name slot: up to 19 bytes of GBK text and a terminating zero.
constexpr size_t kSlotBytes = 20;
// ansi_from_utf8 converts through a work buffer of this size: 255 bytes of text and a zero.
constexpr size_t kAnsiWorkBytes = 256;

std::string GbkFromUtf8(std::string_view utf8);
std::string Utf8FromGbk(std::string_view gbk);
// GBK to the wide text of the W functions: UTF-16 on Windows, UTF-32 natively. Stops at the
// terminating zero.
std::wstring wide_from_ansi(const char* gbk);

// Bytes of the GBK character at the start of text: 2 for a lead byte (0x81-0xFE) followed by
// a trail byte (0x40-0xFE except 0x7F), else 1. Trail bytes overlap ASCII letters and the lead
// range, so text can only be cut by walking it from its start.
inline size_t GbkCharBytes(std::string_view text) {
  if (text.size() < 2) return text.size();
  unsigned char lead = text[0], trail = text[1];
  bool isLead = lead >= 0x81 && lead <= 0xFE;
  bool isTrail = trail >= 0x40 && trail <= 0xFE && trail != 0x7F;
  return isLead && isTrail ? 2 : 1;
}

// Length of the longest start of gbk made of whole characters that fits maxBytes.
inline size_t GbkFit(std::string_view gbk, size_t maxBytes) {
  size_t used = 0;
  while (used < gbk.size()) {
    size_t n = GbkCharBytes(gbk.substr(used));
    if (used + n > maxBytes) break;
    used += n;
  }
  return used;
}

// Length of the longest start of utf8 that fits maxBytes without splitting a sequence
// (continuation bytes are 10xxxxxx).
inline size_t Utf8Fit(std::string_view utf8, size_t maxBytes) {
  if (utf8.size() <= maxBytes) return utf8.size();
  size_t n = maxBytes;
  while (n > 0 && (static_cast<unsigned char>(utf8[n]) & 0xC0) == 0x80) --n;
  return n;
}

// Converts a terminated UTF-8 text to GBK in place. The GBK form goes into a 256-byte work
// buffer and is copied back over the input, cut at a character boundary so that it is never
// longer than the input nor than 255 bytes: nothing is written past the input's terminator.
inline void ansi_from_utf8(char* text) {
  size_t inputBytes = strlen(text);
  std::string gbk = GbkFromUtf8(std::string_view(text, inputBytes));
  char work[kAnsiWorkBytes];
  size_t n = GbkFit(gbk, inputBytes < kAnsiWorkBytes - 1 ? inputBytes : kAnsiWorkBytes - 1);
  memcpy(work, gbk.data(), n);
  work[n] = '\0';
  memcpy(text, work, n + 1);
}

// Stores UTF-8 text into a name slot as GBK through ansi_from_utf8: at most 19 bytes cut at a
// character boundary, the rest of the slot zero. Text after an embedded zero byte is dropped.
inline void FillSlot(char* slot, std::string_view utf8) {
  char work[kAnsiWorkBytes];
  size_t n = Utf8Fit(utf8, kAnsiWorkBytes - 1);
  memcpy(work, utf8.data(), n);
  work[n] = '\0';
  ansi_from_utf8(work);
  size_t kept = GbkFit(work, kSlotBytes - 1);
  memset(slot, 0, kSlotBytes);
  memcpy(slot, work, kept);
}
