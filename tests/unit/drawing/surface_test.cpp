// Which surface is the target, what follows it when surfaces are destroyed or reset, and (in
// the native build) the text the surfaces record instead of drawing it.
#include <gtest/gtest.h>

#include "drawing/surface.h"
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
  EXPECT_EQ(text_width(""), 0);
  EXPECT_EQ(text_width("ID"), 12);
  EXPECT_EQ(text_width("\xB5\xD8\xBF\xE9ID"), 36);  // 地块ID
  set_text_style(16, 0, nullptr);
  EXPECT_EQ(text_width("ID"), 16);
  EXPECT_EQ(DrawnTextCount(), 0);
  set_target(nullptr);
}
#endif

}  // namespace
