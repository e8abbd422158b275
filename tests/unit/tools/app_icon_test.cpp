// The application icon: the file kept in the sources is the one the drawing code makes, and
// the .ico file reads back, entry by entry, as the pictures it was made from.
#include "tools/icon/app_icon.h"

#include <gtest/gtest.h>

#include <string>

#include "base/files.h"
#include "tests/support/png_reader.h"
#include "tools/demo_data/png_writer.h"

namespace {

uint32_t Le16(const std::string& s, size_t at) {
  return uint32_t(uint8_t(s[at])) | uint32_t(uint8_t(s[at + 1])) << 8;
}
uint32_t Le32(const std::string& s, size_t at) { return Le16(s, at) | Le16(s, at + 2) << 16; }

// A bitmap entry read back: colour rows bottom up as B, G, R, A, then the mask.
Canvas ReadBitmapEntry(const std::string& e, std::string& why) {
  int w = int(Le32(e, 4)), h2 = int(Le32(e, 8));
  Canvas c(w, h2 / 2, 0);
  if (Le32(e, 0) != 40 || Le16(e, 12) != 1 || Le16(e, 14) != 32 || Le32(e, 16) != 0) {
    why = "not a 32-bit uncompressed bitmap header";
    return c;
  }
  const size_t maskRow = size_t((w + 31) / 32 * 4);
  if (e.size() != 40 + size_t(w) * c.height * 4 + maskRow * c.height) {
    why = "entry size " + std::to_string(e.size()) + " does not fit " + std::to_string(w);
    return c;
  }
  for (int y = 0; y < c.height; ++y)
    for (int x = 0; x < w; ++x) {
      size_t at = 40 + (size_t(c.height - 1 - y) * w + x) * 4;
      uint32_t p =
          PngRgba(uint8_t(e[at + 2]), uint8_t(e[at + 1]), uint8_t(e[at]), uint8_t(e[at + 3]));
      size_t maskAt = 40 + size_t(w) * c.height * 4 + size_t(c.height - 1 - y) * maskRow + x / 8;
      bool clear = (uint8_t(e[maskAt]) >> (7 - x % 8) & 1) != 0;
      if (clear != (p >> 24 == 0))
        why = "mask and alpha disagree at " + std::to_string(x) + "," + std::to_string(y);
      c.put(x, y, p);
    }
  return c;
}

// Every entry: the directory gives its size, its place follows the one before, and its
// pixels are exactly DrawAppIcon's at that size.
TEST(AppIcon, FileHoldsEverySizeAsDrawn) {
  const std::string ico = MakeAppIconFile();
  const size_t count = std::size(kAppIconSizes);
  ASSERT_GE(ico.size(), 6 + 16 * count);
  EXPECT_EQ(Le16(ico, 0), 0u);
  EXPECT_EQ(Le16(ico, 2), 1u);
  ASSERT_EQ(Le16(ico, 4), count);
  size_t next = 6 + 16 * count;
  for (size_t i = 0; i < count; ++i) {
    const int size = kAppIconSizes[i];
    SCOPED_TRACE("size " + std::to_string(size));
    const size_t d = 6 + 16 * i;
    EXPECT_EQ(uint8_t(ico[d]), size % 256);
    EXPECT_EQ(uint8_t(ico[d + 1]), size % 256);
    EXPECT_EQ(Le16(ico, d + 4), 1u);
    EXPECT_EQ(Le16(ico, d + 6), 32u);
    const size_t length = Le32(ico, d + 8), offset = Le32(ico, d + 12);
    ASSERT_EQ(offset, next);
    ASSERT_LE(offset + length, ico.size());
    next = offset + length;
    const std::string entry = ico.substr(offset, length);
    const Canvas drawn = DrawAppIcon(size);
    if (size == 256) {
      DecodedPng png;
      ASSERT_EQ(DecodePng(entry, png), "");
      ASSERT_EQ(png.width, 256);
      ASSERT_EQ(png.height, 256);
      EXPECT_TRUE(png.pixels == drawn.pixels);
    } else {
      std::string why;
      Canvas read = ReadBitmapEntry(entry, why);
      ASSERT_EQ(why, "");
      ASSERT_EQ(read.width, size);
      EXPECT_TRUE(read.pixels == drawn.pixels);
    }
  }
  EXPECT_EQ(next, ico.size());
}

// What makes it the icon at any size: clear corners, an opaque hex, the red flag in its upper
// half and the dark-blue sea along its bottom.
TEST(AppIcon, EverySizeShowsTheHexFlagAndSea) {
  for (int size : kAppIconSizes) {
    SCOPED_TRACE("size " + std::to_string(size));
    const Canvas c = DrawAppIcon(size);
    ASSERT_EQ(c.width, size);
    ASSERT_EQ(c.height, size);
    for (uint32_t corner :
         {c.at(0, 0), c.at(size - 1, 0), c.at(0, size - 1), c.at(size - 1, size - 1)})
      EXPECT_EQ(corner >> 24, 0u);
    EXPECT_EQ(c.at(size / 2, size / 2) >> 24, 255u);
    bool red = false, blue = false;
    for (int y = 0; y < size; ++y)
      for (int x = 0; x < size; ++x) {
        uint32_t p = c.at(x, y);
        int r = int(p & 0xFF), g = int(p >> 8 & 0xFF), b = int(p >> 16 & 0xFF);
        if (p >> 24 != 255) continue;
        if (y < size / 2 && r > 150 && g < 90 && b < 90) red = true;
        if (y > size * 2 / 3 && b > 90 && r < 60 && g < 70) blue = true;
      }
    EXPECT_TRUE(red);
    EXPECT_TRUE(blue);
  }
}

TEST(AppIcon, EncoderRefusesWhatTheFormatCannotHold) {
  EXPECT_EQ(EncodeIco({Canvas(16, 8)}), "");
  EXPECT_EQ(EncodeIco({Canvas(300, 300)}), "");
  EXPECT_EQ(EncodeIco({Canvas(16, 16), Canvas(0, 0)}), "");
  EXPECT_NE(EncodeIco({Canvas(1, 1)}), "");
}

#ifdef BTL_KEPT_ICON
// The icon compiled into the editor is the one the drawing code makes now. After a change to
// the drawing: build/native/tools/icon/make_icon app/btl_editor.ico
TEST(AppIcon, KeptFileIsTheDrawnOne) {
  std::string kept;
  ASSERT_TRUE(ReadWholeFile(BTL_KEPT_ICON, kept)) << BTL_KEPT_ICON;
  EXPECT_TRUE(kept == MakeAppIconFile()) << BTL_KEPT_ICON << " differs from what make_icon writes";
}
#endif

}  // namespace
