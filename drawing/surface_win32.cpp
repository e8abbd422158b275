// Surfaces of the Windows build: 32-bit top-down DIB sections selected into memory
// contexts, drawn on with GDI. While the window is the target, each operation draws into
// the back buffer and the result is copied to the window.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "base/text.h"
#include "base/wide.h"
#include "drawing/surface_pixels.h"
#include "drawing/surface_system.h"
#include "drawing/win32_internal.h"

namespace {

void MakeContext(Surface& s) {
  if (s.sys) return;
  s.sys = new SurfaceSystem;
  // Compatible graphics mode: rectangles exclude their right and bottom edges, as the
  // software surfaces of the native build do.
  s.sys->dc = CreateCompatibleDC(nullptr);
}

// Selects the object of the colour into the surface's context, then lets go of the one it
// replaces (only now that it is no longer selected may it be deleted).
template <class Handle>
void Select(Surface& s, ToolCache& cache, Handle& held, uint32_t colour) {
  Handle fresh = static_cast<Handle>(cache.Take(colour));
  if (!fresh) return;  // out of GDI objects: the old one stays selected and held
  SelectObject(s.sys->dc, fresh);
  if (held) cache.Release(held);
  held = fresh;
}

void ApplyPen(Surface& s) { Select(s, DrawingState().pens, s.sys->pen, s.lineColour); }

void ApplyBrush(Surface& s) { Select(s, DrawingState().brushes, s.sys->brush, s.fillColour); }

void ApplyFont(Surface& s) {
  LOGFONTW lf{};
  lf.lfHeight = s.fontHeight;
  lf.lfWidth = s.fontWidth;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfQuality = NONANTIALIASED_QUALITY;
  std::wstring face = WideFromUtf8(s.fontFace);
  wcsncpy(lf.lfFaceName, face.c_str(), LF_FACESIZE - 1);
  HFONT font = CreateFontIndirectW(&lf);
  SelectObject(s.sys->dc, font);
  if (s.sys->font) DeleteObject(s.sys->font);
  s.sys->font = font;
}

void ApplyState(Surface& s) {
  MakeContext(s);
  ApplyPen(s);
  ApplyBrush(s);
  ApplyFont(s);
  SetTextColor(s.sys->dc, s.textColour);
  SetBkColor(s.sys->dc, s.backColour);
  SetBkMode(s.sys->dc, s.backMode);
}

// Copies the back buffer onto the window; the caller holds the drawing lock.
void ShowBackBuffer() {
  const Surface& back = *BackBuffer();
  HDC window = DrawingState().windowDc.get();
  if (window && back.sys)
    BitBlt(window, 0, 0, back.width, back.height, back.sys->dc, 0, 0, SRCCOPY);
}

// Runs a drawing step on the target, under the lock when the target is the window, and then
// shows the window the result.
template <class Step>
void Draw(Step step) {
  Surface& target = *CurrentTarget();
  if (&target == BackBuffer()) {
    DrawingLock lock;
    MakeContext(target);
    step(target);
    ShowBackBuffer();
  } else {
    MakeContext(target);
    step(target);
  }
}

}  // namespace

HGDIOBJ ToolCache::Take(uint32_t colour) {
  auto it = std::find_if(tools_.begin(), tools_.end(),
                         [colour](const Tool& t) { return t.colour == colour; });
  Tool tool = it != tools_.end() ? *it : Tool{colour, make_(colour), 0};
  if (!tool.handle) return nullptr;  // out of GDI objects: nothing to keep
  if (it != tools_.end()) tools_.erase(it);
  tool.holders++;
  tools_.insert(tools_.begin(), tool);
  return tool.handle;
}

void ToolCache::Release(HGDIOBJ handle) {
  for (Tool& t : tools_)
    if (t.handle == handle && t.holders > 0) t.holders--;
  Trim();
}

void ToolCache::Trim() {
  for (size_t i = tools_.size(); i-- > 0 && tools_.size() > kKeep;)
    if (tools_[i].holders == 0) {
      DeleteObject(tools_[i].handle);
      tools_.erase(tools_.begin() + i);
    }
}

Win32Drawing::Win32Drawing()
    : pens([](uint32_t c) -> HGDIOBJ { return CreatePen(PS_SOLID, 1, c); }),
      brushes([](uint32_t c) -> HGDIOBJ { return CreateSolidBrush(c); }) {
  InitializeCriticalSection(&lock);
}

Win32Drawing& DrawingState() {
  static Win32Drawing* state = new Win32Drawing;
  return *state;
}

void PrepareSystem(Surface& s) { MakeContext(s); }
void ApplySystemState(Surface& s) { ApplyState(s); }

void ReleaseSystem(Surface& s) {
  // Stock objects back in, so the shared pen and brush are no longer selected here.
  SelectObject(s.sys->dc, GetStockObject(WHITE_PEN));
  SelectObject(s.sys->dc, GetStockObject(BLACK_BRUSH));
  SelectObject(s.sys->dc, GetStockObject(SYSTEM_FONT));
  if (s.sys->pen) DrawingState().pens.Release(s.sys->pen);
  if (s.sys->brush) DrawingState().brushes.Release(s.sys->brush);
  if (s.sys->bitmap) DeleteObject(s.sys->bitmap);
  if (s.sys->font) DeleteObject(s.sys->font);
  DeleteDC(s.sys->dc);
  delete s.sys;
}

TargetLock::TargetLock() { EnterCriticalSection(&DrawingState().lock); }
TargetLock::~TargetLock() { LeaveCriticalSection(&DrawingState().lock); }

void resize_surface(Surface* sp, int32_t width, int32_t height) {
  Surface& s = SurfaceOf(sp);
  if (width <= 0 || height <= 0) return;
  bool first = !s.sys;
  MakeContext(s);
  if (first) ApplyState(s);
  void* bits = nullptr;
  HBITMAP bitmap = CreatePixelSection(width, height, &bits);
  if (!bitmap || !bits) return;
  uint32_t* pixels = static_cast<uint32_t*>(bits);
  std::fill(pixels, pixels + size_t(width) * height, PixelFromColour(s.backColour));
  GdiFlush();
  if (s.pixels) CopyOverlap(pixels, width, height, s.pixels, s.width, s.height);
  SelectObject(s.sys->dc, bitmap);
  if (s.sys->bitmap) DeleteObject(s.sys->bitmap);
  s.sys->bitmap = bitmap;
  s.pixels = pixels;
  s.width = width;
  s.height = height;
}

void* surface_dc(Surface* s) {
  MakeContext(SurfaceOf(s));
  return SurfaceOf(s).sys->dc;
}
uint32_t* surface_pixels(Surface* s) {
  GdiFlush();
  return SurfaceOf(s).pixels;
}

void clear_target() {
  Draw([](Surface& s) {
    GdiFlush();
    FillPixels(s, 0, 0, s.width, s.height, PixelFromColour(s.backColour));
  });
}

void set_line_colour(uint32_t c) {
  Draw([c](Surface& s) {
    s.lineColour = c;
    ApplyPen(s);
  });
}
void set_fill_colour(uint32_t c) {
  Draw([c](Surface& s) {
    s.fillColour = c;
    ApplyBrush(s);
  });
}
void set_text_colour(uint32_t c) {
  Draw([c](Surface& s) {
    s.textColour = c;
    SetTextColor(s.sys->dc, c);
  });
}
void set_back_colour(uint32_t c) {
  Draw([c](Surface& s) {
    s.backColour = c;
    SetBkColor(s.sys->dc, c);
  });
}
void set_back_mode(int mode) {
  Draw([mode](Surface& s) {
    s.backMode = mode;
    SetBkMode(s.sys->dc, mode);
  });
}

void set_text_style(int32_t height, int32_t width, const char* face) {
  Draw([&](Surface& s) {
    s.fontHeight = height;
    s.fontWidth = width;
    if (face) {
      strncpy(s.fontFace, face, sizeof s.fontFace - 1);
      s.fontFace[sizeof s.fontFace - 1] = 0;
    }
    ApplyFont(s);
  });
}

void draw_rect(int32_t l, int32_t t, int32_t r, int32_t b) {
  Draw([&](Surface& s) {
    ScopedSelect hollow(s.sys->dc, GetStockObject(HOLLOW_BRUSH));
    Rectangle(s.sys->dc, l, t, r, b);
  });
}

void fill_rect(int32_t l, int32_t t, int32_t r, int32_t b) {
  Draw([&](Surface& s) {
    // GDI's rectangle with a one-pixel solid pen is its outline in the pen's colour around
    // the brush's; written directly, a fill costs what its pixels cost. Rectangles narrower
    // than 2 either way are left to GDI.
    if (r - l >= 2 && b - t >= 2) {
      GdiFlush();
      FilledRectPixels(s, l, t, r, b, PixelFromColour(s.lineColour), PixelFromColour(s.fillColour));
      return;
    }
    Rectangle(s.sys->dc, l, t, r, b);
  });
}

void text_at(int32_t x, int32_t y, const char* gbk) {
  std::wstring text = wide_from_ansi(gbk);
  Draw([&](Surface& s) { TextOutW(s.sys->dc, x, y, text.c_str(), int(text.size())); });
}

void text_in_rect(const char* gbk, int32_t l, int32_t t, int32_t r, int32_t b, unsigned format) {
  std::wstring text = wide_from_ansi(gbk);
  Draw([&](Surface& s) {
    RECT rc{l, t, r, b};
    DrawTextW(s.sys->dc, text.c_str(), int(text.size()), &rc, format);
  });
}

int32_t text_width(const char* gbk) {
  std::wstring text = wide_from_ansi(gbk);
  Surface& target = *CurrentTarget();
  SIZE size{};
  auto measure = [&] {
    MakeContext(target);
    GetTextExtentPoint32W(target.sys->dc, text.c_str(), int(text.size()), &size);
  };
  if (&target == BackBuffer()) {
    DrawingLock lock;
    measure();
  } else {
    measure();
  }
  return size.cx;
}

void put_surface(int32_t x, int32_t y, const Surface& from) {
  if (!from.sys) return;
  Draw([&](Surface& s) {
    BitBlt(s.sys->dc, x, y, from.width, from.height, from.sys->dc, 0, 0, SRCCOPY);
  });
}

void copy_rect(const Surface& from, int32_t l, int32_t t, int32_t r, int32_t b) {
  Draw([&](Surface& s) {
    GdiFlush();
    CopyRectPixels(s, from, l, t, r, b);
  });
}

void flush_window() {
  DrawingLock lock;
  ShowBackBuffer();
}
