#include <cstring>

#include "tools/demo_data/demo_data.h"
#include "tools/demo_data/noise.h"

namespace {

constexpr uint32_t kWorldSeed = 0x5EA1A2D5u;
constexpr int kFull = 65536;  // fixed-point 1.0

// A continent's core: an ellipse whose weight falls from 1 at the centre to 0 at its rim.
struct Blob {
  int cx, cy, rx, ry;
};

// Five continents and a chain of islands; the 120 x 80 demo range at (10, 5) takes in the
// first three with the sea between them.
const Blob kBlobs[] = {
    {42, 30, 34, 22},  {98, 52, 30, 26}, {58, 82, 30, 13}, {158, 36, 30, 22},
    {156, 94, 26, 16}, {128, 20, 8, 6},  {122, 88, 7, 5},  {186, 68, 6, 9},
};

int BlobWeight(int x, int y) {
  int best = 0;
  for (const Blob& b : kBlobs) {
    int64_t dx = x - b.cx, dy = y - b.cy;
    int64_t d2 =
        dx * dx * kFull / (int64_t(b.rx) * b.rx) + dy * dy * kFull / (int64_t(b.ry) * b.ry);
    if (d2 < kFull && kFull - d2 > best) best = int(kFull - d2);
  }
  return best;
}

// Land height in 0..65535: the continents' cores roughened by fractal noise.
int LandHeight(int x, int y) {
  int noise = FractalNoise(x, y, 32, 5, kWorldSeed) - 32768;  // about -20000..20000
  int h = BlobWeight(x, y) / 2 + noise * 2 + 16000;
  return h < 0 ? 0 : h > kFull - 1 ? kFull - 1 : h;
}

constexpr int kSeaLevel = 27000;

// The six neighbours of a hex; odd columns are shifted half a hex down.
int neighbours(int x, int y, int out[6][2]) {
  int shift = (x & 1) ? 0 : -1;
  const int offsets[6][2] = {{0, -1},         {0, 1},     {-1, shift},
                             {-1, shift + 1}, {1, shift}, {1, shift + 1}};
  int n = 0;
  for (const auto& o : offsets) {
    out[n][0] = x + o[0];
    out[n][1] = y + o[1];
    ++n;
  }
  return n;
}

// Mountain ranges follow the mid-level contour of a noise field: "ridged" noise is high on a
// thin band around it. A second, coarse field switches whole ranges on and off.
int ridge(int x, int y) {
  int n = FractalNoise(x, y, 20, 2, kWorldSeed + 101);
  int r = kFull - 1 - 2 * (n > 32767 ? n - 32768 : 32767 - n);
  int mask = ValueNoise(x, y, 40, kWorldSeed + 202);
  return mask > 27000 ? r : 0;
}

uint8_t LandClass(int x, int y, int height) {
  int r = ridge(x, y);
  bool polar = y < 7 || y >= kDemoWorldHeight - 6;
  if (r > 62500 && height > kSeaLevel + 9000) return uint8_t(kSnowFirst + 2);  // snowy peaks
  if (r > 57000 && height > kSeaLevel + 5000) {
    int band = r > 61500 ? 2 : r > 59500 ? 1 : 0;
    return uint8_t(kMountainFirst + band);
  }
  if (polar) return uint8_t(kSnowFirst + (y < 4 || y >= kDemoWorldHeight - 3 ? 1 : 0));
  int forest = FractalNoise(x, y, 14, 2, kWorldSeed + 303);
  if (forest > 36000) {
    // Wide patches of one forest kind each.
    int kind = ValueNoise(x, y, 26, kWorldSeed + 404) * 11 / kFull;
    return uint8_t(kForestFirst + kind);
  }
  return kPlains;
}

}  // namespace

bool DemoWorld::touches_sea(int x, int y) const {
  int around[6][2];
  int n = neighbours(x, y, around);
  for (int k = 0; k < n; ++k) {
    int nx = around[k][0], ny = around[k][1];
    if (nx < 0 || ny < 0 || nx >= width || ny >= height) continue;
    if (at(nx, ny) == kSea) return true;
  }
  return false;
}

DemoWorld MakeDemoWorld() {
  DemoWorld w;
  w.width = kDemoWorldWidth;
  w.height = kDemoWorldHeight;
  w.terrain.assign(size_t(w.width) * w.height, kSea);
  w.elevation.assign(w.terrain.size(), 0);
  for (int y = 0; y < w.height; ++y)
    for (int x = 0; x < w.width; ++x) {
      int h = LandHeight(x, y);
      bool edge = x < 3 || y < 3 || x >= w.width - 3 || y >= w.height - 3;
      size_t i = size_t(y) * w.width + x;
      w.elevation[i] = uint8_t(h >> 8);
      if (!edge && h > kSeaLevel) w.terrain[i] = LandClass(x, y, h);
    }
  // Beaches: low land that touches the sea (cliffs of mountain and snow stay as they are).
  std::vector<uint8_t> shore = w.terrain;
  for (int y = 0; y < w.height; ++y)
    for (int x = 0; x < w.width; ++x) {
      size_t i = size_t(y) * w.width + x;
      uint8_t t = w.terrain[i];
      bool low = t == kPlains || t >= kForestFirst;
      if (low && w.touches_sea(x, y)) shore[i] = kBeach;
    }
  w.terrain = shore;
  return w;
}

std::string EncodeWorldMap(const DemoWorld& world) {
  std::string out;
  out.reserve(16 + world.terrain.size() * sizeof(WorldInfo));
  // The first 8 bytes are not read by the editor: a tag and the record size.
  const uint8_t lead[8] = {'W', 'M', 'A', 'P', 1, 0, sizeof(WorldInfo), 0};
  out.append(reinterpret_cast<const char*>(lead), sizeof lead);
  int32_t size[2] = {world.width, world.height};
  out.append(reinterpret_cast<const char*>(size), sizeof size);
  for (int y = 0; y < world.height; ++y)
    for (int x = 0; x < world.width; ++x) {
      size_t i = size_t(y) * world.width + x;
      WorldInfo info;
      info.terrain = world.terrain[i];
      // Bytes 1..11: the height, then filler the game would use for its own purposes.
      uint32_t h1 = HashPoint(x, y, kWorldSeed + 1), h2 = HashPoint(x, y, kWorldSeed + 2);
      info.keep[0] = world.elevation[i];
      info.keep[1] = uint8_t(h1 % 4);  // a drawing variant of the terrain
      memcpy(info.keep + 2, &h1, 4);
      memcpy(info.keep + 6, &h2, 4);
      info.keep[10] = 0;
      out.append(reinterpret_cast<const char*>(&info), sizeof info);
    }
  return out;
}
