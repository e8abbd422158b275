#include "tools/demo_data/noise.h"

uint64_t DemoRng::next64() {
  state_ += 0x9E3779B97F4A7C15ull;
  uint64_t z = state_;
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

uint32_t HashPoint(int x, int y, uint32_t seed) {
  uint32_t h = seed * 0x9E3779B1u;
  h ^= uint32_t(x) * 0x85EBCA77u;
  h = (h << 13 | h >> 19) * 5 + 0xE6546B64u;
  h ^= uint32_t(y) * 0xC2B2AE3Du;
  h ^= h >> 16;
  h *= 0x85EBCA6Bu;
  h ^= h >> 13;
  h *= 0xC2B2AE35u;
  h ^= h >> 16;
  return h;
}

namespace {

// Floor division, also for negative coordinates.
int FloorDiv(int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }

// Smoothstep 3t² - 2t³ of t = num / den, as a weight in 0 .. 65536.
int64_t SmoothWeight(int num, int den) {
  int64_t t = int64_t(num) * 65536 / den;
  return (t * t / 65536) * (3 * 65536 - 2 * t) / 65536;
}

int64_t lerp(int64_t a, int64_t b, int64_t w) { return a + (b - a) * w / 65536; }

}  // namespace

int ValueNoise(int x, int y, int cell, uint32_t seed) {
  int cx = FloorDiv(x, cell), cy = FloorDiv(y, cell);
  int64_t wx = SmoothWeight(x - cx * cell, cell);
  int64_t wy = SmoothWeight(y - cy * cell, cell);
  auto at = [&](int i, int j) { return int64_t(HashPoint(cx + i, cy + j, seed) >> 16); };
  int64_t top = lerp(at(0, 0), at(1, 0), wx);
  int64_t bottom = lerp(at(0, 1), at(1, 1), wx);
  return int(lerp(top, bottom, wy));
}

int FractalNoise(int x, int y, int cell, int octaves, uint32_t seed) {
  int64_t sum = 0, weight = 0, w = 256;
  for (int o = 0; o < octaves && cell >= 1; ++o) {
    sum += ValueNoise(x, y, cell, seed + uint32_t(o) * 7919u) * w;
    weight += w;
    w /= 2;
    cell /= 2;
  }
  return weight ? int(sum / weight) : 0;
}
