#include "tests/support/png_reader.h"

// The one copy of stb's reader in the tests: PNG only, from memory.
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#define STBI_NO_STDIO
#include <stb/stb_image.h>

std::string DecodePng(const std::string& file, DecodedPng& png) {
  png = DecodedPng{};
  const auto* bytes = reinterpret_cast<const stbi_uc*>(file.data());
  int w = 0, h = 0, channels = 0;
  stbi_uc* rgba = stbi_load_from_memory(bytes, int(file.size()), &w, &h, &channels, 4);
  if (!rgba) {
    const char* reason = stbi_failure_reason();
    return reason ? reason : "not decoded";
  }
  png.width = w;
  png.height = h;
  png.channels = channels;
  png.pixels.resize(size_t(w) * size_t(h));
  for (size_t i = 0; i < png.pixels.size(); ++i)
    for (int k = 0; k < 4; ++k) png.pixels[i] |= uint32_t(rgba[4 * i + k]) << (8 * k);
  stbi_image_free(rgba);
  return {};
}
