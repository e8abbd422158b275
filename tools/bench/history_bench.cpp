// The undo history on the largest grid (500 x 500, every hex owned by one of three teams),
// against a plain copy of that grid's cells in the same run: the check that ends every user
// action when nothing changed, and the largest step a team removal makes (every hex cleared
// or renumbered), with its memory beside the grid's.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "scenario/edit_history.h"

namespace {

void FillGrid() {
  static bool done = false;
  if (done) return;
  done = true;
  g_world.worldWidth = g_world.worldHeight = kMaxGrid;
  g_world.rangeWidth = g_world.rangeHeight = kMaxGrid;
  g_world.teamCount = 3;
  for (int x = 0; x < kMaxGrid; ++x)
    for (int y = 0; y < kMaxGrid; ++y) {
      g_world.grid[x][y].owner = uint8_t((x + y) % 3);
      ClearUnit(g_world.grid[x][y].unit);
    }
}

// Baseline: one copy of every cell of the grid.
void BM_CopyGrid(benchmark::State& state) {
  FillGrid();
  std::vector<Cell> copy(size_t(kMaxGrid) * kMaxGrid);
  for (auto _ : state) {
    memcpy(copy.data(), g_world.grid, sizeof g_world.grid);
    benchmark::DoNotOptimize(copy.data());
  }
  state.counters["grid_MB"] = double(sizeof g_world.grid) / 1e6;
}
BENCHMARK(BM_CopyGrid)->Unit(benchmark::kMillisecond);

void BM_RecordNothingChanged(benchmark::State& state) {
  FillGrid();
  EditHistory history;
  history.Start(g_world);
  for (auto _ : state) benchmark::DoNotOptimize(history.Record(g_world));
}
BENCHMARK(BM_RecordNothingChanged)->Unit(benchmark::kMillisecond);

void BM_RecordTeamRemoval(benchmark::State& state) {
  FillGrid();
  static WorldRecord before;
  memcpy(&before, &g_world, sizeof g_world);
  size_t stepBytes = 0;
  for (auto _ : state) {
    state.PauseTiming();
    memcpy(&g_world, &before, sizeof g_world);
    EditHistory history;
    history.Start(g_world);
    RemoveTeam(0);
    state.ResumeTiming();
    history.Record(g_world);
    stepBytes = history.LastStep()->Bytes();
  }
  memcpy(&g_world, &before, sizeof g_world);
  state.counters["step_MB"] = double(stepBytes) / 1e6;
  state.counters["of_grid"] = double(stepBytes) / double(sizeof g_world.grid);
}
BENCHMARK(BM_RecordTeamRemoval)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

BENCHMARK_MAIN();
