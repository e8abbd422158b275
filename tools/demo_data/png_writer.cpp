#include "tools/demo_data/png_writer.h"

#include <cstdio>
#include <vector>

#include "base/files.h"

// The one copy of stb's writer in the program; files go through OpenFile instead of its
// own fopen, so Chinese paths work on Windows.
#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO
#include <stb/stb_image_write.h>

namespace {

// The filtered image and the compressor's output must stay well inside stb's int sizes
// (its deflate output can be a little larger than its input).
constexpr uint64_t kMaxFilteredBytes = 0x40000000u;

void AppendToString(void* context, void* data, int size) {
  static_cast<std::string*>(context)->append(static_cast<const char*>(data), size_t(size));
}

}  // namespace

uint32_t PngCrc32(const void* data, size_t size) {
  return stbiw__crc32(static_cast<unsigned char*>(const_cast<void*>(data)), int(size));
}

std::string EncodePng(int w, int h, const uint32_t* pixels) {
  if (w <= 0 || h <= 0 || !pixels) return {};
  if ((1 + 4 * uint64_t(w)) * uint64_t(h) > kMaxFilteredBytes) return {};
  std::vector<unsigned char> rgba(size_t(w) * size_t(h) * 4);
  for (size_t i = 0; i < size_t(w) * size_t(h); ++i)
    for (int k = 0; k < 4; ++k) rgba[4 * i + k] = static_cast<unsigned char>(pixels[i] >> (8 * k));
  std::string png;
  if (!stbi_write_png_to_func(AppendToString, &png, w, h, 4, rgba.data(), 4 * w)) return {};
  return png;
}

bool WritePng(const std::string& utf8path, int w, int h, const uint32_t* pixels) {
  std::string png = EncodePng(w, h, pixels);
  if (png.empty()) return false;
  FILE* f = OpenFile(utf8path, "wb");
  if (!f) return false;
  bool ok = fwrite(png.data(), 1, png.size(), f) == png.size();
  ok = fclose(f) == 0 && ok;
  return ok;
}
