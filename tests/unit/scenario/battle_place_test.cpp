#include "scenario/battle_place.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>

#include "scenario/battle_write.h"
#include "tests/support/battle_fixture.h"

namespace {

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
  EXPECT_EQ(saved.layout.header.originX, 6);
  EXPECT_EQ(saved.layout.header.originY, 5);
  EXPECT_EQ(saved.layout.header.rangeWidth, 3);
  EXPECT_EQ(saved.layout.header.rangeHeight, 3);
  EXPECT_EQ(saved.layout.header.unitCount, 1);
  EXPECT_EQ(saved.layout.header.buildingCount, 0);
  EXPECT_EQ(saved.layout.header.teamCount, 3);
  EXPECT_EQ(saved.layout.header.generalCount, 2);
  ASSERT_EQ(saved.tailSize(), scenario.tail.size());
  EXPECT_EQ(
      memcmp(saved.bytes.data() + saved.layout.tailAt, scenario.tail.data(), scenario.tail.size()),
      0);
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
  EXPECT_EQ(saved.layout.header.rangeWidth, 10);
  EXPECT_EQ(saved.layout.header.rangeHeight, 9);
  EXPECT_EQ(saved.layout.header.unitCount, 4);
  EXPECT_EQ(saved.layout.header.buildingCount, 3);
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
              bool inside =
                  c.globalX >= ox && c.globalX < ox + w && c.globalY >= oy && c.globalY < oy + h;
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
  auto buildings =
      place(f.buildings, rep.buildingsOutside, rep.buildingsReplaced, m.loss.buildings);
  auto units = place(f.units, rep.unitsOutside, rep.unitsReplaced, m.loss.units);

  BattleFixture saved = f;
  saved.header.originX = r.originX;
  saved.header.originY = r.originY;
  saved.header.rangeWidth = r.width;
  saved.header.rangeHeight = r.height;
  for (TeamRecord& t : saved.teams) t.fileColour[3] = 255;
  saved.owners = owners;
  saved.buildings.clear();
  for (const auto& [at, bytes] : buildings)
    memcpy(&saved.buildings.emplace_back(), bytes.data(), bytes.size());
  saved.units.clear();
  for (const auto& [at, bytes] : units)
    memcpy(&saved.units.emplace_back(), bytes.data(), bytes.size());
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
  for (int i = 0; i < range.width * range.height; ++i)
    f.owners.push_back(uint8_t(next() % 5 == 0 ? 255 : next() % 4));
  // Half anywhere, half on the range's own hexes (so that many share a hex).
  auto position = [&] {
    if (next() % 2) return uint16_t(next());
    uint32_t x = range.originX + next() % range.width, y = range.originY + next() % range.height;
    return uint16_t(y * 500 + x);
  };
  for (int i = 0; i < 3000; ++i)
    f.units.push_back(MakeUnit(position(), uint8_t(1 + next() % 8), uint8_t(i)));
  for (int i = 0; i < 1000; ++i)
    f.buildings.push_back(MakeBuilding(position(), uint16_t(10100 + i)));
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
  const MapRange ranges[] = {
      corner, {470, 110, 30, 21}, {420, 90, 70, 30}, {0, 0, 500, 131}, {499, 130, 1, 1}};
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
      EXPECT_EQ(CountUnits(), again.layout.header.unitCount) << what;
      EXPECT_EQ(CountBuildings(), again.layout.header.buildingCount) << what;
      const KeptRecords kept = CountKeptRecords(image, world.width, r);
      EXPECT_EQ(kept.units, again.layout.header.unitCount) << what;
      EXPECT_EQ(kept.buildings, again.layout.header.buildingCount) << what;
      const RangeLoss loss = LossOfRange(image, world.width, r);
      EXPECT_EQ(loss.owners, model.loss.owners) << what;
      EXPECT_EQ(loss.buildings, model.loss.buildings) << what;
      EXPECT_EQ(loss.units, model.loss.units) << what;
    }
  }
}

}  // namespace
