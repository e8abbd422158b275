#include "catalogs/string_table.h"

#include <cstring>
#include <string_view>

#include "base/config.h"
#include "base/files.h"

StringTable g_strings;

namespace {

constexpr size_t kPieceBytes = 149;  // fgets into a 150-byte buffer
constexpr std::string_view kCountryPrefix = "text3_countryname_";
constexpr std::string_view kCityPrefix = "city_cityname_";
constexpr int64_t kIdCeiling = 1000000000;  // digits beyond this cannot index any table

const char kEmptySlot[kSlotBytes] = {};

// Reads the piece starting at pos into `piece` and returns the position after it.
size_t NextPiece(std::string_view text, size_t pos, std::string& piece) {
  piece.clear();
  while (pos < text.size() && piece.size() < kPieceBytes) {
    char c = text[pos++];
    if (c == '\r' && pos < text.size() && text[pos] == '\n') c = text[pos++];
    piece += c;
    if (c == '\n') break;
  }
  return pos;
}

bool IsBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// The decimal Id the way strtol reads it; values past kIdCeiling stay there, which every
// table rejects.
int64_t ParseId(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  int64_t value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > kIdCeiling) value = kIdCeiling;
  }
  return negative ? -value : value;
}

// The name part of a matching line: after the first "=", without the line break. False for
// a line without "=".
bool NameOf(std::string_view line, std::string_view& name) {
  size_t equals = line.find('=');
  if (equals == std::string_view::npos) return false;
  name = line.substr(equals + 1);
  if (!name.empty() && name.back() == '\n') name.remove_suffix(1);
  return true;
}

void ReadCountryLine(std::string_view line) {
  int64_t id = ParseId(line.substr(kCountryPrefix.size()));
  std::string_view name;
  if (!NameOf(line, name) || id < 0 || id >= kCountryNameSlots) return;
  FillSlot(g_strings.CountryName[id], name);
}

void ReadCityLine(std::string_view line) {
  int64_t id = ParseId(line.substr(kCityPrefix.size()));
  std::string_view name;
  if (!NameOf(line, name) || id < 0 || id >= kCityNameSlots || g_strings.CityCount >= kCityIdSlots)
    return;
  g_strings.CityIds[g_strings.CityCount++] = static_cast<int32_t>(id);
  FillSlot(g_strings.CityName[id], name);
}

void ReadPiece(std::string_view line) {
  if (line.starts_with(kCountryPrefix)) ReadCountryLine(line);
  if (line.starts_with(kCityPrefix)) ReadCityLine(line);
}

}  // namespace

bool load_string_table() { return load_string_table(StringTablePath()); }

bool load_string_table(const std::string& path) {
  std::string text;
  bool opened = ReadWholeFile(path, text);
  ReadStringTable(opened ? text : std::string_view());
  return opened;
}

void ReadStringTable(std::string_view text) {
  ResetStringTable();
  std::string piece;
  for (size_t pos = 0; pos < text.size();) {
    pos = NextPiece(text, pos, piece);
    ReadPiece(piece);
  }
}

std::string StringTablePath() {
  // The configuration holds GBK bytes; paths in the program are UTF-8.
  std::string name = ConfigString(kConfigLanguageFile, "stringtable_cn.ini");
  return DataPath(Utf8FromGbk(name));
}

void ResetStringTable() {
  memset(g_strings.CountryName, 0, sizeof g_strings.CountryName);
  memset(g_strings.CityName, 0, sizeof g_strings.CityName);
  memset(g_strings.CityIds, 0, sizeof g_strings.CityIds);
  g_strings.CityCount = 0;
}

const char* CountryNameOf(int32_t countryId) {
  if (countryId < 0 || countryId >= kCountryNameSlots) return kEmptySlot;
  return g_strings.CountryName[countryId];
}

const char* CityNameOf(int32_t cityId) {
  if (cityId < 0 || cityId >= kCityNameSlots) return kEmptySlot;
  return g_strings.CityName[cityId];
}
