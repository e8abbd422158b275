// Writes the files tests/bench/companion_bench.sh times into a folder:
//   largest.btl   the largest 16-bit scenario (see largest_scenario.h)
//   random.btl    the same header and sections with random owners, building, unit and
//                 general records (what a damaged or foreign file may hold: a finding of
//                 some kind on nearly every record)
//   world.bin     its 256 x 256 world map
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "scenario/battle_format.h"
#include "tests/bench/largest_scenario.h"

namespace {

bool Write(const std::string& path, const std::vector<uint8_t>& bytes) {
  FILE* f = fopen(path.c_str(), "wb");
  if (!f) return false;
  bool ok = fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return fclose(f) == 0 && ok;
}

// The largest scenario with every byte after the teams random, from a fixed seed so that
// every run measures the same file.
std::vector<uint8_t> RandomRecordsBytes() {
  std::vector<uint8_t> bytes = LargestScenarioBytes();
  BtlHeader h;
  memcpy(&h, bytes.data(), sizeof h);
  const size_t from = kHeaderBytes + size_t(h.teamCount) * kTeamFileBytes;
  const size_t to = bytes.size() - kMaxTail;
  std::mt19937 random(24);
  for (size_t at = from; at < to; ++at) bytes[at] = uint8_t(random());
  return bytes;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    fprintf(stderr, "usage: make_bench_files FOLDER\n");
    return 2;
  }
  const std::string folder = argv[1];
  if (!Write(folder + "/largest.btl", LargestScenarioBytes()) ||
      !Write(folder + "/random.btl", RandomRecordsBytes()) ||
      !Write(folder + "/world.bin", SquareWorldBytes(256))) {
    fprintf(stderr, "make_bench_files: cannot write into %s\n", folder.c_str());
    return 1;
  }
  return 0;
}
