// Fuzz target: reading the hex a user names in the go-to dialog. Whatever the text, a hex it
// gives lies inside the range, and that hex's own index and its column and row read back as
// the same hex; a text of ASCII digits alone is the index it spells.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "view/hex_address.h"

namespace {

void Check(std::string_view text, const MapRange& range, int32_t worldWidth) {
  std::optional<GridHex> hex = ParseHexAddress(text, range, worldWidth);
  bool digitsOnly =
      !text.empty() && text.size() < 10 && text.find_first_not_of("0123456789") == text.npos;
  if (digitsOnly) {
    int64_t index = std::stoll(std::string(text));
    int64_t x = index % worldWidth - range.originX, y = index / worldWidth - range.originY;
    bool inside = x >= 0 && y >= 0 && x < range.width && y < range.height;
    if (inside != hex.has_value() || (hex && (hex->x != x || hex->y != y))) abort();
  }
  if (!hex) return;
  if (hex->x < 0 || hex->y < 0 || hex->x >= range.width || hex->y >= range.height ||
      hex->x >= kMaxGrid || hex->y >= kMaxGrid)
    abort();
  int64_t column = int64_t(range.originX) + hex->x, row = int64_t(range.originY) + hex->y;
  if (ParseHexAddress(std::to_string(row * worldWidth + column), range, worldWidth) != hex) abort();
  if (ParseHexAddress(std::to_string(column) + "," + std::to_string(row), range, worldWidth) != hex)
    abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 4096) return 0;  // an edit holds a line; longer inputs add nothing
  std::string_view text(reinterpret_cast<const char*>(data), size);
  Check(text, MapRange{11, 7, 40, 30}, 300);   // an odd origin
  Check(text, MapRange{0, 0, 200, 120}, 200);  // the whole world
  return 0;
}
