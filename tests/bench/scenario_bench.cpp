// Loading and saving the largest scenario the 16-bit positions address (a 256 x 256 world
// and range) with every section at its capacity, against a plain read and write of the same
// bytes in the same run.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "scenario/battle_read.h"
#include "scenario/battle_place.h"
#include "scenario/battle_write.h"
#include "base/files.h"
#include "scenario/safe_save.h"
#include "tests/bench/largest_scenario.h"

namespace {

namespace fs = std::filesystem;

struct Fixture {
  std::string folder, battle, world, target, plainTarget;
  std::vector<uint8_t> battleBytes;

  Fixture() {
    // A folder of its own, so that two runs side by side do not share files.
    std::string pattern = (fs::temp_directory_path() / "btl_scenario_bench_XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) std::abort();
    folder = pattern;
    battle = folder + "/largest.btl";
    world = folder + "/world.bin";
    target = folder + "/saved.btl";
    plainTarget = folder + "/plain.btl";

    Write(world, SquareWorldBytes(256));
    battleBytes = LargestScenarioBytes();
    Write(battle, battleBytes);
  }

  static void Write(const std::string& path, const std::vector<uint8_t>& bytes) {
    FILE* f = fopen(path.c_str(), "wb");
    fwrite(bytes.data(), 1, bytes.size(), f);
    fclose(f);
  }
};

Fixture& Data() {
  static Fixture f;
  return f;
}

void LoadOnce() {
  BattleImage image;
  WorldImage world;
  Status s = ReadBattleFile(Data().battle, image);
  if (s.ok()) s = ReadWorldMapFile(Data().world, world);
  if (s.ok()) s = CommitScenario(image, world, InitialRange(image.fileRange(), world));
  if (!s.ok()) fprintf(stderr, "load failed: %s\n", s.message.c_str());
}

std::vector<uint8_t> PlainRead(const std::string& path) {
  FILE* f = fopen(path.c_str(), "rb");
  fseek(f, 0, SEEK_END);
  std::vector<uint8_t> bytes(size_t(ftell(f)));
  rewind(f);
  size_t got = fread(bytes.data(), 1, bytes.size(), f);
  fclose(f);
  bytes.resize(got);
  return bytes;
}

void BM_PlainRead(benchmark::State& state) {
  for (auto _ : state) {
    std::vector<uint8_t> a = PlainRead(Data().battle), b = PlainRead(Data().world);
    benchmark::DoNotOptimize(a.data());
    benchmark::DoNotOptimize(b.data());
  }
}

void BM_LoadScenario(benchmark::State& state) {
  for (auto _ : state) LoadOnce();
}

// The same bytes the save writes, written and flushed to the disk the same way.
void BM_PlainWrite(benchmark::State& state) {
  std::vector<uint8_t> bytes;
  LoadOnce();
  BuildBattleBytes(bytes);
  for (auto _ : state) {
    SaveOps& ops = SystemSaveOps();
    ops.remove(Data().plainTarget);
    void* f = ops.create_new(Data().plainTarget);
    ops.write(f, bytes.data(), bytes.size());
    ops.flush_and_close(f);
  }
  state.counters["bytes"] = double(bytes.size());
}

void BM_SaveScenario(benchmark::State& state) {
  LoadOnce();
  for (auto _ : state) {
    Status s = SaveScenarioTo(Data().target);
    if (!s.ok()) state.SkipWithError(s.message.c_str());
  }
}

BENCHMARK(BM_PlainRead)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_LoadScenario)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_PlainWrite)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_SaveScenario)->Unit(benchmark::kMillisecond)->MinTime(1.0);

class Collector : public benchmark::ConsoleReporter {
 public:
  std::map<std::string, double> ms;
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& r : runs) ms[r.benchmark_name()] = r.GetAdjustedRealTime();
    ConsoleReporter::ReportRuns(runs);
  }
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  Data();
  Collector collector;
  benchmark::RunSpecifiedBenchmarks(&collector);
  auto& ms = collector.ms;
  printf("\nload  %.1f ms   plain read  %.1f ms   ratio %.2f (aim: under 100 ms and at most 3)\n",
         ms["BM_LoadScenario/min_time:1.000"], ms["BM_PlainRead/min_time:1.000"],
         ms["BM_LoadScenario/min_time:1.000"] / ms["BM_PlainRead/min_time:1.000"]);
  printf("save  %.1f ms   plain write %.1f ms   ratio %.2f (aim: under 100 ms and at most 3)\n",
         ms["BM_SaveScenario/min_time:1.000"], ms["BM_PlainWrite/min_time:1.000"],
         ms["BM_SaveScenario/min_time:1.000"] / ms["BM_PlainWrite/min_time:1.000"]);
  printf("static world record: %.1f MiB\n", sizeof(WorldRecord) / 1048576.0);
  fs::remove_all(Data().folder);
  return 0;
}
