// The world map file "数据\world.bin": 8 bytes not read, int32 width, int32 height, then
// width x height 12-byte WorldInfo records row by row. Anything after them is ignored.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/status.h"
#include "scenario/world_record.h"

constexpr size_t kWorldHeaderBytes = 16;

// A checked copy of the file: width and height are 1..500 and the records are all there.
struct WorldImage {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<WorldInfo> records;  // row by row

  const WorldInfo& at(int column, int row) const { return records[size_t(row) * width + column]; }
};

// "数据\world.bin".
std::string WorldMapPath();

// Checks and copies a world map held in memory. `name` is used in messages.
Status ParseWorldMap(const uint8_t* data, size_t size, const std::string& name, WorldImage& out);
Status ReadWorldMapFile(const std::string& path, WorldImage& out);

// Puts the world map into the world record: worldWidth, worldHeight and world.
void CommitWorldMap(const WorldImage& image);

// Reads the data folder's world map straight into the world record; on failure the record
// is left as it was.
Status ReadWorldMap();
