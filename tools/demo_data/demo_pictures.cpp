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

constexpr uint32_t kClear = png_rgba(0, 0, 0, 0);
constexpr uint32_t kInk = png_rgba(28, 28, 34);  // the darkest colour used
constexpr uint32_t kWhite = png_rgba(248, 248, 244);

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

void add_png(std::vector<DemoFile>& files, const std::string& path, const Canvas& c) {
  files.push_back({path, encode_png(c.width, c.height, c.pixels.data())});
}

// ---- Flags -------------------------------------------------------------------------------

const uint32_t kFlagColours[] = {
    png_rgba(200, 30, 40), png_rgba(245, 245, 245), png_rgba(30, 60, 170),  png_rgba(250, 205, 30),
    png_rgba(20, 130, 60), png_rgba(240, 120, 20),  png_rgba(90, 170, 230), png_rgba(130, 20, 40),
    png_rgba(34, 34, 40),  png_rgba(110, 50, 150),  png_rgba(0, 140, 140),  png_rgba(140, 90, 40)};
constexpr int kFlagPatterns = 10;

// The cloth: 55 x 36 pixels right of a pole; below it the picture is transparent.
constexpr int kClothX = 5, kClothY = 0, kClothW = 55, kClothH = 36;

// Draws the cloth's pattern on a canvas of exactly the cloth's size, so nothing spills.
void draw_cloth(Canvas& f, int pattern, uint32_t a, uint32_t b, uint32_t c) {
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
      fill_polygon(
          f,
          {{double(x + w), double(y)}, {double(x + w), double(y + h)}, {double(x), double(y + h)}},
          b);
      draw_line(f, {double(x), double(y + h)}, {double(x + w), double(y)}, 6, c);
      break;
    case 4:  // a disc
      fill_ellipse(f, cx, cy, 11, 11, b);
      fill_ellipse(f, cx, cy, 6, 6, c);
      break;
    case 5:  // two bands and a canton
      fill_rect(f, x, y + h / 2, w, h - h / 2, b);
      fill_rect(f, x, y, 22, h / 2, c);
      break;
    case 6:  // a star over a stripe
      fill_rect(f, x, y + h - 8, w, 8, c);
      fill_polygon(f, star(cx, cy - 3, 12), b);
      break;
    case 7:  // a diagonal cross
      draw_line(f, {double(x), double(y)}, {double(x + w), double(y + h)}, 8, b);
      draw_line(f, {double(x), double(y + h)}, {double(x + w), double(y)}, 8, b);
      fill_ellipse(f, cx, cy, 5, 5, c);
      break;
    case 8:  // two bands and a triangle at the pole
      fill_rect(f, x, y + h / 2, w, h - h / 2, b);
      fill_polygon(f, {{double(x), double(y)}, {x + 24.0, cy}, {double(x), double(y + h)}}, c);
      break;
    default:  // stripes with a canton and a star
      for (int s = 1; s < 6; s += 2) fill_rect(f, x, y + s * h / 6, w, h / 6, b);
      fill_rect(f, x, y, 24, h / 2, c);
      fill_polygon(f, star(x + 12, y + h / 4.0, 7), a);
      break;
  }
}

Canvas draw_flag(int pattern, uint32_t a, uint32_t b, uint32_t c) {
  Canvas f(60, 40, kClear);
  fill_rect(f, 1, 1, 3, 39, png_rgba(170, 160, 140));  // the pole
  fill_ellipse(f, 2.5, 1.5, 2.5, 1.5, png_rgba(230, 190, 60));
  Canvas cloth(kClothW, kClothH);
  draw_cloth(cloth, pattern, a, b, c);
  for (int y = 0; y < kClothH; ++y)
    for (int x = 0; x < kClothW; ++x) f.put(kClothX + x, kClothY + y, cloth.at(x, y));
  return f;
}

void add_flags(const DemoCatalogs& catalogs, std::vector<DemoFile>& files) {
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
    Canvas flag = draw_flag(pattern, kFlagColours[a], kFlagColours[b], kFlagColours[c]);
    add_png(files, picture_path("flag_" + std::to_string(catalogs.countries[i].id) + ".png"), flag);
  }
}

// ---- City and facilities -----------------------------------------------------------------

Canvas draw_city() {
  Canvas c(125, 125, kClear);
  const uint32_t stone = png_rgba(215, 205, 180), shade = png_rgba(170, 160, 140);
  const uint32_t roof = png_rgba(190, 70, 45), window = png_rgba(255, 225, 110);
  // Back row: tall blocks in a lighter tone.
  const int back[][3] = {{14, 46, 18}, {34, 30, 16}, {70, 38, 20}, {92, 52, 18}};
  for (const auto& b : back) {
    fill_rect(c, b[0], b[1], b[2], 112 - b[1], shade);
    for (int wy = b[1] + 5; wy < 100; wy += 9)
      for (int wx = b[0] + 3; wx + 3 < b[0] + b[2]; wx += 6) fill_rect(c, wx, wy, 3, 4, window);
  }
  // A tower with a spire in the middle.
  fill_rect(c, 54, 34, 14, 78, stone);
  fill_polygon(c, {{52, 35}, {61, 12}, {70, 35}}, png_rgba(90, 110, 160));
  fill_rect(c, 60, 4, 2, 9, png_rgba(150, 150, 150));
  fill_polygon(c, {{62, 4}, {70, 7}, {62, 10}}, png_rgba(220, 40, 40));
  fill_ellipse(c, 61, 48, 4, 4, window);
  // Front row: houses with pitched roofs.
  const int front[][3] = {{6, 78, 22}, {30, 72, 22}, {72, 74, 24}, {98, 80, 22}};
  for (const auto& h : front) {
    fill_rect(c, h[0], h[1], h[2], 112 - h[1], stone);
    fill_polygon(c,
                 {{h[0] - 2.0, h[1] + 1.0},
                  {h[0] + h[2] / 2.0, h[1] - 12.0},
                  {h[0] + h[2] + 2.0, h[1] + 1.0}},
                 roof);
    fill_rect(c, h[0] + 4, h[1] + 8, 5, 6, window);
    fill_rect(c, h[0] + h[2] - 9, h[1] + 8, 5, 6, window);
    fill_rect(c, h[0] + h[2] / 2 - 3, 100, 6, 12, png_rgba(110, 70, 40));
  }
  // The town wall along the bottom with battlements.
  fill_rect(c, 2, 106, 121, 12, png_rgba(150, 145, 135));
  for (int x = 2; x < 123; x += 10) fill_rect(c, x, 101, 6, 5, png_rgba(150, 145, 135));
  fill_rect(c, 55, 108, 14, 10, png_rgba(90, 60, 35));  // the gate
  return c;
}

// A round badge of colour `face` with a darker rim, on transparency.
Canvas badge(uint32_t face) {
  Canvas c(40, 40, kClear);
  fill_ellipse(c, 20, 20, 19.5, 19.5, mix_colour(face, kInk, 110));
  fill_ellipse(c, 20, 20, 17, 17, face);
  return c;
}

Canvas draw_factory() {
  Canvas c = badge(png_rgba(230, 140, 40));
  const uint32_t wall = png_rgba(205, 205, 215);
  fill_rect(c, 25, 8, 5, 14, png_rgba(150, 80, 60));  // chimney
  fill_ellipse(c, 30, 6, 4, 3, png_rgba(220, 220, 220));
  fill_rect(c, 8, 21, 24, 11, wall);
  for (int k = 0; k < 3; ++k)  // saw-tooth roof
    fill_polygon(c, {{8.0 + 8 * k, 21}, {8.0 + 8 * k, 14}, {16.0 + 8 * k, 21}}, wall);
  for (int k = 0; k < 3; ++k) fill_rect(c, 11 + 7 * k, 25, 4, 4, png_rgba(70, 110, 170));
  return c;
}

Canvas draw_airport() {
  Canvas c = badge(png_rgba(60, 140, 220));
  draw_line(c, {20, 6}, {20, 32}, 5, kWhite);
  fill_polygon(c, {{20, 14}, {5, 23}, {5, 27}, {20, 22}, {35, 27}, {35, 23}}, kWhite);
  fill_polygon(c, {{20, 28}, {12, 34}, {28, 34}}, kWhite);
  return c;
}

Canvas draw_launch() {
  Canvas c = badge(png_rgba(60, 150, 70));
  fill_ellipse(c, 20, 33, 3.5, 4, png_rgba(250, 160, 30));  // flame
  fill_polygon(c, {{16, 24}, {11, 31}, {16, 29}}, png_rgba(210, 40, 40));
  fill_polygon(c, {{24, 24}, {29, 31}, {24, 29}}, png_rgba(210, 40, 40));
  fill_rect(c, 16, 10, 8, 20, kWhite);
  fill_polygon(c, {{16, 10.5}, {20, 2}, {24, 10.5}}, png_rgba(210, 40, 40));
  return c;
}

// The radiation sign: three blades 60 degrees wide around a small disc.
Canvas draw_nuclear() {
  Canvas c = badge(png_rgba(250, 210, 30));
  const uint32_t blade = png_rgba(45, 40, 35);
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
Canvas draw_antiair(int type) {
  Canvas c(40, 40, kClear);
  const uint32_t hulls[3] = {png_rgba(100, 120, 60), png_rgba(80, 105, 95), png_rgba(175, 150, 90)};
  uint32_t hull = hulls[type - 1], dark = mix_colour(hull, kInk, 120);
  fill_round_rect(c, 4, 29, 32, 8, 4, dark);  // tracks
  for (int k = 0; k < 4; ++k) fill_ellipse(c, 9 + 7.3 * k, 33, 2.5, 2.5, png_rgba(120, 120, 120));
  fill_round_rect(c, 6, 22, 28, 8, 3, hull);
  fill_ellipse(c, 19, 21, 7, 5, mix_colour(hull, kWhite, 60));
  const uint32_t steel = png_rgba(70, 72, 78);
  if (type == 1) {
    draw_line(c, {20, 19}, {34, 5}, 2, steel);
  } else if (type == 2) {
    draw_line(c, {17, 19}, {30, 4}, 3, steel);
    draw_line(c, {22, 20}, {35, 6}, 3, steel);
  } else {
    for (int k = 0; k < 2; ++k) {
      double dx = 6.0 * k;
      draw_line(c, {13 + dx, 20}, {24 + dx, 6}, 4, kWhite);
      fill_ellipse(c, 24.5 + dx, 5.5, 2.2, 2.2, png_rgba(210, 40, 40));
    }
  }
  return c;
}

Canvas draw_level_max() {
  Canvas c(30, 30, kClear);
  fill_polygon(c, star(15, 16, 14.5), png_rgba(215, 115, 20));
  fill_polygon(c, star(15, 16.2, 11.5), png_rgba(255, 205, 40));
  fill_polygon(c, star(15, 16.4, 6), png_rgba(255, 240, 150));
  return c;
}

// ---- Buttons -----------------------------------------------------------------------------

// Command button: a shaded rounded panel, an icon and the label in the built-in font.
Canvas draw_button(int index) {
  const char* const labels[4] = {"建筑", "兵种", "将领", "地块"};
  const uint32_t tops[4] = {png_rgba(90, 140, 220), png_rgba(110, 170, 80), png_rgba(230, 160, 60),
                            png_rgba(160, 110, 200)};
  Canvas c(70, 65, kClear);
  uint32_t top = tops[index], bottom = mix_colour(top, kInk, 110);
  fill_round_rect(c, 0, 0, 70, 65, 11, mix_colour(top, kWhite, 150));  // light rim
  fill_round_rect_shaded(c, 2, 2, 66, 61, 9, top, bottom);
  switch (index) {
    case 0:  // a house
      fill_polygon(c, {{35, 6}, {16, 22}, {54, 22}}, png_rgba(200, 60, 40));
      fill_rect(c, 21, 22, 28, 15, png_rgba(240, 230, 200));
      fill_rect(c, 32, 28, 7, 9, png_rgba(120, 80, 45));
      break;
    case 1:  // a tank
      fill_round_rect(c, 13, 27, 44, 9, 4, png_rgba(60, 70, 45));
      fill_round_rect(c, 15, 20, 40, 9, 3, png_rgba(95, 115, 65));
      fill_ellipse(c, 31, 19, 9, 6, png_rgba(120, 140, 80));
      draw_line(c, {36, 18}, {58, 12}, 3, png_rgba(60, 70, 45));
      break;
    case 2:  // a star
      fill_polygon(c, star(35, 22, 16), png_rgba(255, 230, 90));
      fill_polygon(c, star(35, 22.3, 9), png_rgba(255, 250, 200));
      break;
    default:  // a hex tile
      fill_polygon(c, hexagon(35, 22, 16), png_rgba(240, 240, 220));
      fill_polygon(c, hexagon(35, 22, 13), png_rgba(110, 185, 90));
      break;
  }
  int x = (70 - text_width(labels[index], 1)) / 2;
  draw_text(c, labels[index], x + 1, 44, 1, kInk);  // shadow
  draw_text(c, labels[index], x, 43, 1, kWhite);
  return c;
}

// Arrow button: an opaque grey square with a dark triangle pointing left, right, up or down.
Canvas draw_arrow(int direction) {
  Canvas c(30, 30, png_rgba(110, 110, 120));
  fill_round_rect_shaded(c, 1, 1, 28, 28, 0, png_rgba(228, 228, 232), png_rgba(175, 175, 185));
  const uint32_t ink = png_rgba(45, 50, 70);
  switch (direction) {
    case 0:
      fill_polygon(c, {{7, 15}, {21, 6}, {21, 24}}, ink);
      break;
    case 1:
      fill_polygon(c, {{23, 15}, {9, 6}, {9, 24}}, ink);
      break;
    case 2:
      fill_polygon(c, {{15, 7}, {6, 21}, {24, 21}}, ink);
      break;
    default:
      fill_polygon(c, {{15, 23}, {6, 9}, {24, 9}}, ink);
      break;
  }
  return c;
}

// ---- Portraits ---------------------------------------------------------------------------

// A head and shoulders in uniform; background, skin, hair, uniform, cap and moustache vary.
Canvas draw_portrait(int index) {
  DemoRng rng(0x9047A17ull + uint64_t(index) * 0x100000001B3ull);
  const uint32_t backs[] = {png_rgba(120, 150, 180), png_rgba(150, 170, 140),
                            png_rgba(180, 160, 130), png_rgba(160, 160, 170),
                            png_rgba(190, 140, 130), png_rgba(130, 130, 160)};
  const uint32_t skins[] = {png_rgba(245, 215, 180), png_rgba(230, 190, 150),
                            png_rgba(210, 165, 120), png_rgba(180, 130, 90),
                            png_rgba(250, 225, 200)};
  const uint32_t hairs[] = {png_rgba(50, 38, 30), png_rgba(90, 60, 35), png_rgba(150, 150, 150),
                            png_rgba(220, 220, 215), png_rgba(190, 150, 80)};
  const uint32_t uniforms[] = {png_rgba(85, 100, 60), png_rgba(40, 55, 100),
                               png_rgba(110, 110, 115), png_rgba(150, 125, 80),
                               png_rgba(100, 45, 45)};
  uint32_t back = backs[rng.below(6)], skin = skins[rng.below(5)], hair = hairs[rng.below(5)];
  uint32_t uniform = uniforms[rng.below(5)];
  uint32_t skin_dark = mix_colour(skin, png_rgba(120, 70, 50), 90);
  double face_w = 9.5 + rng.below(3) * 0.75, face_h = 11.5 + rng.below(3) * 0.75;

  Canvas c(50, 50, png_rgba(0, 0, 0));
  fill_round_rect_shaded(c, 0, 0, 50, 50, 0, mix_colour(back, kWhite, 60), back);
  // Shoulders, collar and neck.
  fill_polygon(c, {{2, 50}, {6, 39}, {17, 34}, {33, 34}, {44, 39}, {48, 50}}, uniform);
  fill_rect(c, 21, 30, 8, 7, skin_dark);
  fill_polygon(c, {{19, 34}, {25, 42}, {31, 34}}, kWhite);
  fill_polygon(c, {{21, 34}, {25, 40}, {29, 34}}, mix_colour(uniform, kInk, 90));
  fill_rect(c, 7, 37, 8, 3, png_rgba(220, 180, 60));  // epaulettes
  fill_rect(c, 35, 37, 8, 3, png_rgba(220, 180, 60));
  int medals = rng.below(4);
  for (int k = 0; k < medals; ++k)
    fill_rect(c, 31 + 3 * k, 43, 2, 3, k % 2 ? png_rgba(200, 40, 40) : png_rgba(230, 200, 70));
  // Head: hair behind, then face and ears.
  fill_ellipse(c, 25, 18, face_w + 1.5, face_h - 1, hair);
  fill_ellipse(c, 14.5, 22, 2, 3, skin_dark);
  fill_ellipse(c, 35.5, 22, 2, 3, skin_dark);
  fill_ellipse(c, 25, 21 + 1.0, face_w, face_h - 1.5, skin);
  if (rng.chance(55)) {  // a peaked cap
    fill_ellipse(c, 25, 9, face_w + 2, 5, uniform);
    fill_rect(c, int(25 - face_w - 1), 9, int(2 * face_w + 2), 5, mix_colour(uniform, kInk, 70));
    fill_ellipse(c, 25, 14, face_w + 1, 1.6, png_rgba(50, 50, 55));
    fill_ellipse(c, 25, 10, 1.8, 1.8, png_rgba(230, 200, 70));
  } else {
    fill_ellipse(c, 25, 12, face_w, 3.5, hair);  // fringe
  }
  // Eyes, brows, nose, mouth.
  const uint32_t eye = png_rgba(40, 32, 28);
  fill_ellipse(c, 21, 21, 1.6, 1.3, eye);
  fill_ellipse(c, 29, 21, 1.6, 1.3, eye);
  draw_line(c, {18.5, 18}, {23, 17.5}, 1.4,
            hair == png_rgba(220, 220, 215) ? png_rgba(160, 160, 160) : hair);
  draw_line(c, {27, 17.5}, {31.5, 18}, 1.4,
            hair == png_rgba(220, 220, 215) ? png_rgba(160, 160, 160) : hair);
  draw_line(c, {25, 22}, {24, 26}, 1.2, skin_dark);
  if (rng.chance(35)) draw_line(c, {21.5, 28}, {28.5, 28}, 2, hair);  // moustache
  draw_line(c, {22.5, 30}, {27.5, 30}, 1.3, png_rgba(160, 80, 70));
  // The opaque background must not keep a pure black pixel.
  for (uint32_t& p : c.pixels)
    if ((p & 0xFFFFFF) == 0) p = kInk;
  return c;
}

}  // namespace

void make_picture_files(const DemoCatalogs& catalogs, std::vector<DemoFile>& files) {
  add_flags(catalogs, files);
  add_png(files, picture_path("facility_city.png"), draw_city());
  add_png(files, picture_path("facility_factory.png"), draw_factory());
  add_png(files, picture_path("facility_airport.png"), draw_airport());
  add_png(files, picture_path("facility_launch.png"), draw_launch());
  add_png(files, picture_path("facility_nuclear.png"), draw_nuclear());
  for (int t = 1; t <= 3; ++t)
    add_png(files, picture_path("antiair_" + std::to_string(t) + ".png"), draw_antiair(t));
  add_png(files, picture_path("level_max.png"), draw_level_max());
  for (int b = 1; b <= 4; ++b)
    add_png(files, picture_path("button_" + std::to_string(b) + ".png"), draw_button(b - 1));
  for (int d = 0; d < 4; ++d)
    add_png(files, picture_path("dirbutton_" + std::to_string(d) + ".png"), draw_arrow(d));
  for (size_t i = 0; i < catalogs.commanders.size(); ++i) {
    const DemoCommander& k = catalogs.commanders[i];
    add_png(files, picture_path(join_path("smallheads", k.photo + ".png")), draw_portrait(int(i)));
  }
}
