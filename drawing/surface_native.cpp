// Surfaces of the native build: pixel buffers in memory, drawn on in software with the same
// rectangle rules as GDI. Text is not rasterised; it is recorded for tests.
#include <cstring>
#include <vector>

#include "drawing/surface.h"
#include "drawing/surface_pixels.h"
#include "drawing/surface_test_hooks.h"

struct SurfaceSystem {
  std::vector<uint32_t> bits;
};

namespace {

Surface g_back;
Surface* g_target = &g_back;
std::vector<DrawnText> g_text;

Surface& Of(Surface* s) { return s ? *s : g_back; }

}  // namespace

Surface* BackBuffer() { return &g_back; }

void resize_surface(Surface* sp, int32_t width, int32_t height) {
  Surface& s = Of(sp);
  if (width <= 0 || height <= 0) return;
  std::vector<uint32_t> bits(size_t(width) * height, PixelFromColour(s.backColour));
  if (s.pixels) CopyOverlap(bits.data(), width, height, s.pixels, s.width, s.height);
  if (!s.sys) s.sys = new SurfaceSystem;
  s.sys->bits.swap(bits);
  s.pixels = s.sys->bits.data();
  s.width = width;
  s.height = height;
}

void DestroySurface(Surface* sp) {
  Surface& s = Of(sp);
  if (g_target == &s) g_target = &g_back;
  delete s.sys;
  s.sys = nullptr;
  s.pixels = nullptr;
  s.width = s.height = 0;
}

void ResetSurface(Surface* sp) {
  Surface& s = Of(sp);
  RestoreDefaultState(s);
}

void set_target(Surface* s) { g_target = &Of(s); }
Surface* CurrentTarget() { return g_target; }
void* surface_dc(Surface*) { return nullptr; }
uint32_t* surface_pixels(Surface* s) { return Of(s).pixels; }
int32_t TargetWidth() { return g_target->width; }
int32_t TargetHeight() { return g_target->height; }
bool WindowIsTarget() { return g_target == &g_back; }

void clear_target() {
  Surface& s = *g_target;
  FillPixels(s, 0, 0, s.width, s.height, PixelFromColour(s.backColour));
}

void set_line_colour(uint32_t c) { g_target->lineColour = c; }
void set_fill_colour(uint32_t c) { g_target->fillColour = c; }
void set_text_colour(uint32_t c) { g_target->textColour = c; }
void set_back_colour(uint32_t c) { g_target->backColour = c; }
void set_back_mode(int mode) { g_target->backMode = mode; }

void set_text_style(int32_t height, int32_t width, const char* face) {
  g_target->fontHeight = height;
  g_target->fontWidth = width;
  if (face) {
    strncpy(g_target->fontFace, face, sizeof g_target->fontFace - 1);
    g_target->fontFace[sizeof g_target->fontFace - 1] = 0;
  }
}

void draw_rect(int32_t l, int32_t t, int32_t r, int32_t b) {
  OutlinePixels(*g_target, l, t, r, b, PixelFromColour(g_target->lineColour));
}

void fill_rect(int32_t l, int32_t t, int32_t r, int32_t b) {
  FillPixels(*g_target, l + 1, t + 1, r - 1, b - 1, PixelFromColour(g_target->fillColour));
  OutlinePixels(*g_target, l, t, r, b, PixelFromColour(g_target->lineColour));
}

static void Record(int32_t x, int32_t y, const char* text, bool inRect) {
  DrawnText d{g_target, x, y, g_target->textColour, inRect, {}};
  strncpy(d.text, text, sizeof d.text - 1);
  g_text.push_back(d);
}

void text_at(int32_t x, int32_t y, const char* gbk) { Record(x, y, gbk, false); }

void text_in_rect(const char* gbk, int32_t l, int32_t t, int32_t, int32_t, unsigned) {
  Record(l, t, gbk, true);
}

void put_surface(int32_t x, int32_t y, const Surface& s) { CopyPixels(*g_target, x, y, s); }
void flush_window() {}

int DrawnTextCount() { return int(g_text.size()); }
const DrawnText& DrawnTextAt(int i) { return g_text[size_t(i)]; }
void ForgetDrawnText() { g_text.clear(); }
