#include "btl/raster.h"

#include <algorithm>

// The one copy of stb's writer in the companion, private to this file (the demo data's
// writer, linked into the same tests, has its own).
#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STB_IMAGE_WRITE_STATIC
#define STBI_WRITE_NO_STDIO
#include <stb/stb_image_write.h>

void FillPixels(Canvas& c, int32_t left, int32_t top, int32_t right, int32_t bottom,
                uint32_t colour) {
  left = std::max(left, 0);
  top = std::max(top, 0);
  right = std::min(right, c.width);
  bottom = std::min(bottom, c.height);
  if (left >= right) return;
  for (int32_t y = top; y < bottom; ++y) {
    uint32_t* row = &c.at(0, y);
    std::fill(row + left, row + right, colour);
  }
}

void FramePixels(Canvas& c, int32_t left, int32_t top, int32_t right, int32_t bottom,
                 int32_t thickness, uint32_t colour) {
  FillPixels(c, left, top, right, top + thickness, colour);
  FillPixels(c, left, bottom - thickness, right, bottom, colour);
  FillPixels(c, left, top, left + thickness, bottom, colour);
  FillPixels(c, right - thickness, top, right, bottom, colour);
}

void CopyKeyed(Canvas& c, int32_t x, int32_t y, const KeyedPicture& p) {
  const int32_t x0 = std::max(0, -x), y0 = std::max(0, -y);
  const int32_t x1 = std::min(p.width, c.width - x), y1 = std::min(p.height, c.height - y);
  for (int32_t row = y0; row < y1; ++row) {
    const uint32_t* from = &p.pixels[size_t(row) * size_t(p.width)];
    uint32_t* to = &c.at(x, y + row);
    for (int32_t col = x0; col < x1; ++col)
      if (from[col]) to[col] = from[col];
  }
}

void BlendPixel(Canvas& c, int32_t x, int32_t y, uint32_t colour, uint8_t coverage) {
  if (x < 0 || y < 0 || x >= c.width || y >= c.height || coverage == 0) return;
  uint32_t& to = c.at(x, y);
  uint32_t mixed = 0;
  for (int shift = 0; shift < 24; shift += 8) {
    const uint32_t a = (colour >> shift) & 0xFF, b = (to >> shift) & 0xFF;
    mixed |= ((a * coverage + b * (255u - coverage) + 127u) / 255u) << shift;
  }
  to = mixed;
}

namespace {
// The writer filters the whole picture (a byte more a row) and compresses it within int sizes.
constexpr uint64_t kMaxFilteredBytes = 0x40000000u;

void Append(void* context, void* data, int size) {
  auto* bytes = static_cast<std::vector<uint8_t>*>(context);
  const uint8_t* from = static_cast<const uint8_t*>(data);
  bytes->insert(bytes->end(), from, from + size);
}
}  // namespace

std::vector<uint8_t> EncodeCanvasPng(Canvas& c) {
  std::vector<uint8_t> png;
  if (c.width <= 0 || c.height <= 0 ||
      (1 + 3 * uint64_t(c.width)) * uint64_t(c.height) > kMaxFilteredBytes)
    return png;
  // Red, green and blue, three bytes a pixel, packed in place over the canvas's own pixels.
  uint8_t* rgb = reinterpret_cast<uint8_t*>(c.pixels.data());
  for (size_t i = 0; i < c.pixels.size(); ++i) {
    const uint32_t p = c.pixels[i];
    rgb[3 * i] = uint8_t(p);
    rgb[3 * i + 1] = uint8_t(p >> 8);
    rgb[3 * i + 2] = uint8_t(p >> 16);
  }
  // Rows of hexes repeat the row above for most of their height: the "up" filter makes them
  // zeros, which the compressor takes in long matches, and trying every filter on every row
  // would double the time. The lowest compression level the writer has keeps its match
  // search short; the files stay small since the picture is mostly flat colour.
  stbi_write_force_png_filter = 2;
  stbi_write_png_compression_level = 5;
  stbi_write_png_to_func(Append, &png, c.width, c.height, 3, rgb, 3 * c.width);
  c.pixels.clear();
  return png;
}
