#include "scenario/world_map.h"

#include <gtest/gtest.h>

#include <cstring>

#include "tests/support/battle_fixture.h"
#include "tests/support/temp_folder.h"

namespace {

// ---- World map ------------------------------------------------------------------------

Status ParseWorld(const std::vector<uint8_t>& bytes, WorldImage& out) {
  return ParseWorldMap(bytes.data(), bytes.size(), "world.bin", out);
}

TEST(WorldMap, RecordsGoRowByRowAndTrailingBytesAreIgnored) {
  WorldImage w = MakeWorld(7, 3);
  std::vector<uint8_t> bytes = WorldFileBytes(w);
  bytes.insert(bytes.end(), 50, 0xCC);
  WorldImage read;
  ASSERT_TRUE(ParseWorld(bytes, read).ok());
  EXPECT_EQ(read.width, 7);
  EXPECT_EQ(read.height, 3);
  EXPECT_EQ(read.at(5, 2).terrain, (5 + 2) % 20);
  EXPECT_EQ(read.at(5, 2).keep[0], uint8_t(5 * 7 + 2 * 3));
  CommitWorldMap(read);
  EXPECT_EQ(g_world.world[5][2].keep[0], uint8_t(5 * 7 + 2 * 3));
}

TEST(WorldMap, BadSizesAndShortFilesAreRefused) {
  WorldImage out;
  for (int32_t size : {0, -1, 501}) {
    WorldImage w = MakeWorld(2, 2);
    std::vector<uint8_t> bytes = WorldFileBytes(w);
    memcpy(&bytes[8], &size, 4);
    EXPECT_EQ(ParseWorld(bytes, out).kind, FailureKind::kBadValue) << size;
    memcpy(&bytes[8], &w.width, 4);
    memcpy(&bytes[12], &size, 4);
    EXPECT_EQ(ParseWorld(bytes, out).kind, FailureKind::kBadValue) << size;
  }
  std::vector<uint8_t> bytes = WorldFileBytes(MakeWorld(500, 500));
  EXPECT_TRUE(ParseWorld(bytes, out).ok());
  for (size_t n : {size_t(0), size_t(15), bytes.size() - 1}) {
    Status s = ParseWorld(std::vector<uint8_t>(bytes.begin(), bytes.begin() + n), out);
    EXPECT_EQ(s.kind, FailureKind::kTruncated) << n;
    EXPECT_NE(s.message.find("world.bin"), std::string::npos);
  }
}

TEST(WorldMap, MissingFileIsReportedAndLeavesTheRecord) {
  g_world.worldWidth = 123;
  WorldImage out;
  TempFolder dir{"btl_test_world"};
  Status s = ReadWorldMapFile(dir.Utf8() + "/world.bin", out);
  EXPECT_EQ(s.kind, FailureKind::kCannotOpen) << s.message;
  EXPECT_EQ(g_world.worldWidth, 123);
}

}  // namespace
