// The private-profile ("ini") reader, portable and the same on both builds.
#pragma once

#include <string>
#include <string_view>

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
int ProfileInt(std::string_view file, std::string_view section, std::string_view key,
               int defaultValue);
std::string ProfileString(std::string_view file, std::string_view section, std::string_view key,
                          std::string_view defaultValue);
