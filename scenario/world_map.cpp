#include "scenario/world_map.h"

#include <cstring>

#include "base/byte_reader.h"
#include "base/files.h"

std::string WorldMapPath() { return DataPath("world.bin"); }

Status ParseWorldMap(const uint8_t* data, size_t size, const std::string& name, WorldImage& out) {
  const std::string file = "世界地图文件" + Quoted(name);
  ByteReader in(data, size);
  int32_t width = 0, height = 0;
  if (!in.take(8) || !in.readI32(width) || !in.readI32(height))
    return Fail(FailureKind::kTruncated,
                file + "太短：只有 " + std::to_string(size) + " 字节，文件头需要 16 字节。");
  if (width < 1 || width > kMaxGrid || height < 1 || height > kMaxGrid)
    return Fail(FailureKind::kBadValue, file + "的尺寸 " + std::to_string(width) + " × " +
                                            std::to_string(height) +
                                            " 无效：宽和高都应在 1 到 500 之间。");
  size_t need = size_t(width) * size_t(height) * sizeof(WorldInfo);
  const uint8_t* records = in.take(need);
  if (!records)
    return Fail(FailureKind::kTruncated, file + "在第 " + std::to_string(size) + " 字节处截断：" +
                                             std::to_string(width) + " × " +
                                             std::to_string(height) + " 个格子需要 " +
                                             std::to_string(kWorldHeaderBytes + need) + " 字节。");
  out.width = width;
  out.height = height;
  out.records.resize(size_t(width) * height);
  memcpy(out.records.data(), records, need);
  return Ok();
}

Status ReadWorldMapFile(const std::string& path, WorldImage& out) {
  // Only the header and at most 500 x 500 records are ever read.
  constexpr size_t kLimit = kWorldHeaderBytes + size_t(kMaxGrid) * kMaxGrid * sizeof(WorldInfo);
  std::string bytes;
  bool more = false;
  if (!ReadFilePrefix(path, kLimit, bytes, more))
    return Fail(FailureKind::kCannotOpen,
                "无法打开世界地图文件" + Quoted(path) + "。请确认游戏数据文件夹完整。");
  return ParseWorldMap(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), path, out);
}

void CommitWorldMap(const WorldImage& image) {
  g_world.worldWidth = image.width;
  g_world.worldHeight = image.height;
  // Column by column, as the record lies in memory.
  for (int column = 0; column < image.width; ++column)
    for (int row = 0; row < image.height; ++row) g_world.world[column][row] = image.at(column, row);
}

Status ReadWorldMap() {
  WorldImage image;
  Status s = ReadWorldMapFile(WorldMapPath(), image);
  if (s.ok()) CommitWorldMap(image);
  return s;
}
