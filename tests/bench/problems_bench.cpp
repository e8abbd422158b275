// The problem finder on the largest range the 16-bit positions address (a 256 x 256 world and
// range, a unit on every hex, a building on every other one), against a plain walk over the
// same hexes in the same order in the same run: once with nothing to report, once with a
// problem on every hex (the longest list the unit checks make). x_walk is the finder's time
// over the walk's, both in processor time so that a busy machine does not tilt it.
#include <benchmark/benchmark.h>

#include <cstring>
#include <ctime>

#include "catalogs/catalogs.h"
#include "problems/problems.h"
#include "catalogs/string_table.h"
#include "scenario/world_record.h"

namespace {

constexpr int kSide = 256;
constexpr int32_t kArmy = 100001;
constexpr uint8_t kClass = 1, kLevel = 1;

void FillRange() {
  static bool done = false;
  if (done) return;
  done = true;
  ResetCatalogs();
  ResetStringTable();
  int k = ArmySlotOf(kArmy);
  g_catalogs.ArmyType[k] = kClass;
  g_catalogs.ArmyLevel[k] = kLevel;
  g_catalogs.ArmyIds[g_catalogs.ArmyCount++] = kArmy;
  g_catalogs.ArmyByTypeLevel[kClass * 100 + kLevel] = kArmy;
  g_catalogs.BuildingIds[g_catalogs.BuildingCount++] = 5;
  g_catalogs.CountryIds[g_catalogs.CountryCount++] = 1;

  WorldRecord& w = g_world;
  w.worldWidth = w.worldHeight = kSide;
  w.originX = w.originY = 0;
  w.rangeWidth = w.rangeHeight = kSide;
  w.teamCount = 20;
  for (int t = 0; t < w.teamCount; ++t) w.teams[t].country = 1;
  for (int x = 0; x < kSide; ++x)
    for (int y = 0; y < kSide; ++y) {
      Cell& c = w.grid[x][y];
      memset(&c, 0, sizeof c);
      c.globalX = x;
      c.globalY = y;
      c.owner = uint8_t((x + y) % 20);
      c.unit.unitClass = kClass;
      c.unit.unitLevel = kLevel;
      c.unit.general = kNoGeneral;
      c.building.buildingCode = (x + y) % 2 ? 5 : 0;
      NormaliseCell(x, y);
    }
}

// Every unit of an unknown level, or all back to the known one.
void SetLevels(uint8_t level) {
  for (int x = 0; x < kSide; ++x)
    for (int y = 0; y < kSide; ++y) g_world.grid[x][y].unit.unitLevel = level;
}

// What any look at every hex costs: row by row, the fields the finder reads first.
int64_t PlainWalk() {
  int64_t sum = 0;
  for (int y = 0; y < g_world.rangeHeight; ++y)
    for (int x = 0; x < g_world.rangeWidth; ++x) {
      const Cell& c = g_world.grid[x][y];
      sum += c.owner + c.hasUnit + c.hasBuilding + c.unit.unitClass;
    }
  return sum;
}

double WalkSeconds() {
  constexpr int kRuns = 200;
  std::clock_t start = std::clock();
  for (int i = 0; i < kRuns; ++i) benchmark::DoNotOptimize(PlainWalk());
  return double(std::clock() - start) / CLOCKS_PER_SEC / kRuns;
}

void BM_PlainWalk(benchmark::State& state) {
  FillRange();
  for (auto _ : state) benchmark::DoNotOptimize(PlainWalk());
}
BENCHMARK(BM_PlainWalk)->Unit(benchmark::kMillisecond);

void RunFinder(benchmark::State& state) {
  size_t problems = 0;
  std::clock_t start = std::clock();
  for (auto _ : state) {
    std::vector<ScenarioProblem> found = FindScenarioProblems();
    problems = found.size();
    benchmark::DoNotOptimize(found.data());
  }
  double each = double(std::clock() - start) / CLOCKS_PER_SEC / double(state.iterations());
  state.counters["problems"] = double(problems);
  state.counters["x_walk"] = each / WalkSeconds();
}

void BM_FindProblemsNone(benchmark::State& state) {
  FillRange();
  SetLevels(kLevel);
  RunFinder(state);
}
BENCHMARK(BM_FindProblemsNone)->Unit(benchmark::kMillisecond);

void BM_FindProblemsEveryHex(benchmark::State& state) {
  FillRange();
  SetLevels(kLevel + 1);
  RunFinder(state);
  SetLevels(kLevel);
}
BENCHMARK(BM_FindProblemsEveryHex)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
