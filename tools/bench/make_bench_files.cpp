// Writes the files tools/bench/companion_bench.sh times into a folder:
//   largest.btl   the largest 16-bit scenario (see largest_scenario.h)
//   world.bin     its 256 x 256 world map
#include <cstdio>
#include <string>
#include <vector>

#include "tools/bench/largest_scenario.h"

namespace {

bool Write(const std::string& path, const std::vector<uint8_t>& bytes) {
  FILE* f = fopen(path.c_str(), "wb");
  if (!f) return false;
  bool ok = fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return fclose(f) == 0 && ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    fprintf(stderr, "usage: make_bench_files FOLDER\n");
    return 2;
  }
  const std::string folder = argv[1];
  if (!Write(folder + "/largest.btl", LargestScenarioBytes()) ||
      !Write(folder + "/world.bin", SquareWorldBytes(256))) {
    fprintf(stderr, "make_bench_files: cannot write into %s\n", folder.c_str());
    return 1;
  }
  return 0;
}
