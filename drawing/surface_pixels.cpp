#include "drawing/surface_pixels.h"

#include <algorithm>
#include <cstring>

void FillPixels(Surface& s, int32_t left, int32_t top, int32_t right, int32_t bottom,
                 uint32_t pixel) {
  if (!s.pixels) return;
  left = std::max(left, 0);
  top = std::max(top, 0);
  right = std::min(right, s.width);
  bottom = std::min(bottom, s.height);
  for (int32_t y = top; y < bottom; ++y) std::fill(s.pixels + size_t(y) * s.width + left,
                                                   s.pixels + size_t(y) * s.width + std::max(left, right), pixel);
}

void OutlinePixels(Surface& s, int32_t left, int32_t top, int32_t right, int32_t bottom,
                    uint32_t pixel) {
  if (right <= left || bottom <= top) return;
  FillPixels(s, left, top, right, top + 1, pixel);
  FillPixels(s, left, bottom - 1, right, bottom, pixel);
  FillPixels(s, left, top, left + 1, bottom, pixel);
  FillPixels(s, right - 1, top, right, bottom, pixel);
}

void CopyPixels(Surface& to, int32_t x, int32_t y, const Surface& from) {
  if (!to.pixels || !from.pixels) return;
  int32_t x0 = std::max(x, 0), y0 = std::max(y, 0);
  int32_t x1 = std::min(x + from.width, to.width), y1 = std::min(y + from.height, to.height);
  if (x1 <= x0) return;
  for (int32_t ty = y0; ty < y1; ++ty)
    memcpy(to.pixels + size_t(ty) * to.width + x0,
           from.pixels + size_t(ty - y) * from.width + (x0 - x), size_t(x1 - x0) * 4);
}

void CopyOverlap(uint32_t* to, int32_t toW, int32_t toH, const uint32_t* from, int32_t fromW,
                  int32_t fromH) {
  int32_t w = std::min(toW, fromW), h = std::min(toH, fromH);
  for (int32_t y = 0; y < h; ++y) memcpy(to + size_t(y) * toW, from + size_t(y) * fromW, size_t(w) * 4);
}
