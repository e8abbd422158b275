// The largest scenario the 16-bit positions address: a 256 x 256 world and range, 20 teams
// and every record section at its capacity (100,000 buildings, 1,000,000 units, 100,000
// generals, a 10 MB tail); about 40 MB. Records repeat hexes and run past the range's
// hexes, as a file made by another tool may.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

#include "scenario/world_map.h"

inline void AppendBytes(std::vector<uint8_t>& out, const void* p, size_t n) {
  size_t at = out.size();
  out.resize(at + n);
  memcpy(out.data() + at, p, n);
}

// A world map file of side x side hexes of one terrain.
inline std::vector<uint8_t> SquareWorldBytes(int32_t side) {
  std::vector<uint8_t> w(kWorldHeaderBytes, 0);
  memcpy(&w[8], &side, 4);
  memcpy(&w[12], &side, 4);
  w.resize(kWorldHeaderBytes + size_t(side) * side * sizeof(WorldInfo), 3);
  return w;
}

inline std::vector<uint8_t> LargestScenarioBytes() {
  std::vector<uint8_t> out;
  BtlHeader h{};
  h.rangeWidth = h.rangeHeight = 256;
  h.teamCount = 20;
  h.buildingCount = kMaxBuildings;
  h.unitCount = kMaxUnits;
  h.generalCount = kMaxGenerals;
  AppendBytes(out, &h, sizeof h);
  for (int i = 0; i < h.teamCount; ++i) {
    TeamRecord t{};
    t.country = i;
    t.unitBonus = 1.0f + float(i) / 7.0f;  // floats that need many digits to come back
    t.taxRate = 0.1f * float(i);
    t.fileColour[3] = 255;
    AppendBytes(out, &t, kTeamFileBytes);
  }
  for (int i = 0; i < 65536; ++i) out.push_back(uint8_t(i % 20));
  for (int i = 0; i < kMaxBuildings; ++i) {
    BuildingRecord b{};
    b.position = uint16_t(i * 7);
    b.buildingCode = uint16_t(10100 + i % 10);
    AppendBytes(out, &b, sizeof b);
  }
  for (int i = 0; i < kMaxUnits; ++i) {
    UnitRecord u{};
    u.position = uint16_t(i * 13);
    u.unitClass = uint8_t(1 + i % 8);
    u.general = 255;
    AppendBytes(out, &u, sizeof u);
  }
  for (int i = 0; i < kMaxGenerals; ++i) {
    GeneralEntry g{uint16_t(i), uint16_t(i % 10)};
    AppendBytes(out, &g, sizeof g);
  }
  out.resize(out.size() + kMaxTail, 0x5A);
  return out;
}
