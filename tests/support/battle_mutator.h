// Variants of a battle file for the hostile-file tests: bits flipped, header numbers set to
// values at an edge, cut short, grown, a byte past the header set at random. A fixed-seed
// generator, so every run tries the same variants.
#pragma once

#include <cstdint>
#include <cstring>
#include <iterator>
#include <vector>

#include "scenario/battle_format.h"

struct Mutator {
  uint64_t state;
  uint32_t next() {
    state ^= state << 13, state ^= state >> 7, state ^= state << 17;
    return uint32_t(state);
  }
  uint32_t below(size_t n) { return n ? next() % uint32_t(n) : 0; }

  std::vector<uint8_t> mutate(std::vector<uint8_t> b) {
    static const int32_t interesting[] = {0,   1,   -1,     255,     256,
                                          500, 501, 100000, 1000000, 0x7FFFFFFF};
    switch (below(5)) {
      case 0:  // flip bits of a few bytes
        for (int k = 0, n = 1 + int(below(4)); k < n && !b.empty(); ++k)
          b[below(b.size())] ^= uint8_t(1 + below(255));
        break;
      case 1: {  // a header number set to a value at an edge
        int32_t v = interesting[below(std::size(interesting))];
        memcpy(b.data() + 8 + 4 * below(9), &v, 4);
        break;
      }
      case 2:  // cut short
        b.resize(below(b.size()));
        break;
      case 3:  // grown by a few bytes
        for (int k = 0, n = 1 + int(below(64)); k < n; ++k) b.push_back(uint8_t(next()));
        break;
      default: {  // a record's 16-bit position or a byte past the header set at random
        size_t at = kHeaderBytes + below(b.size() - kHeaderBytes);
        b[at] = uint8_t(next());
        break;
      }
    }
    return b;
  }
};
