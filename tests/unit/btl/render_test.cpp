// btl render: the picture's size, every hex's colour, the artwork where the map view puts it,
// and the --diff frames, read back from the PNG with stb's reader.
#include <gtest/gtest.h>

#include <cstring>
#include <set>

#include "base/files.h"
#include "catalogs/catalogs.h"
#include "catalogs/string_table.h"
#include "tests/support/battle_fixture.h"
#include "tests/support/png_reader.h"
#include "tests/support/temp_folder.h"
#include "btl/companion.h"
#include "btl/render.h"
#include "tools/demo_data/demo_data.h"

namespace {

// The demo data with its pictures: 数据 and 图片 side by side, as in the game's folder.
struct RenderFolder {
  TempFolder dir{"btl_test_render"};
  std::string data = dir.File("数据");
  std::string out, err;

  RenderFolder() {
    std::vector<DemoFile> files;
    EXPECT_EQ(MakeDemoFiles(files), "");
    for (const DemoFile& f : files) dir.Write(f.path, f.bytes);
  }
  ~RenderFolder() {
    ResetCatalogs();
    ResetStringTable();
  }
  std::string File(const std::string& name) const { return dir.File(name); }
  int Run(std::vector<std::string> args) {
    out.clear();
    err.clear();
    args.insert(args.begin(), {"--data", data});
    return RunCompanion(args, out, err);
  }
  DecodedPng Png(const std::string& path) {
    std::string bytes;
    DecodedPng png;
    EXPECT_TRUE(ReadWholeFile(path, bytes)) << path;
    EXPECT_EQ(DecodePng(bytes, png), "") << path;
    return png;
  }
};

uint32_t Opaque(uint32_t colour) { return colour | 0xFF000000u; }

// What a hex is filled with, worked out from the battle file and world map, not the view.
uint32_t ExpectedFill(const BattleImage& image, const WorldImage& world, int gx, int gy) {
  if (world.at(gx, gy).terrain == 1) return 0xAA0000;
  const uint8_t owner =
      image.owner(gx - image.layout.header.originX, gy - image.layout.header.originY);
  if (owner >= image.layout.header.teamCount) return 0xFFFFFF;
  const uint8_t* team = image.bytes.data() + image.layout.teamsAt + size_t(owner) * kTeamFileBytes;
  TeamRecord t;
  memcpy(&t, team, kTeamFileBytes);
  return uint32_t(t.fileColour[0]) | uint32_t(t.fileColour[1]) << 8 |
         uint32_t(t.fileColour[2]) << 16;
}

BattleImage Parsed(const std::vector<uint8_t>& bytes) {
  BattleImage image;
  EXPECT_TRUE(ParseBattleFile(bytes, "demo", image).ok());
  return image;
}

// The hexes holding a building or a unit, by global index.
std::set<int> Occupied(const BattleImage& image) {
  std::set<int> hexes;
  for (int i = 0; i < image.layout.header.buildingCount; ++i)
    hexes.insert(image.building(i).position);
  for (int i = 0; i < image.layout.header.unitCount; ++i) hexes.insert(image.unit(i).position);
  return hexes;
}

TEST(Render, PictureSizeForRangesAndHexSides) {
  RenderFolder f;
  const std::string in = f.File("demo_small.btl"), png = f.File("out.png");
  const BattleImage image = Parsed(DemoBattleBytes("demo_small"));
  const MapRange r = image.fileRange();
  const struct {
    std::vector<std::string> extra;
    int width, height;
  } cases[] = {
      {{}, r.width * 50, r.height * 50 + 25},
      {{"--hex", "20"}, r.width * 20, r.height * 20 + 10},
      {{"--hex", "7"}, r.width * 7, r.height * 7 + 3},
      // One even column is not shifted: no half hex below; one odd column is.
      {{"--range", std::to_string(r.originX), std::to_string(r.originY), "1", "3"}, 50, 150},
      {{"--range", std::to_string(r.originX + 1), std::to_string(r.originY), "1", "3"}, 50, 175},
      {{"--range", std::to_string(r.originX + 2), std::to_string(r.originY + 1), "4", "2", "--hex",
        "13"},
       52,
       26 + 6},
      // The legend's strip under the map.
      {{"--diff", in, "--hex", "10"}, r.width * 10, r.height * 10 + 5 + kLegendHeight},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args = {"render", in, png};
    args.insert(args.end(), c.extra.begin(), c.extra.end());
    ASSERT_EQ(f.Run(args), kExitOk) << f.err;
    const DecodedPng p = f.Png(png);
    EXPECT_EQ(p.width, c.width) << f.out;
    EXPECT_EQ(p.height, c.height) << f.out;
  }
  // The default side: 50 while the picture fits in 8192 pixels, else the largest that fits.
  EXPECT_EQ(DefaultHexSide({0, 0, 100, 100}, false), 50);
  EXPECT_EQ(DefaultHexSide({0, 0, 164, 10}, false), 49);   // 164 x 50 = 8200
  EXPECT_EQ(DefaultHexSide({0, 0, 500, 500}, false), 16);  // 500 x 16 + 8 = 8008
  EXPECT_EQ(DefaultHexSide({0, 0, 10, 163}, false), 50);   // 163 x 50 + 25 = 8175
  EXPECT_EQ(DefaultHexSide({0, 0, 10, 163}, true), 49);    // and the legend's 24 make 8199

  // Trouble: a range outside the file's, a side out of bounds; nothing written.
  std::remove(png.c_str());
  EXPECT_EQ(f.Run({"render", in, png, "--range", "0", "0", "5", "5"}), kExitTrouble);
  EXPECT_NE(f.err.find("--range"), std::string::npos) << f.err;
  EXPECT_EQ(f.Run({"render", in, png, "--hex", "1"}), kExitTrouble);
  EXPECT_EQ(f.Run({"render", in, png, "--font", f.File("no_such.ttf")}), kExitTrouble);
  EXPECT_FALSE(FileExists(png));
}

TEST(Render, EveryEmptyHexShowsItsOwnerOrTheSeaAtItsCentre) {
  RenderFolder f;
  const std::string png = f.File("large.png");
  for (const char* name : {"demo_small", "demo_large"}) {
    ASSERT_EQ(f.Run({"render", f.File(std::string(name) + ".btl"), png, "--hex", "12"}), kExitOk)
        << f.err;
    const DecodedPng p = f.Png(png);
    const BattleImage image = Parsed(DemoBattleBytes(name));
    const WorldImage& world = DemoWorldImage();
    const std::set<int> occupied = Occupied(image);
    const MapRange r = image.fileRange();
    int checked = 0;
    for (int gx = r.originX; gx < r.originX + r.width; ++gx)
      for (int gy = r.originY; gy < r.originY + r.height; ++gy) {
        if (occupied.count((gy * world.width + gx) & 0xFFFF)) continue;  // artwork and labels
        const int px = (gx - r.originX) * 12, py = (gy - r.originY) * 12 + ((gx & 1) ? 6 : 0);
        ASSERT_EQ(p.At(px + 6, py + 6), Opaque(ExpectedFill(image, world, gx, gy)))
            << name << " " << gx << "," << gy;
        ASSERT_EQ(p.At(px, py), Opaque(0xFFFFFF)) << "the hex's white outline";
        ++checked;
      }
    EXPECT_GT(checked, r.width * r.height / 2) << name;
  }
}

// A picture of the picture folder, scaled as the map view scales it at its own hex size.
struct Source {
  DecodedPng png;
  // The colour every source pixel of the block (x0..x1, y0..y1) has, laid over black; false
  // when they are not all the same.
  bool Uniform(int x0, int y0, int x1, int y1, uint32_t& colour, bool& transparent) const {
    const uint32_t first = png.At(x0, y0);
    for (int y = y0; y <= y1; ++y)
      for (int x = x0; x <= x1; ++x)
        if (png.At(x, y) != first) return false;
    transparent = (first >> 24) == 0;
    colour = first & 0xFFFFFF;
    return true;
  }
};

bool Near(uint32_t a, uint32_t b, int by) {
  for (int k = 0; k < 24; k += 8)
    if (std::abs(int((a >> k) & 0xFF) - int((b >> k) & 0xFF)) > by) return false;
  return true;
}

// Compares the rendered picture with the artwork where the artwork is one flat colour around a
// pixel: opaque blocks show their colour (give or take the filter's rounding), transparent
// ones the hex's fill. Counts the pixels compared; only picture pixels `free` takes (other
// art or labels may lie over the rest) are looked at.
template <class Free>
int CompareArt(const DecodedPng& shown, int ax, int ay, const Source& art, double scale,
               uint32_t fill, Free free) {
  const int w = int(art.png.width * scale), h = int(art.png.height * scale);
  int compared = 0;
  for (int y = 1; y + 1 < h; ++y)
    for (int x = 1; x + 1 < w; ++x) {
      if (!free(ax + x, ay + y)) continue;
      const int sx0 = int((x - 1) / scale), sy0 = int((y - 1) / scale);
      const int sx1 = std::min(art.png.width - 1, int((x + 2) / scale)),
                sy1 = std::min(art.png.height - 1, int((y + 2) / scale));
      uint32_t colour = 0;
      bool transparent = false;
      if (!art.Uniform(sx0, sy0, sx1, sy1, colour, transparent)) continue;
      if (!transparent && colour == 0) continue;  // black is the colour key
      const uint32_t expected = transparent ? fill : colour;
      EXPECT_TRUE(Near(shown.At(ax + x, ay + y) & 0xFFFFFF, expected, 3))
          << std::hex << shown.At(ax + x, ay + y) << " vs " << expected << " at " << std::dec << x
          << "," << y;
      ++compared;
    }
  return compared;
}

TEST(Render, CityArtAndFlagWhereTheMapViewPutsThem) {
  RenderFolder f;
  const std::string png = f.File("small.png");
  ASSERT_EQ(f.Run({"render", f.File("demo_small.btl"), png}), kExitOk) << f.err;
  const DecodedPng shown = f.Png(png);
  const BattleImage image = Parsed(DemoBattleBytes("demo_small"));
  const WorldImage& world = DemoWorldImage();
  const MapRange r = image.fileRange();
  Source city, flag;
  std::string bytes;
  ASSERT_TRUE(ReadWholeFile(f.File("图片/facility_city.png"), bytes));
  ASSERT_EQ(DecodePng(bytes, city.png), "");

  int cities = 0, flags = 0;
  for (int i = 0; i < image.layout.header.buildingCount; ++i) {
    const BuildingRecord b = image.building(i);
    const int gx = b.position % world.width, gy = b.position / world.width;
    if (gx < r.originX || gy < r.originY || gx >= r.originX + r.width || gy >= r.originY + r.height)
      continue;
    const PixelPoint at = RenderedHexTopLeft(r, 50, gx, gy);
    const int32_t px = at.x, py = at.y;
    const uint32_t fill = ExpectedFill(image, world, gx, gy);
    if (b.buildingCode / 100 == 101 && fill != 0xAA0000) {
      // The city art from the hex's top-left, but where the facilities (16 pixels square, in
      // the slots they fill in order), the level mark, the anti-air icon, the mine mark, the
      // flag and the labels (from row 30) lie over it.
      const int slots[4][2] = {{20, 0}, {36, 0}, {0, 20}, {16, 20}};
      const int used = (b.industry != 0) + (b.airport != 0) + (b.missile != 0) + (b.nuclear != 0);
      auto free = [&](int x, int y) {
        x -= px;
        y -= py;
        if (y >= 30 || x >= 50) return false;
        for (int k = 0; k < used; ++k)
          if (x >= slots[k][0] && x < slots[k][0] + 16 && y >= slots[k][1] && y < slots[k][1] + 16)
            return false;
        if (b.buildingCode % 10 > 5 && x < 30 && y < 30) return false;
        if ((b.facilityType || b.defence) && x >= 35 && y >= 16) return false;
        return true;
      };
      cities += CompareArt(shown, px, py, city, 0.4, fill, free) > 20;
    }
    // The flag of the owner's country, at (-1, 35) from the hex's corner, 0.33 of its size.
    const uint8_t owner = image.owner(gx - r.originX, gy - r.originY);
    if (owner >= image.layout.header.teamCount) continue;
    TeamRecord t;
    memcpy(&t, image.bytes.data() + image.layout.teamsAt + size_t(owner) * kTeamFileBytes,
           kTeamFileBytes);
    flag = {};
    ASSERT_TRUE(ReadWholeFile(f.File("图片/flag_" + std::to_string(t.country) + ".png"), bytes));
    ASSERT_EQ(DecodePng(bytes, flag.png), "");
    flags += CompareArt(shown, px - 1, py + 35, flag, 0.33, fill,
                        [&](int x, int) { return x >= px; }) > 20;
  }
  EXPECT_GT(cities, 0);
  EXPECT_GT(flags, 2);
}

TEST(Render, DiffFramesExactlyTheChangedHexes) {
  RenderFolder f;
  const std::vector<uint8_t> original = DemoBattleBytes("demo_small");
  BattleImage image = Parsed(original);
  const WorldImage& world = DemoWorldImage();
  const MapRange r = image.fileRange();
  std::vector<uint8_t> changed = original;
  std::set<std::pair<int, int>> expected;
  // An owner, a unit's level, a building's code.
  const int ox = r.originX + 3, oy = r.originY + 2;
  uint8_t& owner =
      changed[image.layout.ownersAt + size_t(oy - r.originY) * r.width + size_t(ox - r.originX)];
  owner = owner == 0 ? 1 : 0;
  expected.insert({ox, oy});
  UnitRecord u = image.unit(0);
  u.unitLevel = uint8_t(u.unitLevel % 5 + 1);
  memcpy(changed.data() + image.layout.unitsAt, &u, sizeof u);
  expected.insert({u.position % world.width, u.position / world.width});
  BuildingRecord b = image.building(image.layout.header.buildingCount - 1);
  b.industry = uint8_t(b.industry ^ 1);
  memcpy(changed.data() + image.layout.buildingsAt +
             size_t(image.layout.header.buildingCount - 1) * sizeof b,
         &b, sizeof b);
  expected.insert({b.position % world.width, b.position / world.width});

  const std::string in = f.File("demo_small.btl"), other = f.File("changed.btl"),
                    png = f.File("diff.png");
  WriteFileBytes(other, changed);
  ASSERT_EQ(f.Run({"render", in, png, "--diff", other, "--hex", "20"}), kExitFindings) << f.err;
  EXPECT_NE(f.out.find("3 格不同"), std::string::npos) << f.out;
  const DecodedPng p = f.Png(png);
  for (int gx = r.originX; gx < r.originX + r.width; ++gx)
    for (int gy = r.originY; gy < r.originY + r.height; ++gy) {
      const PixelPoint at = RenderedHexTopLeft(r, 20, gx, gy);
      const int32_t px = at.x, py = at.y;
      const bool framed = p.At(px + 1, py + 10) == Opaque(kDiffFrameColour) &&
                          p.At(px + 10, py + 1) == Opaque(kDiffFrameColour) &&
                          p.At(px + 18, py + 10) == Opaque(kDiffFrameColour);
      EXPECT_EQ(framed, expected.count({gx, gy}) == 1) << gx << "," << gy;
      EXPECT_EQ(p.At(px + 2, py + 10) == Opaque(kDiffFrameInner), framed) << gx << "," << gy;
    }
  // The legend's swatch.
  EXPECT_EQ(p.At(5, p.height - kLegendHeight + 5), Opaque(kDiffFrameColour));
  // The same file: no frame, status 0.
  ASSERT_EQ(f.Run({"render", in, png, "--diff", in, "--hex", "20"}), kExitOk) << f.err;
  EXPECT_NE(f.out.find("没有不同"), std::string::npos) << f.out;
}

TEST(Render, WithoutArtworkColoursOnlyAndSaysSo) {
  RenderFolder f;
  std::filesystem::remove_all(PathFromUtf8(f.File("图片")));
  const std::string png = f.File("plain.png");
  ASSERT_EQ(f.Run({"render", f.File("demo_small.btl"), png, "--hex", "12"}), kExitOk) << f.err;
  EXPECT_NE(f.err.find("只画了颜色"), std::string::npos) << f.err;
  const size_t first = f.err.find("图片文件夹");
  EXPECT_EQ(f.err.find("图片文件夹", first + 1), std::string::npos) << "said once: " << f.err;
  // Every hex's inside is its fill colour but where labels are written.
  const DecodedPng p = f.Png(png);
  EXPECT_EQ(p.width, 16 * 12);
}

}  // namespace
