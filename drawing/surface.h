// Off-screen pictures with 32-bit pixels and the few drawing operations the editor uses.
// Every operation draws into the current target: one chosen surface, or the window (its
// back buffer, shown in the window as it is drawn). Colour values are Windows colour values
// 0x00BBGGRR; pixels are 0x00RRGGBB, top-down rows.
#pragma once

#include <cstddef>
#include <cstdint>

struct SurfaceSystem;  // the platform's objects behind a surface (bitmap, context, pen ...)

struct Surface {
  int32_t width = 0;
  int32_t height = 0;
  uint32_t* pixels = nullptr;  // width x height, row after row
  uint32_t lineColour = 0xFFFFFF;
  uint32_t fillColour = 0xFFFFFF;
  uint32_t textColour = 0xFFFFFF;
  uint32_t backColour = 0x000000;
  int backMode = 2;  // 1 transparent text background, 2 opaque
  int32_t fontHeight = 16;
  int32_t fontWidth = 0;
  char fontFace[32] = "System";  // UTF-8
  SurfaceSystem* sys = nullptr;
};

// The drawing state a surface starts with, kept pixels and system objects aside.
inline void RestoreDefaultState(Surface& s) {
  const Surface defaults;
  s.lineColour = defaults.lineColour;
  s.fillColour = defaults.fillColour;
  s.textColour = defaults.textColour;
  s.backColour = defaults.backColour;
  s.backMode = defaults.backMode;
  s.fontHeight = defaults.fontHeight;
  s.fontWidth = defaults.fontWidth;
  for (size_t i = 0; i < sizeof s.fontFace; ++i) s.fontFace[i] = defaults.fontFace[i];
}

constexpr int kBackTransparent = 1;
constexpr int kBackOpaque = 2;
constexpr unsigned kWordBreak = 0x10;  // DT_WORDBREAK

inline uint32_t PixelFromColour(uint32_t c) {
  return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}

// The window's back buffer; `nullptr` in the calls below means it.
Surface* BackBuffer();

// Zero width or height is ignored; otherwise the old pixels stay in the overlap and the rest
// is the background colour.
void resize_surface(Surface* s, int32_t width, int32_t height);
// Releases the surface's pixels and system objects; it is 0 x 0 afterwards.
void DestroySurface(Surface* s);
// Restores the default drawing state (colours, modes, font).
void ResetSurface(Surface* s);
void set_target(Surface* s);
Surface* CurrentTarget();  // never null
void* surface_dc(Surface* s);
uint32_t* surface_pixels(Surface* s);
int32_t TargetWidth();
int32_t TargetHeight();
bool WindowIsTarget();

void clear_target();
// Fills left..right-1, top..bottom-1 of the target with the background colour, as
// clear_target does the whole of it.
void ClearRect(int32_t left, int32_t top, int32_t right, int32_t bottom);
void set_line_colour(uint32_t colour);
void set_fill_colour(uint32_t colour);
void set_text_colour(uint32_t colour);
void set_back_colour(uint32_t colour);
void set_back_mode(int mode);
// Keeps the face when `face` is null.
void set_text_style(int32_t height, int32_t width, const char* utf8Face);
// Windows rectangle rule: the outline covers left..right-1, top..bottom-1.
void draw_rect(int32_t left, int32_t top, int32_t right, int32_t bottom);
void fill_rect(int32_t left, int32_t top, int32_t right, int32_t bottom);
// fill_rect in the given outline and inside colours, the target's own colours left as they
// are: many rectangles of many colours without choosing a pen and a brush for each.
void FillRectIn(int32_t left, int32_t top, int32_t right, int32_t bottom, uint32_t line,
                uint32_t fill);
// GBK text.
void text_at(int32_t x, int32_t y, const char* gbk);
void text_in_rect(const char* gbk, int32_t left, int32_t top, int32_t right, int32_t bottom,
                  unsigned format);
// Width in pixels of GBK text in the target's font, drawing nothing. The native build does
// not rasterise text: it counts half the font's height per byte, the cell of a font whose
// one-byte characters are half as wide as its two-byte ones.
int32_t TextWidth(const char* gbk);
// Copies the whole surface to (x, y) of the target.
void put_surface(int32_t x, int32_t y, const Surface& s);
// Copies the rectangle left..right-1, top..bottom-1 of the surface to the same place of the
// target (clipped to both).
void CopyRect(const Surface& from, int32_t left, int32_t top, int32_t right, int32_t bottom);
// Copies the back buffer onto the window.
void flush_window();
