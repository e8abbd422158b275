#include "btl/label_font.h"

#include <cstdlib>
#include <vector>

#include "base/files.h"

#define STB_TRUETYPE_IMPLEMENTATION
#define STBTT_STATIC
#include <stb/stb_truetype.h>

struct LabelFont::Face {
  std::string bytes;
  stbtt_fontinfo info{};
};

LabelFont::~LabelFont() = default;

std::unique_ptr<LabelFont> LabelFont::Open(const std::string& path) {
  auto face = std::make_unique<Face>();
  if (path.empty() || !ReadWholeFile(path, face->bytes) || face->bytes.size() < 12) return nullptr;
  const auto* data = reinterpret_cast<const unsigned char*>(face->bytes.data());
  const int offset = stbtt_GetFontOffsetForIndex(data, 0);
  if (offset < 0 || !stbtt_InitFont(&face->info, data, offset)) return nullptr;
  if (stbtt_FindGlyphIndex(&face->info, 0x4E2D) == 0) return nullptr;  // 中
  std::unique_ptr<LabelFont> font(new LabelFont);
  font->face_ = std::move(face);
  return font;
}

std::unique_ptr<LabelFont> LabelFont::FindOnSystem(std::string& path) {
  static const char* const kLinux[] = {
      "/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc",
      "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc",
      "/usr/share/fonts/truetype/arphic/uming.ttc",
      "/usr/share/fonts/truetype/droid/DroidSansFallbackFull.ttf",
      "/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc",
      "/usr/share/fonts/truetype/noto/NotoSansSC-Regular.ttf",
  };
  static const char* const kWindows[] = {"simsun.ttc", "simhei.ttf",     "msyh.ttc",
                                         "msyh.ttf",   "wqy-zenhei.ttc", "wqy-microhei.ttc"};
  std::vector<std::string> candidates(std::begin(kLinux), std::end(kLinux));
  const char* windir = std::getenv("WINDIR");
  for (const char* name : kWindows) {
    if (windir) candidates.push_back(JoinPath(JoinPath(windir, "Fonts"), name));
    candidates.push_back(JoinPath("C:\\Windows\\Fonts", name));
  }
  for (const std::string& candidate : candidates)
    if (std::unique_ptr<LabelFont> font = Open(candidate)) {
      path = candidate;
      return font;
    }
  return nullptr;
}

namespace {

// The next code point of UTF-8 text; a broken byte reads as U+FFFD.
uint32_t NextCodePoint(const std::string& s, size_t& i) {
  const unsigned char lead = static_cast<unsigned char>(s[i++]);
  if (lead < 0x80) return lead;
  const int more = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : -1;
  if (more < 0 || i + size_t(more) > s.size()) return 0xFFFD;
  uint32_t cp = lead & (0x3F >> more);
  for (int k = 0; k < more; ++k) cp = cp << 6 | (static_cast<unsigned char>(s[i++]) & 0x3F);
  return cp;
}

}  // namespace

void LabelFont::Draw(Canvas& c, int32_t x, int32_t y, int32_t pixelHeight, const std::string& utf8,
                     uint32_t colour, int32_t right, int32_t bottom) const {
  if (pixelHeight <= 0) return;
  const stbtt_fontinfo& info = face_->info;
  const float scale = stbtt_ScaleForPixelHeight(&info, float(pixelHeight));
  int ascent = 0, descent = 0, gap = 0;
  stbtt_GetFontVMetrics(&info, &ascent, &descent, &gap);
  const int32_t baselineDrop = int32_t(float(ascent) * scale + 0.5f);
  int32_t penX = x, lineTop = y;
  for (size_t i = 0; i < utf8.size();) {
    const int glyph = stbtt_FindGlyphIndex(&info, int(NextCodePoint(utf8, i)));
    int advance = 0, bearing = 0;
    stbtt_GetGlyphHMetrics(&info, glyph, &advance, &bearing);
    const int32_t step = int32_t(float(advance) * scale + 0.5f);
    if (right > x && penX + step > right && penX > x) {  // wraps to the next line
      penX = x;
      lineTop += pixelHeight;
    }
    if (bottom > y && lineTop + pixelHeight > bottom) return;
    int w = 0, h = 0, xoff = 0, yoff = 0;
    unsigned char* bitmap = stbtt_GetGlyphBitmap(&info, scale, scale, glyph, &w, &h, &xoff, &yoff);
    const int32_t baseline = lineTop + baselineDrop;
    for (int row = 0; row < h; ++row)
      for (int col = 0; col < w; ++col)
        BlendPixel(c, penX + xoff + col, baseline + yoff + row, colour, bitmap[row * w + col]);
    stbtt_FreeBitmap(bitmap, nullptr);
    penX += step;
  }
}
