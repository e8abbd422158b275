#include "scenario/battle_summary.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <thread>
#include <utility>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "scenario/battle_format.h"
#include "scenario/battle_place.h"
#include "scenario/battle_read.h"
#include "scenario/battle_write.h"
#include "tests/support/battle_fixture.h"
#include "tests/support/battle_mutator.h"
#include "tests/support/temp_folder.h"

namespace {

// ---- Summary read through a small buffer --------------------------------------------------

// Odd and refused files as the tests make them, by name.
std::vector<std::pair<std::string, std::vector<uint8_t>>> SummaryCases() {
  std::vector<std::pair<std::string, std::vector<uint8_t>>> cases;
  const BattleFixture clean = CleanScenario();
  cases.push_back({"clean", clean.bytes()});
  BattleFixture odd = clean;  // unsorted, two on a hex, records outside the range
  std::reverse(odd.units.begin(), odd.units.end());
  odd.units.push_back(MakeUnit(odd.units[1].position, 5, 5));
  odd.units.push_back(MakeUnit(Pos(0, 0), 1, 1));
  odd.buildings.push_back(MakeBuilding(Pos(39, 29), 4));
  odd.buildings.push_back(MakeBuilding(odd.buildings[0].position, 7));
  cases.push_back({"odd", odd.bytes()});
  BattleFixture empty = clean;  // an empty range: every record lies outside it
  empty.header.rangeHeight = 0;
  empty.owners.clear();
  cases.push_back({"empty range", empty.bytes()});
  BattleFixture beyond = clean;  // a range wholly outside the world: the whole world is offered
  beyond.header.originX = 100;
  cases.push_back({"range beyond the world", beyond.bytes()});
  BattleFixture tall = clean;  // a range the world cuts
  tall.header.originY = 0;
  tall.header.rangeHeight = 40;
  tall.owners.assign(size_t(tall.header.rangeWidth) * 40, 0);
  cases.push_back({"range taller than the world", tall.bytes()});
  // More records than one read holds, on a 300 x 60 world: each on a hex of its own, so a
  // record missed anywhere changes the counts.
  BattleFixture wide = clean;
  wide.header.originX = wide.header.originY = 0;
  wide.header.rangeWidth = 300;
  wide.header.rangeHeight = 60;
  wide.owners.assign(300 * 60, 0);
  for (int i = 0; i < 15000; ++i) {
    wide.units.push_back(MakeUnit(uint16_t(i), 1, 1));
    wide.buildings.push_back(MakeBuilding(uint16_t(17999 - i), 3));
  }
  cases.push_back({"wide", wide.bytes()});
  BattleFixture longTail = clean;
  longTail.tail.assign(kMaxTail + 1, 7);
  cases.push_back({"tail too long", longTail.bytes()});
  BattleFixture badCount = clean;
  badCount.header.rangeWidth = 501;
  cases.push_back({"bad header count", badCount.bytes()});
  const std::vector<uint8_t> whole = clean.bytes();
  BattleImage image;
  EXPECT_TRUE(ParseBattleFile(whole, "t", image).ok());
  for (size_t edge : {size_t(0), kHeaderBytes, image.layout.ownersAt, image.layout.buildingsAt,
                      image.layout.unitsAt, image.layout.generalsAt, image.layout.tailAt})
    for (size_t n = edge >= 2 ? edge - 2 : 0; n <= edge + 2; ++n)
      cases.push_back({"cut at " + std::to_string(n), {whole.begin(), whole.begin() + n}});
  for (const std::string name : {"demo_small", "demo_large", "demo_messy"}) {
    const std::vector<uint8_t>& bytes = DemoBattleBytes(name);
    cases.push_back({name, bytes});
    Mutator m{0x51ED270B27ull ^ bytes.size()};
    for (int round = 0; round < 40; ++round)
      cases.push_back({name + " variant " + std::to_string(round), m.mutate(bytes)});
  }
  return cases;
}

// What info reads through a small buffer is what the whole-file reader gives, refusals
// included, and the counts a save would keep are the ones placing the file gives.
TEST(BattleSummary, AgreesWithTheWholeFileReaderAndWithPlacing) {
  TempFolder dir{"btl_test_summary"};
  const std::string path = dir.Utf8() + "/概要.btl";
  int accepted = 0, counted = 0;
  for (const auto& [name, bytes] : SummaryCases()) {
    static const WorldImage wideWorld = MakeWorld(300, 60);
    const WorldImage& world = name.rfind("demo", 0) == 0 ? DemoWorldImage()
                              : name == "wide"           ? wideWorld
                                                         : World40x30();
    WriteFileBytes(path, bytes);
    BattleImage image;
    BattleSummary summary;
    const Status read = ReadBattleFile(path, image);
    const Status summarised = SummariseBattleFile(path, summary);
    ASSERT_EQ(summarised.kind, read.kind) << name;
    ASSERT_EQ(summarised.message, read.message) << name;
    if (!read.ok()) continue;
    accepted++;
    const BattleLayout& l = summary.layout;
    EXPECT_EQ(memcmp(&l.header, &image.layout.header, sizeof l.header), 0) << name;
    EXPECT_EQ(summary.name, image.name) << name;
    EXPECT_EQ(l.size, image.bytes.size()) << name;
    EXPECT_EQ(
        std::vector<size_t>(
            {l.teamsAt, l.ownersAt, l.buildingsAt, l.unitsAt, l.generalsAt, l.tailAt}),
        std::vector<size_t>({image.layout.teamsAt, image.layout.ownersAt, image.layout.buildingsAt,
                             image.layout.unitsAt, image.layout.generalsAt, image.layout.tailAt}))
        << name;
    EXPECT_EQ(summary.teams, std::vector<uint8_t>(image.bytes.begin() + image.layout.teamsAt,
                                                  image.bytes.begin() + image.layout.ownersAt))
        << name;
    ASSERT_EQ(summary.generals.size() * sizeof(GeneralEntry),
              image.layout.tailAt - image.layout.generalsAt);
    EXPECT_TRUE(summary.generals.empty() ||
                memcmp(summary.generals.data(), image.bytes.data() + image.layout.generalsAt,
                       image.layout.tailAt - image.layout.generalsAt) == 0)
        << name;
    EXPECT_EQ(summary.tailSize(), image.tailSize()) << name;
    // The summary of the file read whole (btl info on a pipe) is the buffered one, field by field.
    BattleSummary ofImage;
    SummariseBattleImage(image, ofImage);
    const BattleLayout& il = ofImage.layout;
    EXPECT_EQ(ofImage.name, summary.name) << name;
    EXPECT_EQ(memcmp(&il.header, &l.header, sizeof l.header), 0) << name;
    EXPECT_EQ(std::vector<size_t>({il.size, il.teamsAt, il.ownersAt, il.buildingsAt, il.unitsAt,
                                   il.generalsAt, il.tailAt}),
              std::vector<size_t>({l.size, l.teamsAt, l.ownersAt, l.buildingsAt, l.unitsAt,
                                   l.generalsAt, l.tailAt}))
        << name;
    EXPECT_EQ(ofImage.teams, summary.teams) << name;
    ASSERT_EQ(ofImage.generals.size(), summary.generals.size()) << name;
    EXPECT_TRUE(summary.generals.empty() ||
                memcmp(ofImage.generals.data(), summary.generals.data(),
                       summary.generals.size() * sizeof(GeneralEntry)) == 0)
        << name;
    EXPECT_EQ(ofImage.occupied.buildings, summary.occupied.buildings) << name;
    EXPECT_EQ(ofImage.occupied.units, summary.occupied.units) << name;
    const MapRange f = image.fileRange();
    for (const MapRange& range : {InitialRange(f, world), MapRange{1, 2, 9, 7}}) {
      if (!CheckRange(range, world.width, world.height).ok()) continue;
      const KeptRecords kept = CountKeptRecords(summary.occupied, world.width, range);
      ASSERT_TRUE(CommitScenario(image, world, range).ok()) << name;
      EXPECT_EQ(kept.buildings, CountBuildings()) << name;
      EXPECT_EQ(kept.units, CountUnits()) << name;
      counted++;
    }
  }
  // The table must reach the comparisons, not only the refusals.
  EXPECT_GT(accepted, 60);
  EXPECT_GT(counted, 100);

  // Files that are not there or larger than any valid one.
  FILE* f = OpenFile(path, "wb");
  ASSERT_NE(f, nullptr);
  fseek(f, long(kMaxBattleFileBytes), SEEK_SET);
  fputc(0, f);
  fclose(f);
  for (const std::string& file : {path, dir.Utf8() + "/无此文件.btl"}) {
    BattleImage image;
    BattleSummary summary;
    const Status read = ReadBattleFile(file, image);
    const Status summarised = SummariseBattleFile(file, summary);
    EXPECT_NE(read.kind, FailureKind::kNone) << file;
    EXPECT_EQ(summarised.kind, read.kind) << file;
    EXPECT_EQ(summarised.message, read.message) << file;
  }
}

}  // namespace

#ifndef _WIN32
// A pipe has no size to lay the sections out by: it is read whole and summarised the same as
// the file, refusals included.
TEST(BattleSummary, PipeIsSummarisedAsTheFileHoldingItsBytes) {
  TempFolder dir{"btl_test_summary_pipe"};
  const std::string file = dir.Utf8() + "/文件.btl", pipe = dir.Utf8() + "/管道";
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  int compared = 0;
  for (const auto& [name, bytes] : SummaryCases()) {
    WriteFileBytes(file, bytes);
    std::thread writer([&, &bytes = bytes] {
      FILE* w = fopen(pipe.c_str(), "wb");
      if (!w) return;
      if (!bytes.empty()) fwrite(bytes.data(), 1, bytes.size(), w);
      fclose(w);
    });
    BattleSummary fromFile, fromPipe;
    const Status read = SummariseBattleFile(file, fromFile);
    Status piped = SummariseBattleFile(pipe, fromPipe);
    writer.join();
    ASSERT_EQ(piped.kind, read.kind) << name;
    if (!read.ok()) continue;
    const BattleLayout &a = fromFile.layout, &b = fromPipe.layout;
    EXPECT_EQ(std::vector<size_t>({a.size, a.teamsAt, a.ownersAt, a.buildingsAt, a.unitsAt,
                                   a.generalsAt, a.tailAt}),
              std::vector<size_t>({b.size, b.teamsAt, b.ownersAt, b.buildingsAt, b.unitsAt,
                                   b.generalsAt, b.tailAt}))
        << name;
    EXPECT_EQ(memcmp(&a.header, &b.header, sizeof a.header), 0) << name;
    EXPECT_EQ(fromFile.teams, fromPipe.teams) << name;
    EXPECT_EQ(fromFile.generals.size(), fromPipe.generals.size()) << name;
    EXPECT_TRUE(fromFile.generals.empty() ||
                memcmp(fromFile.generals.data(), fromPipe.generals.data(),
                       fromFile.generals.size() * sizeof(GeneralEntry)) == 0)
        << name;
    EXPECT_TRUE(fromFile.occupied.buildings == fromPipe.occupied.buildings) << name;
    EXPECT_TRUE(fromFile.occupied.units == fromPipe.occupied.units) << name;
    compared++;
  }
  EXPECT_GT(compared, 60);
}
#endif
