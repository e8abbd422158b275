#include "scenario/battle_read.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "scenario/battle_format.h"
#include "scenario/battle_place.h"
#include "scenario/battle_write.h"
#include "tests/support/allocation_probe.h"
#include "tests/support/battle_fixture.h"
#include "tests/support/battle_mutator.h"
#include "tests/support/temp_folder.h"
#include "tools/demo_data/png_writer.h"

namespace {

// ---- Bad files ------------------------------------------------------------------------

Status Parse(const std::vector<uint8_t>& bytes) {
  BattleImage image;
  return ParseBattleFile(bytes, "坏.btl", image);
}

TEST(BattleBadFiles, EveryTruncationIsRefusedWithTheFileNamed) {
  std::vector<uint8_t> bytes = CleanScenario().bytes();
  size_t tailAt = bytes.size() - CleanScenario().tail.size();
  for (size_t n = 0; n < tailAt; ++n) {
    Status s = Parse(std::vector<uint8_t>(bytes.begin(), bytes.begin() + n));
    ASSERT_EQ(s.kind, FailureKind::kTruncated) << n << s.message;
    EXPECT_NE(s.message.find("坏.btl"), std::string::npos) << s.message;
  }
  // Cutting into the tail only shortens the tail.
  BattleImage image;
  ASSERT_TRUE(
      ParseBattleFile(std::vector<uint8_t>(bytes.begin(), bytes.begin() + tailAt + 5), "t", image)
          .ok());
  EXPECT_EQ(image.tailSize(), 5u);
}

TEST(BattleBadFiles, ShortFileNamesTheHeaderSize) {
  Status s = Parse(std::vector<uint8_t>(100, 0));
  EXPECT_EQ(s.kind, FailureKind::kTruncated) << s.message;
  EXPECT_NE(s.message.find("116"), std::string::npos) << s.message;
}

TEST(BattleBadFiles, CountsOutsideTheirCapacitiesAreRefused) {
  struct Case {
    int32_t BtlHeader::*field;
    int32_t value;
    bool ok;
  } cases[] = {
      {&BtlHeader::teamCount, -1, false},
      {&BtlHeader::teamCount, 256, false},
      {&BtlHeader::buildingCount, -1, false},
      {&BtlHeader::buildingCount, 100001, false},
      {&BtlHeader::unitCount, -5, false},
      {&BtlHeader::unitCount, 1000001, false},
      {&BtlHeader::generalCount, int32_t(0x80000000), false},
      {&BtlHeader::generalCount, 100001, false},
      {&BtlHeader::rangeWidth, -1, false},
      {&BtlHeader::rangeHeight, 501, false},
      {&BtlHeader::unitCount, -1, false},
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> bytes = CleanScenario().bytes();
    BtlHeader h;
    memcpy(&h, bytes.data(), sizeof h);
    h.*c.field = c.value;
    memcpy(bytes.data(), &h, sizeof h);
    Status s = Parse(bytes);
    EXPECT_EQ(s.ok(), c.ok) << c.value;
    if (!c.ok) {
      EXPECT_EQ(s.kind, FailureKind::kBadValue) << c.value << s.message;
    }
  }
}

// What is no battle file at all (a text or a picture renamed, a file cut inside its header)
// is called so on the first line, with the detail on the second; a file cut after its
// header is an incomplete battle file, not that.
TEST(BattleBadFiles, TextPicturesAndHeadersCutShortAreNoBattleFiles) {
  const std::string first = "“坏.btl”不是战役文件，或已损坏。\n";
  auto refusedAsNoBattleFile = [&](const std::vector<uint8_t>& bytes) {
    Status s = Parse(bytes);
    if (s.ok() || s.message.compare(0, first.size(), first) != 0) return false;
    const std::string detail = s.message.substr(first.size());
    return !detail.empty() && detail.find('\n') == std::string::npos;
  };
  const std::string text =
      "这是一个文本文件，被改名成了 .btl。\r\nThis is a text file renamed to .btl, long enough "
      "to fill a whole header and some sections after it.\r\n";
  EXPECT_TRUE(refusedAsNoBattleFile(std::vector<uint8_t>(text.begin(), text.end())));
  std::vector<uint32_t> pixels(64 * 64);
  for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = PngRgba(uint8_t(i), uint8_t(i * 7), 3);
  const std::string png = EncodePng(64, 64, pixels.data());
  ASSERT_GT(png.size(), kHeaderBytes);
  EXPECT_TRUE(refusedAsNoBattleFile(std::vector<uint8_t>(png.begin(), png.end())));
  Status s = Parse(std::vector<uint8_t>(text.begin(), text.end()));
  EXPECT_NE(s.message.find("无效"), std::string::npos) << s.message;

  const std::vector<uint8_t> bytes = CleanScenario().bytes();
  for (size_t n = 0; n < bytes.size(); ++n) {
    const std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + n);
    EXPECT_EQ(refusedAsNoBattleFile(cut), n < kHeaderBytes) << n << Parse(cut).message;
  }
  EXPECT_TRUE(Parse(bytes).ok());
}

TEST(BattleBadFiles, CountsAtTheCapacityNeedTheirBytes) {
  BattleFixture scenario;
  scenario.header.rangeWidth = 0;
  scenario.teams.assign(255, MakeTeam(1, 1, 2, 3));
  EXPECT_TRUE(Parse(scenario.bytes()).ok());
  std::vector<uint8_t> bytes = scenario.bytes();
  BtlHeader h;
  memcpy(&h, bytes.data(), sizeof h);
  h.unitCount = kMaxUnits;  // announced, not there
  memcpy(bytes.data(), &h, sizeof h);
  Status s = Parse(bytes);
  ASSERT_EQ(s.kind, FailureKind::kTruncated) << s.message;
  EXPECT_NE(s.message.find("部队数据"), std::string::npos) << s.message;
}

TEST(BattleBadFiles, TooLongATailIsRefused) {
  BattleFixture scenario = CleanScenario();
  scenario.tail.assign(kMaxTail, 7);
  EXPECT_TRUE(Parse(scenario.bytes()).ok());
  scenario.tail.push_back(7);
  EXPECT_EQ(Parse(scenario.bytes()).kind, FailureKind::kTooLarge);
}

TEST(BattleBadFiles, MissingFileIsReported) {
  BattleImage image;
  TempFolder dir{"btl_test_missing"};
  Status s = ReadBattleFile(dir.Utf8() + "/无此文件.btl", image);
  EXPECT_EQ(s.kind, FailureKind::kCannotOpen) << s.message;
  EXPECT_NE(s.message.find("无此文件.btl"), std::string::npos);
}

TEST(BattleBadFiles, FileLargerThanAnyValidOneIsRefusedBeforeParsing) {
  TempFolder dir{"btl_test_large"};
  std::string folder = dir.Utf8();
  std::string path = folder + "/big.btl";
  FILE* f = fopen(path.c_str(), "wb");
  ASSERT_NE(f, nullptr);
  fseek(f, long(kMaxBattleFileBytes), SEEK_SET);
  fputc(0, f);
  fclose(f);
  BattleImage image;
  Status s = ReadBattleFile(path, image);
  EXPECT_EQ(s.kind, FailureKind::kTooLarge) << s.message;
}

// ---- Hostile files ----------------------------------------------------------------------

// Parses and places a file as the editor does, with the range first offered. False when
// the file is refused (the message must then name the file) or its range cannot be placed.
bool LoadIfAccepted(const std::vector<uint8_t>& bytes, const WorldImage& world) {
  BattleImage image;
  Status s = ParseBattleFile(bytes, "变异.btl", image);
  if (!s.ok()) {
    EXPECT_NE(s.message.find("变异.btl"), std::string::npos) << s.message;
    return false;
  }
  return CommitScenario(image, world, InitialRange(image.fileRange(), world)).ok();
}

// The property every accepted file must have: saved and read again, it gives the same
// record, and saving that gives the same bytes.
void ExpectSaveAndReloadGiveTheSameRecord(const std::vector<uint8_t>& bytes,
                                          const WorldImage& world, const std::string& what) {
  if (!LoadIfAccepted(bytes, world)) return;
  std::vector<uint8_t> record = RecordSnapshot();
  std::vector<uint8_t> saved;
  ASSERT_TRUE(BuildBattleBytes(saved).ok()) << what;
  ASSERT_TRUE(LoadIfAccepted(saved, world)) << what;
  EXPECT_EQ(RecordSnapshot(), record) << what;
  std::vector<uint8_t> again;
  ASSERT_TRUE(BuildBattleBytes(again).ok()) << what;
  EXPECT_EQ(again, saved) << what;
}

TEST(BattleHostileFiles, AcceptedDemoFilesAndTheirVariantsSaveAndReloadToTheSameRecord) {
  const WorldImage& world = DemoWorldImage();
  int accepted = 0;
  for (const std::string name : {"demo_small", "demo_large", "demo_messy"}) {
    const std::vector<uint8_t>& bytes = DemoBattleBytes(name);
    ASSERT_TRUE(LoadIfAccepted(bytes, world)) << name;
    ExpectSaveAndReloadGiveTheSameRecord(bytes, world, name);
    Mutator m{0x9E3779B97F4A7C15ull ^ bytes.size()};
    for (int round = 0; round < 150; ++round) {
      std::vector<uint8_t> variant = m.mutate(bytes);
      if (round % 3 == 2) variant = m.mutate(variant);
      accepted += LoadIfAccepted(variant, world);
      ExpectSaveAndReloadGiveTheSameRecord(variant, world,
                                           name + " variant " + std::to_string(round));
      if (HasFailure()) return;
    }
  }
  // The variants must reach the property, not only the refusals.
  EXPECT_GT(accepted, 100);
}

TEST(BattleHostileFiles, EveryTruncationOfADemoFileIsRefusedOrLoadsWhatIsThere) {
  const std::vector<uint8_t>& bytes = DemoBattleBytes("demo_small");
  BattleImage whole;
  ASSERT_TRUE(ParseBattleFile(bytes, "t", whole).ok());
  for (size_t n = 0; n < bytes.size(); ++n) {
    BattleImage image;
    Status s =
        ParseBattleFile(std::vector<uint8_t>(bytes.begin(), bytes.begin() + n), "截断.btl", image);
    if (n < whole.layout.tailAt) {
      ASSERT_EQ(s.kind, FailureKind::kTruncated) << n << s.message;
      // The message says where the file ends.
      if (n >= kHeaderBytes) {
        EXPECT_NE(s.message.find("第 " + std::to_string(n) + " 字节"), std::string::npos)
            << s.message;
      }
    } else {
      ASSERT_TRUE(s.ok()) << n << s.message;
      EXPECT_EQ(image.tailSize(), n - whole.layout.tailAt);
    }
  }
}

TEST(BattleHostileFiles, TruncationsAtTheSectionEdgesOfTheLargeDemoFile) {
  const std::vector<uint8_t>& bytes = DemoBattleBytes("demo_large");
  BattleImage whole;
  ASSERT_TRUE(ParseBattleFile(bytes, "t", whole).ok());
  for (size_t edge : {kHeaderBytes, whole.layout.ownersAt, whole.layout.buildingsAt,
                      whole.layout.unitsAt, whole.layout.generalsAt, whole.layout.tailAt})
    for (size_t n = edge - 3; n <= edge + 3 && n <= bytes.size(); ++n) {
      BattleImage image;
      Status s =
          ParseBattleFile(std::vector<uint8_t>(bytes.begin(), bytes.begin() + n), "t", image);
      EXPECT_EQ(s.kind, n >= whole.layout.tailAt ? FailureKind::kNone : FailureKind::kTruncated)
          << n;
    }
}

// Each count field at 0, 1, its capacity, one past it and 0xFFFFFFFF, on a demo file: a
// refusal that names the field or the section short of bytes, or a load that survives the
// round trip. Reading never asks for more memory than the file's own size justifies.
TEST(BattleHostileFiles, EveryCountFieldAtItsEdgesIsRefusedOrLoadsCleanly) {
  struct Field {
    size_t offset;
    int32_t capacity;
    const char* name;     // in the refusal of an impossible count
    const char* section;  // in the refusal of a count the file has no bytes for
  } fields[] = {
      {offsetof(BtlHeader, rangeWidth), kMaxGrid, "地图范围宽度", "归属地图"},
      {offsetof(BtlHeader, rangeHeight), kMaxGrid, "地图范围高度", "归属地图"},
      {offsetof(BtlHeader, teamCount), kMaxTeams, "军团数", "军团数据"},
      {offsetof(BtlHeader, buildingCount), kMaxBuildings, "建筑数", "建筑数据"},
      {offsetof(BtlHeader, unitCount), kMaxUnits, "部队数", "部队数据"},
      {offsetof(BtlHeader, generalCount), kMaxGenerals, "将军数", "将军数据"},
  };
  const WorldImage& world = DemoWorldImage();
  for (const char* demo : {"demo_small", "demo_messy"})
    for (const Field& f : fields)
      for (int64_t value : {int64_t(0), int64_t(1), int64_t(f.capacity), int64_t(f.capacity) + 1,
                            int64_t(0xFFFFFFFF)}) {
        std::vector<uint8_t> bytes = DemoBattleBytes(demo);
        int32_t v = int32_t(uint32_t(value));
        memcpy(bytes.data() + f.offset, &v, 4);
        const std::string what = std::string(demo) + " " + f.name + " = " + std::to_string(value);
        BattleImage image;
        Status s;
        size_t largest;
        {
          AllocationProbe probe;
          s = ParseBattleFile(bytes, "计数.btl", image);
          largest = probe.largest();
        }
        EXPECT_LE(largest, 2 * bytes.size() + 4096) << what;
        if (value > f.capacity) {
          ASSERT_EQ(s.kind, FailureKind::kBadValue) << what << s.message;
          EXPECT_NE(s.message.find(f.name), std::string::npos) << s.message;
          continue;
        }
        if (!s.ok()) {
          // Short of the section's bytes, or a tail beyond its limit after the sections.
          EXPECT_TRUE((s.kind == FailureKind::kTruncated &&
                       s.message.find(f.section) != std::string::npos) ||
                      s.kind == FailureKind::kTooLarge)
              << s.message;
          continue;
        }
        ExpectSaveAndReloadGiveTheSameRecord(bytes, world, what);
      }
}

TEST(BattleHostileFiles, ReadingAFileAsksForNoMoreThanItsSize) {
  // A header that announces every section at its capacity over a body of a few bytes.
  BattleFixture scenario;
  std::vector<uint8_t> bytes = scenario.bytes();
  BtlHeader h;
  memcpy(&h, bytes.data(), sizeof h);
  h.rangeWidth = h.rangeHeight = kMaxGrid;
  h.teamCount = kMaxTeams;
  h.buildingCount = kMaxBuildings;
  h.unitCount = kMaxUnits;
  h.generalCount = kMaxGenerals;
  memcpy(bytes.data(), &h, sizeof h);
  bytes.resize(bytes.size() + 40, 0);
  TempFolder dir{"btl_test_claims"};
  std::string path = dir.Utf8() + "/claims.btl";
  WriteFileBytes(path, bytes);
  AllocationProbe probe;
  BattleImage image;
  Status s = ReadBattleFile(path, image);
  EXPECT_EQ(s.kind, FailureKind::kTruncated) << s.message;
  EXPECT_LT(probe.total(), 256u * 1024) << "asked for " << probe.total() << " bytes";
}

}  // namespace
