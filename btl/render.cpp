#include "btl/render.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>

#include "base/files.h"
#include "base/text.h"
#include "catalogs/artwork.h"
#include "catalogs/catalogs.h"
#include "scenario/battle_place.h"
#include "btl/label_font.h"
#include "btl/raster.h"
#include "view/cell_plan.h"
#include "view/hex_geometry.h"
#include "view/layout.h"

// Private copies of stb's PNG reader and resizer (the tests link another reader of their own).
#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_STATIC
#define STBI_ONLY_PNG
#define STBI_NO_STDIO
#include <stb/stb_image.h>
#define STB_IMAGE_RESIZE_IMPLEMENTATION
#define STB_IMAGE_RESIZE_STATIC
#include <stb/stb_image_resize.h>

static_assert(cellSize == kNativeHexSide, "the artwork's scales are those of the map view's hex");

namespace {

std::string N(int64_t v) { return std::to_string(v); }

// A length of the map view (kNativeHexSide a hex) at `hex` pixels a hex, rounded down.
int32_t Scaled(int32_t v, int32_t hex) {
  const int64_t p = int64_t(v) * hex;
  return int32_t(p >= 0 ? p / kNativeHexSide : -((-p + kNativeHexSide - 1) / kNativeHexSide));
}

bool IsShiftedRange(const MapRange& r) { return r.width > 1 || (r.originX & 1); }

// ---- Artwork --------------------------------------------------------------------------------

// The files the map view's artwork comes from and the scale it is decoded at, as the editor's
// start-up loads them (catalogs/artwork.cpp), all over a black background that the colour
// key then leaves out.
struct ArtFile {
  std::string name;
  double scale;
};

ArtFile ArtFileOf(Art art, int index) {
  switch (art) {
    case Art::kCity: return {"facility_city.png", 0.4};
    case Art::kFactory: return {"facility_factory.png", 0.4};
    case Art::kAirport: return {"facility_airport.png", 0.4};
    case Art::kLaunch: return {"facility_launch.png", 0.4};
    case Art::kNuclear: return {"facility_nuclear.png", 0.4};
    case Art::kLevelMax: return {"level_max.png", 0.45};
    case Art::kAntiAir: return {"antiair_" + N(index) + ".png", 0.35};
    case Art::kFlag: return {"flag_" + N(index) + ".png", 0.33};
  }
  return {"", 0};
}

// Decodes a PNG over black at its on-screen size for `hex`: W x scale by H x scale at the
// map view's hex side (truncated, as the editor sizes it), that times hex / 50 at another.
bool DecodeArt(const std::string& path, double scale, int32_t hex, KeyedPicture& out) {
  std::string bytes;
  uint32_t statedW = 0, statedH = 0;
  if (!ReadWholeFile(path, bytes) ||
      !PngHeaderSize(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), statedW,
                     statedH) ||
      statedW > uint32_t(kMaxPictureSide) || statedH > uint32_t(kMaxPictureSide))
    return false;
  int w = 0, h = 0, channels = 0;
  stbi_uc* rgba = stbi_load_from_memory(reinterpret_cast<const stbi_uc*>(bytes.data()),
                                        int(bytes.size()), &w, &h, &channels, 4);
  if (!rgba) return false;
  // Laid over black: each colour times its alpha.
  std::vector<uint8_t> rgb(size_t(w) * size_t(h) * 3);
  for (size_t i = 0; i < size_t(w) * size_t(h); ++i)
    for (int k = 0; k < 3; ++k)
      rgb[3 * i + k] = uint8_t((rgba[4 * i + k] * rgba[4 * i + 3] + 127) / 255);
  stbi_image_free(rgba);
  int32_t ow = int32_t(w * scale), oh = int32_t(h * scale);
  if (hex != kNativeHexSide) {
    ow = int32_t(w * scale * hex / kNativeHexSide);
    oh = int32_t(h * scale * hex / kNativeHexSide);
  }
  out = {};
  if (ow <= 0 || oh <= 0) return true;  // nothing to show at this size
  std::vector<uint8_t> sized(size_t(ow) * size_t(oh) * 3);
  if (!stbir_resize_uint8(rgb.data(), w, h, 0, sized.data(), ow, oh, 0, 3)) return false;
  out.width = ow;
  out.height = oh;
  out.pixels.resize(size_t(ow) * size_t(oh));
  for (size_t i = 0; i < out.pixels.size(); ++i)
    out.pixels[i] =
        uint32_t(sized[3 * i]) | uint32_t(sized[3 * i + 1]) << 8 | uint32_t(sized[3 * i + 2]) << 16;
  return true;
}

bool CatalogCountry(int id) {
  for (int i = 0; i < g_catalogs.CountryCount; ++i)
    if (g_catalogs.CountryIds[i] == id) return true;
  return false;
}

// Each picture decoded the first time a hex needs it; the ones that would not load noted once.
class ArtworkCache {
 public:
  ArtworkCache(std::string folder, int32_t hex) : folder_(std::move(folder)), hex_(hex) {}

  const KeyedPicture* Get(Art art, int index) {
    // The editor loads the flags of the catalog's countries only; another country shows none.
    if (art == Art::kFlag && g_catalogs.CountryCount > 0 && !CatalogCountry(index)) return nullptr;
    auto [at, added] = pictures_.try_emplace({int(art), index});
    if (added) {
      const ArtFile file = ArtFileOf(art, index);
      at->second.loaded =
          DecodeArt(JoinPath(folder_, file.name), file.scale, hex_, at->second.picture);
      if (!at->second.loaded) missing_.push_back(file.name);
    }
    return at->second.loaded ? &at->second.picture : nullptr;
  }
  const std::vector<std::string>& missing() const { return missing_; }

 private:
  struct Entry {
    bool loaded = false;
    KeyedPicture picture;
  };
  std::string folder_;
  int32_t hex_;
  std::map<std::pair<int, int>, Entry> pictures_;
  std::vector<std::string> missing_;
};

// ---- Hexes ----------------------------------------------------------------------------------

// What --diff compares on a hex: its owner and, where there is one, its unit and building.
bool SameHex(const Cell& a, const Cell& b) {
  if (a.owner != b.owner || a.hasUnit != b.hasUnit || a.hasBuilding != b.hasBuilding) return false;
  if (a.hasUnit && memcmp(&a.unit, &b.unit, sizeof a.unit) != 0) return false;
  return !a.hasBuilding || memcmp(&a.building, &b.building, sizeof a.building) == 0;
}

struct Painter {
  Canvas& canvas;
  const MapRange& range;
  int32_t hex;
  ArtworkCache& artwork;
  const LabelFont* font;

  // Runs the view's steps for one hex, each length scaled from the map view's hex side.
  void Hex(const Cell& cell) {
    const PixelPoint at =
        CellScreenPosition(cell, range.originX - g_world.originX, range.originY - g_world.originY);
    const int32_t textHeight = Scaled(kMapTextHeight, hex);
    for (const CellStep& s : PlanCell(cell, at.x, at.y)) {
      const int32_t x = Scaled(s.x, hex), y = Scaled(s.y, hex);
      switch (s.kind) {
        case CellStep::kFill: {
          // The map view's rectangle: a one-pixel white outline around the fill.
          const int32_t right = Scaled(s.right, hex), bottom = Scaled(s.bottom, hex);
          FramePixels(canvas, x, y, right, bottom, 1, kHexOutline);
          FillPixels(canvas, x + 1, y + 1, right - 1, bottom - 1, s.colour);
          break;
        }
        case CellStep::kText:
          if (font) font->Draw(canvas, x, y, textHeight, Utf8FromGbk(s.text), kLabelColour);
          break;
        case CellStep::kTextInRect:
          if (font)
            font->Draw(canvas, x, y, textHeight, Utf8FromGbk(s.text), kLabelColour,
                       Scaled(s.right, hex), Scaled(s.bottom, hex));
          break;
        case CellStep::kBlit:
          if (const KeyedPicture* art = artwork.Get(s.art, s.index)) CopyKeyed(canvas, x, y, *art);
          break;
      }
    }
  }

  // The text the map view writes is 12 pixels high at its hex side, black.
  static constexpr int32_t kMapTextHeight = 12;
  static constexpr uint32_t kLabelColour = 0x000000;
  static constexpr uint32_t kHexOutline = 0xFFFFFF;
};

const Cell& CellAt(int32_t x, int32_t y) {
  return g_world.grid[x - g_world.originX][y - g_world.originY];
}

// The hexes of the range as the other file has them, placed into the same range.
std::vector<Cell> OtherHexes(const BattleImage& other, const WorldImage& world,
                             const MapRange& fileRange, const MapRange& range, Status& s) {
  std::vector<Cell> cells;
  s = CommitScenario(other, world, fileRange);
  if (!s.ok()) return cells;
  cells.reserve(size_t(range.width) * size_t(range.height));
  for (int32_t x = range.originX; x < range.originX + range.width; ++x)
    for (int32_t y = range.originY; y < range.originY + range.height; ++y)
      cells.push_back(CellAt(x, y));
  return cells;
}

void DrawLegend(Canvas& c, int64_t changed, const std::string& otherName, const LabelFont* font) {
  const int32_t top = c.height - kLegendHeight;
  FillPixels(c, 0, top, c.width, c.height, kLegendBackground);
  FramePixels(c, 4, top + 4, 20, top + 20, 3, kDiffFrameColour);
  FramePixels(c, 7, top + 7, 17, top + 17, 1, kDiffFrameInner);
  if (font)
    font->Draw(c, 26, top + 4, 16,
               "框出的格与 " + otherName + " 的归属、部队或建筑不同（" + N(changed) + " 格）",
               0x000000);
}

bool InsideRange(const MapRange& inner, const MapRange& outer) {
  return inner.width > 0 && inner.height > 0 && inner.originX >= outer.originX &&
         inner.originY >= outer.originY &&
         inner.originX + inner.width <= outer.originX + outer.width &&
         inner.originY + inner.height <= outer.originY + outer.height;
}

std::string RangeWords(const MapRange& r) {
  return "起点 (" + N(r.originX) + ", " + N(r.originY) + ")，大小 " + N(r.width) + " × " +
         N(r.height);
}

}  // namespace

PixelSize RenderedSize(const MapRange& range, int32_t hex, bool legend) {
  return {range.width * hex, range.height * hex +
                                 (IsShiftedRange(range) ? Scaled(halfCell, hex) : 0) +
                                 (legend ? kLegendHeight : 0)};
}

int32_t DefaultHexSide(const MapRange& range, bool legend) {
  for (int32_t hex = kNativeHexSide; hex > kMinHexSide; --hex) {
    const PixelSize size = RenderedSize(range, hex, legend);
    if (size.width <= kDefaultPictureLimit && size.height <= kDefaultPictureLimit) return hex;
  }
  return kMinHexSide;
}

PixelPoint RenderedHexTopLeft(const MapRange& range, int32_t hex, int32_t x, int32_t y) {
  const PixelPoint p = HexTopLeft(x - range.originX, y - range.originY, range.originX, 0);
  return {Scaled(p.x, hex), Scaled(p.y, hex)};
}

Status RenderScenario(const BattleImage& scenario, const BattleImage* other,
                      const WorldImage& world, const RenderOptions& options, RenderResult& result) {
  result = {};
  const MapRange fileRange = scenario.fileRange();
  Status s = CheckRange(fileRange, world.width, world.height);
  if (!s.ok())
    return Fail(s.kind, "文件" + Quoted(scenario.name) + "的地图范围（" + RangeWords(fileRange) +
                            "）无法按原样打开: " + s.message);
  const MapRange range = options.hasRange ? options.range : fileRange;
  if (!InsideRange(range, fileRange))
    return Fail(FailureKind::kOutsideWorld, "--range（" + RangeWords(range) +
                                                "）不在文件的地图范围（" + RangeWords(fileRange) +
                                                "）之内。");
  const bool legend = other != nullptr;
  const int32_t hex = options.hex ? options.hex : DefaultHexSide(range, legend);
  if (hex < kMinHexSide || hex > kMaxHexSide)
    return Fail(FailureKind::kBadValue,
                "--hex 须在 " + N(kMinHexSide) + " 到 " + N(kMaxHexSide) + " 之间。");
  const PixelSize size = RenderedSize(range, hex, legend);
  const int32_t width = size.width, height = size.height;
  if (width > kMaxRenderedSide || height > kMaxRenderedSide)
    return Fail(FailureKind::kTooLarge, "图片将为 " + N(width) + " × " + N(height) +
                                            " 像素，超过每边 " + N(kMaxRenderedSide) +
                                            " 像素；请用更小的 --hex 或 --range。");

  std::vector<Cell> otherHexes;
  if (other) {
    otherHexes = OtherHexes(*other, world, fileRange, range, s);
    if (!s.ok()) return s;
  }
  s = CommitScenario(scenario, world, fileRange);
  if (!s.ok()) return s;

  std::string fontFound = options.fontPath;
  std::unique_ptr<LabelFont> font = options.fontPath.empty() ? LabelFont::FindOnSystem(fontFound)
                                                             : LabelFont::Open(options.fontPath);
  if (!font && !options.fontPath.empty())
    return Fail(FailureKind::kCannotOpen,
                "无法读取字体" + Quoted(options.fontPath) + "，或其中没有中文字形。");
  if (!font)
    result.notices.push_back("没有找到带中文字形的字体（可用 --font 指定），图中不写文字。");

  Canvas canvas;
  canvas.width = width;
  canvas.height = height;
  canvas.pixels.assign(size_t(width) * size_t(height), kRenderBackground);
  ArtworkCache artwork(options.pictureFolder, hex);
  Painter painter{canvas, range, hex, artwork, font.get()};
  // Column by column, as the map view draws, so that what overlaps a neighbour lies the same way.
  for (int32_t x = range.originX; x < range.originX + range.width; ++x)
    for (int32_t y = range.originY; y < range.originY + range.height; ++y)
      painter.Hex(CellAt(x, y));

  if (other) {
    const int32_t thickness = std::max(2, hex / 10);
    size_t i = 0;
    for (int32_t x = range.originX; x < range.originX + range.width; ++x)
      for (int32_t y = range.originY; y < range.originY + range.height; ++y, ++i) {
        if (SameHex(CellAt(x, y), otherHexes[i])) continue;
        ++result.changedHexes;
        const PixelPoint at = RenderedHexTopLeft(range, hex, x, y);
        const int32_t px = at.x, py = at.y;
        FramePixels(canvas, px, py, px + hex, py + hex, thickness, kDiffFrameColour);
        FramePixels(canvas, px + thickness, py + thickness, px + hex - thickness,
                    py + hex - thickness, 1, kDiffFrameInner);
      }
    DrawLegend(canvas, result.changedHexes, options.otherName, font.get());
  }
  if (!artwork.missing().empty()) {
    std::string names;
    for (size_t k = 0; k < artwork.missing().size() && k < 5; ++k)
      names += (k ? "、" : "") + artwork.missing()[k];
    if (artwork.missing().size() > 5)
      names += " 等 " + N(int64_t(artwork.missing().size())) + " 个";
    result.notices.push_back("图片文件夹" + Quoted(options.pictureFolder) + "中缺少或无法读取 " +
                             names + "，这些图没有画出（只画了颜色）。");
  }
  result.png = EncodeCanvasPng(canvas);
  if (result.png.empty()) return Fail(FailureKind::kTooLarge, "图片太大，无法写成 PNG。");
  result.width = width;
  result.height = height;
  result.hex = hex;
  result.range = range;
  return Ok();
}
