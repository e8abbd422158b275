// How the JSON form writes the values that are not plain integers: floats exactly, bytes in
// hex. Export and import share these so that each reads back what the other writes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// The shortest decimal that reads back (through FloatFromJsonNumber) to the same bits, or "" when
// there is none (NaN, infinities).
std::string ShortestFloatText(float value);
// The float a JSON number's text names; false when it is no number or names no finite float.
bool FloatFromJsonNumber(const std::string& text, float& value);

// A float's bits as "0x" and eight upper-case hex digits, and back (either case of digits).
std::string FloatBitsText(float value);
bool FloatFromBitsText(const std::string& text, float& value);

// Bytes as upper-case hex, two digits a byte, and back; false on a wrong length or digit.
std::string HexText(const uint8_t* bytes, size_t size);
bool BytesFromHex(std::string_view text, uint8_t* bytes, size_t size);

// `text` as valid UTF-8: each byte that starts no well-formed UTF-8 sequence (a file name in
// another encoding, say) is written as the four characters "\xNN" instead.
std::string ValidUtf8(std::string_view text);
