#include <gtest/gtest.h>

#include <vector>

#include "catalogs/artwork.h"
#include "drawing/surface.h"

namespace {

// A surface that gives its pixels back at the end of the test.
struct TestSurface : Surface {
  ~TestSurface() { DestroySurface(this); }
};

// A 3 x 2 image: 1 2 0 / 0 5 6 (0 is transparent).
void MakeImage(Surface& image) {
  resize_surface(&image, 3, 2);
  const uint32_t px[6] = {1, 2, 0, 0, 5, 6};
  for (int i = 0; i < 6; ++i) image.pixels[i] = px[i];
}

uint32_t At(Surface& s, int x, int y) { return s.pixels[y * s.width + x]; }

TEST(KeyedBlit, ZeroPixelsAreLeftOutAndRowsUseEachSurfacesWidth) {
  TestSurface target, image;
  resize_surface(&target, 5, 4);
  for (int i = 0; i < 20; ++i) target.pixels[i] = 9;
  MakeImage(image);
  set_target(&target);
  blit_keyed(1, 1, image);
  EXPECT_EQ(At(target, 1, 1), 1u);
  EXPECT_EQ(At(target, 2, 1), 2u);
  EXPECT_EQ(At(target, 3, 1), 9u);  // transparent
  EXPECT_EQ(At(target, 1, 2), 9u);  // transparent
  EXPECT_EQ(At(target, 2, 2), 5u);
  EXPECT_EQ(At(target, 3, 2), 6u);
  EXPECT_EQ(At(target, 0, 1), 9u);
  EXPECT_EQ(At(target, 4, 2), 9u);
}

TEST(KeyedBlit, ClippedOnAllFourSides) {
  TestSurface target, image;
  resize_surface(&target, 2, 2);
  MakeImage(image);
  set_target(&target);
  for (int i = 0; i < 4; ++i) target.pixels[i] = 9;
  blit_keyed(-1, -1, image);  // only the image's (1..2, 1) row part lands, at (0..1, 0)
  EXPECT_EQ(At(target, 0, 0), 5u);
  EXPECT_EQ(At(target, 1, 0), 6u);
  EXPECT_EQ(At(target, 0, 1), 9u);
  blit_keyed(1, 1, image);  // only the image's (0, 0) lands, at (1, 1)
  EXPECT_EQ(At(target, 1, 1), 1u);
  blit_keyed(5, 5, image);  // wholly outside: nothing, and no write outside
  blit_keyed(-9, -9, image);
  EXPECT_EQ(At(target, 1, 1), 1u);
  TestSurface empty;
  blit_keyed(0, 0, empty);
}

// Against a plain pixel-by-pixel model: every picture width from 1 to 13 (short rows, rows
// of whole and of broken groups of four), a few heights, at places that clip it on each side
// or not at all, over a target full of distinct values.
TEST(KeyedBlit, MatchesAPlainModelOverOddSizesAndClipping) {
  TestSurface target, image;
  const int tw = 17, th = 11;
  resize_surface(&target, tw, th);
  set_target(&target);
  for (int w = 1; w <= 13; ++w)
    for (int h : {1, 2, 5}) {
      resize_surface(&image, w, h);
      for (int i = 0; i < w * h; ++i)
        image.pixels[i] = (i * 7 + w) % 3 ? 0x010203u * uint32_t(i + 1) : 0;
      for (int y : {-h, -1, 0, 3, th - h, th - 1, th})
        for (int x : {-w, -3, -1, 0, 2, tw - w, tw - 2, tw}) {
          std::vector<uint32_t> want(size_t(tw) * th);
          for (int i = 0; i < tw * th; ++i)
            want[size_t(i)] = target.pixels[i] = 0xA00000u + uint32_t(i);
          for (int iy = 0; iy < h; ++iy)
            for (int ix = 0; ix < w; ++ix) {
              int tx = x + ix, ty = y + iy;
              uint32_t p = image.pixels[iy * w + ix];
              if (tx >= 0 && tx < tw && ty >= 0 && ty < th && p) want[size_t(ty * tw + tx)] = p;
            }
          blit_keyed(x, y, image);
          ASSERT_EQ(std::vector<uint32_t>(target.pixels, target.pixels + tw * th), want)
              << w << " x " << h << " at " << x << "," << y;
        }
    }
}

TEST(Surfaces, ResizeKeepsTheOverlapAndFillsTheRestWithTheBackground) {
  TestSurface s;
  resize_surface(&s, 0, 5);
  EXPECT_EQ(s.width, 0);
  EXPECT_EQ(s.pixels, nullptr);
  resize_surface(&s, 10, 10);
  for (int i = 0; i < 100; ++i) s.pixels[i] = 0x123456;
  resize_surface(&s, 20, 5);
  EXPECT_EQ(s.width, 20);
  EXPECT_EQ(At(s, 9, 4), 0x123456u);
  EXPECT_EQ(At(s, 10, 0), 0u);
  set_target(&s);
  set_back_colour(0x0000AA);
  clear_target();
  EXPECT_EQ(At(s, 3, 3), 0x00AA0000u);
}

TEST(Surfaces, FillRectFollowsTheWindowsRectangleRule) {
  TestSurface s;
  resize_surface(&s, 6, 6);
  set_target(&s);
  set_back_colour(0);
  clear_target();
  set_line_colour(0xFFFFFF);
  set_fill_colour(0x0000FF);  // red
  fill_rect(1, 1, 5, 4);
  EXPECT_EQ(At(s, 1, 1), 0xFFFFFFu);  // outline
  EXPECT_EQ(At(s, 4, 3), 0xFFFFFFu);  // right and bottom edges are right-1, bottom-1
  EXPECT_EQ(At(s, 5, 3), 0u);
  EXPECT_EQ(At(s, 2, 2), 0xFF0000u);  // interior, as a pixel
  draw_rect(0, 0, 6, 6);
  EXPECT_EQ(At(s, 5, 5), 0xFFFFFFu);
  EXPECT_EQ(At(s, 2, 2), 0xFF0000u);  // left as it was
}

}  // namespace
