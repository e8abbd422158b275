#include "tools/icon/app_icon.h"

#include <algorithm>
#include <cmath>

#include "tools/demo_data/png_writer.h"

namespace {

constexpr int kSupersample = 4;
constexpr double kRoot3 = 1.7320508075688772;

const uint32_t kOutline = PngRgba(0x1A, 0x24, 0x30);
const uint32_t kLand = PngRgba(0x5A, 0xA0, 0x3C);
const uint32_t kLandLight = PngRgba(0x86, 0xC0, 0x52);
const uint32_t kSea = PngRgba(0x14, 0x2C, 0x78);
const uint32_t kFlag = PngRgba(0xD8, 0x30, 0x28);
const uint32_t kPole = PngRgba(0xF0, 0xE6, 0xC8);

// True when (x, y) lies in the flat-topped hex of circumradius r centred on the origin.
bool InHex(double x, double y, double r) {
  x = std::fabs(x);
  y = std::fabs(y);
  return y <= r * kRoot3 / 2 && kRoot3 * x + y <= kRoot3 * r;
}

// The picture at the drawing size s: coordinates below are fractions of the side. Lines are
// at least one pixel of the final size wide, so the smallest icon keeps them.
Canvas DrawLarge(int s, int finalSize) {
  Canvas c(s, s, 0);
  const double pixel = 1.0 / finalSize;
  const double cx = 0.5, cy = 0.5, r = 0.5;
  const double border = std::max(0.05, 1.2 * pixel);
  for (int j = 0; j < s; ++j)
    for (int i = 0; i < s; ++i) {
      double x = (i + 0.5) / s, y = (j + 0.5) / s;
      if (!InHex(x - cx, y - cy, r)) continue;
      uint32_t colour = kOutline;
      if (InHex(x - cx, y - cy, r - border)) {
        // The coast: a gentle wave across the lower third; land above, sea below.
        double coast = 0.66 + 0.05 * std::sin(x * 9.0);
        colour = y > coast ? kSea : (y < 0.3 + 0.1 * x ? kLandLight : kLand);
      }
      c.put(i, j, colour);
    }
  auto at = [s](double x, double y) { return Point{x * s, y * s}; };
  const double pole = std::max(0.06, 1.4 * pixel);
  DrawLine(c, at(0.38, 0.16), at(0.38, 0.80), pole * s, kOutline);
  DrawLine(c, at(0.38, 0.18), at(0.38, 0.78), pole * 0.5 * s, kPole);
  FillPolygon(c, {at(0.40, 0.16), at(0.80, 0.30), at(0.40, 0.46)}, kOutline);
  FillPolygon(c, {at(0.42, 0.20), at(0.74, 0.30), at(0.42, 0.41)}, kFlag);
  return c;
}

// Averages each square of k x k pixels into one, weighting colours by their alpha.
Canvas Shrink(const Canvas& big, int k) {
  Canvas small(big.width / k, big.height / k, 0);
  for (int y = 0; y < small.height; ++y)
    for (int x = 0; x < small.width; ++x) {
      uint32_t alpha = 0, sum[3] = {0, 0, 0};
      for (int j = 0; j < k; ++j)
        for (int i = 0; i < k; ++i) {
          uint32_t p = big.at(x * k + i, y * k + j), a = p >> 24;
          alpha += a;
          for (int ch = 0; ch < 3; ++ch) sum[ch] += (p >> (8 * ch) & 0xFF) * a;
        }
      if (alpha == 0) continue;
      uint8_t rgb[3];
      for (int ch = 0; ch < 3; ++ch) rgb[ch] = uint8_t((sum[ch] + alpha / 2) / alpha);
      uint32_t n = uint32_t(k * k);
      small.put(x, y, PngRgba(rgb[0], rgb[1], rgb[2], uint8_t((alpha + n / 2) / n)));
    }
  return small;
}

void Put16(std::string& out, uint32_t v) {
  out += char(v & 0xFF);
  out += char(v >> 8 & 0xFF);
}
void Put32(std::string& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

// An icon entry as a bitmap: the header gives twice the height (the colour rows, then the
// mask rows), rows bottom up, colours as B, G, R, A; a mask bit 1 where the pixel is clear.
std::string BitmapEntry(const Canvas& c) {
  const uint32_t maskRow = uint32_t((c.width + 31) / 32 * 4);
  std::string out;
  Put32(out, 40);
  Put32(out, uint32_t(c.width));
  Put32(out, uint32_t(c.height * 2));
  Put16(out, 1);   // planes
  Put16(out, 32);  // bits per pixel
  Put32(out, 0);   // no compression
  Put32(out, uint32_t(c.width * c.height * 4) + maskRow * uint32_t(c.height));
  for (int i = 0; i < 4; ++i) Put32(out, 0);
  for (int y = c.height - 1; y >= 0; --y)
    for (int x = 0; x < c.width; ++x) {
      uint32_t p = c.at(x, y);
      out += char(p >> 16 & 0xFF);
      out += char(p >> 8 & 0xFF);
      out += char(p & 0xFF);
      out += char(p >> 24);
    }
  for (int y = c.height - 1; y >= 0; --y) {
    std::string row(maskRow, '\0');
    for (int x = 0; x < c.width; ++x)
      if (c.at(x, y) >> 24 == 0) row[size_t(x / 8)] = char(row[size_t(x / 8)] | 0x80 >> (x % 8));
    out += row;
  }
  return out;
}

}  // namespace

Canvas DrawAppIcon(int size) { return Shrink(DrawLarge(size * kSupersample, size), kSupersample); }

std::string EncodeIco(const std::vector<Canvas>& pictures) {
  std::vector<std::string> entries;
  for (const Canvas& c : pictures) {
    if (c.width != c.height || c.width < 1 || c.width > 256) return {};
    entries.push_back(c.width == 256 ? EncodePng(c.width, c.height, c.pixels.data())
                                     : BitmapEntry(c));
    if (entries.back().empty()) return {};
  }
  std::string out;
  Put16(out, 0);  // reserved
  Put16(out, 1);  // an icon, not a cursor
  Put16(out, uint32_t(entries.size()));
  uint32_t offset = 6 + 16 * uint32_t(entries.size());
  for (size_t i = 0; i < entries.size(); ++i) {
    int side = pictures[i].width;
    out += char(side == 256 ? 0 : side);  // width, 0 for 256
    out += char(side == 256 ? 0 : side);  // height
    out += '\0';                          // no palette
    out += '\0';
    Put16(out, 1);   // planes
    Put16(out, 32);  // bits per pixel
    Put32(out, uint32_t(entries[i].size()));
    Put32(out, offset);
    offset += uint32_t(entries[i].size());
  }
  for (const std::string& e : entries) out += e;
  return out;
}

std::string MakeAppIconFile() {
  std::vector<Canvas> pictures;
  for (int size : kAppIconSizes) pictures.push_back(DrawAppIcon(size));
  return EncodeIco(pictures);
}
