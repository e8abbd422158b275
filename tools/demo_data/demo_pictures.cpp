// The artwork. Every picture is drawn on transparency (alpha 0) except the arrow buttons and
// the portraits, which are opaque. The editor loads most pictures over black and treats pixel
// value 0 as transparent, so no opaque pixel here is pure black.
#include <set>
#include <tuple>

#include "base/files.h"
#include "tools/demo_data/canvas.h"
#include "tools/demo_data/demo_data.h"
#include "tools/demo_data/noise.h"
#include "tools/demo_data/png_writer.h"

namespace {

constexpr uint32_t kClear = PngRgba(0, 0, 0, 0);
constexpr uint32_t kInk = PngRgba(28, 28, 34);  // the darkest colour used
constexpr uint32_t kWhite = PngRgba(248, 248, 244);

// Points of a five-pointed star, first point up: sin and cos of multiples of 36 degrees
// (given as numbers, so no maths library is involved).
std::vector<Point> star(double cx, double cy, double outer) {
  static const double kSin[10] = {0, 0.5877852523,  0.9510565163,  0.9510565163,  0.5877852523,
                                  0, -0.5877852523, -0.9510565163, -0.9510565163, -0.5877852523};
  static const double kCos[10] = {1,  0.8090169944,  0.3090169944,  -0.3090169944, -0.8090169944,
                                  -1, -0.8090169944, -0.3090169944, 0.3090169944,  0.8090169944};
  std::vector<Point> p;
  for (int k = 0; k < 10; ++k) {
    double r = k % 2 ? outer * 0.382 : outer;
    p.push_back({cx + r * kSin[k], cy - r * kCos[k]});
  }
  return p;
}

// A hexagon with flat top and bottom.
std::vector<Point> hexagon(double cx, double cy, double r) {
  double h = r * 0.8660254038;
  return {{cx - r, cy}, {cx - r / 2, cy - h}, {cx + r / 2, cy - h},
          {cx + r, cy}, {cx + r / 2, cy + h}, {cx - r / 2, cy + h}};
}

void AddPng(std::vector<DemoFile>& files, const std::string& path, const Canvas& c) {
  files.push_back({path, EncodePng(c.width, c.height, c.pixels.data())});
}

// ---- Flags -------------------------------------------------------------------------------

const uint32_t kFlagColours[] = {
    PngRgba(200, 30, 40), PngRgba(245, 245, 245), PngRgba(30, 60, 170),  PngRgba(250, 205, 30),
    PngRgba(20, 130, 60), PngRgba(240, 120, 20),  PngRgba(90, 170, 230), PngRgba(130, 20, 40),
    PngRgba(34, 34, 40),  PngRgba(110, 50, 150),  PngRgba(0, 140, 140),  PngRgba(140, 90, 40)};
constexpr int kFlagPatterns = 10;

// The cloth: 55 x 36 pixels right of a pole; below it the picture is transparent.
constexpr int kClothX = 5, kClothY = 0, kClothW = 55, kClothH = 36;

// Draws the cloth's pattern on a canvas of exactly the cloth's size, so nothing spills.
void DrawCloth(Canvas& f, int pattern, uint32_t a, uint32_t b, uint32_t c) {
  const int x = 0, y = 0, w = f.width, h = f.height;
  double cx = x + w / 2.0, cy = y + h / 2.0;
  fill_rect(f, x, y, w, h, a);
  switch (pattern) {
    case 0:  // three horizontal bands
      fill_rect(f, x, y + h / 3, w, h / 3, b);
      fill_rect(f, x, y + 2 * h / 3, w, h - 2 * h / 3, c);
      break;
    case 1:  // three vertical bands
      fill_rect(f, x + w / 3, y, w / 3 + 1, h, b);
      fill_rect(f, x + 2 * w / 3 + 1, y, w - 2 * w / 3 - 1, h, c);
      break;
    case 2:  // a cross set towards the pole, with a line of the third colour in it
      fill_rect(f, x + 14, y, 10, h, b);
      fill_rect(f, x, y + 13, w, 10, b);
      fill_rect(f, x + 17, y, 4, h, c);
      fill_rect(f, x, y + 16, w, 4, c);
      break;
    case 3:  // split along the diagonal, with a band on it
      FillPolygon(
          f,
          {{double(x + w), double(y)}, {double(x + w), double(y + h)}, {double(x), double(y + h)}},
          b);
      DrawLine(f, {double(x), double(y + h)}, {double(x + w), double(y)}, 6, c);
      break;
    case 4:  // a disc
      FillEllipse(f, cx, cy, 11, 11, b);
      FillEllipse(f, cx, cy, 6, 6, c);
      break;
    case 5:  // two bands and a canton
      fill_rect(f, x, y + h / 2, w, h - h / 2, b);
      fill_rect(f, x, y, 22, h / 2, c);
      break;
    case 6:  // a star over a stripe
      fill_rect(f, x, y + h - 8, w, 8, c);
      FillPolygon(f, star(cx, cy - 3, 12), b);
      break;
    case 7:  // a diagonal cross
      DrawLine(f, {double(x), double(y)}, {double(x + w), double(y + h)}, 8, b);
      DrawLine(f, {double(x), double(y + h)}, {double(x + w), double(y)}, 8, b);
      FillEllipse(f, cx, cy, 5, 5, c);
      break;
    case 8:  // two bands and a triangle at the pole
      fill_rect(f, x, y + h / 2, w, h - h / 2, b);
      FillPolygon(f, {{double(x), double(y)}, {x + 24.0, cy}, {double(x), double(y + h)}}, c);
      break;
    default:  // stripes with a canton and a star
      for (int s = 1; s < 6; s += 2) fill_rect(f, x, y + s * h / 6, w, h / 6, b);
      fill_rect(f, x, y, 24, h / 2, c);
      FillPolygon(f, star(x + 12, y + h / 4.0, 7), a);
      break;
  }
}

Canvas DrawFlag(int pattern, uint32_t a, uint32_t b, uint32_t c) {
  Canvas f(60, 40, kClear);
  fill_rect(f, 1, 1, 3, 39, PngRgba(170, 160, 140));  // the pole
  FillEllipse(f, 2.5, 1.5, 2.5, 1.5, PngRgba(230, 190, 60));
  Canvas cloth(kClothW, kClothH);
  DrawCloth(cloth, pattern, a, b, c);
  for (int y = 0; y < kClothH; ++y)
    for (int x = 0; x < kClothW; ++x) f.put(kClothX + x, kClothY + y, cloth.at(x, y));
  return f;
}

void AddFlags(const DemoCatalogs& catalogs, std::vector<DemoFile>& files) {
  DemoRng rng(0xF1A65);
  std::set<std::tuple<int, int, int, int>> used;
  const int n = int(std::size(kFlagColours));
  for (size_t i = 0; i < catalogs.countries.size(); ++i) {
    int pattern = int(i % kFlagPatterns), a, b, c;
    do {
      a = rng.below(n);
      b = rng.below(n);
      c = rng.below(n);
    } while (a == b || b == c || a == c || !used.insert({pattern, a, b, c}).second);
    Canvas flag = DrawFlag(pattern, kFlagColours[a], kFlagColours[b], kFlagColours[c]);
    AddPng(files, PicturePath("flag_" + std::to_string(catalogs.countries[i].id) + ".png"), flag);
  }
}

// ---- City and facilities -----------------------------------------------------------------

Canvas DrawCity() {
  Canvas c(125, 125, kClear);
  const uint32_t stone = PngRgba(215, 205, 180), shade = PngRgba(170, 160, 140);
  const uint32_t roof = PngRgba(190, 70, 45), window = PngRgba(255, 225, 110);
  // Back row: tall blocks in a lighter tone.
  const int back[][3] = {{14, 46, 18}, {34, 30, 16}, {70, 38, 20}, {92, 52, 18}};
  for (const auto& b : back) {
    fill_rect(c, b[0], b[1], b[2], 112 - b[1], shade);
    for (int wy = b[1] + 5; wy < 100; wy += 9)
      for (int wx = b[0] + 3; wx + 3 < b[0] + b[2]; wx += 6) fill_rect(c, wx, wy, 3, 4, window);
  }
  // A tower with a spire in the middle.
  fill_rect(c, 54, 34, 14, 78, stone);
  FillPolygon(c, {{52, 35}, {61, 12}, {70, 35}}, PngRgba(90, 110, 160));
  fill_rect(c, 60, 4, 2, 9, PngRgba(150, 150, 150));
  FillPolygon(c, {{62, 4}, {70, 7}, {62, 10}}, PngRgba(220, 40, 40));
  FillEllipse(c, 61, 48, 4, 4, window);
  // Front row: houses with pitched roofs.
  const int front[][3] = {{6, 78, 22}, {30, 72, 22}, {72, 74, 24}, {98, 80, 22}};
  for (const auto& h : front) {
    fill_rect(c, h[0], h[1], h[2], 112 - h[1], stone);
    FillPolygon(c,
                {{h[0] - 2.0, h[1] + 1.0},
                 {h[0] + h[2] / 2.0, h[1] - 12.0},
                 {h[0] + h[2] + 2.0, h[1] + 1.0}},
                roof);
    fill_rect(c, h[0] + 4, h[1] + 8, 5, 6, window);
    fill_rect(c, h[0] + h[2] - 9, h[1] + 8, 5, 6, window);
    fill_rect(c, h[0] + h[2] / 2 - 3, 100, 6, 12, PngRgba(110, 70, 40));
  }
  // The town wall along the bottom with battlements.
  fill_rect(c, 2, 106, 121, 12, PngRgba(150, 145, 135));
  for (int x = 2; x < 123; x += 10) fill_rect(c, x, 101, 6, 5, PngRgba(150, 145, 135));
  fill_rect(c, 55, 108, 14, 10, PngRgba(90, 60, 35));  // the gate
  return c;
}

// A round badge of colour `face` with a darker rim, on transparency.
Canvas badge(uint32_t face) {
  Canvas c(40, 40, kClear);
  FillEllipse(c, 20, 20, 19.5, 19.5, MixColour(face, kInk, 110));
  FillEllipse(c, 20, 20, 17, 17, face);
  return c;
}

Canvas DrawFactory() {
  Canvas c = badge(PngRgba(230, 140, 40));
  const uint32_t wall = PngRgba(205, 205, 215);
  fill_rect(c, 25, 8, 5, 14, PngRgba(150, 80, 60));  // chimney
  FillEllipse(c, 30, 6, 4, 3, PngRgba(220, 220, 220));
  fill_rect(c, 8, 21, 24, 11, wall);
  for (int k = 0; k < 3; ++k)  // saw-tooth roof
    FillPolygon(c, {{8.0 + 8 * k, 21}, {8.0 + 8 * k, 14}, {16.0 + 8 * k, 21}}, wall);
  for (int k = 0; k < 3; ++k) fill_rect(c, 11 + 7 * k, 25, 4, 4, PngRgba(70, 110, 170));
  return c;
}

Canvas DrawAirport() {
  Canvas c = badge(PngRgba(60, 140, 220));
  DrawLine(c, {20, 6}, {20, 32}, 5, kWhite);
  FillPolygon(c, {{20, 14}, {5, 23}, {5, 27}, {20, 22}, {35, 27}, {35, 23}}, kWhite);
  FillPolygon(c, {{20, 28}, {12, 34}, {28, 34}}, kWhite);
  return c;
}

Canvas DrawLaunch() {
  Canvas c = badge(PngRgba(60, 150, 70));
  FillEllipse(c, 20, 33, 3.5, 4, PngRgba(250, 160, 30));  // flame
  FillPolygon(c, {{16, 24}, {11, 31}, {16, 29}}, PngRgba(210, 40, 40));
  FillPolygon(c, {{24, 24}, {29, 31}, {24, 29}}, PngRgba(210, 40, 40));
  fill_rect(c, 16, 10, 8, 20, kWhite);
  FillPolygon(c, {{16, 10.5}, {20, 2}, {24, 10.5}}, PngRgba(210, 40, 40));
  return c;
}

// The radiation sign: three blades 60 degrees wide around a small disc.
Canvas DrawNuclear() {
  Canvas c = badge(PngRgba(250, 210, 30));
  const uint32_t blade = PngRgba(45, 40, 35);
  const double dirs[3][2] = {{0, -1}, {-0.8660254038, 0.5}, {0.8660254038, 0.5}};
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 40; ++x) {
      double px = x + 0.5 - 20, py = y + 0.5 - 20, r2 = px * px + py * py;
      bool in = r2 <= 9;
      for (const auto& d : dirs) {
        double along = px * d[0] + py * d[1];
        if (r2 >= 25 && r2 <= 225 && along > 0 && along * along >= 0.75 * r2) in = true;
      }
      if (in) c.put(x, y, blade);
    }
  return c;
}

// Anti-air mark: a tracked carriage with one machine gun, twin guns or two missiles.
Canvas DrawAntiair(int type) {
  Canvas c(40, 40, kClear);
  const uint32_t hulls[3] = {PngRgba(100, 120, 60), PngRgba(80, 105, 95), PngRgba(175, 150, 90)};
  uint32_t hull = hulls[type - 1], dark = MixColour(hull, kInk, 120);
  FillRoundRect(c, 4, 29, 32, 8, 4, dark);  // tracks
  for (int k = 0; k < 4; ++k) FillEllipse(c, 9 + 7.3 * k, 33, 2.5, 2.5, PngRgba(120, 120, 120));
  FillRoundRect(c, 6, 22, 28, 8, 3, hull);
  FillEllipse(c, 19, 21, 7, 5, MixColour(hull, kWhite, 60));
  const uint32_t steel = PngRgba(70, 72, 78);
  if (type == 1) {
    DrawLine(c, {20, 19}, {34, 5}, 2, steel);
  } else if (type == 2) {
    DrawLine(c, {17, 19}, {30, 4}, 3, steel);
    DrawLine(c, {22, 20}, {35, 6}, 3, steel);
  } else {
    for (int k = 0; k < 2; ++k) {
      double dx = 6.0 * k;
      DrawLine(c, {13 + dx, 20}, {24 + dx, 6}, 4, kWhite);
      FillEllipse(c, 24.5 + dx, 5.5, 2.2, 2.2, PngRgba(210, 40, 40));
    }
  }
  return c;
}

Canvas DrawLevelMax() {
  Canvas c(30, 30, kClear);
  FillPolygon(c, star(15, 16, 14.5), PngRgba(215, 115, 20));
  FillPolygon(c, star(15, 16.2, 11.5), PngRgba(255, 205, 40));
  FillPolygon(c, star(15, 16.4, 6), PngRgba(255, 240, 150));
  return c;
}

// ---- Buttons -----------------------------------------------------------------------------

// Command button: a shaded rounded panel, an icon and the label in the built-in font.
Canvas DrawButton(int index) {
  const char* const labels[4] = {"建筑", "兵种", "将领", "地块"};
  const uint32_t tops[4] = {PngRgba(90, 140, 220), PngRgba(110, 170, 80), PngRgba(230, 160, 60),
                            PngRgba(160, 110, 200)};
  Canvas c(70, 65, kClear);
  uint32_t top = tops[index], bottom = MixColour(top, kInk, 110);
  FillRoundRect(c, 0, 0, 70, 65, 11, MixColour(top, kWhite, 150));  // light rim
  FillRoundRectShaded(c, 2, 2, 66, 61, 9, top, bottom);
  switch (index) {
    case 0:  // a house
      FillPolygon(c, {{35, 6}, {16, 22}, {54, 22}}, PngRgba(200, 60, 40));
      fill_rect(c, 21, 22, 28, 15, PngRgba(240, 230, 200));
      fill_rect(c, 32, 28, 7, 9, PngRgba(120, 80, 45));
      break;
    case 1:  // a tank
      FillRoundRect(c, 13, 27, 44, 9, 4, PngRgba(60, 70, 45));
      FillRoundRect(c, 15, 20, 40, 9, 3, PngRgba(95, 115, 65));
      FillEllipse(c, 31, 19, 9, 6, PngRgba(120, 140, 80));
      DrawLine(c, {36, 18}, {58, 12}, 3, PngRgba(60, 70, 45));
      break;
    case 2:  // a star
      FillPolygon(c, star(35, 22, 16), PngRgba(255, 230, 90));
      FillPolygon(c, star(35, 22.3, 9), PngRgba(255, 250, 200));
      break;
    default:  // a hex tile
      FillPolygon(c, hexagon(35, 22, 16), PngRgba(240, 240, 220));
      FillPolygon(c, hexagon(35, 22, 13), PngRgba(110, 185, 90));
      break;
  }
  int x = (70 - TextWidth(labels[index], 1)) / 2;
  DrawText(c, labels[index], x + 1, 44, 1, kInk);  // shadow
  DrawText(c, labels[index], x, 43, 1, kWhite);
  return c;
}

// Arrow button: an opaque grey square with a dark triangle pointing left, right, up or down.
Canvas DrawArrow(int direction) {
  Canvas c(30, 30, PngRgba(110, 110, 120));
  FillRoundRectShaded(c, 1, 1, 28, 28, 0, PngRgba(228, 228, 232), PngRgba(175, 175, 185));
  const uint32_t ink = PngRgba(45, 50, 70);
  switch (direction) {
    case 0: FillPolygon(c, {{7, 15}, {21, 6}, {21, 24}}, ink); break;
    case 1: FillPolygon(c, {{23, 15}, {9, 6}, {9, 24}}, ink); break;
    case 2: FillPolygon(c, {{15, 7}, {6, 21}, {24, 21}}, ink); break;
    default: FillPolygon(c, {{15, 23}, {6, 9}, {24, 9}}, ink); break;
  }
  return c;
}

// ---- Portraits ---------------------------------------------------------------------------

// A head and shoulders in uniform; background, skin, hair, uniform, cap and moustache vary.
Canvas DrawPortraitPicture(int index) {
  DemoRng rng(0x9047A17ull + uint64_t(index) * 0x100000001B3ull);
  const uint32_t backs[] = {PngRgba(120, 150, 180), PngRgba(150, 170, 140), PngRgba(180, 160, 130),
                            PngRgba(160, 160, 170), PngRgba(190, 140, 130), PngRgba(130, 130, 160)};
  const uint32_t skins[] = {PngRgba(245, 215, 180), PngRgba(230, 190, 150), PngRgba(210, 165, 120),
                            PngRgba(180, 130, 90), PngRgba(250, 225, 200)};
  const uint32_t hairs[] = {PngRgba(50, 38, 30), PngRgba(90, 60, 35), PngRgba(150, 150, 150),
                            PngRgba(220, 220, 215), PngRgba(190, 150, 80)};
  const uint32_t uniforms[] = {PngRgba(85, 100, 60), PngRgba(40, 55, 100), PngRgba(110, 110, 115),
                               PngRgba(150, 125, 80), PngRgba(100, 45, 45)};
  uint32_t back = backs[rng.below(6)], skin = skins[rng.below(5)], hair = hairs[rng.below(5)];
  uint32_t uniform = uniforms[rng.below(5)];
  uint32_t skin_dark = MixColour(skin, PngRgba(120, 70, 50), 90);
  double face_w = 9.5 + rng.below(3) * 0.75, face_h = 11.5 + rng.below(3) * 0.75;

  Canvas c(50, 50, PngRgba(0, 0, 0));
  FillRoundRectShaded(c, 0, 0, 50, 50, 0, MixColour(back, kWhite, 60), back);
  // Shoulders, collar and neck.
  FillPolygon(c, {{2, 50}, {6, 39}, {17, 34}, {33, 34}, {44, 39}, {48, 50}}, uniform);
  fill_rect(c, 21, 30, 8, 7, skin_dark);
  FillPolygon(c, {{19, 34}, {25, 42}, {31, 34}}, kWhite);
  FillPolygon(c, {{21, 34}, {25, 40}, {29, 34}}, MixColour(uniform, kInk, 90));
  fill_rect(c, 7, 37, 8, 3, PngRgba(220, 180, 60));  // epaulettes
  fill_rect(c, 35, 37, 8, 3, PngRgba(220, 180, 60));
  int medals = rng.below(4);
  for (int k = 0; k < medals; ++k)
    fill_rect(c, 31 + 3 * k, 43, 2, 3, k % 2 ? PngRgba(200, 40, 40) : PngRgba(230, 200, 70));
  // Head: hair behind, then face and ears.
  FillEllipse(c, 25, 18, face_w + 1.5, face_h - 1, hair);
  FillEllipse(c, 14.5, 22, 2, 3, skin_dark);
  FillEllipse(c, 35.5, 22, 2, 3, skin_dark);
  FillEllipse(c, 25, 21 + 1.0, face_w, face_h - 1.5, skin);
  if (rng.chance(55)) {  // a peaked cap
    FillEllipse(c, 25, 9, face_w + 2, 5, uniform);
    fill_rect(c, int(25 - face_w - 1), 9, int(2 * face_w + 2), 5, MixColour(uniform, kInk, 70));
    FillEllipse(c, 25, 14, face_w + 1, 1.6, PngRgba(50, 50, 55));
    FillEllipse(c, 25, 10, 1.8, 1.8, PngRgba(230, 200, 70));
  } else {
    FillEllipse(c, 25, 12, face_w, 3.5, hair);  // fringe
  }
  // Eyes, brows, nose, mouth.
  const uint32_t eye = PngRgba(40, 32, 28);
  FillEllipse(c, 21, 21, 1.6, 1.3, eye);
  FillEllipse(c, 29, 21, 1.6, 1.3, eye);
  DrawLine(c, {18.5, 18}, {23, 17.5}, 1.4,
           hair == PngRgba(220, 220, 215) ? PngRgba(160, 160, 160) : hair);
  DrawLine(c, {27, 17.5}, {31.5, 18}, 1.4,
           hair == PngRgba(220, 220, 215) ? PngRgba(160, 160, 160) : hair);
  DrawLine(c, {25, 22}, {24, 26}, 1.2, skin_dark);
  if (rng.chance(35)) DrawLine(c, {21.5, 28}, {28.5, 28}, 2, hair);  // moustache
  DrawLine(c, {22.5, 30}, {27.5, 30}, 1.3, PngRgba(160, 80, 70));
  // The opaque background must not keep a pure black pixel.
  for (uint32_t& p : c.pixels)
    if ((p & 0xFFFFFF) == 0) p = kInk;
  return c;
}

}  // namespace

void MakePictureFiles(const DemoCatalogs& catalogs, std::vector<DemoFile>& files) {
  AddFlags(catalogs, files);
  AddPng(files, PicturePath("facility_city.png"), DrawCity());
  AddPng(files, PicturePath("facility_factory.png"), DrawFactory());
  AddPng(files, PicturePath("facility_airport.png"), DrawAirport());
  AddPng(files, PicturePath("facility_launch.png"), DrawLaunch());
  AddPng(files, PicturePath("facility_nuclear.png"), DrawNuclear());
  for (int t = 1; t <= 3; ++t)
    AddPng(files, PicturePath("antiair_" + std::to_string(t) + ".png"), DrawAntiair(t));
  AddPng(files, PicturePath("level_max.png"), DrawLevelMax());
  for (int b = 1; b <= 4; ++b)
    AddPng(files, PicturePath("button_" + std::to_string(b) + ".png"), DrawButton(b - 1));
  for (int d = 0; d < 4; ++d)
    AddPng(files, PicturePath("dirbutton_" + std::to_string(d) + ".png"), DrawArrow(d));
  for (size_t i = 0; i < catalogs.commanders.size(); ++i) {
    const DemoCommander& k = catalogs.commanders[i];
    AddPng(files, PicturePath(JoinPath("smallheads", k.photo + ".png")),
           DrawPortraitPicture(int(i)));
  }
}
