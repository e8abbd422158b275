#include "tools/demo_data/canvas.h"

#include <algorithm>

Canvas::Canvas(int w, int h, uint32_t fill)
    : width(w), height(h), pixels(size_t(w) * size_t(h), fill) {}

void Canvas::put(int x, int y, uint32_t colour) {
  if (x < 0 || y < 0 || x >= width || y >= height) return;
  pixels[size_t(y) * width + x] = colour;
}

uint32_t MixColour(uint32_t a, uint32_t b, int t) {
  uint32_t out = 0;
  for (int shift = 0; shift < 24; shift += 8) {
    int ca = int(a >> shift & 0xFF), cb = int(b >> shift & 0xFF);
    out |= uint32_t(ca + (cb - ca) * t / 256) << shift;
  }
  return out | 0xFF000000u;
}

void fill_rect(Canvas& c, int x, int y, int w, int h, uint32_t colour) {
  for (int j = y; j < y + h; ++j)
    for (int i = x; i < x + w; ++i) c.put(i, j, colour);
}

namespace {

bool InRoundRect(int i, int j, int x, int y, int w, int h, int r) {
  if (i < x || j < y || i >= x + w || j >= y + h) return false;
  // Distance of the pixel centre from the nearest corner circle's centre, when it lies in a
  // corner square.
  double px = i + 0.5, py = j + 0.5;
  double cx = std::clamp(px, double(x + r), double(x + w - r));
  double cy = std::clamp(py, double(y + r), double(y + h - r));
  double dx = px - cx, dy = py - cy;
  return dx * dx + dy * dy <= double(r) * r;
}

}  // namespace

void FillRoundRect(Canvas& c, int x, int y, int w, int h, int r, uint32_t colour) {
  FillRoundRectShaded(c, x, y, w, h, r, colour, colour);
}

void FillRoundRectShaded(Canvas& c, int x, int y, int w, int h, int r, uint32_t top,
                         uint32_t bottom) {
  for (int j = y; j < y + h; ++j) {
    uint32_t colour = h > 1 ? MixColour(top, bottom, (j - y) * 256 / (h - 1)) : top;
    if (top == bottom) colour = top;  // keeps the alpha of a single colour
    for (int i = x; i < x + w; ++i)
      if (InRoundRect(i, j, x, y, w, h, r)) c.put(i, j, colour);
  }
}

void FillEllipse(Canvas& c, double cx, double cy, double rx, double ry, uint32_t colour) {
  if (rx <= 0 || ry <= 0) return;
  for (int j = int(cy - ry) - 1; j <= int(cy + ry) + 1; ++j)
    for (int i = int(cx - rx) - 1; i <= int(cx + rx) + 1; ++i) {
      double dx = (i + 0.5 - cx) / rx, dy = (j + 0.5 - cy) / ry;
      if (dx * dx + dy * dy <= 1.0) c.put(i, j, colour);
    }
}

void FillPolygon(Canvas& c, const std::vector<Point>& points, uint32_t colour) {
  if (points.size() < 3) return;
  double left = points[0].x, right = left, top = points[0].y, bottom = top;
  for (const Point& p : points) {
    left = std::min(left, p.x);
    right = std::max(right, p.x);
    top = std::min(top, p.y);
    bottom = std::max(bottom, p.y);
  }
  for (int j = int(top) - 1; j <= int(bottom) + 1; ++j)
    for (int i = int(left) - 1; i <= int(right) + 1; ++i) {
      double px = i + 0.5, py = j + 0.5;
      bool inside = false;
      for (size_t k = 0, prev = points.size() - 1; k < points.size(); prev = k++) {
        const Point& a = points[k];
        const Point& b = points[prev];
        if ((a.y > py) != (b.y > py) && px < (b.x - a.x) * (py - a.y) / (b.y - a.y) + a.x)
          inside = !inside;
      }
      if (inside) c.put(i, j, colour);
    }
}

void DrawLine(Canvas& c, Point a, Point b, double width, uint32_t colour) {
  double half = width / 2;
  double vx = b.x - a.x, vy = b.y - a.y, len2 = vx * vx + vy * vy;
  int x0 = int(std::min(a.x, b.x) - half) - 1, x1 = int(std::max(a.x, b.x) + half) + 1;
  int y0 = int(std::min(a.y, b.y) - half) - 1, y1 = int(std::max(a.y, b.y) + half) + 1;
  for (int j = y0; j <= y1; ++j)
    for (int i = x0; i <= x1; ++i) {
      double px = i + 0.5 - a.x, py = j + 0.5 - a.y;
      double t = len2 > 0 ? std::clamp((px * vx + py * vy) / len2, 0.0, 1.0) : 0.0;
      double dx = px - t * vx, dy = py - t * vy;
      if (dx * dx + dy * dy <= half * half) c.put(i, j, colour);
    }
}

namespace {

// 16 x 16 bitmaps of the label characters, one string of '#' and '.' per row.
struct Glyph {
  const char* utf8;
  const char* rows[16];
};

const Glyph kGlyphs[] = {
    {"建",
     {".........#......", ".####....#......", "...##.#######...", "...#.....#..#...",
      "..#..##########.", "..#......#..#...", ".####.#######...", "...##....#......",
      ".#.##.#######...", ".#.#.....#......", "..##.#########..", "..##.....#......",
      ".#####...#......", "##...##########.", "...........####.", "................"}},
    {"筑",
     {"...#......#.....", "...#......#.....", "..#############.", "..#.#....#.#....",
      ".##.##..#..#....", ".#..............", ".######.#####...", "....#...#...#...",
      "....#...##..#...", "....#...##..#...", "....#...#.#.#...", "....#####...#...",
      "####...#....#.#.", "......##....#.#.", "....###.....###.", "................"}},
    {"兵",
     {"...........#....", "....#######.....", "....#...........", "....#...........",
      "....##########..", "....#....#......", "....#....#......", "....#....#......",
      "....#....#......", "###############.", "..........#.....", "....##....##....",
      "...##......##...", "..##........##..", ".##..........#..", "................"}},
    {"种",
     {"...........#....", ".....##....#....", ".####......#....", "...##......#....",
      "...##..########.", "########...#..#.", "...##..#...#..#.", "..####.#...#..#.",
      "..#############.", ".####..#...#..#.", ".#.##......#....", "#..##......#....",
      "...##......#....", "...##......#....", "...##......#....", "................"}},
    {"将",
     {"....#....#......", "....#...##......", ".#..#...######..", ".#..#..##...#...",
      "..#.###.#..#....", "..#.#.....#.....", "....#...##.##...", "....#.###..##...",
      "...##......##...", "..#.#......##...", "##..#..##..##...", "....#...#..##...",
      "....#......##...", "....#......##...", "....#.....##....", "................"}},
    {"领",
     {"....#...........", "....#..########.", "...###....#.....", "...#.##...#.....",
      "..###.#.######..", "..#.#...#.##.#..", ".#..##..#.##.#..", "##......#.##.#..",
      "..#####.#.##.#..", ".....#..#.##.#..", "..#.##..#.##.#..", "...##...#.#..#..",
      "...##.....#.##..", "....#...##...##.", "....#..##.....##", "................"}},
    {"地",
     {"..#.......#.....", "..#.......#.....", "..#...##..#.....", "..#...##..#..#..",
      "#####.##..####..", "..#...#####..#..", "..#..###..#..#..", "..#...##..#..#..",
      "..#...##..#..#..", "..#.#.##..#..#..", "..##..##..#.##..", "##....##..#....#",
      "#.....##......##", "......##......#.", ".......########.", "................"}},
    {"块",
     {"...#.....#......", "...#.....#......", "...#.....#......", "...#..#######...",
      "######...#..#...", "...#.....#..#...", "...#.....#..#...", "...#.....#..#...",
      "...#.....#......", "...#.#...##.....", "...##...#.#.....", "###.....#..#....",
      "#......#...##...", ".....##.....##..", "....##.......#..", "................"}},
};

constexpr int kGlyphSize = 16;

// Splits UTF-8 text into its characters (each as its byte sequence).
std::vector<std::string> characters(const std::string& text) {
  std::vector<std::string> out;
  for (size_t i = 0; i < text.size();) {
    unsigned char lead = static_cast<unsigned char>(text[i]);
    size_t n = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    out.push_back(text.substr(i, n));
    i += n;
  }
  return out;
}

const Glyph* FindGlyph(const std::string& ch) {
  for (const Glyph& g : kGlyphs)
    if (ch == g.utf8) return &g;
  return nullptr;
}

}  // namespace

void DrawText(Canvas& c, const std::string& utf8, int x, int y, int scale, uint32_t colour) {
  for (const std::string& ch : characters(utf8)) {
    if (const Glyph* g = FindGlyph(ch))
      for (int row = 0; row < kGlyphSize; ++row)
        for (int col = 0; col < kGlyphSize; ++col)
          if (g->rows[row][col] == '#')
            fill_rect(c, x + col * scale, y + row * scale, scale, scale, colour);
    x += kGlyphSize * scale;
  }
}

int TextWidth(const std::string& utf8, int scale) {
  return int(characters(utf8).size()) * kGlyphSize * scale;
}
