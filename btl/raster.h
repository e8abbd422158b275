// The companion's own picture: a plain buffer of 32-bit pixels that the render command draws
// hexes, artwork, labels and frames into, and writes as a PNG. Everything here is integer
// arithmetic, so the native build and the Windows build draw the same pixels.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Pixels are 0x00BBGGRR, the colour form of the battle file's teams (red in the low byte),
// so a team colour is a pixel as it is; in memory, red, green, blue, then an unused byte.
struct Canvas {
  int32_t width = 0, height = 0;
  std::vector<uint32_t> pixels;  // top row first

  uint32_t& at(int32_t x, int32_t y) { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
};

// A picture ready to be copied with the colour key: pixels that are 0 are left out.
struct KeyedPicture {
  int32_t width = 0, height = 0;
  std::vector<uint32_t> pixels;  // 0x00BBGGRR, top row first
};

// Fills left..right-1 by top..bottom-1, clipped to the canvas.
void FillPixels(Canvas& c, int32_t left, int32_t top, int32_t right, int32_t bottom,
                uint32_t colour);
// A frame `thickness` pixels wide just inside left..right-1 by top..bottom-1.
void FramePixels(Canvas& c, int32_t left, int32_t top, int32_t right, int32_t bottom,
                 int32_t thickness, uint32_t colour);
// Copies the picture with its top-left at (x, y), leaving out its 0 pixels, clipped.
void CopyKeyed(Canvas& c, int32_t x, int32_t y, const KeyedPicture& picture);
// Lays `colour` over the pixel with coverage 0..255 (a glyph's anti-aliased edge).
void BlendPixel(Canvas& c, int32_t x, int32_t y, uint32_t colour, uint8_t coverage);

// The canvas as PNG bytes (stb's writer, into memory; its deflate gives the same bytes for the
// same pixels on every build), 8-bit RGB. The canvas's pixels are used up on the way (packed
// in place to three bytes each). Empty when the picture is too large for the writer.
std::vector<uint8_t> EncodeCanvasPng(Canvas& c);
