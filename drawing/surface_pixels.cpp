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

void FilledRectPixels(Surface& s, int32_t left, int32_t top, int32_t right, int32_t bottom,
                      uint32_t line, uint32_t fill) {
  if (!s.pixels || right <= left || bottom <= top) return;
  const int32_t x0 = std::max(left, 0), x1 = std::min(right, s.width);
  const int32_t y0 = std::max(top, 0), y1 = std::min(bottom, s.height);
  if (x1 <= x0) return;
  // The inside of each middle row, and whether its edge columns are in the surface.
  const int32_t in0 = std::max(left + 1, 0), in1 = std::min(right - 1, s.width);
  const bool leftEdge = left >= 0, rightEdge = right - 1 < s.width && right - 1 > left;
  for (int32_t y = y0; y < y1; ++y) {
    uint32_t* row = s.pixels + size_t(y) * s.width;
    if (y == top || y == bottom - 1) {
      std::fill(row + x0, row + x1, line);
      continue;
    }
    if (in1 > in0) std::fill(row + in0, row + in1, fill);
    if (leftEdge) row[left] = line;
    if (rightEdge) row[right - 1] = line;
  }
}

void CopyRectPixels(Surface& to, const Surface& from, int32_t left, int32_t top, int32_t right,
                    int32_t bottom) {
  if (!to.pixels || !from.pixels) return;
  const int32_t x0 = std::max(left, 0), y0 = std::max(top, 0);
  const int32_t x1 = std::min({right, to.width, from.width});
  const int32_t y1 = std::min({bottom, to.height, from.height});
  if (x1 <= x0) return;
  for (int32_t y = y0; y < y1; ++y)
    memcpy(to.pixels + size_t(y) * to.width + x0, from.pixels + size_t(y) * from.width + x0,
           size_t(x1 - x0) * 4);
}
