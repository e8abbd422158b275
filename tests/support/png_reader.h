// PNG files read back in tests, with stb's reader (an implementation apart from the one
// that wrote them).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct DecodedPng {
  int width = 0, height = 0;
  int channels = 0;              // as stored in the file: 4 for RGB with alpha
  std::vector<uint32_t> pixels;  // row by row, top row first, in PngRgba form

  uint32_t At(int x, int y) const { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
};

// Decodes a whole PNG file to 8-bit RGBA. Empty when it decoded, else the reader's reason.
std::string DecodePng(const std::string& file, DecodedPng& png);
