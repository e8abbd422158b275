// The PNG header read that sizes a picture before it is decoded.
#include <gtest/gtest.h>

#include <vector>

#include "catalogs/artwork.h"
#include "tools/demo_data/png_writer.h"

namespace {

std::vector<uint8_t> Bytes(const std::string& s) { return std::vector<uint8_t>(s.begin(), s.end()); }

TEST(PngHeader, ReadsTheStatedSizeOfARealPicture) {
  std::vector<uint32_t> px(size_t(37) * 5, PngRgba(1, 2, 3));
  std::vector<uint8_t> png = Bytes(EncodePng(37, 5, px.data()));
  uint32_t w = 0, h = 0;
  ASSERT_TRUE(PngHeaderSize(png.data(), png.size(), w, h));
  EXPECT_EQ(w, 37u);
  EXPECT_EQ(h, 5u);
  // Only the first 24 bytes are needed; one fewer is not enough.
  EXPECT_TRUE(PngHeaderSize(png.data(), 24, w, h));
  EXPECT_FALSE(PngHeaderSize(png.data(), 23, w, h));
}

TEST(PngHeader, RefusesWhatIsNotAPngStart) {
  std::vector<uint32_t> px(4, PngRgba(1, 2, 3));
  const std::vector<uint8_t> good = Bytes(EncodePng(2, 2, px.data()));
  uint32_t w, h;
  auto refused = [&](size_t at, uint8_t value) {
    std::vector<uint8_t> b = good;
    b[at] = value;
    return !PngHeaderSize(b.data(), b.size(), w, h);
  };
  EXPECT_TRUE(refused(0, 0x88));   // signature
  EXPECT_TRUE(refused(7, 0x00));   // last signature byte
  EXPECT_TRUE(refused(11, 14));    // IHDR length other than 13
  EXPECT_TRUE(refused(12, 'i'));   // chunk type other than IHDR
  std::vector<uint8_t> zeroWidth = good;
  for (int i = 16; i < 20; ++i) zeroWidth[i] = 0;
  EXPECT_FALSE(PngHeaderSize(zeroWidth.data(), zeroWidth.size(), w, h));
  std::vector<uint8_t> huge = good;  // 0xFFFFFFFF x 2: stated as is, for the caller to refuse
  for (int i = 16; i < 20; ++i) huge[i] = 0xFF;
  ASSERT_TRUE(PngHeaderSize(huge.data(), huge.size(), w, h));
  EXPECT_EQ(w, 0xFFFFFFFFu);
  EXPECT_EQ(h, 2u);
}

}  // namespace
