#include "view/hex_address.h"

#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <string>

namespace {

// A 300-column world with a 40 x 30 range at an odd origin, global (11, 7).
constexpr int32_t kWorldWidth = 300;
constexpr MapRange kRange{11, 7, 40, 30};

std::string Index(int64_t column, int64_t row) {
  return std::to_string(row * kWorldWidth + column);
}

struct Case {
  std::string text;
  std::optional<GridHex> expected;
};

TEST(HexAddress, ReadsIndicesAndColumnRowPairsAndRefusesTheRest) {
  const std::optional<GridHex> none;
  const Case cases[] = {
      // A global hex index.
      {Index(11, 7), GridHex{0, 0}},
      {Index(50, 36), GridHex{39, 29}},  // the range's last hex
      {Index(30, 20), GridHex{19, 13}},
      {" \t" + Index(12, 8) + "  ", GridHex{1, 1}},
      {"000" + Index(12, 8), GridHex{1, 1}},
      // A global column and row.
      {"11,7", GridHex{0, 0}},
      {"50,36", GridHex{39, 29}},
      {" 12 , 8 ", GridHex{1, 1}},
      {"12，8", GridHex{1, 1}},          // full-width comma
      {"12、8", GridHex{1, 1}},          // enumeration comma
      {"１２，８", GridHex{1, 1}},       // full-width digits
      {"　12　，　8　", GridHex{1, 1}},  // full-width spaces
      {"(12, 8)", GridHex{1, 1}},
      {"（12，8）", GridHex{1, 1}},
      {"0012,008", GridHex{1, 1}},
      // Garbage.
      {"", none},
      {"   ", none},
      {"abc", none},
      {"12a", none},
      {"g", none},
      {"1 2", none},
      {"12,", none},
      {",8", none},
      {"12,,8", none},
      {"12,8,9", none},
      {"12.5", none},
      {"12;8", none},
      {"12 8", none},
      {"(12,8", none},
      {"12,8)", none},
      {"(" + Index(12, 8) + ")", none},
      {"１２ｘ", none},
      {"十二", none},
      // Signs.
      {"-12,8", none},
      {"12,-8", none},
      {"-" + Index(12, 8), none},
      {"+" + Index(12, 8), none},
      // Outside the range on each side (the origin is odd: parity plays no part).
      {"10,7", none},
      {"51,7", none},
      {"11,6", none},
      {"11,37", none},
      {Index(10, 7), none},
      {Index(51, 36), none},
      {Index(11, 6), none},
      {Index(11, 37), none},
      {Index(5, 8), none},    // a row of the range, a column left of it
      {Index(299, 8), none},  // the world's last column
      {"300,8", none},        // beyond the world's width
      {"1000,0", none},
      {"0", none},
      // Numbers too large for any hex; the largest taken is 4,294,967,295.
      {"4294967295", none},
      {"4294967296", none},
      {"99999999999999999999999999999", none},
      {"12,99999999999999999999999", none},
      // Wrapped at 32 or 64 bits these would name hex (12, 8).
      {"4294969708", none},            // 2^32 + index of (12, 8)
      {"18446744073709554028", none},  // 2^64 + index of (12, 8)
      {"18446744073709551628,8", none},
      {"12,18446744073709551624", none},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("\"" + c.text + "\"");
    std::optional<GridHex> got = ParseHexAddress(c.text, kRange, kWorldWidth);
    EXPECT_EQ(got.has_value(), c.expected.has_value());
    if (got && c.expected) {
      EXPECT_EQ(got->x, c.expected->x);
      EXPECT_EQ(got->y, c.expected->y);
    }
  }
}

// Every hex of a range comes back from the index its building editor shows (GlobalIndex) and
// from its global column and row.
TEST(HexAddress, EveryHexOfTheRangeComesBackFromItsIndexAndItsCoordinates) {
  memset(&g_world, 0, sizeof g_world);
  g_world.worldWidth = 97;
  g_world.worldHeight = 80;
  g_world.originX = 13;
  g_world.originY = 4;
  g_world.rangeWidth = 31;
  g_world.rangeHeight = 17;
  const MapRange range = CurrentRange();
  for (int x = 0; x < range.width; ++x)
    for (int y = 0; y < range.height; ++y) {
      const GridHex hex{x, y};
      EXPECT_EQ(ParseHexAddress(std::to_string(GlobalIndex(x, y)), range, 97), hex);
      EXPECT_EQ(ParseHexAddress(std::to_string(13 + x) + "," + std::to_string(4 + y), range, 97),
                hex);
    }
}

TEST(HexAddress, NeverBeyondTheGridOrWithoutAWorld) {
  // A range wider and taller than the grid holds: only its first kMaxGrid columns and rows.
  const MapRange wide{0, 0, kMaxGrid + 20, kMaxGrid + 20};
  EXPECT_EQ(ParseHexAddress("499,499", wide, 1000), (GridHex{499, 499}));
  EXPECT_EQ(ParseHexAddress("500,0", wide, 1000), std::nullopt);
  EXPECT_EQ(ParseHexAddress("0,500", wide, 1000), std::nullopt);
  EXPECT_EQ(ParseHexAddress("3", kRange, 0), std::nullopt);
  EXPECT_EQ(ParseHexAddress("12,8", kRange, 0), std::nullopt);
}

}  // namespace
