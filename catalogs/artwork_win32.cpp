#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <memory>

#include "catalogs/artwork.h"
#include "catalogs/picture_decoder.h"
#include "base/wide.h"

namespace {
ULONG_PTR g_token = 0;  // kept for the life of the process
}

void start_pictures() {
  Gdiplus::GdiplusStartupInput input;  // version 1, no callback, thread and codecs on
  Gdiplus::GdiplusStartup(&g_token, &input, nullptr);
}

bool DecodePicture(Surface& surface, const std::string& utf8Path, double scale,
                   uint32_t background) {
  std::wstring path = WideFromUtf8(utf8Path);
  std::unique_ptr<Gdiplus::Bitmap> picture(Gdiplus::Bitmap::FromFile(path.c_str()));
  int32_t w = 0, h = 0;
  if (picture && picture->GetLastStatus() == Gdiplus::Ok) {
    w = int32_t(picture->GetWidth());
    h = int32_t(picture->GetHeight());
  }
  if (w <= 0 || h <= 0 || w > kMaxPictureSide || h > kMaxPictureSide) return false;
  int32_t sw = int32_t(w * scale), sh = int32_t(h * scale);
  resize_surface(&surface, sw, sh);  // a zero result keeps the old size
  set_target(&surface);
  set_back_colour(background);
  clear_target();
  {
    Gdiplus::Graphics graphics(static_cast<HDC>(surface_dc(&surface)));
    graphics.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
    graphics.DrawImage(picture.get(), Gdiplus::Rect(0, 0, sw, sh));
  }
  GdiFlush();
  // GDI+ may leave an alpha byte in the section; pixels are 0x00RRGGBB, so transparent
  // areas over black are exactly 0 for the colour key.
  for (int32_t i = 0; i < surface.width * surface.height; ++i) surface.pixels[i] &= 0x00FFFFFF;
  return true;
}
