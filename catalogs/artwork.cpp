#include "catalogs/artwork.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <thread>
#include <unordered_map>
#include <vector>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "base/files.h"
#include "base/text.h"
#include "catalogs/catalogs.h"
#include "catalogs/picture_decoder.h"
#include "platform/prompts.h"

ArtworkSurfaces g_artwork;

namespace {
// Pictures that could not be loaded since the last report, in the order they were asked for.
std::vector<std::string> g_missingPictures;

constexpr uint32_t kBlack = 0x000000;
constexpr uint32_t kWhite = 0xFFFFFF;

std::string Numbered(const char* stem, int n) {
  return PicturePath(stem + std::to_string(n) + ".png");
}

constexpr uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

uint32_t BigEndian32(const uint8_t* p) {
  return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}
}  // namespace

bool PngHeaderSize(const uint8_t* bytes, size_t size, uint32_t& width, uint32_t& height) {
  // signature[8], chunk length[4] = 13, "IHDR", width[4], height[4]
  if (size < 24 || memcmp(bytes, kPngSignature, 8) != 0) return false;
  if (BigEndian32(bytes + 8) != 13 || memcmp(bytes + 12, "IHDR", 4) != 0) return false;
  width = BigEndian32(bytes + 16);
  height = BigEndian32(bytes + 20);
  return width > 0 && height > 0;
}

namespace {
// Read before decoding, so that an oversized picture is refused without the decoder
// allocating whatever its header claims.
bool StatedSizeAccepted(const std::string& utf8Path) {
  std::vector<uint8_t> head;
  bool more = false;
  uint32_t width = 0, height = 0;
  return ReadFilePrefix(utf8Path, 24, head, more) &&
         PngHeaderSize(head.data(), head.size(), width, height) &&
         width <= uint32_t(kMaxPictureSide) && height <= uint32_t(kMaxPictureSide);
}
}  // namespace

namespace {

DecodedPicture Decode(const std::string& utf8Path, double scale, uint32_t background) {
  if (!StatedSizeAccepted(utf8Path)) return {};
  return DecodePicture(utf8Path, scale, background);
}

// Puts decoded pixels into the surface and leaves it the target, with the background as its
// background colour. A size with a zero side keeps the surface's old size, all background.
bool Install(Surface& surface, const DecodedPicture& picture, uint32_t background) {
  if (!picture.ok) return false;
  resize_surface(&surface, picture.width, picture.height);
  set_target(&surface);
  set_back_colour(background);
  if (picture.pixels.empty() || surface.width != picture.width ||
      surface.height != picture.height) {
    clear_target();
    return true;
  }
  std::copy(picture.pixels.begin(), picture.pixels.end(), surface_pixels(&surface));
  return true;
}

struct PictureLoad {
  std::string path;
  double scale;
  uint32_t background;
};

struct QueuedPicture {
  Surface* surface;
  PictureLoad load;
  bool deferred;  // only the header is read now
  bool headerOk = false;
  DecodedPicture decoded;
};
std::vector<QueuedPicture> g_queue;

// Deferred pictures whose header was accepted, by surface, waiting for DecodeDeferred.
std::unordered_map<const Surface*, PictureLoad> g_deferred;

void Enqueue(Surface& surface, const std::string& utf8Path, double scale, uint32_t background,
             bool deferred) {
  g_deferred.erase(&surface);
  g_queue.push_back({&surface, {utf8Path, scale, background}, deferred});
}

}  // namespace

bool load_picture(Surface& surface, const std::string& utf8Path, double scale,
                  uint32_t background) {
  g_deferred.erase(&surface);
  if (Install(surface, Decode(utf8Path, scale, background), background)) return true;
  g_missingPictures.push_back(utf8Path);
  return false;
}

const std::vector<std::string>& MissingPictures() { return g_missingPictures; }

std::string MissingPicturesText(const std::vector<std::string>& paths) {
  std::string text;
  if (paths.size() > kMissingPicturesListedPlainly)
    text = "共 " + std::to_string(paths.size()) + " 个图片文件缺失或无法读取：\n";
  for (size_t i = 0; i < paths.size(); ++i) text += (i ? "\n" : "") + paths[i];
  return text;
}

void ReportMissingPictures() {
  if (g_missingPictures.empty()) return;
  const std::string text = MissingPicturesText(g_missingPictures);
  g_missingPictures.clear();
  ShowMessage(nullptr, text, "文件缺失", kMbOk);
}

void QueuePicture(Surface& surface, const std::string& utf8Path, double scale,
                  uint32_t background) {
  Enqueue(surface, utf8Path, scale, background, false);
}

void DeferPicture(Surface& surface, const std::string& utf8Path, double scale,
                  uint32_t background) {
  Enqueue(surface, utf8Path, scale, background, true);
}

void FinishPictures() {
  const size_t n = g_queue.size();
  std::atomic<size_t> next{0};
  auto work = [&] {
    for (size_t i; (i = next++) < n;) {
      QueuedPicture& q = g_queue[i];
      if (q.deferred)
        q.headerOk = StatedSizeAccepted(q.load.path);
      else
        q.decoded = Decode(q.load.path, q.load.scale, q.load.background);
    }
  };
  const unsigned threads = std::clamp(std::thread::hardware_concurrency(), 1u, 8u);
  std::vector<std::thread> helpers;
  for (unsigned i = 1; i < threads && i < n; ++i) helpers.emplace_back(work);
  work();
  for (std::thread& t : helpers) t.join();
  for (QueuedPicture& q : g_queue) {
    if (!q.deferred)
      g_deferred.erase(q.surface);  // a later load of the surface replaces a deferred one
    if (q.deferred && q.headerOk)
      g_deferred[q.surface] = q.load;
    else if (q.deferred || !Install(*q.surface, q.decoded, q.load.background))
      g_missingPictures.push_back(q.load.path);
    q.decoded = {};
  }
  g_queue.clear();
}

void DecodeDeferred(Surface& surface) {
  auto it = g_deferred.find(&surface);
  if (it == g_deferred.end()) return;
  const PictureLoad load = std::move(it->second);
  g_deferred.erase(it);
  Surface* target = CurrentTarget();
  Install(surface, Decode(load.path, load.scale, load.background), load.background);
  set_target(target);
}

// One row of the keyed copy: each pixel is the source's, or the target's where the source's
// is 0. Four pixels at a time; a row that is not a multiple of four ends with four that
// overlap the ones before, which gives the same pixels again, since keying a pixel twice
// changes nothing.
static inline void KeyedRow(uint32_t* dst, const uint32_t* src, int32_t n) {
  int32_t i = 0;
#if defined(__SSE2__)
  if (n >= 4) {
    const __m128i zero = _mm_setzero_si128();
    auto four = [&](int32_t at) {
      __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + at));
      __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dst + at));
      __m128i keep = _mm_cmpeq_epi32(s, zero);
      _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + at),
                       _mm_or_si128(s, _mm_and_si128(d, keep)));
    };
    for (; i + 4 <= n; i += 4) four(i);
    if (i < n) four(n - 4);
    return;
  }
#endif
  for (; i < n; ++i) {
    uint32_t s = src[i];
    dst[i] = s ? s : dst[i];
  }
}

void blit_keyed(int32_t x, int32_t y, const Surface& image) {
  Surface* target = CurrentTarget();
  uint32_t* to = surface_pixels(target);
  const uint32_t* from = image.pixels;
  if (!to || !from) return;
  const int32_t tw = target->width, th = target->height;
  const int32_t x0 = std::max(0, -x), y0 = std::max(0, -y);
  const int32_t x1 = std::min(image.width, tw - x), y1 = std::min(image.height, th - y);
  if (x1 <= x0) return;
  for (int32_t row = y0; row < y1; ++row)
    KeyedRow(to + size_t(y + row) * tw + x + x0, from + size_t(row) * image.width + x0, x1 - x0);
  if (WindowIsTarget()) flush_window();
}

void LoadCommanderPortrait(int slot, const char* photoAnsi) {
  if (slot < 0 || slot >= 1000) return;
  std::string photo = Utf8FromGbk(photoAnsi ? photoAnsi : "");
  DeferPicture(g_artwork.CommanderPortrait[slot],
               PicturePath(JoinPath("smallheads", photo + ".png")), 1.0, kWhite);
}

void LoadArtworkList() {
  ArtworkSurfaces& a = g_artwork;
  for (int i = 0; i < g_catalogs.CountryCount; ++i) {
    int id = g_catalogs.CountryIds[i];
    if (id >= 0 && id < 200) QueuePicture(a.FlagSurface[id], Numbered("flag_", id), 0.33, kBlack);
  }
  const char* facilities[5] = {"facility_city.png", "facility_factory.png", "facility_airport.png",
                               "facility_launch.png", "facility_nuclear.png"};
  for (int i = 0; i < 5; ++i)
    QueuePicture(a.FacilitySurface[i], PicturePath(facilities[i]), 0.4, kBlack);
  for (int i = 1; i <= 3; ++i)
    QueuePicture(a.AntiAirSurface[i], Numbered("antiair_", i), 0.35, kBlack);
  for (int i = 1; i <= 4; ++i)
    QueuePicture(a.ButtonSurface[i], Numbered("button_", i), 1.0, kBlack);
  for (int i = 0; i <= 3; ++i)
    QueuePicture(a.DirButtonSurface[i], Numbered("dirbutton_", i), 1.0, kBlack);
  QueuePicture(a.LevelMaxSurface, PicturePath("level_max.png"), 0.45, kBlack);
  FinishPictures();
  // Last of the start-up loads: one box for every picture missing since the last report,
  // the commanders' portraits (queued with their catalog, before this) included.
  ReportMissingPictures();
}
