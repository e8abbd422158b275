// An RGBA picture in memory with the few drawing operations the demo artwork needs. Pixels
// are PngRgba values (red in the low byte). Shapes are filled where a pixel's centre lies
// inside them; there is no anti-aliasing, so every colour drawn is exactly the one given.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct Point {
  double x;
  double y;
};

struct Canvas {
  Canvas(int w, int h, uint32_t fill = 0);
  // Sets one pixel; points outside the picture are ignored.
  void put(int x, int y, uint32_t colour);
  uint32_t at(int x, int y) const { return pixels[size_t(y) * width + x]; }

  int width;
  int height;
  std::vector<uint32_t> pixels;  // row by row, top row first
};

// Blends two opaque colours: t = 0 gives a, t = 256 gives b.
uint32_t MixColour(uint32_t a, uint32_t b, int t);

void fill_rect(Canvas& c, int x, int y, int w, int h, uint32_t colour);
// A rectangle with quarter-circle corners of radius r.
void FillRoundRect(Canvas& c, int x, int y, int w, int h, int r, uint32_t colour);
// The same shape shaded from `top` at its first row to `bottom` at its last.
void FillRoundRectShaded(Canvas& c, int x, int y, int w, int h, int r, uint32_t top,
                         uint32_t bottom);
void FillEllipse(Canvas& c, double cx, double cy, double rx, double ry, uint32_t colour);
// Even-odd filling of a closed polygon.
void FillPolygon(Canvas& c, const std::vector<Point>& points, uint32_t colour);
// A straight stroke of the given width with round ends.
void DrawLine(Canvas& c, Point a, Point b, double width, uint32_t colour);

// Draws text in the built-in 16 x 16 pixel font, scaled by `scale`, left edge at x, top at y.
// The font has the few Chinese characters the button labels use; others leave a gap.
void DrawText(Canvas& c, const std::string& utf8, int x, int y, int scale, uint32_t colour);
// Width in pixels of the text at that scale.
int TextWidth(const std::string& utf8, int scale);
