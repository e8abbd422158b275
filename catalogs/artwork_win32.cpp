#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <memory>

#include "catalogs/artwork.h"
#include "catalogs/picture_decoder.h"
#include "base/wide.h"
#include "drawing/win32_internal.h"

namespace {
ULONG_PTR g_token = 0;  // kept for the life of the process

// A 32-bit top-down section in a memory context of its own, for one decode.
struct Canvas {
  HDC dc = nullptr;
  HBITMAP bitmap = nullptr;
  uint32_t* pixels = nullptr;
  Canvas(int32_t w, int32_t h) {
    void* bits = nullptr;
    bitmap = CreatePixelSection(w, h, &bits);
    dc = CreateCompatibleDC(nullptr);
    if (!bitmap || !bits || !dc) return;
    SelectObject(dc, bitmap);
    pixels = static_cast<uint32_t*>(bits);
  }
  ~Canvas() {
    if (dc) DeleteDC(dc);
    if (bitmap) DeleteObject(bitmap);
  }
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;
};
}  // namespace

void start_pictures() {
  Gdiplus::GdiplusStartupInput input;  // version 1, no callback, thread and codecs on
  Gdiplus::GdiplusStartup(&g_token, &input, nullptr);
}

DecodedPicture DecodePicture(const std::string& utf8Path, double scale, uint32_t background) {
  DecodedPicture out;
  std::wstring path = WideFromUtf8(utf8Path);
  std::unique_ptr<Gdiplus::Bitmap> picture(Gdiplus::Bitmap::FromFile(path.c_str()));
  int32_t w = 0, h = 0;
  if (picture && picture->GetLastStatus() == Gdiplus::Ok) {
    w = int32_t(picture->GetWidth());
    h = int32_t(picture->GetHeight());
  }
  if (w <= 0 || h <= 0 || w > kMaxPictureSide || h > kMaxPictureSide) return out;
  out.ok = true;
  out.width = int32_t(w * scale);
  out.height = int32_t(h * scale);
  if (out.width <= 0 || out.height <= 0) return out;
  Canvas canvas(out.width, out.height);
  if (!canvas.pixels) return DecodedPicture{};
  const size_t n = size_t(out.width) * out.height;
  std::fill(canvas.pixels, canvas.pixels + n, PixelFromColour(background));
  GdiFlush();
  {
    Gdiplus::Graphics graphics(canvas.dc);
    graphics.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
    graphics.DrawImage(picture.get(), Gdiplus::Rect(0, 0, out.width, out.height));
  }
  GdiFlush();
  // GDI+ may leave an alpha byte in the section; pixels are 0x00RRGGBB, so transparent
  // areas over black are exactly 0 for the colour key.
  out.pixels.assign(canvas.pixels, canvas.pixels + n);
  for (uint32_t& p : out.pixels) p &= 0x00FFFFFF;
  return out;
}
