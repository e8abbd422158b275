// Deterministic pseudo-random numbers and value noise for the demo data. Integer arithmetic
// only, so every run and every compiler gives the same numbers.
#pragma once

#include <cstdint>

// splitmix64: a 64-bit state stepped by a fixed odd constant and mixed on output.
class DemoRng {
 public:
  explicit DemoRng(uint64_t seed) : state_(seed) {}
  uint64_t next64();
  uint32_t next() { return uint32_t(next64() >> 32); }
  // 0 .. n-1 (n > 0); the tiny modulo bias does not matter here.
  int below(int n) { return int(next() % uint32_t(n)); }
  // lo .. hi inclusive.
  int between(int lo, int hi) { return lo + below(hi - lo + 1); }
  // True with probability percent / 100.
  bool chance(int percent) { return below(100) < percent; }

 private:
  uint64_t state_;
};

// A well-mixed 32-bit hash of a lattice point and a seed.
uint32_t HashPoint(int x, int y, uint32_t seed);

// Smooth value noise in 0 .. 65535: random values on a lattice of `cell` hexes,
// interpolated with a smoothstep curve.
int ValueNoise(int x, int y, int cell, uint32_t seed);

// Sum of `octaves` layers of value noise, each of half the cell and half the weight of the
// one before; result in 0 .. 65535.
int FractalNoise(int x, int y, int cell, int octaves, uint32_t seed);
