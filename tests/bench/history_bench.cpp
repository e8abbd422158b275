// The undo history on the largest grid (500 x 500, every hex owned by one of three teams),
// against a plain copy of that grid's cells in the same run: the check that ends every user
// action when nothing changed, and the largest step a team removal makes (every hex cleared
// or renumbered), with its memory beside the grid's; and the recovery file of that step,
// written through the safe save and read back, with its size beside the step's memory.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <vector>

#include "scenario/edit_history.h"
#include "scenario/recovery_file.h"

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

// The history after the largest step: every hex of the 500 x 500 range changed.
EditHistory& LargestStepHistory() {
  static EditHistory history;
  static bool done = false;
  if (!done) {
    done = true;
    FillGrid();
    static WorldRecord before;
    memcpy(&before, &g_world, sizeof g_world);
    history.Start(g_world);
    RemoveTeam(0);
    history.Record(g_world);
    memcpy(&g_world, &before, sizeof g_world);
  }
  return history;
}

// A file of this run's own in the system's temporary folder.
std::string BenchFile() {
  return (std::filesystem::temp_directory_path() /
          ("btl_history_bench_" + std::to_string(getpid()) + ".recovery"))
      .string();
}

const RecoveryKey kBenchKey{"C:\\游戏\\largest.btl", 13000000, {}};

void BM_WriteRecoveryLargestStep(benchmark::State& state) {
  const EditHistory& history = LargestStepHistory();
  const std::string path = BenchFile();
  const MapRange range{0, 0, kMaxGrid, kMaxGrid};
  for (auto _ : state)
    if (!WriteRecoveryFile(path, kBenchKey, range, history).ok())
      state.SkipWithError("write failed");
  state.counters["file_MB"] = double(std::filesystem::file_size(path)) / 1e6;
  state.counters["of_step"] =
      double(std::filesystem::file_size(path)) / double(history.LastStep()->Bytes());
  std::filesystem::remove(path);
}
BENCHMARK(BM_WriteRecoveryLargestStep)->Unit(benchmark::kMillisecond)->Iterations(5);

// What the main loop does of a write: the file's bytes made in memory (the checksum and the
// disk are the writer thread's).
void BM_MakeRecoveryBytesLargestStep(benchmark::State& state) {
  const EditHistory& history = LargestStepHistory();
  std::vector<uint8_t> bytes;
  for (auto _ : state)
    if (!RecoveryFileContents(kBenchKey, {0, 0, kMaxGrid, kMaxGrid}, history, bytes).ok())
      state.SkipWithError("made nothing");
  state.counters["MB"] = double(bytes.size()) / 1e6;
}
BENCHMARK(BM_MakeRecoveryBytesLargestStep)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_ReadRecoveryLargestStep(benchmark::State& state) {
  const std::string path = BenchFile();
  WriteRecoveryFile(path, kBenchKey, {0, 0, kMaxGrid, kMaxGrid}, LargestStepHistory());
  for (auto _ : state) {
    RecoveryRead read = ReadRecoveryFile(path, kBenchKey);
    if (read.state != RecoveryState::kMatches) state.SkipWithError("read failed");
    benchmark::DoNotOptimize(read.data.steps.data());
  }
  std::filesystem::remove(path);
}
BENCHMARK(BM_ReadRecoveryLargestStep)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

BENCHMARK_MAIN();
