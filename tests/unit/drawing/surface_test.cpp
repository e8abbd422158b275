// Which surface is the target, what follows it when surfaces are destroyed or reset, and (in
// the native build) the text the surfaces record instead of drawing it.
#include <gtest/gtest.h>

#include "drawing/surface.h"
#include "drawing/surface_pixels.h"
#ifndef _WIN32
#include "drawing/surface_test_hooks.h"
#endif

namespace {

// A surface that gives its pixels back at the end of the test.
struct TestSurface : Surface {
  ~TestSurface() { DestroySurface(this); }
};

TEST(SurfaceTargets, TheTargetFollowsSetTargetAndFallsBackToTheWindowWhenDestroyed) {
  TestSurface a, b;
  resize_surface(&a, 7, 5);
  resize_surface(&b, 3, 2);

  set_target(nullptr);
  EXPECT_EQ(CurrentTarget(), BackBuffer());
  EXPECT_TRUE(WindowIsTarget());

  set_target(&a);
  EXPECT_EQ(CurrentTarget(), &a);
  EXPECT_FALSE(WindowIsTarget());
  EXPECT_EQ(TargetWidth(), 7);
  EXPECT_EQ(TargetHeight(), 5);
  EXPECT_EQ(surface_pixels(nullptr), BackBuffer()->pixels);
  EXPECT_EQ(surface_pixels(&a), a.pixels);

  // Another surface going away leaves the target alone; the target going away hands it back
  // to the window's back buffer.
  DestroySurface(&b);
  EXPECT_EQ(CurrentTarget(), &a);
  EXPECT_EQ(b.width, 0);
  EXPECT_EQ(b.pixels, nullptr);
  EXPECT_EQ(b.sys, nullptr);
  DestroySurface(&a);
  EXPECT_EQ(CurrentTarget(), BackBuffer());
  EXPECT_TRUE(WindowIsTarget());
  EXPECT_EQ(a.width, 0);
  EXPECT_EQ(a.height, 0);
  EXPECT_EQ(a.pixels, nullptr);
  EXPECT_EQ(a.sys, nullptr);
  // A destroyed surface can be sized and drawn on again.
  resize_surface(&a, 2, 2);
  set_target(&a);
  set_back_colour(0x0000FF);
  clear_target();
  EXPECT_EQ(a.pixels[3], 0xFF0000u);
  set_target(nullptr);
}

TEST(SurfaceTargets, ResetRestoresTheDrawingStateAndKeepsThePixels) {
  TestSurface s;
  resize_surface(&s, 4, 4);
  set_target(&s);
  set_line_colour(0x010203);
  set_fill_colour(0x040506);
  set_text_colour(0x070809);
  set_back_colour(0x0A0B0C);
  set_back_mode(kBackTransparent);
  set_text_style(30, 12, "SimSun");
  clear_target();
  ResetSurface(&s);
  const Surface defaults;
  EXPECT_EQ(s.lineColour, defaults.lineColour);
  EXPECT_EQ(s.fillColour, defaults.fillColour);
  EXPECT_EQ(s.textColour, defaults.textColour);
  EXPECT_EQ(s.backColour, defaults.backColour);
  EXPECT_EQ(s.backMode, defaults.backMode);
  EXPECT_EQ(s.fontHeight, defaults.fontHeight);
  EXPECT_EQ(s.fontWidth, defaults.fontWidth);
  EXPECT_STREQ(s.fontFace, defaults.fontFace);
  EXPECT_EQ(surface_pixels(&s)[15], PixelFromColour(0x0A0B0C));
  EXPECT_EQ(CurrentTarget(), &s);
  set_target(nullptr);
}

#ifndef _WIN32
TEST(DrawnText, EachTextIsRecordedWithItsTargetPlaceAndColourUntilForgotten) {
  TestSurface s;
  resize_surface(&s, 50, 20);
  ForgetDrawnText();
  set_target(&s);
  set_text_colour(0x00FF00);
  text_at(3, 4, "ab");
  set_target(nullptr);
  set_text_colour(0x0000FF);
  text_in_rect("cd", 10, 11, 40, 19, kWordBreak);
  ASSERT_EQ(DrawnTextCount(), 2);
  const DrawnText& first = DrawnTextAt(0);
  EXPECT_EQ(first.target, &s);
  EXPECT_EQ(first.x, 3);
  EXPECT_EQ(first.y, 4);
  EXPECT_EQ(first.colour, 0x00FF00u);
  EXPECT_FALSE(first.inRect);
  EXPECT_STREQ(first.text, "ab");
  const DrawnText& second = DrawnTextAt(1);
  EXPECT_EQ(second.target, BackBuffer());
  EXPECT_EQ(second.x, 10);
  EXPECT_EQ(second.y, 11);
  EXPECT_EQ(second.colour, 0x0000FFu);
  EXPECT_TRUE(second.inRect);
  EXPECT_STREQ(second.text, "cd");
  ForgetDrawnText();
  EXPECT_EQ(DrawnTextCount(), 0);
  ResetSurface(nullptr);
}

// Without glyphs the native build measures a cell per byte of half the font's height: a
// two-byte character as wide as the font is high. Measuring draws nothing.
TEST(DrawnText, WidthIsHalfTheFontHeightPerByteOfTheTargetsFont) {
  TestSurface s;
  resize_surface(&s, 50, 20);
  set_target(&s);
  ForgetDrawnText();
  set_text_style(12, 0, "宋体");
  EXPECT_EQ(TextWidth(""), 0);
  EXPECT_EQ(TextWidth("ID"), 12);
  EXPECT_EQ(TextWidth("\xB5\xD8\xBF\xE9ID"), 36);  // 地块ID
  set_text_style(16, 0, nullptr);
  EXPECT_EQ(TextWidth("ID"), 16);
  EXPECT_EQ(DrawnTextCount(), 0);
  set_target(nullptr);
}
#endif

}  // namespace

namespace {

// The rectangle rules pixel by pixel: the outline is every pixel of left..right-1 x
// top..bottom-1 on its edge, the inside the rest; both clipped to the surface.
uint32_t ModelRectPixel(int32_t x, int32_t y, int32_t l, int32_t t, int32_t r, int32_t b,
                        uint32_t line, uint32_t fill, uint32_t old) {
  if (x < l || x >= r || y < t || y >= b) return old;
  return x == l || x == r - 1 || y == t || y == b - 1 ? line : fill;
}

}  // namespace

// The one-pass filled rectangle and the rectangle copy against the model over sizes from 1
// up, odd widths, and rectangles cut by every edge of a 23 x 17 surface or wholly outside it.
TEST(SurfacePixels, FilledRectanglesAndRectangleCopiesMatchTheirModels) {
  Surface s, from;
  resize_surface(&s, 23, 17);
  resize_surface(&from, 23, 17);
  for (int32_t i = 0; i < 23 * 17; ++i) from.pixels[i] = 0x100000u + uint32_t(i);
  uint32_t seed = 12345;
  auto next = [&](int32_t lo, int32_t hi) {
    seed = seed * 1103515245u + 12345u;
    return lo + int32_t((seed >> 8) % uint32_t(hi - lo + 1));
  };
  for (int n = 0; n < 3000; ++n) {
    const int32_t l = next(-8, 26), t = next(-8, 20);
    const int32_t r = l + next(0, 30), b = t + next(0, 24);
    std::vector<uint32_t> before(s.pixels, s.pixels + 23 * 17);
    const uint32_t line = uint32_t(n) * 7 + 1, fill = uint32_t(n) * 13 + 2;
    const bool copy = n % 3 == 0;
    if (copy)
      CopyRectPixels(s, from, l, t, r, b);
    else
      FilledRectPixels(s, l, t, r, b, line, fill);
    int wrong = 0;
    for (int32_t y = 0; y < 17; ++y)
      for (int32_t x = 0; x < 23; ++x) {
        const uint32_t old = before[size_t(y) * 23 + x];
        const bool in = x >= l && x < r && y >= t && y < b;
        const uint32_t want = copy ? (in ? from.pixels[y * 23 + x] : old)
                                   : ModelRectPixel(x, y, l, t, r, b, line, fill, old);
        wrong += s.pixels[y * 23 + x] != want;
      }
    ASSERT_EQ(wrong, 0) << (copy ? "copy " : "fill ") << l << "," << t << " - " << r << "," << b;
  }
  DestroySurface(&s);
  DestroySurface(&from);
}
