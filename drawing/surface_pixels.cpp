#include "drawing/surface_pixels.h"

#include <algorithm>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// n pixels of one value from p on. The compiler writes std::fill's loop a pixel at a time;
// sixteen bytes a store fill as fast as memory takes them, and fills are most of a frame.
void FillRow(uint32_t* p, int32_t n, uint32_t pixel) {
  int32_t i = 0;
#if defined(__SSE2__)
  const __m128i four = _mm_set1_epi32(int32_t(pixel));
  for (; i + 16 <= n; i += 16) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(p + i), four);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(p + i + 4), four);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(p + i + 8), four);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(p + i + 12), four);
  }
  for (; i + 4 <= n; i += 4) _mm_storeu_si128(reinterpret_cast<__m128i*>(p + i), four);
#endif
  for (; i < n; ++i) p[i] = pixel;
}

}  // namespace

void FillPixels(Surface& s, int32_t left, int32_t top, int32_t right, int32_t bottom,
                uint32_t pixel) {
  if (!s.pixels) return;
  left = std::max(left, 0);
  top = std::max(top, 0);
  right = std::min(right, s.width);
  bottom = std::min(bottom, s.height);
  if (right <= left) return;
  for (int32_t y = top; y < bottom; ++y)
    FillRow(s.pixels + size_t(y) * s.width + left, right - left, pixel);
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
  for (int32_t y = 0; y < h; ++y)
    memcpy(to + size_t(y) * toW, from + size_t(y) * fromW, size_t(w) * 4);
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
      FillRow(row + x0, x1 - x0, line);
      continue;
    }
    if (in1 > in0) FillRow(row + in0, in1 - in0, fill);
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
