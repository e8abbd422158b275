// A scenario drawn as a picture, as the map view draws it: every hex of a range at its place
// in the staggered columns, planned by the view's PlanCell (the owner's colour or the sea,
// the city art with its level mark and facilities, anti-air icons, flags, labels), with the
// artwork of the picture folder scaled to the hex size asked for. With a second file, the
// hexes whose owner, unit or building differ in it are framed, and a legend line says so.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/status.h"
#include "drawing/window.h"
#include "scenario/battle_read.h"
#include "scenario/world_map.h"
#include "view/hex_geometry.h"

// The map view's hex side: the artwork's own size is the size it has at this side.
constexpr int32_t kNativeHexSide = 50;
// The default picture stays within this many pixels each way.
constexpr int32_t kDefaultPictureLimit = 8192;
// --hex: from 2 (anything smaller has no room for a hex's outline) to 400 pixels.
constexpr int32_t kMinHexSide = 2, kMaxHexSide = 400;
// A picture larger than this either way is refused (stb's writer works within int sizes).
constexpr int32_t kMaxRenderedSide = 16384;

// The frame around a hex that differs, and the line just inside it (so that it shows on any
// colour); 0x00BBGGRR.
constexpr uint32_t kDiffFrameColour = 0x00FFFF;  // yellow (255, 255, 0)
constexpr uint32_t kDiffFrameInner = 0x000000;
// What the map shows outside the hexes (the half-hex band of the staggered columns), and the
// legend's strip below the map.
constexpr uint32_t kRenderBackground = 0x000000;
constexpr uint32_t kLegendBackground = 0xFFFFFF;
constexpr int32_t kLegendHeight = 24;

struct RenderOptions {
  int32_t hex = 0;            // pixels a hex side; 0: DefaultHexSide
  bool hasRange = false;      // otherwise the file's whole range
  MapRange range{};           // global columns and rows; inside the file's range
  std::string pictureFolder;  // the artwork's folder ("图片" beside the data folder)
  std::string fontPath;       // empty: a system font with Chinese glyphs, if there is one
  std::string otherName;      // the second file's name for the legend
};

struct RenderResult {
  std::vector<uint8_t> png;
  int32_t width = 0, height = 0, hex = 0;
  MapRange range{};
  int64_t changedHexes = 0;          // with a second file: hexes framed
  std::vector<std::string> notices;  // each once, UTF-8: missing artwork, no font
};

// 50 when a picture of the range at that side fits in kDefaultPictureLimit pixels each way
// (the legend's strip counted when there is one), else the largest side that fits.
int32_t DefaultHexSide(const MapRange& range, bool legend);
// The picture's size: every column `hex` wide, every row `hex` high, plus half a hex below
// when a column of the range is shifted (an odd global column), plus the legend's strip.
PixelSize RenderedSize(const MapRange& range, int32_t hex, bool legend);
// The top-left pixel of global hex (x, y) in the picture of `range`.
PixelPoint RenderedHexTopLeft(const MapRange& range, int32_t hex, int32_t x, int32_t y);

// Draws `scenario` (placed into the world record with its own range, as the editor opens
// it) and, with `other`, frames the hexes that differ in it (placed into the same range).
// Uses the catalogs and string table as loaded (LoadGameTables). Fails on a range the file
// cannot be opened with, a --range outside it, or a picture too large.
Status RenderScenario(const BattleImage& scenario, const BattleImage* other,
                      const WorldImage& world, const RenderOptions& options, RenderResult& result);
