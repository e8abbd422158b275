// The font the render command writes unit and building labels with: a TrueType file (or a
// collection's first face) with Chinese glyphs, rasterised by stb_truetype.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "btl/raster.h"

class LabelFont {
 public:
  ~LabelFont();
  // Opens the file; null when it cannot be read, is no font stb_truetype reads, or has no
  // Chinese glyph (中).
  static std::unique_ptr<LabelFont> Open(const std::string& path);
  // The first font of the usual places that opens: the Linux font folders, then the Windows
  // fonts folder (%WINDIR%\Fonts, Wine's too). Null when none does; `path` names the one found.
  static std::unique_ptr<LabelFont> FindOnSystem(std::string& path);

  // Draws UTF-8 text with the top of its line at (x, y), `pixelHeight` pixels high, in
  // `colour`. With `right` > x the text wraps before `right`, and stops at `bottom`.
  void Draw(Canvas& c, int32_t x, int32_t y, int32_t pixelHeight, const std::string& utf8,
            uint32_t colour, int32_t right = 0, int32_t bottom = 0) const;

 private:
  LabelFont() = default;
  struct Face;
  std::unique_ptr<Face> face_;
};
