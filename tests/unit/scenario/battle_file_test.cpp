#include "scenario/battle_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <map>
#include <thread>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "tests/support/allocation_probe.h"
#include "tests/support/battle_fixture.h"
#include "tests/support/battle_mutator.h"
#include "tests/support/temp_folder.h"
#include "tools/demo_data/png_writer.h"

namespace {

const WorldImage& World40x30() {
  static WorldImage w = MakeWorld(40, 30);
  return w;
}

uint16_t Pos(int gx, int gy, int worldWidth = 40) { return uint16_t(gy * worldWidth + gx); }

// ---- Round trips ----------------------------------------------------------------------

TEST(BattleRoundTrip, CleanFileComesBackByteForByte) {
  std::vector<uint8_t> bytes = CleanScenario().bytes();
  LoadForTest(bytes, World40x30());
  EXPECT_EQ(SaveForTest(), bytes);
  // A second save of the same record is the same again.
  EXPECT_EQ(SaveForTest(), bytes);
}

TEST(BattleRoundTrip, AlphaBytesBecome255AndNothingElseChanges) {
  BattleFixture scenario = CleanScenario();
  scenario.teams[1].fileColour[3] = 0;
  scenario.teams[2].fileColour[3] = 17;
  std::vector<uint8_t> bytes = scenario.bytes();
  LoadForTest(bytes, World40x30());
  std::vector<uint8_t> saved = SaveForTest();
  ASSERT_EQ(saved.size(), bytes.size());
  for (size_t i = 0; i < bytes.size(); ++i) {
    bool alpha = i >= kHeaderBytes && i < kHeaderBytes + 3 * kTeamFileBytes &&
                 (i - kHeaderBytes) % kTeamFileBytes == 43;
    if (alpha)
      EXPECT_EQ(saved[i], 255) << i;
    else
      EXPECT_EQ(saved[i], bytes[i]) << i;
  }
}

TEST(BattleRoundTrip, ColourIsBuiltFromRedGreenBlue) {
  LoadForTest(CleanScenario().bytes(), World40x30());
  EXPECT_EQ(g_world.teams[0].colour, 200u | 10u << 8 | 10u << 16);
  EXPECT_EQ(g_world.teams[2].colour, 10u | 10u << 8 | 200u << 16);
  EXPECT_EQ(g_world.teams[kUnownedTeam].colour, 0xFFFFFFu);
  // A colour chosen in the editor goes back as red, green, blue.
  g_world.teams[1].colour = 0x00123456;
  std::vector<uint8_t> saved = SaveForTest();
  const uint8_t* c = &saved[kHeaderBytes + kTeamFileBytes + 40];
  EXPECT_EQ(c[0], 0x56);
  EXPECT_EQ(c[1], 0x34);
  EXPECT_EQ(c[2], 0x12);
  EXPECT_EQ(c[3], 0xFF);
}

TEST(BattleRoundTrip, RecordsAreWrittenInRowMajorOrder) {
  BattleFixture scenario = CleanScenario();
  std::vector<uint8_t> sorted = scenario.bytes();
  std::swap(scenario.units[0], scenario.units[3]);
  std::swap(scenario.buildings[0], scenario.buildings[2]);
  LoadForTest(scenario.bytes(), World40x30());
  EXPECT_EQ(SaveForTest(), sorted);
}

TEST(BattleRoundTrip, LaterRecordOnTheSameHexWins) {
  BattleFixture scenario = CleanScenario();
  UnitRecord later = MakeUnit(scenario.units[1].position, 7, 4);
  scenario.units.push_back(later);
  PlacementReport report;
  LoadForTest(scenario.bytes(), World40x30(), nullptr, &report);
  EXPECT_EQ(report.unitsReplaced, 1);
  std::vector<uint8_t> saved = SaveForTest();
  BattleImage image;
  ASSERT_TRUE(ParseBattleFile(saved, "saved", image).ok());
  EXPECT_EQ(image.header.unitCount, 4);
  EXPECT_EQ(image.unit(1).unitClass, 7);
  EXPECT_EQ(image.unit(1).unitLevel, 4);
}

TEST(BattleRoundTrip, RecordsOutsideTheRangeAreDropped) {
  BattleFixture scenario = CleanScenario();
  scenario.units.push_back(MakeUnit(Pos(4, 4), 1, 1));    // one column left of the range
  scenario.units.push_back(MakeUnit(Pos(5, 9), 1, 1));    // one row below
  scenario.buildings.push_back(MakeBuilding(Pos(11, 4), 5));  // one column right
  scenario.buildings.push_back(MakeBuilding(65535, 5));   // beyond the world's rows
  PlacementReport report;
  LoadForTest(scenario.bytes(), World40x30(), nullptr, &report);
  EXPECT_EQ(report.unitsOutside, 2);
  EXPECT_EQ(report.buildingsOutside, 2);
  EXPECT_EQ(SaveForTest(), CleanScenario().bytes());
}

TEST(BattleRoundTrip, UnitWithoutClassIsKeptUntilItsHexIsNormalised) {
  BattleFixture scenario = CleanScenario();
  scenario.units[2].unitClass = 0;
  std::vector<uint8_t> bytes = scenario.bytes();
  LoadForTest(bytes, World40x30());
  EXPECT_EQ(g_world.grid[5][3].hasUnit, 1);
  EXPECT_EQ(SaveForTest(), bytes);
  NormaliseCell(5, 3);
  BattleImage image;
  ASSERT_TRUE(ParseBattleFile(SaveForTest(), "saved", image).ok());
  EXPECT_EQ(image.header.unitCount, 3);
}

TEST(BattleRoundTrip, EmptyGeneralsAndNoTailEndAfterTheUnits) {
  BattleFixture scenario = CleanScenario();
  scenario.generals.clear();
  scenario.tail.clear();
  scenario.units[0].general = 255;
  std::vector<uint8_t> bytes = scenario.bytes();
  LoadForTest(bytes, World40x30());
  std::vector<uint8_t> saved = SaveForTest();
  EXPECT_EQ(saved, bytes);
  EXPECT_EQ(saved.size(), kHeaderBytes + 3 * kTeamFileBytes + 30 + 3 * 20 + 4 * 28);
}

TEST(BattleRoundTrip, HexesWithoutUnitGetNoGeneral) {
  LoadForTest(CleanScenario().bytes(), World40x30());
  EXPECT_EQ(g_world.grid[1][1].hasUnit, 0);
  EXPECT_EQ(g_world.grid[1][1].unit.general, kNoGeneral);
  EXPECT_EQ(g_world.grid[0][0].unit.general, 0);
  EXPECT_EQ(g_world.generalCount, 2);
  EXPECT_EQ(g_world.generals[0].commander, 12);
  EXPECT_EQ(g_world.generals[0].rank, 3);
}

TEST(BattleRoundTrip, CellsCarryCoordinatesAndTheirWorldInfo) {
  LoadForTest(CleanScenario().bytes(), World40x30());
  const Cell& c = g_world.grid[2][3];
  EXPECT_EQ(c.globalX, 7);
  EXPECT_EQ(c.globalY, 7);
  EXPECT_EQ(memcmp(&c.worldInfo, &World40x30().at(7, 7), sizeof(WorldInfo)), 0);
  EXPECT_EQ(g_world.worldWidth, 40);
  EXPECT_EQ(memcmp(&g_world.world[39][29], &World40x30().at(39, 29), sizeof(WorldInfo)), 0);
}

TEST(BattleRoundTrip, OwnerNamingNoTeamIsKeptAndReported) {
  BattleFixture scenario = CleanScenario();
  scenario.owners[7] = 9;  // three teams only
  std::vector<uint8_t> bytes = scenario.bytes();
  PlacementReport report;
  LoadForTest(bytes, World40x30(), nullptr, &report);
  EXPECT_EQ(report.ownersNamingNoTeam, 1);
  EXPECT_EQ(SaveForTest(), bytes);
}

// ---- Other ranges ---------------------------------------------------------------------

TEST(BattleRanges, SmallerRangeDropsWhatLiesOutsideAndKeepsTeamsGeneralsTail) {
  BattleFixture scenario = CleanScenario();
  MapRange smaller{6, 5, 3, 3};  // local (1..3, 1..3) of the file's range
  PlacementReport report;
  LoadForTest(scenario.bytes(), World40x30(), &smaller, &report);
  EXPECT_EQ(report.ownersOutside, 30 - 9);
  // File hex (1, 1) is now local (0, 0); file (3, 1) holds a unit and is now local (2, 0).
  EXPECT_EQ(g_world.grid[0][0].owner, scenario.owners[1 * 6 + 1]);
  EXPECT_EQ(g_world.grid[2][0].hasUnit, 1);
  EXPECT_EQ(g_world.grid[2][0].unit.unitClass, 2);

  BattleImage saved;
  ASSERT_TRUE(ParseBattleFile(SaveForTest(), "saved", saved).ok());
  EXPECT_EQ(saved.header.originX, 6);
  EXPECT_EQ(saved.header.originY, 5);
  EXPECT_EQ(saved.header.rangeWidth, 3);
  EXPECT_EQ(saved.header.rangeHeight, 3);
  EXPECT_EQ(saved.header.unitCount, 1);
  EXPECT_EQ(saved.header.buildingCount, 0);
  EXPECT_EQ(saved.header.teamCount, 3);
  EXPECT_EQ(saved.header.generalCount, 2);
  ASSERT_EQ(saved.tailSize(), scenario.tail.size());
  EXPECT_EQ(memcmp(saved.bytes.data() + saved.tailAt, scenario.tail.data(), scenario.tail.size()), 0);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 3; ++x)
      EXPECT_EQ(saved.owner(x, y), scenario.owners[(y + 1) * 6 + x + 1]) << x << "," << y;
}

TEST(BattleRanges, LargerRangeAddsUnownedEmptyHexes) {
  BattleFixture scenario = CleanScenario();
  MapRange larger{3, 2, 10, 9};
  LoadForTest(scenario.bytes(), World40x30(), &larger);
  for (int y = 0; y < 9; ++y)
    for (int x = 0; x < 10; ++x) {
      const Cell& c = g_world.grid[x][y];
      bool inFile = x >= 2 && x < 8 && y >= 2 && y < 7;
      if (inFile)
        EXPECT_EQ(c.owner, scenario.owners[(y - 2) * 6 + (x - 2)]);
      else {
        EXPECT_EQ(c.owner, kUnownedTeam);
        EXPECT_EQ(c.hasUnit + c.hasBuilding, 0);
      }
    }
  BattleImage saved;
  ASSERT_TRUE(ParseBattleFile(SaveForTest(), "saved", saved).ok());
  EXPECT_EQ(saved.header.rangeWidth, 10);
  EXPECT_EQ(saved.header.rangeHeight, 9);
  EXPECT_EQ(saved.header.unitCount, 4);
  EXPECT_EQ(saved.header.buildingCount, 3);
  EXPECT_EQ(saved.owner(2, 2), scenario.owners[0]);
  // Records keep their positions, so a reload with the file's range gives the original.
  MapRange original{5, 4, 6, 5};
  LoadForTest(saved.bytes, World40x30(), &original);
  EXPECT_EQ(SaveForTest(), scenario.bytes());
}

TEST(BattleRanges, PositionOnA300WideWorldLandsOnColumnAndRow) {
  WorldImage world = MakeWorld(300, 4);
  BattleFixture scenario;
  scenario.header.originX = 0;
  scenario.header.originY = 0;
  scenario.header.rangeWidth = 4;
  scenario.header.rangeHeight = 3;
  scenario.owners.assign(12, 255);
  scenario.units = {MakeUnit(601, 1, 1)};
  LoadForTest(scenario.bytes(), world);
  EXPECT_EQ(g_world.grid[1][2].hasUnit, 1);
  EXPECT_EQ(CountUnits(), 1);
}

TEST(BattleRanges, InitialRangeIsTheFileRangeCutToTheWorld) {
  WorldImage world = MakeWorld(40, 30);
  MapRange r = InitialRange({5, 4, 6, 5}, world);
  EXPECT_EQ(r.originX, 5);
  EXPECT_EQ(r.width, 6);
  r = InitialRange({-3, 25, 10, 10}, world);
  EXPECT_EQ(r.originX, 0);
  EXPECT_EQ(r.width, 7);
  EXPECT_EQ(r.originY, 25);
  EXPECT_EQ(r.height, 5);
  r = InitialRange({100, 100, 5, 5}, world);  // wholly outside: the whole world
  EXPECT_EQ(r.width, 40);
  EXPECT_EQ(r.height, 30);
  r = InitialRange({2147483600, 0, 2000, 5}, world);
  EXPECT_EQ(r.width, 40);
}

TEST(BattleRanges, CheckRangeRefusesWhatCannotBePlacedOrSaved) {
  EXPECT_TRUE(CheckRange({0, 0, 40, 30}, 40, 30).ok());
  EXPECT_EQ(CheckRange({0, 0, 0, 5}, 40, 30).kind, FailureKind::kEmptyRange);
  EXPECT_EQ(CheckRange({-1, 0, 5, 5}, 40, 30).kind, FailureKind::kOutsideWorld);
  EXPECT_EQ(CheckRange({36, 0, 5, 5}, 40, 30).kind, FailureKind::kOutsideWorld);
  EXPECT_EQ(CheckRange({0, 0, 501, 5}, 600, 30).kind, FailureKind::kRangeTooLarge);
  EXPECT_TRUE(CheckRange({0, 0, 256, 256}, 256, 256).ok());
  EXPECT_EQ(CheckRange({0, 0, 300, 219}, 300, 300).kind,  // last index 65,699
            FailureKind::kBeyondPositions);
}

TEST(BattleRanges, RefusedRangeLeavesTheRecordAsItWas) {
  LoadForTest(CleanScenario().bytes(), World40x30());
  std::vector<uint8_t> before = SaveForTest();
  BattleImage other;
  BattleFixture scenario = CleanScenario();
  scenario.teams.pop_back();
  ASSERT_TRUE(ParseBattleFile(scenario.bytes(), "other", other).ok());
  EXPECT_EQ(CommitScenario(other, World40x30(), {30, 0, 20, 5}).kind, FailureKind::kOutsideWorld);
  EXPECT_EQ(g_world.teamCount, 3);
  EXPECT_EQ(SaveForTest(), before);
}

// What a range other than the file's own leaves out, against placement itself: load with the
// file's range and count what lies outside the other one. Later duplicates, records outside
// the file's range and ranges that overlap, hold, miss or lie inside it.
TEST(BattleRanges, LossOfRangeIsWhatTheFileRangeKeepsOutsideTheOfferedOne) {
  BattleFixture scenario = CleanScenario();
  scenario.units.push_back(MakeUnit(Pos(5, 4), 6, 1));       // a later unit on file hex (0, 0)
  scenario.units.push_back(MakeUnit(Pos(25, 20), 1, 1));     // outside the file's range
  scenario.buildings.push_back(MakeBuilding(Pos(9, 6), 4));  // a later building on (4, 2)
  scenario.buildings.push_back(MakeBuilding(Pos(2, 2), 4));  // outside the file's range
  const std::vector<uint8_t> bytes = scenario.bytes();
  BattleImage image;
  ASSERT_TRUE(ParseBattleFile(bytes, "test.btl", image).ok());
  LoadForTest(bytes, World40x30());  // the file's own range (5, 4) 6 x 5
  int checked = 0;
  for (int ox = 0; ox <= 14; ox += 2)
    for (int oy = 0; oy <= 10; oy += 3)
      for (int w : {1, 3, 6, 12, 40})
        for (int h : {1, 2, 5, 30}) {
          const MapRange offered{ox, oy, w, h};
          RangeLoss expected;
          for (int x = 0; x < 6; ++x)
            for (int y = 0; y < 5; ++y) {
              const Cell& c = g_world.grid[x][y];
              bool inside = c.globalX >= ox && c.globalX < ox + w && c.globalY >= oy &&
                            c.globalY < oy + h;
              if (inside) continue;
              expected.owners++;
              expected.buildings += c.hasBuilding;
              expected.units += c.hasUnit;
            }
          RangeLoss loss = LossOfRange(image, 40, offered);
          EXPECT_EQ(loss.owners, expected.owners) << ox << "," << oy << " " << w << "x" << h;
          EXPECT_EQ(loss.buildings, expected.buildings) << ox << "," << oy << " " << w << "x" << h;
          EXPECT_EQ(loss.units, expected.units) << ox << "," << oy << " " << w << "x" << h;
          checked += !expected.none();
        }
  EXPECT_GT(checked, 100);
  // The whole file range offered: nothing lost; a range far away: everything it keeps.
  EXPECT_TRUE(LossOfRange(image, 40, {5, 4, 6, 5}).none());
  RangeLoss all = LossOfRange(image, 40, {30, 25, 5, 5});
  EXPECT_EQ(all.owners, 30);
  EXPECT_EQ(all.buildings, 3);
  EXPECT_EQ(all.units, 4);
}

TEST(BattleRanges, LossOfRangeCountsFileHexesBeyondTheWorld) {
  // Rows 28..32 of a 30-row world; a unit on row 31 is kept by the file's range only.
  BattleFixture scenario;
  scenario.header.originX = 0;
  scenario.header.originY = 28;
  scenario.header.rangeWidth = 10;
  scenario.header.rangeHeight = 5;
  scenario.owners.assign(50, 255);
  scenario.units = {MakeUnit(Pos(3, 31), 1, 1), MakeUnit(Pos(3, 29), 1, 1)};
  scenario.buildings = {MakeBuilding(Pos(20, 5), 1)};  // in the world, not in the file's range
  BattleImage image;
  ASSERT_TRUE(ParseBattleFile(scenario.bytes(), "test.btl", image).ok());
  MapRange offered = InitialRange(image.fileRange(), World40x30());
  RangeLoss loss = LossOfRange(image, 40, offered);
  EXPECT_EQ(loss.owners, 30);
  EXPECT_EQ(loss.units, 1);
  EXPECT_EQ(loss.buildings, 0);
  // Wholly outside: the whole world is offered; what it gains is no loss.
  scenario.header.originY = 40;
  ASSERT_TRUE(ParseBattleFile(scenario.bytes(), "test.btl", image).ok());
  loss = LossOfRange(image, 40, InitialRange(image.fileRange(), World40x30()));
  EXPECT_EQ(loss.owners, 50);
  EXPECT_EQ(loss.units, 0);
  EXPECT_EQ(loss.buildings, 0);
}

// ---- Placement against a plain model ---------------------------------------------------

// What placing a file into a range and saving it must give, worked out the plain way: each
// file hex and each record in file order, hexes kept by their row-major index. Placement
// walks the grid in its own order and records from the last; it must agree with this.
struct PlacedModel {
  PlacementReport report;
  std::vector<uint8_t> saved;
  RangeLoss loss;  // of `r` against the file's own range
};

PlacedModel PlaceByModel(const BattleFixture& f, int32_t worldWidth, const MapRange& r) {
  PlacedModel m;
  PlacementReport& rep = m.report;
  const BtlHeader& h = f.header;
  auto local = [&](const MapRange& range, uint16_t position, int64_t& index) {
    int64_t x = position % worldWidth - int64_t(range.originX);
    int64_t y = position / worldWidth - int64_t(range.originY);
    index = y * range.width + x;
    return x >= 0 && y >= 0 && x < range.width && y < range.height;
  };
  std::vector<uint8_t> owners(size_t(r.width) * r.height, kUnownedTeam);
  for (int i = 0; i < h.rangeHeight; ++i)
    for (int j = 0; j < h.rangeWidth; ++j) {
      int64_t x = int64_t(h.originX) + j - r.originX, y = int64_t(h.originY) + i - r.originY;
      uint8_t owner = f.owners[size_t(i) * h.rangeWidth + j];
      bool inside = x >= 0 && y >= 0 && x < r.width && y < r.height;
      if (!inside) {
        rep.ownersOutside++;
        m.loss.owners++;
        continue;
      }
      if (owner != kUnownedTeam && owner >= int(f.teams.size())) rep.ownersNamingNoTeam++;
      owners[size_t(y * r.width + x)] = owner;
    }
  // Later records win; the maps keep the survivors in row-major order.
  auto place = [&](const auto& records, int& outside, int& replaced, int& lost) {
    std::map<int64_t, std::vector<uint8_t>> kept;
    std::map<int64_t, bool> keptByFile;  // by position: kept by the file's own range
    const MapRange own{h.originX, h.originY, h.rangeWidth, h.rangeHeight};
    for (const auto& record : records) {
      int64_t at;
      if (local(own, record.position, at)) keptByFile[record.position] = true;
      if (!local(r, record.position, at)) {
        outside++;
        continue;
      }
      if (kept.count(at)) replaced++;
      const uint8_t* p = reinterpret_cast<const uint8_t*>(&record);
      kept[at].assign(p, p + sizeof record);
    }
    for (const auto& [position, yes] : keptByFile) {
      int64_t at;
      lost += yes && !local(r, uint16_t(position), at);
    }
    return kept;
  };
  auto buildings = place(f.buildings, rep.buildingsOutside, rep.buildingsReplaced, m.loss.buildings);
  auto units = place(f.units, rep.unitsOutside, rep.unitsReplaced, m.loss.units);

  BattleFixture saved = f;
  saved.header.originX = r.originX;
  saved.header.originY = r.originY;
  saved.header.rangeWidth = r.width;
  saved.header.rangeHeight = r.height;
  for (TeamRecord& t : saved.teams) t.fileColour[3] = 255;
  saved.owners = owners;
  saved.buildings.clear();
  for (const auto& [at, bytes] : buildings) memcpy(&saved.buildings.emplace_back(), bytes.data(), bytes.size());
  saved.units.clear();
  for (const auto& [at, bytes] : units) memcpy(&saved.units.emplace_back(), bytes.data(), bytes.size());
  m.saved = saved.bytes();
  return m;
}

// A file on a 500-wide world whose range lies at the far corner the 16-bit positions reach,
// with records scattered over every position (most outside the range, many on one hex) and
// owners naming teams that do not exist.
BattleFixture FarCornerScenario(const MapRange& range, uint32_t seed) {
  BattleFixture f;
  f.header.keep0[3] = 7;
  f.header.originX = range.originX;
  f.header.originY = range.originY;
  f.header.rangeWidth = range.width;
  f.header.rangeHeight = range.height;
  f.teams = {MakeTeam(1, 10, 20, 30, 0), MakeTeam(2, 40, 50, 60)};
  auto next = [&seed] { return seed = seed * 1664525u + 1013904223u, seed >> 8; };
  for (int i = 0; i < range.width * range.height; ++i) f.owners.push_back(uint8_t(next() % 5 == 0 ? 255 : next() % 4));
  // Half anywhere, half on the range's own hexes (so that many share a hex).
  auto position = [&] {
    if (next() % 2) return uint16_t(next());
    uint32_t x = range.originX + next() % range.width, y = range.originY + next() % range.height;
    return uint16_t(y * 500 + x);
  };
  for (int i = 0; i < 3000; ++i) f.units.push_back(MakeUnit(position(), uint8_t(1 + next() % 8), uint8_t(i)));
  for (int i = 0; i < 1000; ++i) f.buildings.push_back(MakeBuilding(position(), uint16_t(10100 + i)));
  f.generals = {{3, 1}};
  f.tail = {1, 2, 3};
  return f;
}

std::string ReportText(const PlacementReport& r) {
  return std::to_string(r.ownersOutside) + " " + std::to_string(r.buildingsOutside) + " " +
         std::to_string(r.unitsOutside) + " " + std::to_string(r.buildingsReplaced) + " " +
         std::to_string(r.unitsReplaced) + " " + std::to_string(r.ownersNamingNoTeam);
}

TEST(BattlePlacement, FarCornerRangesAgreeWithThePlainModelAfterALargerScenario) {
  // 131 rows of 500: the last position, 130 * 500 + 499, is the last a record can name.
  const WorldImage world = MakeWorld(500, 131);
  const MapRange corner{440, 100, 60, 31};
  const MapRange ranges[] = {corner, {470, 110, 30, 21}, {420, 90, 70, 30}, {0, 0, 500, 131},
                             {499, 130, 1, 1}};
  // A scenario over the whole world fills every hex first: a walk that strays past the
  // smaller range (or a hex it does not clear) shows up as a record or owner too many.
  BattleFixture whole = FarCornerScenario({0, 0, 500, 131}, 1);
  for (uint32_t seed = 2; seed < 5; ++seed) {
    const BattleFixture f = FarCornerScenario(corner, seed);
    const std::vector<uint8_t> bytes = f.bytes();
    BattleImage image;
    ASSERT_TRUE(ParseBattleFile(bytes, "corner.btl", image).ok());
    for (const MapRange& r : ranges) {
      const std::string what = std::to_string(seed) + ": " + std::to_string(r.originX) + "," +
                               std::to_string(r.originY) + " " + std::to_string(r.width) + "x" +
                               std::to_string(r.height);
      LoadForTest(whole.bytes(), world);
      PlacementReport report;
      LoadForTest(bytes, world, &r, &report);
      const PlacedModel model = PlaceByModel(f, world.width, r);
      EXPECT_EQ(ReportText(report), ReportText(model.report)) << what;
      EXPECT_GT(report.unitsReplaced + report.unitsOutside, 0) << what;
      const std::vector<uint8_t> saved = SaveForTest();
      EXPECT_TRUE(saved == model.saved) << what;
      BattleImage again;
      ASSERT_TRUE(ParseBattleFile(saved, "saved.btl", again).ok()) << what;
      EXPECT_EQ(CountUnits(), again.header.unitCount) << what;
      EXPECT_EQ(CountBuildings(), again.header.buildingCount) << what;
      const KeptRecords kept = CountKeptRecords(image, world.width, r);
      EXPECT_EQ(kept.units, again.header.unitCount) << what;
      EXPECT_EQ(kept.buildings, again.header.buildingCount) << what;
      const RangeLoss loss = LossOfRange(image, world.width, r);
      EXPECT_EQ(loss.owners, model.loss.owners) << what;
      EXPECT_EQ(loss.buildings, model.loss.buildings) << what;
      EXPECT_EQ(loss.units, model.loss.units) << what;
    }
  }
}

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
  ASSERT_TRUE(ParseBattleFile(std::vector<uint8_t>(bytes.begin(), bytes.begin() + tailAt + 5),
                              "t", image).ok());
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
      {&BtlHeader::teamCount, -1, false},        {&BtlHeader::teamCount, 256, false},
      {&BtlHeader::buildingCount, -1, false},    {&BtlHeader::buildingCount, 100001, false},
      {&BtlHeader::unitCount, -5, false},        {&BtlHeader::unitCount, 1000001, false},
      {&BtlHeader::generalCount, int32_t(0x80000000), false},
      {&BtlHeader::generalCount, 100001, false}, {&BtlHeader::rangeWidth, -1, false},
      {&BtlHeader::rangeHeight, 501, false},     {&BtlHeader::unitCount, -1, false},
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
void ExpectSaveAndReloadGiveTheSameRecord(const std::vector<uint8_t>& bytes, const WorldImage& world,
                                          const std::string& what) {
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
      ExpectSaveAndReloadGiveTheSameRecord(variant, world, name + " variant " + std::to_string(round));
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
    Status s = ParseBattleFile(std::vector<uint8_t>(bytes.begin(), bytes.begin() + n), "截断.btl", image);
    if (n < whole.tailAt) {
      ASSERT_EQ(s.kind, FailureKind::kTruncated) << n << s.message;
      // The message says where the file ends.
      if (n >= kHeaderBytes) {
        EXPECT_NE(s.message.find("第 " + std::to_string(n) + " 字节"), std::string::npos) << s.message;
      }
    } else {
      ASSERT_TRUE(s.ok()) << n << s.message;
      EXPECT_EQ(image.tailSize(), n - whole.tailAt);
    }
  }
}

TEST(BattleHostileFiles, TruncationsAtTheSectionEdgesOfTheLargeDemoFile) {
  const std::vector<uint8_t>& bytes = DemoBattleBytes("demo_large");
  BattleImage whole;
  ASSERT_TRUE(ParseBattleFile(bytes, "t", whole).ok());
  for (size_t edge : {kHeaderBytes, whole.ownersAt, whole.buildingsAt, whole.unitsAt, whole.generalsAt, whole.tailAt})
    for (size_t n = edge - 3; n <= edge + 3 && n <= bytes.size(); ++n) {
      BattleImage image;
      Status s = ParseBattleFile(std::vector<uint8_t>(bytes.begin(), bytes.begin() + n), "t", image);
      EXPECT_EQ(s.kind, n >= whole.tailAt ? FailureKind::kNone : FailureKind::kTruncated) << n;
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
      for (int64_t value : {int64_t(0), int64_t(1), int64_t(f.capacity), int64_t(f.capacity) + 1, int64_t(0xFFFFFFFF)}) {
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
                      s.kind == FailureKind::kTooLarge) << s.message;
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
  for (size_t edge : {size_t(0), kHeaderBytes, image.ownersAt, image.buildingsAt, image.unitsAt,
                      image.generalsAt, image.tailAt})
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
    EXPECT_EQ(memcmp(&l.header, &image.header, sizeof l.header), 0) << name;
    EXPECT_EQ(summary.name, image.name) << name;
    EXPECT_EQ(l.size, image.bytes.size()) << name;
    EXPECT_EQ(std::vector<size_t>({l.teamsAt, l.ownersAt, l.buildingsAt, l.unitsAt, l.generalsAt,
                                   l.tailAt}),
              std::vector<size_t>({image.teamsAt, image.ownersAt, image.buildingsAt,
                                   image.unitsAt, image.generalsAt, image.tailAt})) << name;
    EXPECT_EQ(summary.teams, std::vector<uint8_t>(image.bytes.begin() + image.teamsAt,
                                                  image.bytes.begin() + image.ownersAt)) << name;
    ASSERT_EQ(summary.generals.size() * sizeof(GeneralEntry), image.tailAt - image.generalsAt);
    EXPECT_TRUE(summary.generals.empty() ||
                memcmp(summary.generals.data(), image.bytes.data() + image.generalsAt,
                       image.tailAt - image.generalsAt) == 0) << name;
    EXPECT_EQ(summary.tailSize(), image.tailSize()) << name;
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
                                   b.generalsAt, b.tailAt})) << name;
    EXPECT_EQ(memcmp(&a.header, &b.header, sizeof a.header), 0) << name;
    EXPECT_EQ(fromFile.teams, fromPipe.teams) << name;
    EXPECT_EQ(fromFile.generals.size(), fromPipe.generals.size()) << name;
    EXPECT_TRUE(fromFile.generals.empty() ||
                memcmp(fromFile.generals.data(), fromPipe.generals.data(),
                       fromFile.generals.size() * sizeof(GeneralEntry)) == 0) << name;
    EXPECT_TRUE(fromFile.occupied.buildings == fromPipe.occupied.buildings) << name;
    EXPECT_TRUE(fromFile.occupied.units == fromPipe.occupied.units) << name;
    compared++;
  }
  EXPECT_GT(compared, 60);
}
#endif
