// The editor's configuration: the private-profile file "数据\配置.ini", section 配置. The file
// is GBK, so keys are matched as GBK bytes and string values come back as the file's bytes.
// A missing file, section or key gives the default; a value that is not a number gives 0 for
// an integer key.
//
// On Windows the real private-profile reader answers (GetPrivateProfileIntA and
// GetPrivateProfileStringA with the GBK bytes of section and key: the game's own reader when
// the ANSI code page is 936); natively, and on Windows for a path the ANSI code page cannot
// spell, the portable reader below answers the same way.
#pragma once

#include <string>
#include <string_view>

inline constexpr char kConfigSection[] = "配置";
inline constexpr char kConfigHexSide[] = "格子边长";      // range-selection hex side, default 3
inline constexpr char kConfigViewCols[] = "窗口长";       // visible hex columns, default 12
inline constexpr char kConfigViewRows[] = "窗口宽";       // visible hex rows, default 10
inline constexpr char kConfigLanguageFile[] = "语言文件";  // default "stringtable_cn.ini"

// String values are cut to this many bytes (at a character boundary), the 200-byte buffer
// the game reads them into less its terminator.
constexpr size_t kConfigStringBytes = 199;

// "数据" + separator + "配置.ini".
std::string config_path();

// Keys and defaults are UTF-8; strings come back as GBK.
int config_int(const char* utf8Key, int defaultValue);
int config_int(const std::string& path, const char* utf8Key, int defaultValue);
std::string config_string(const char* utf8Key, const char* defaultValue);
std::string config_string(const std::string& path, const char* utf8Key, const char* defaultValue);
std::string config_string_utf8(const char* utf8Key, const char* defaultValue);

// The portable private-profile reader over a file's bytes (empty bytes = missing file), with
// section, key and default as GBK bytes. It follows the Win32 reader:
//   - a UTF-8 or UTF-16 byte-order mark makes the file Unicode (values come back as GBK);
//     otherwise the file is GBK, where a lead byte takes the next byte with it;
//   - lines end at any run of CR and LF; blanks (tab, LF, VT, FF, CR, Ctrl-Z, space) around
//     lines, names, "=" and values are dropped; the last line needs no line break;
//   - "[name]" opens a section (the name is what lies before the last "]", trimmed); a line
//     starting "[" without "]" is an ordinary line; lines before the first section belong to
//     a section without name;
//   - names compare without regard to the case of ASCII letters; only the first section of a
//     name is searched, and in it the first key of a name wins;
//   - a line without "=" is a key without value: it gives the default;
//   - comments are ordinary lines, so ";x=1" is a key named ";x";
//   - a value (or default) enclosed in matching single or double quotes loses them; a
//     default loses trailing spaces;
//   - values are cut to 4095 characters; integers read the first 29 characters like
//     RtlUnicodeStringToInteger with base 0: blanks and control characters, a sign, then
//     "0x", "0o" or "0b" for hexadecimal, octal or binary, digits up to the first other
//     character, wrapping at 32 bits; no digits give 0; an empty value gives the default.
int profile_int(std::string_view file, std::string_view section, std::string_view key, int defaultValue);
std::string profile_string(std::string_view file, std::string_view section, std::string_view key,
                           std::string_view defaultValue);
