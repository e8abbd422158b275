// Fuzz target: the world map reader.
#include <cstdint>
#include <cstdlib>

#include "scenario/world_map.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  WorldImage image;
  if (!ParseWorldMap(data, size, "world.bin", image).ok()) return 0;
  if (image.width < 1 || image.width > kMaxGrid || image.height < 1 || image.height > kMaxGrid ||
      image.records.size() != size_t(image.width) * image.height)
    abort();
  CommitWorldMap(image);
  return 0;
}
