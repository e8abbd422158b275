// Surfaces of the Windows build: 32-bit top-down DIB sections selected into memory
// contexts, drawn on with GDI. While the window is the target, each operation draws into
// the back buffer and the result is copied to the window.
#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <unordered_map>
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

// Whether GDI may have drawing of this process not yet done (it may batch calls): pixels
// written directly must wait for it. Asking GDI to finish costs a call into the system, so
// a run of direct writes asks once.
std::atomic<bool> g_gdiMayLag{true};

void PixelsReady() {
  if (g_gdiMayLag.exchange(false)) GdiFlush();
}

enum class Writes { kThroughGdi, kPixels };

// Runs a drawing step on the target, under the lock when the target is the window, and then
// shows the window the result. A step that writes pixels calls PixelsReady first.
template <class Step>
void Draw(Step step, Writes writes = Writes::kThroughGdi) {
  Surface& target = *CurrentTarget();
  if (&target == BackBuffer()) {
    DrawingLock lock;
    MakeContext(target);
    step(target);
    ShowBackBuffer();
    g_gdiMayLag = true;
  } else {
    MakeContext(target);
    step(target);
    if (writes == Writes::kThroughGdi) g_gdiMayLag = true;
  }
}

// ---- Text stamps ----
// Transparent text in a font drawn without smoothing (the editor asks for none) sets whole
// pixels to the text colour and leaves the others: it is a mask. Each distinct text, in its
// font (and, in a rectangle, with the rectangle's size and format), is drawn once with GDI
// into a scratch section, white on black, and kept as the runs of pixels it set; drawing it
// again fills those runs in the text colour. A text whose scratch pixels are not all black
// or white (the system smoothed it after all), or that reaches the scratch's edge, is kept
// as inexact and always left to GDI.

struct StampKey {
  std::wstring text;
  std::string face;
  int32_t fontHeight, fontWidth;
  bool inRect;
  unsigned format;
  int32_t width, height;  // of the rectangle
  bool operator==(const StampKey&) const = default;
};

struct StampKeyHash {
  size_t operator()(const StampKey& k) const {
    size_t h = std::hash<std::wstring>()(k.text) ^ std::hash<std::string>()(k.face) * 31;
    for (int64_t v : {int64_t(k.fontHeight), int64_t(k.fontWidth), int64_t(k.inRect),
                      int64_t(k.format), int64_t(k.width), int64_t(k.height)})
      h = h * 1000003u ^ size_t(v);
    return h;
  }
};

struct StampRun {
  int32_t dy, x0, x1;  // one row's pixels x0..x1-1, from the text's drawing origin
};

struct Stamp {
  bool exact = false;
  std::vector<StampRun> runs;
};

constexpr size_t kMostStamps = 8192;  // then the cache starts again
constexpr int32_t kLargestScratch = 2048;

std::mutex g_stampLock;
std::unordered_map<StampKey, Stamp, StampKeyHash> g_stamps;

Stamp MakeStamp(Surface& s, const StampKey& k) {
  Stamp stamp;
  const int32_t margin = std::abs(s.fontHeight) + 8;
  int32_t w = k.width, h = k.height;
  if (!k.inRect) {
    SIZE size{};
    GetTextExtentPoint32W(s.sys->dc, k.text.c_str(), int(k.text.size()), &size);
    w = size.cx;
    h = size.cy;
  }
  w += 2 * margin;
  h += 2 * margin;
  if (w <= 0 || h <= 0 || w > kLargestScratch || h > kLargestScratch) return stamp;
  void* bits = nullptr;
  HBITMAP bitmap = CreatePixelSection(w, h, &bits);
  HDC dc = CreateCompatibleDC(nullptr);
  if (bitmap && bits && dc) {
    HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
    HGDIOBJ oldFont = SelectObject(dc, s.sys->font);
    uint32_t* px = static_cast<uint32_t*>(bits);
    std::fill(px, px + size_t(w) * h, 0u);
    SetTextColor(dc, RGB(255, 255, 255));
    SetBkMode(dc, TRANSPARENT);
    if (k.inRect) {
      RECT rc{margin, margin, margin + k.width, margin + k.height};
      DrawTextW(dc, k.text.c_str(), int(k.text.size()), &rc, k.format);
    } else {
      TextOutW(dc, margin, margin, k.text.c_str(), int(k.text.size()));
    }
    GdiFlush();
    stamp.exact = true;
    for (int32_t y = 0; y < h && stamp.exact; ++y)
      for (int32_t x = 0; x < w; ++x) {
        const uint32_t v = px[size_t(y) * w + x] & 0xFFFFFF;
        if (v == 0) continue;
        if (v != 0xFFFFFF || x == 0 || y == 0 || x == w - 1 || y == h - 1) {
          stamp.exact = false;
          break;
        }
        if (!stamp.runs.empty() && stamp.runs.back().dy == y - margin &&
            stamp.runs.back().x1 == x - margin)
          stamp.runs.back().x1++;
        else
          stamp.runs.push_back({y - margin, x - margin, x - margin + 1});
      }
    if (!stamp.exact) stamp.runs.clear();
    SelectObject(dc, oldFont);
    SelectObject(dc, oldBitmap);
  }
  if (dc) DeleteDC(dc);
  if (bitmap) DeleteObject(bitmap);
  return stamp;
}

// Draws the text's stamp at (x, y) in the text colour; false when GDI must draw it.
bool DrawStamp(Surface& s, StampKey key, int32_t x, int32_t y) {
  if (s.backMode != kBackTransparent || !s.sys->font || !s.pixels) return false;
  std::lock_guard<std::mutex> lock(g_stampLock);
  auto it = g_stamps.find(key);
  if (it == g_stamps.end()) {
    if (g_stamps.size() >= kMostStamps) g_stamps.clear();
    Stamp made = MakeStamp(s, key);
    it = g_stamps.emplace(std::move(key), std::move(made)).first;
  }
  const Stamp& stamp = it->second;
  if (!stamp.exact) return false;
  PixelsReady();
  const uint32_t pixel = PixelFromColour(s.textColour);
  for (const StampRun& r : stamp.runs)
    FillPixels(s, x + r.x0, y + r.dy, x + r.x1, y + r.dy + 1, pixel);
  return true;
}

StampKey KeyOf(const Surface& s, std::wstring text, bool inRect, unsigned format, int32_t w,
               int32_t h) {
  return {std::move(text), s.fontFace, s.fontHeight, s.fontWidth, inRect, format, w, h};
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
  g_gdiMayLag = true;  // whoever asks draws with GDI
  return SurfaceOf(s).sys->dc;
}
uint32_t* surface_pixels(Surface* s) {
  PixelsReady();
  return SurfaceOf(s).pixels;
}

void clear_target() {
  Draw(
      [](Surface& s) {
        PixelsReady();
        FillPixels(s, 0, 0, s.width, s.height, PixelFromColour(s.backColour));
      },
      Writes::kPixels);
}

void ClearRect(int32_t l, int32_t t, int32_t r, int32_t b) {
  Draw(
      [&](Surface& s) {
        PixelsReady();
        FillPixels(s, l, t, r, b, PixelFromColour(s.backColour));
      },
      Writes::kPixels);
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
  // GDI's rectangle with a one-pixel solid pen is its outline in the pen's colour around the
  // brush's; written directly, a fill costs what its pixels cost. Rectangles narrower than 2
  // either way are left to GDI.
  if (r - l >= 2 && b - t >= 2) {
    Draw(
        [&](Surface& s) {
          PixelsReady();
          FilledRectPixels(s, l, t, r, b, PixelFromColour(s.lineColour),
                           PixelFromColour(s.fillColour));
        },
        Writes::kPixels);
    return;
  }
  Draw([&](Surface& s) { Rectangle(s.sys->dc, l, t, r, b); });
}

void FillRectIn(int32_t l, int32_t t, int32_t r, int32_t b, uint32_t line, uint32_t fill) {
  if (r - l < 2 || b - t < 2) {  // GDI's, with the colours put back afterwards
    Surface& s = *CurrentTarget();
    const uint32_t oldLine = s.lineColour, oldFill = s.fillColour;
    set_line_colour(line);
    set_fill_colour(fill);
    fill_rect(l, t, r, b);
    set_line_colour(oldLine);
    set_fill_colour(oldFill);
    return;
  }
  Draw(
      [&](Surface& s) {
        PixelsReady();
        FilledRectPixels(s, l, t, r, b, PixelFromColour(line), PixelFromColour(fill));
      },
      Writes::kPixels);
}

void text_at(int32_t x, int32_t y, const char* gbk) {
  std::wstring text = wide_from_ansi(gbk);
  Draw(
      [&](Surface& s) {
        if (DrawStamp(s, KeyOf(s, text, false, 0, 0, 0), x, y)) return;
        TextOutW(s.sys->dc, x, y, text.c_str(), int(text.size()));
        g_gdiMayLag = true;
      },
      Writes::kPixels);
}

void text_in_rect(const char* gbk, int32_t l, int32_t t, int32_t r, int32_t b, unsigned format) {
  std::wstring text = wide_from_ansi(gbk);
  Draw(
      [&](Surface& s) {
        if (r > l && b > t && DrawStamp(s, KeyOf(s, text, true, format, r - l, b - t), l, t))
          return;
        RECT rc{l, t, r, b};
        DrawTextW(s.sys->dc, text.c_str(), int(text.size()), &rc, format);
        g_gdiMayLag = true;
      },
      Writes::kPixels);
}

int32_t TextWidth(const char* gbk) {
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

void CopyRect(const Surface& from, int32_t l, int32_t t, int32_t r, int32_t b) {
  Draw(
      [&](Surface& s) {
        PixelsReady();
        CopyRectPixels(s, from, l, t, r, b);
      },
      Writes::kPixels);
}

void flush_window() {
  DrawingLock lock;
  ShowBackBuffer();
}
