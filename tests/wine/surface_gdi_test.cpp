// GDI objects behind the drawing colours: a process may hold only so many (Windows stops at
// 10,000 by default, Wine's handle table at about 65,000), so drawing with ever new colours
// must not keep a pen and a brush for each. Wine does not implement GetGuiResources, so the
// objects are counted directly: every pen and brush the surface's context had selected, and
// how many of them still exist.
#include <windows.h>

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "base/text.h"

#include "drawing/surface.h"

namespace {

struct Seen {
  std::set<HGDIOBJ> handles;
  void Note(Surface& s) {
    HDC dc = static_cast<HDC>(surface_dc(&s));
    handles.insert(GetCurrentObject(dc, OBJ_PEN));
    handles.insert(GetCurrentObject(dc, OBJ_BRUSH));
  }
  int Alive() const {
    int n = 0;
    for (HGDIOBJ h : handles) n += GetObjectType(h) != 0;
    return n;
  }
};

uint32_t ColourNumber(int i) { return uint32_t(i) * 2654435761u & 0xFFFFFF; }

// 40,000 colours, each a new pen and a new brush: more objects than Wine can hold at once.
// Every fill shows its own colour, and of all the pens and brushes used only a handful exist.
TEST(SurfaceGdi, ManyColoursKeepFewObjectsAndEveryFillShowsItsColour) {
  Surface s;
  resize_surface(&s, 8, 8);
  set_target(&s);
  Seen seen;
  int wrong = 0;
  for (int i = 0; i < 40000; ++i) {
    uint32_t c = ColourNumber(i);
    set_line_colour(c);
    set_fill_colour(c ^ 0x00FF00);
    fill_rect(0, 0, 8, 8);
    if (i % 97 == 0) seen.Note(s);
    uint32_t* px = surface_pixels(&s);
    ASSERT_NE(px, nullptr);
    if (px[0] != PixelFromColour(c) || px[3 * 8 + 3] != PixelFromColour(c ^ 0x00FF00)) {
      if (++wrong <= 5) ADD_FAILURE() << "colour " << i << " drawn wrong";
    }
  }
  EXPECT_EQ(wrong, 0);
  EXPECT_LE(seen.Alive(), 40) << "pens and brushes left alive of " << seen.handles.size();
  set_target(nullptr);
  DestroySurface(&s);
}

// A brush one surface has selected is kept however many colours another surface goes
// through, and is deleted once no surface has it any more.
TEST(SurfaceGdi, ASelectedColourIsKeptWhileAnotherSurfaceChurns) {
  Surface a, b;
  resize_surface(&a, 4, 4);
  resize_surface(&b, 4, 4);
  set_target(&a);
  set_fill_colour(0x123456);
  set_line_colour(0x123456);
  HDC dcA = static_cast<HDC>(surface_dc(&a));
  HGDIOBJ brushA = GetCurrentObject(dcA, OBJ_BRUSH);
  set_target(&b);
  for (int i = 0; i < 500; ++i) {
    set_fill_colour(ColourNumber(i + 1));
    fill_rect(0, 0, 4, 4);
  }
  set_target(&a);
  fill_rect(0, 0, 4, 4);
  EXPECT_EQ(GetCurrentObject(dcA, OBJ_BRUSH), brushA);
  EXPECT_EQ(GetObjectType(brushA), DWORD(OBJ_BRUSH));
  ASSERT_NE(surface_pixels(&a), nullptr);
  EXPECT_EQ(surface_pixels(&a)[5], PixelFromColour(0x123456));
  // Kept, not dropped and made again: the other surface gets the very same brush.
  set_target(&b);
  set_fill_colour(0x123456);
  EXPECT_EQ(GetCurrentObject(static_cast<HDC>(surface_dc(&b)), OBJ_BRUSH), brushA);
  set_target(&a);

  // Both surfaces move on to other colours: the old brush is no longer anybody's.
  for (int i = 0; i < 100; ++i) set_fill_colour(ColourNumber(1000 + i));
  set_target(&b);
  for (int i = 0; i < 100; ++i) set_fill_colour(ColourNumber(2000 + i));
  EXPECT_EQ(GetObjectType(brushA), 0u);
  set_target(nullptr);
  DestroySurface(&a);
  DestroySurface(&b);
}

// An outline is drawn with a hollow brush selected only for that rectangle: the fill brush is
// back in the surface's context afterwards, and the next fill paints its inside.
TEST(SurfaceGdi, AnOutlineLeavesTheFillBrushSelected) {
  Surface s;
  resize_surface(&s, 6, 6);
  set_target(&s);
  set_back_colour(0x000000);
  clear_target();
  set_line_colour(0xFFFFFF);
  set_fill_colour(0x0000FF);
  HDC dc = static_cast<HDC>(surface_dc(&s));
  HGDIOBJ fill = GetCurrentObject(dc, OBJ_BRUSH);
  draw_rect(0, 0, 6, 6);
  EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), fill);
  uint32_t* px = surface_pixels(&s);
  EXPECT_EQ(px[0], 0xFFFFFFu);   // the outline
  EXPECT_EQ(px[2 * 6 + 2], 0u);  // its inside left alone
  fill_rect(1, 1, 5, 5);
  px = surface_pixels(&s);
  EXPECT_EQ(px[2 * 6 + 2], 0xFF0000u);  // filled red, as a pixel
  set_target(nullptr);
  DestroySurface(&s);
}

// TextWidth measures what text_at paints: in the map's font every dark pixel of a drawn
// text lies within the measured width, and the last character ends close to it.
TEST(SurfaceGdi, TextWidthBoundsTheGlyphsTextAtPaints) {
  Surface s;
  resize_surface(&s, 400, 20);
  set_target(&s);
  set_text_style(12, 0, "宋体");
  set_back_mode(1);
  set_text_colour(0x000000);
  EXPECT_EQ(TextWidth(""), 0);
  // GBK: "地块ID：287", "当前血量/血量上限：80/100", "WWW"
  for (const char* text : {"\xB5\xD8\xBF\xE9ID\xA3\xBA"
                           "287",
                           "\xB5\xB1\xC7\xB0\xD1\xAA\xC1\xBF/\xD1\xAA\xC1\xBF\xC9\xCF\xCF\xDE"
                           "\xA3\xBA"
                           "80/100",
                           "WWW"}) {
    set_back_colour(0xFFFFFF);
    clear_target();
    text_at(10, 2, text);
    const int32_t width = TextWidth(text);
    const uint32_t* px = surface_pixels(&s);
    int32_t right = -1;
    for (int32_t y = 0; y < 20; ++y)
      for (int32_t x = 0; x < 400; ++x)
        if (px[y * 400 + x] != 0xFFFFFFu) right = x > right ? x : right;
    ASSERT_GE(right, 10) << "nothing painted";
    EXPECT_LT(right, 10 + width);
    EXPECT_GE(right, 10 + width - 8);
  }
  set_target(nullptr);
  DestroySurface(&s);
}

// The same picture twice: drawn through the surface calls (fills written as pixels, texts
// from their stamps) and drawn by GDI itself on a twin surface's context with the same pen,
// brush, font and colours, over the same busy background, clipped at every edge.
TEST(SurfaceGdi, FillsAndStampedTextsArePixelForPixelWhatGdiDraws) {
  const int32_t w = 173, h = 61;
  Surface ours, gdi;
  for (Surface* s : {&ours, &gdi}) {
    resize_surface(s, w, h);
    set_target(s);
    set_text_style(12, 0, "宋体");
    set_back_mode(kBackTransparent);
  }
  auto background = [&](Surface& s, uint32_t seed) {
    uint32_t* px = surface_pixels(&s);
    for (int32_t i = 0; i < w * h; ++i) px[i] = (uint32_t(i) * 2654435761u ^ seed) & 0xFFFFFF;
  };
  // GBK: "步3", "将", "雷", "？12", "城市", a building's name long enough to wrap, "地块ID：287"
  const char* texts[] = {
      "\xB2\xBD"
      "3",
      "\xBD\xAB",
      "\xC0\xD7",
      "\xA3\xBF"
      "12",
      "\xB3\xC7\xCA\xD0",
      "\xB1\xF8\xB9\xA4\xB3\xA7 \xB5\xDA\xB6\xFE\xB9\xA4\xB3\xA7 \xB8\xDB\xBF\xDA",
      "\xB5\xD8\xBF\xE9ID\xA3\xBA"
      "287",
      "WWW"};
  const struct {
    int32_t x, y;
  } places[] = {{5, 4}, {60, 30}, {-7, 10}, {160, 20}, {40, -6}, {90, 52}, {5, 4}};
  HDC dc = static_cast<HDC>(surface_dc(&gdi));
  int round = 0;
  for (uint32_t colour : {0x000000u, 0x0000FFu, 0x00FF00u}) {
    background(ours, colour + 1);
    background(gdi, colour + 1);
    for (const auto& p : places) {
      ++round;
      const uint32_t line = uint32_t(round) * 0x10101u & 0xFFFFFF, fill = ~line & 0xFFFFFF;
      set_target(&ours);
      FillRectIn(p.x, p.y, p.x + 50, p.y + 50, line, fill);
      set_target(&gdi);
      set_line_colour(line);
      set_fill_colour(fill);
      Rectangle(dc, p.x, p.y, p.x + 50, p.y + 50);
      for (const char* text : texts) {
        const std::wstring wide = wide_from_ansi(text);
        set_target(&ours);
        set_text_colour(colour);
        text_at(p.x + 17, p.y + 35, text);
        text_in_rect(text, p.x + 2, p.y + 2, p.x + 50, p.y + 25, kWordBreak);
        set_target(&gdi);
        set_text_colour(colour);
        TextOutW(dc, p.x + 17, p.y + 35, wide.c_str(), int(wide.size()));
        RECT rc{p.x + 2, p.y + 2, p.x + 50, p.y + 25};
        DrawTextW(dc, wide.c_str(), int(wide.size()), &rc, kWordBreak);
      }
      GdiFlush();
      const uint32_t* a = surface_pixels(&ours);
      const uint32_t* b = surface_pixels(&gdi);
      int differ = 0;
      for (int32_t i = 0; i < w * h; ++i) differ += a[i] != b[i];
      EXPECT_EQ(differ, 0) << "colour " << colour << " at " << p.x << "," << p.y;
    }
  }
  set_target(nullptr);
  DestroySurface(&ours);
  DestroySurface(&gdi);
}

}  // namespace
