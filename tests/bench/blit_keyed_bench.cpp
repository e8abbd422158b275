// The colour-keyed copy of artwork against memcpy of the same bytes, for a flag-sized and a
// window-sized picture, measured in the same run.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "catalogs/artwork.h"
#include "drawing/surface.h"

namespace {

Surface g_target, g_flag, g_window;

void Prepare(Surface& s, int w, int h) {
  resize_surface(&s, w, h);
  // A third of the pixels transparent, as in real artwork.
  for (int i = 0; i < w * h; ++i) s.pixels[i] = (i % 3) ? 0x00336699u + uint32_t(i) : 0;
}

void Setup() {
  resize_surface(&g_target, 640, 640);
  Prepare(g_flag, 20, 13);
  Prepare(g_window, 630, 625);
  set_target(&g_target);
}

void BM_BlitKeyed(benchmark::State& state, Surface* image) {
  for (auto _ : state) {
    blit_keyed(3, 2, *image);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * image->width * image->height * 4);
}

void BM_Memcpy(benchmark::State& state, Surface* image) {
  std::vector<uint32_t> to(size_t(image->width) * image->height);
  for (auto _ : state) {
    memcpy(to.data(), image->pixels, to.size() * 4);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(to.size()) * 4);
}

// The unkeyed copy of the same picture to the same place: one memcpy per row into the target.
void BM_MemcpyRows(benchmark::State& state, Surface* image) {
  for (auto _ : state) {
    for (int32_t row = 0; row < image->height; ++row)
      memcpy(g_target.pixels + size_t(2 + row) * g_target.width + 3,
             image->pixels + size_t(row) * image->width, size_t(image->width) * 4);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * image->width * image->height * 4);
}

class Collector : public benchmark::ConsoleReporter {
 public:
  std::map<std::string, double> bytesPerSecond;
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& r : runs)
      bytesPerSecond[r.benchmark_name()] = r.counters.at("bytes_per_second");
    ConsoleReporter::ReportRuns(runs);
  }
};

}  // namespace

int main(int argc, char** argv) {
  Setup();
  benchmark::RegisterBenchmark("blit_keyed/flag_20x13", BM_BlitKeyed, &g_flag);
  benchmark::RegisterBenchmark("memcpy/flag_20x13", BM_Memcpy, &g_flag);
  benchmark::RegisterBenchmark("memcpy_rows/flag_20x13", BM_MemcpyRows, &g_flag);
  benchmark::RegisterBenchmark("blit_keyed/window_630x625", BM_BlitKeyed, &g_window);
  benchmark::RegisterBenchmark("memcpy/window_630x625", BM_Memcpy, &g_window);
  benchmark::RegisterBenchmark("memcpy_rows/window_630x625", BM_MemcpyRows, &g_window);
  benchmark::Initialize(&argc, argv);
  Collector c;
  benchmark::RunSpecifiedBenchmarks(&c);
  for (const char* size : {"flag_20x13", "window_630x625"}) {
    double keyed = c.bytesPerSecond[std::string("blit_keyed/") + size];
    double plain = c.bytesPerSecond[std::string("memcpy/") + size];
    double rows = c.bytesPerSecond[std::string("memcpy_rows/") + size];
    printf(
        "%s: blit_keyed %.2f GB/s, memcpy %.2f GB/s, ratio %.2f (aim: at least 0.5); "
        "memcpy row by row into the target %.2f GB/s, ratio %.2f\n",
        size, keyed / 1e9, plain / 1e9, keyed / plain, rows / 1e9, keyed / rows);
  }
  return 0;
}
