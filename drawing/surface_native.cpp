// Surfaces of the native build: pixel buffers in memory, drawn on in software with the same
// rectangle rules as GDI. Text is not rasterised; it is recorded for tests.
#include <cstring>
#include <vector>

#include "drawing/surface.h"
#include "drawing/surface_pixels.h"
#include "drawing/surface_system.h"
#include "drawing/surface_test_hooks.h"

struct SurfaceSystem {
  std::vector<uint32_t> bits;
};

namespace {

std::vector<DrawnText> g_text;
long g_operations = 0;

Surface& Target() { return *CurrentTarget(); }
// The target of a drawing operation, counted.
Surface& DrawOn() {
  ++g_operations;
  return Target();
}

}  // namespace

void PrepareSystem(Surface&) {}
void ApplySystemState(Surface&) {}
void ReleaseSystem(Surface& s) { delete s.sys; }
TargetLock::TargetLock() {}
TargetLock::~TargetLock() {}

void resize_surface(Surface* sp, int32_t width, int32_t height) {
  Surface& s = SurfaceOf(sp);
  if (width <= 0 || height <= 0) return;
  std::vector<uint32_t> bits(size_t(width) * height, PixelFromColour(s.backColour));
  if (s.pixels) CopyOverlap(bits.data(), width, height, s.pixels, s.width, s.height);
  if (!s.sys) s.sys = new SurfaceSystem;
  s.sys->bits.swap(bits);
  s.pixels = s.sys->bits.data();
  s.width = width;
  s.height = height;
}

void* surface_dc(Surface*) { return nullptr; }
uint32_t* surface_pixels(Surface* s) { return SurfaceOf(s).pixels; }

void clear_target() {
  Surface& s = DrawOn();
  FillPixels(s, 0, 0, s.width, s.height, PixelFromColour(s.backColour));
}

void ClearRect(int32_t l, int32_t t, int32_t r, int32_t b) {
  Surface& s = DrawOn();
  FillPixels(s, l, t, r, b, PixelFromColour(s.backColour));
}

void set_line_colour(uint32_t c) { Target().lineColour = c; }
void set_fill_colour(uint32_t c) { Target().fillColour = c; }
void set_text_colour(uint32_t c) { Target().textColour = c; }
void set_back_colour(uint32_t c) { Target().backColour = c; }
void set_back_mode(int mode) { Target().backMode = mode; }

void set_text_style(int32_t height, int32_t width, const char* face) {
  Surface& s = Target();
  s.fontHeight = height;
  s.fontWidth = width;
  if (face) {
    strncpy(s.fontFace, face, sizeof s.fontFace - 1);
    s.fontFace[sizeof s.fontFace - 1] = 0;
  }
}

void draw_rect(int32_t l, int32_t t, int32_t r, int32_t b) {
  Surface& s = DrawOn();
  OutlinePixels(s, l, t, r, b, PixelFromColour(s.lineColour));
}

void fill_rect(int32_t l, int32_t t, int32_t r, int32_t b) {
  Surface& s = DrawOn();
  FilledRectPixels(s, l, t, r, b, PixelFromColour(s.lineColour), PixelFromColour(s.fillColour));
}

void FillRectIn(int32_t l, int32_t t, int32_t r, int32_t b, uint32_t line, uint32_t fill) {
  FilledRectPixels(DrawOn(), l, t, r, b, PixelFromColour(line), PixelFromColour(fill));
}

static void Record(int32_t x, int32_t y, const char* text, bool inRect) {
  DrawnText d{CurrentTarget(), x, y, DrawOn().textColour, inRect, {}};
  strncpy(d.text, text, sizeof d.text - 1);
  g_text.push_back(d);
}

void text_at(int32_t x, int32_t y, const char* gbk) { Record(x, y, gbk, false); }

void text_in_rect(const char* gbk, int32_t l, int32_t t, int32_t, int32_t, unsigned) {
  Record(l, t, gbk, true);
}

int32_t TextWidth(const char* gbk) { return int32_t(strlen(gbk)) * Target().fontHeight / 2; }

void put_surface(int32_t x, int32_t y, const Surface& s) { CopyPixels(DrawOn(), x, y, s); }
void CopyRect(const Surface& from, int32_t l, int32_t t, int32_t r, int32_t b) {
  CopyRectPixels(DrawOn(), from, l, t, r, b);
}
void flush_window() { ++g_operations; }

int DrawnTextCount() { return int(g_text.size()); }
const DrawnText& DrawnTextAt(int i) { return g_text[size_t(i)]; }
void ForgetDrawnText() { g_text.clear(); }
long DrawingOperations() { return g_operations; }
