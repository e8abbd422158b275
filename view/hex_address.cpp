#include "view/hex_address.h"

#include <optional>
#include <string>

namespace {

// No hex index or coordinate the editor can hold comes near this; larger numbers are refused
// before any arithmetic, which then cannot overflow.
constexpr uint64_t kLargestNumber = 0xFFFFFFFFu;

// The full-width forms an input method in full-width mode types, and their ASCII meaning.
struct Alias {
  std::string_view utf8;
  char ascii;
};
constexpr Alias kAliases[] = {
    {"，", ','}, {"、", ','}, {"　", ' '}, {"\t", ' '}, {"（", '('}, {"）", ')'},
};

bool IsFullWidthDigit(std::string_view s) {
  // U+FF10..U+FF19
  return s.size() >= 3 && uint8_t(s[0]) == 0xEF && uint8_t(s[1]) == 0xBC && uint8_t(s[2]) >= 0x90 &&
         uint8_t(s[2]) <= 0x99;
}

// The text in ASCII: digits, commas, spaces and parentheses; nothing when it holds any other
// character.
std::optional<std::string> Simplified(std::string_view text) {
  std::string out;
  size_t at = 0;
  while (at < text.size()) {
    std::string_view rest = text.substr(at);
    char c = rest[0];
    if ((c >= '0' && c <= '9') || c == ',' || c == ' ' || c == '(' || c == ')') {
      out += c;
      at += 1;
      continue;
    }
    if (IsFullWidthDigit(rest)) {
      out += char('0' + (uint8_t(rest[2]) - 0x90));
      at += 3;
      continue;
    }
    bool known = false;
    for (const Alias& a : kAliases) {
      if (rest.substr(0, a.utf8.size()) == a.utf8) {
        out += a.ascii;
        at += a.utf8.size();
        known = true;
        break;
      }
    }
    if (!known) return std::nullopt;
  }
  return out;
}

class Scanner {
 public:
  explicit Scanner(std::string_view text) : text_(text) {}

  bool Take(char c) {
    SkipBlanks();
    if (at_ < text_.size() && text_[at_] == c) {
      ++at_;
      return true;
    }
    return false;
  }

  // A run of digits; nothing when there is none or it exceeds kLargestNumber.
  std::optional<int64_t> Number() {
    SkipBlanks();
    size_t start = at_;
    uint64_t value = 0;
    while (at_ < text_.size() && text_[at_] >= '0' && text_[at_] <= '9') {
      value = value * 10 + uint64_t(text_[at_] - '0');
      if (value > kLargestNumber) return std::nullopt;
      ++at_;
    }
    if (at_ == start) return std::nullopt;
    return int64_t(value);
  }

  bool AtEnd() {
    SkipBlanks();
    return at_ == text_.size();
  }

 private:
  void SkipBlanks() {
    while (at_ < text_.size() && text_[at_] == ' ') ++at_;
  }

  std::string_view text_;
  size_t at_ = 0;
};

}  // namespace

std::optional<GridHex> ParseHexAddress(std::string_view utf8, const MapRange& range,
                                       int32_t worldWidth) {
  std::optional<std::string> ascii = Simplified(utf8);
  if (!ascii || worldWidth <= 0) return std::nullopt;
  Scanner scan(*ascii);
  bool parenthesised = scan.Take('(');
  std::optional<int64_t> first = scan.Number();
  if (!first) return std::nullopt;
  std::optional<int64_t> second;
  if (scan.Take(',')) {
    second = scan.Number();
    if (!second) return std::nullopt;
  }
  // Parentheses belong to a column and row only.
  if (parenthesised && (!second || !scan.Take(')'))) return std::nullopt;
  if (!scan.AtEnd()) return std::nullopt;

  int64_t column = second ? *first : *first % worldWidth;
  int64_t row = second ? *second : *first / worldWidth;
  if (column >= worldWidth) return std::nullopt;
  int64_t x = column - range.originX, y = row - range.originY;
  int64_t width = range.width < kMaxGrid ? range.width : kMaxGrid;
  int64_t height = range.height < kMaxGrid ? range.height : kMaxGrid;
  if (x < 0 || y < 0 || x >= width || y >= height) return std::nullopt;
  return GridHex{int32_t(x), int32_t(y)};
}
