// The problem finder on hand-made scenarios (one planted problem per case, and values that
// mean "none" that must not be reported) and on the demo scenarios.
#include "problems/problems.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "catalogs/catalogs.h"
#include "catalogs/string_table.h"
#include "scenario/world_record.h"
#include "tests/support/battle_fixture.h"
#include "tests/support/fake_form.h"

namespace {

// The test world (4 x 3 at global (10, 198) of a 300-column world) with the test catalogs:
// two teams, one general, and on local hexes
//   (1, 1) a 步兵 unit with general 0, owned by team 0;
//   (2, 1) a city 10101 named 12 (北京), owned by team 1;
//   (3, 2) a 工厂 (200) with anti-air type 3 and a minefield, unowned.
// Nothing in it is a problem; the boundary values (rank equal to the rank count, anti-air 3,
// owner 255) are chosen on purpose.
void MakeCleanWorld() {
  LoadTestCatalogs();
  ResetTestWorld();
  AddTestTeam(86, 0x0000FF);
  AddTestTeam(1, 0x00FF00);
  g_world.generals[0] = {7, 2};
  g_world.generalCount = 1;

  Cell& unit = g_world.grid[1][1];
  unit.unit.unitClass = 3;
  unit.unit.unitLevel = 2;
  unit.unit.general = 0;
  unit.owner = 0;
  Cell& city = g_world.grid[2][1];
  city.building.buildingCode = 10101;
  city.building.cityName = 12;
  city.owner = 1;
  Cell& factory = g_world.grid[3][2];
  factory.building.buildingCode = 200;
  factory.building.facilityType = 3;
  factory.building.defence = 1;
  for (int x = 0; x < g_world.rangeWidth; ++x)
    for (int y = 0; y < g_world.rangeHeight; ++y) NormaliseCell(x, y);
}

struct Case {
  const char* name;
  std::function<void()> plant;
  bool problem;  // false: the change must not be reported
  ProblemKind kind;
  int x, y;          // local hex of the problem; -1 for a scenario-wide one
  const char* text;  // the whole description
};

Cell& At(int x, int y) { return g_world.grid[x][y]; }

const Case kCases[] = {
    {"unit of class 0", [] { At(1, 1).unit.unitClass = 0; }, true, ProblemKind::kUnitClassZero, 1,
     1, "部队的兵种类别为 0，下次规范化时会被删除"},
    {"unit type missing from the army catalog", [] { At(1, 1).unit.unitLevel = 9; }, true,
     ProblemKind::kUnknownUnitType, 1, 1, "兵种目录中没有类别 3、等级 9 的兵种"},
    {"unit's general past the table", [] { At(1, 1).unit.general = 1; }, true,
     ProblemKind::kMissingGeneral, 1, 1, "部队的将军编号 1 没有对应的将军（共 1 名将军）"},
    {"general's commander missing", [] { g_world.generals[0].commander = 8; }, true,
     ProblemKind::kBadGeneral, -1, -1, "将军 #0：统帅 8 不在将军目录中"},
    {"general's rank above the rank count", [] { g_world.generals[0].rank = 3; }, true,
     ProblemKind::kBadGeneral, -1, -1, "将军 #0：军衔 3 超过军衔数 2"},
    {"general with both faults is one problem",
     [] {
       g_world.generals[0] = {65535, 30};
     },
     true, ProblemKind::kBadGeneral, -1, -1,
     "将军 #0：统帅 65535 不在将军目录中，军衔 30 超过军衔数 2"},
    {"unit position not the hex's index", [] { At(1, 1).unit.position += 1; }, true,
     ProblemKind::kWrongPosition, 1, 1, "部队记录的位置为 59712，不是本格的编号 59711"},
    {"building position not the hex's index", [] { At(2, 1).building.position = 0; }, true,
     ProblemKind::kWrongPosition, 2, 1, "建筑记录的位置为 0，不是本格的编号 59712"},
    {"owner naming no team", [] { At(3, 0).owner = 7; }, true, ProblemKind::kOwnersNamingNoTeam, 3,
     0, "归属 7 不是任何军团（共 2 个军团）"},
    {"owner one past the counted teams", [] { At(0, 2).owner = 2; }, true,
     ProblemKind::kOwnersNamingNoTeam, 0, 2, "归属 2 不是任何军团（共 2 个军团）"},
    {"owner of a team no longer counted", [] { g_world.teamCount = 1; }, true,
     ProblemKind::kOwnersNamingNoTeam, 2, 1, "归属 1 不是任何军团（共 1 个军团）"},
    {"building code missing from the catalog", [] { At(3, 2).building.buildingCode = 201; }, true,
     ProblemKind::kUnknownBuilding, 3, 2, "建筑代码 201 不在建筑目录中"},
    {"city name missing from the string table", [] { At(2, 1).building.cityName = 13; }, true,
     ProblemKind::kUnknownCityName, 2, 1, "城市名编号 13 在语言文件中没有条目"},
    {"anti-air type above 3", [] { At(3, 2).building.facilityType = 4; }, true,
     ProblemKind::kAntiAirType, 3, 2, "防空类型 4 大于 3"},
    {"team's country missing from the catalog", [] { g_world.teams[1].country = 2; }, true,
     ProblemKind::kUnknownCountry, -1, -1, "军团 1：国家 2 不在国家目录中"},
    {"team's country past every table", [] { g_world.teams[0].country = 1000; }, true,
     ProblemKind::kUnknownCountry, -1, -1, "军团 0：国家 1000 不在国家目录中"},

    // Values that mean "none", and records that are not there.
    {"unowned hex", [] { At(1, 1).owner = kUnownedTeam; }, false},
    {"unit without general", [] { At(1, 1).unit.general = kNoGeneral; }, false},
    {"rank 0", [] { g_world.generals[0].rank = 0; }, false},
    {"a minefield with building code 0",
     [] {
       At(0, 0).building.defence = 3;
       NormaliseCell(0, 0);
     },
     false},
    {"a city without a name", [] { At(2, 1).building.cityName = 0; }, false},
    {"a city name on a building that is no city", [] { At(3, 2).building.cityName = 999; }, false},
    {"an absent unit's bytes",
     [] {
       At(0, 1).unit.unitClass = 0;
       At(0, 1).unit.general = 9;
       At(0, 1).unit.position = 1;
     },
     false},
    {"an absent building's bytes", [] { At(1, 0).building.facilityType = 9; }, false},
    {"generals beyond the count",
     [] {
       g_world.generals[1] = {8, 30};
     },
     false},
    {"teams beyond the count", [] { g_world.teams[2].country = 2; }, false},
};

TEST(ScenarioProblems, CleanScenarioHasNone) {
  MakeCleanWorld();
  EXPECT_TRUE(FindScenarioProblems().empty());
}

TEST(ScenarioProblems, EachPlantedProblemIsFoundAloneAtItsHex) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    MakeCleanWorld();
    c.plant();
    std::vector<ScenarioProblem> found = FindScenarioProblems();
    if (!c.problem) {
      for (const ScenarioProblem& p : found) ADD_FAILURE() << ProblemRow(p);
      continue;
    }
    ASSERT_EQ(found.size(), 1u);
    const ScenarioProblem& p = found[0];
    EXPECT_EQ(p.kind, c.kind);
    EXPECT_EQ(p.text, c.text);
    if (c.x < 0) {
      EXPECT_FALSE(p.onHex());
      EXPECT_EQ(p.globalX, kNoHex);
      EXPECT_EQ(p.globalY, kNoHex);
      EXPECT_EQ(ProblemRow(p), c.text);
    } else {
      EXPECT_EQ(p.globalX, g_world.originX + c.x);
      EXPECT_EQ(p.globalY, g_world.originY + c.y);
      EXPECT_EQ(p.hexIndex, GlobalIndex(c.x, c.y));
      EXPECT_EQ(ProblemRow(p), "全局 (" + std::to_string(p.globalX) + ", " +
                                   std::to_string(p.globalY) + ") 编号 " +
                                   std::to_string(p.hexIndex) + "：" + c.text);
    }
  }
}

// Hexes in row-major order, within a hex the unit, the owner, then the building; then the
// generals, then the teams. Planted against that order.
TEST(ScenarioProblems, ListIsInRowMajorOrderThenGeneralsThenTeams) {
  MakeCleanWorld();
  g_world.teams[1].country = 5;
  g_world.generals[0].commander = 8;
  At(3, 2).building.facilityType = 7;
  At(3, 2).owner = 9;
  At(0, 2).owner = 9;
  At(2, 1).building.cityName = 99;
  At(2, 1).owner = 9;
  At(2, 1).unit.unitClass = 1;
  At(2, 1).hasUnit = 1;
  At(3, 0).owner = 9;
  std::vector<ScenarioProblem> found = FindScenarioProblems();
  const struct {
    ProblemKind kind;
    int x, y;
  } want[] = {{ProblemKind::kOwnersNamingNoTeam, 3, 0}, {ProblemKind::kUnknownUnitType, 2, 1},
              {ProblemKind::kWrongPosition, 2, 1},      {ProblemKind::kOwnersNamingNoTeam, 2, 1},
              {ProblemKind::kUnknownCityName, 2, 1},    {ProblemKind::kOwnersNamingNoTeam, 0, 2},
              {ProblemKind::kOwnersNamingNoTeam, 3, 2}, {ProblemKind::kAntiAirType, 3, 2},
              {ProblemKind::kBadGeneral, -1, -1},       {ProblemKind::kUnknownCountry, -1, -1}};
  ASSERT_EQ(found.size(), std::size(want));
  for (size_t i = 0; i < found.size(); ++i) {
    SCOPED_TRACE(ProblemRow(found[i]));
    EXPECT_EQ(found[i].kind, want[i].kind);
    EXPECT_EQ(found[i].hexIndex, want[i].x < 0 ? kNoHex : GlobalIndex(want[i].x, want[i].y));
  }
}

// ---- The demo scenarios with the demo catalogs ----

TEST(ScenarioProblems, CleanDemoScenariosHaveNone) {
  LoadDemoCatalogs();
  for (const char* name : {"demo_small", "demo_large"}) {
    SCOPED_TRACE(name);
    LoadForTest(DemoBattleBytes(name), DemoWorldImage());
    std::vector<ScenarioProblem> found = FindScenarioProblems();
    for (const ScenarioProblem& p : found) ADD_FAILURE() << ProblemRow(p);
  }
}

// The messy demo's faults that survive loading: a unit naming general 5 of one (local
// (1, 1)), a unit of class 0 (local (2, 2)) and owner 7 of two teams (the last hex).
TEST(ScenarioProblems, MessyDemoScenarioShowsExactlyItsPlantedFaults) {
  LoadDemoCatalogs();
  LoadForTest(DemoBattleBytes("demo_messy"), DemoWorldImage());
  std::vector<ScenarioProblem> found = FindScenarioProblems();
  ASSERT_EQ(found.size(), 3u);
  EXPECT_EQ(found[0].kind, ProblemKind::kMissingGeneral);
  EXPECT_EQ(found[0].hexIndex, GlobalIndex(1, 1));
  EXPECT_EQ(found[1].kind, ProblemKind::kUnitClassZero);
  EXPECT_EQ(found[1].hexIndex, GlobalIndex(2, 2));
  EXPECT_EQ(found[2].kind, ProblemKind::kOwnersNamingNoTeam);
  EXPECT_EQ(found[2].hexIndex, GlobalIndex(g_world.rangeWidth - 1, g_world.rangeHeight - 1));
  EXPECT_EQ(found[2].text, "归属 7 不是任何军团（共 2 个军团）");
}

}  // namespace
