// Timings of the editor itself under Windows (or Wine), run in a folder holding the demo
// data, each printed beside its aim and a baseline measured in the same run: start-up data
// loading (step by step) against reading the same files' bytes, one whole frame of
// draw_screen at two view sizes against one memcpy of the frame's pixels (the larger also
// with the information box shown), and the processor time of the idle main loop.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

// Figures appear as they are measured, also when the output is a pipe.
static const int kUnbuffered = setvbuf(stdout, nullptr, _IONBF, 0);

#include "app/editor.h"
#include "app/pace.h"
#include "app/range_frame.h"
#include "app/range_select.h"
#include "base/config.h"
#include "base/files.h"
#include "base/wide.h"
#include "catalogs/artwork.h"
#include "catalogs/catalogs.h"
#include "catalogs/string_table.h"
#include "drawing/window.h"
#include "view/hex_geometry.h"
#include "view/hover_info.h"
#include "view/layout.h"
#include "view/map_view.h"
#include "view/view_state.h"
#include "scenario/world_map.h"

namespace {

double Ms(std::chrono::steady_clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

MapRange KeepRange(const MapRange& initial, const WorldImage&, const std::string&) {
  return initial;
}

double ProcessCpuMs() {
  FILETIME created, exited, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  auto ms = [](FILETIME t) {
    return (double(t.dwHighDateTime) * 4294967296.0 + t.dwLowDateTime) / 1e4;
  };
  return ms(kernel) + ms(user);
}

// Milliseconds per run of a step: the mean of the fastest of five batches of runs (after a
// first run). The memcpy baseline is measured the same way, so that the ratios compare like
// with like on a machine other work is also using.
template <class Step>
double MsPer(Step step, int runs = 200) {
  step();
  double best = 1e9;
  const int batch = std::max(runs / 5, 1);
  for (int b = 0; b < 5; ++b) {
    auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < batch; ++i) step();
    best = std::min(best, Ms(std::chrono::steady_clock::now() - start) / batch);
  }
  return best;
}

// A whole frame: draw_screen draws every hex, the panels and the box whatever changed.
double MsPerFrame() { return MsPer(draw_screen); }

// One memcpy of a frame's pixels between two buffers of its size, timed as MsPer times.
double MsPerMemcpy(int32_t width, int32_t height) {
  std::vector<uint32_t> from(size_t(width) * height, 0x123456), to(from.size());
  size_t i = 0;
  return MsPer([&] {
    memcpy(to.data(), from.data(), from.size() * 4);
    from[i % from.size()] = to[(i + 1) % to.size()];  // the copy is used
    ++i;
  });
}

// Every file under a folder, read whole; the bytes read.
uint64_t ReadFolder(const std::wstring& folder) {
  uint64_t bytes = 0;
  WIN32_FIND_DATAW found;
  HANDLE h = FindFirstFileW((folder + L"\\*").c_str(), &found);
  if (h == INVALID_HANDLE_VALUE) return 0;
  do {
    std::wstring name = found.cFileName;
    if (name == L"." || name == L"..") continue;
    std::wstring path = folder + L"\\" + name;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      bytes += ReadFolder(path);
      continue;
    }
    std::string content;
    if (ReadWholeFile(Utf8FromWide(path), content)) bytes += content.size();
  } while (FindNextFileW(h, &found));
  FindClose(h);
  return bytes;
}

// The baseline of start-up: the bytes of the catalogs, the string table and every picture.
double MsToReadStartUpFiles(uint64_t& bytes) {
  auto start = std::chrono::steady_clock::now();
  bytes = 0;
  for (const char* name : {"RankSettings.json", "ArmySettings.json", "BuildingSettings.json",
                           "CommanderSettings.json", "CountrySettings.json"}) {
    std::string content;
    if (ReadWholeFile(DataPath(name), content)) bytes += content.size();
  }
  std::string table;
  if (ReadWholeFile(StringTablePath(), table)) bytes += table.size();
  std::string pictures = PicturePath("");
  while (!pictures.empty() && (pictures.back() == '\\' || pictures.back() == '/'))
    pictures.pop_back();
  bytes += ReadFolder(WideFromUtf8(pictures));
  return Ms(std::chrono::steady_clock::now() - start);
}

// LoadGameData step by step, each step timed.
double TimedStartUp() {
  struct Step {
    const char* what;
    void (*run)();
  } steps[] = {
      {"rank, army, building catalogs",
       [] {
         LoadRankCatalog();
         LoadArmyCatalog();
         LoadBuildingCatalog();
       }},
      {"picture decoder", [] { start_pictures(); }},
      {"commander catalog (portraits deferred)",
       [] { LoadCommanderCatalog(LoadCommanderPortrait); }},
      {"country catalog", [] { LoadCountryCatalog(); }},
      {"string table", [] { load_string_table(); }},
      {"pictures (flags ... decoded, portraits checked)", [] { LoadArtworkList(); }},
  };
  double total = 0;
  for (const Step& step : steps) {
    auto start = std::chrono::steady_clock::now();
    step.run();
    double ms = Ms(std::chrono::steady_clock::now() - start);
    printf("  %-48s %6.1f ms\n", step.what, ms);
    total += ms;
  }
  return total;
}

// The pointer resting on the visible hex with the longest information box.
void RestOnTheFullestHex() {
  size_t most = 0;
  PointerRest& p = g_view.pointer;
  for (int col = 0; col < g_layout.viewCols; ++col)
    for (int row = 0; row < g_layout.viewRows; ++row) {
      size_t lines = HoverLines(g_view.scrollX + col, g_view.scrollY + row).size();
      if (lines <= most) continue;
      most = lines;
      PixelPoint hex = HexTopLeft(col, row, g_world.originX, g_view.scrollX);
      p.inWindow = true;
      p.x = hex.x + 25;
      p.y = hex.y + 25;
      p.restX = g_view.scrollX + col;
      p.restY = g_view.scrollY + row;
    }
  p.boxShown = true;
}

void FrameTiming(int cols, int rows) {
  g_layout = ComputeLayout(cols, rows, g_world.rangeWidth, g_world.rangeHeight);
  resize_surface(&offscreenSurface, g_layout.windowWidth, g_layout.windowHeight);
  set_target(&offscreenSurface);
  set_text_style(12, 0, "宋体");
  set_back_mode(kBackTransparent);
  open_window(g_layout.windowWidth, g_layout.windowHeight, 0);
  double perFrame = MsPerFrame();
  double copy = MsPerMemcpy(g_layout.windowWidth, g_layout.windowHeight);
  printf(
      "draw_screen %2d x %2d (%d x %d pixels): %.2f ms per whole frame, %.0f%% of the 20 ms "
      "pass; one memcpy of its pixels %.2f ms; ratio %.2f (aim for 38 x 20: at most 2)\n",
      g_layout.viewCols, g_layout.viewRows, g_layout.windowWidth, g_layout.windowHeight, perFrame,
      perFrame / 20.0 * 100, copy, perFrame / copy);
  // Its two halves: composing the frame off screen, and showing it (the copy into the
  // window's back buffer and from there onto the window).
  double compose = MsPer(ComposeScreen);
  double show = MsPer([] {
    set_target(nullptr);
    put_surface(0, 0, offscreenSurface);
  });
  printf("  composing it %.2f ms (ratio %.2f to the memcpy); showing it %.2f ms (ratio %.2f)\n",
         compose, compose / copy, show, show / copy);
  if (cols == 38) {
    RestOnTheFullestHex();
    double withBox = MsPerFrame();
    printf(
        "draw_screen %2d x %2d with the information box (%zu lines): %.2f ms per frame, ratio "
        "%.2f to the memcpy (without it: %.2f ms)\n",
        g_layout.viewCols, g_layout.viewRows,
        HoverLines(g_view.pointer.restX, g_view.pointer.restY).size(), withBox, withBox / copy,
        perFrame);
    g_view.pointer = PointerRest{};
  }
  close_window();
}

// The keyed copy of every loaded flag into a frame-sized target, against copying the same
// rows with memcpy to the same places.
void KeyedBlitTiming() {
  Surface target;
  resize_surface(&target, 640, 480);
  set_target(&target);
  std::vector<const Surface*> flags;
  int64_t pixels = 0;
  for (const Surface& f : g_artwork.FlagSurface)
    if (f.pixels && f.width > 0) {
      flags.push_back(&f);
      pixels += int64_t(f.width) * f.height;
    }
  if (flags.empty()) {
    printf("keyed blit: no flags loaded\n");
    return;
  }
  uint32_t* to = surface_pixels(&target);
  auto place = [&](size_t i, int32_t& x, int32_t& y) {
    x = int32_t(i * 37 % 560) + 3;
    y = int32_t(i * 23 % 400) + 2;
  };
  double keyed = MsPer(
      [&] {
        for (size_t i = 0; i < flags.size(); ++i) {
          int32_t x, y;
          place(i, x, y);
          blit_keyed(x, y, *flags[i]);
        }
      },
      500);
  double plain = MsPer(
      [&] {
        for (size_t i = 0; i < flags.size(); ++i) {
          int32_t x, y;
          place(i, x, y);
          const Surface& f = *flags[i];
          for (int32_t row = 0; row < f.height; ++row)
            memcpy(to + size_t(y + row) * target.width + x, f.pixels + size_t(row) * f.width,
                   size_t(f.width) * 4);
        }
      },
      500);
  printf(
      "keyed blit of %zu flags (%d x %d, %.1f kB): %.2f us, memcpy of their rows %.2f us; "
      "speed ratio %.2f (aim: at least 0.5)\n",
      flags.size(), flags[0]->width, flags[0]->height, pixels * 4 / 1e3, keyed * 1e3, plain * 1e3,
      plain / keyed);
  set_target(nullptr);
  DestroySurface(&target);
}

// The range selection's window: the world picture drawn once, then a frame per move of the
// red frame, against showing its pixels (a copy onto the window) and one memcpy of them.
void RangeWindowTiming() {
  WorldImage world;
  if (!ReadWorldMapFile(WorldMapPath(), world).ok()) {
    printf("range window: no world map\n");
    return;
  }
  const int32_t cellPx = FittingCellPx(ConfigInt(kConfigHexSide, 3), world.width, world.height);
  resize_surface(&rangeSurface, cellPx * (world.width + 2), cellPx * (world.height + 2));
  open_window(rangeSurface.width, rangeSurface.height, 0);
  auto start = std::chrono::steady_clock::now();
  DrawRangeWorld(world, cellPx);
  double once = Ms(std::chrono::steady_clock::now() - start);
  RangeFrame frame =
      FrameAround({world.width / 4, world.height / 4, world.width / 2, world.height / 2});
  int moves = 0;
  double perFrame = MsPer([&] {
    RangeFrame f = frame;
    f.right -= moves++ % 2;  // the frame moves every time
    DrawRangeFrame(f, cellPx);
  });
  double show = MsPer([] {
    set_target(nullptr);
    put_surface(0, 0, rangeSurface);
  });
  double copy = MsPerMemcpy(rangeSurface.width, rangeSurface.height);
  printf(
      "range window (%d x %d pixels): world picture %.1f ms, once; %.2f ms per frame; "
      "showing its pixels %.2f ms, ratio %.2f (aim: at most 1); one memcpy %.2f ms\n",
      rangeSurface.width, rangeSurface.height, once, perFrame, show, perFrame / show, copy);
  close_window();
}

}  // namespace

int main(int argc, char** argv) {
  const char* scenario = argc > 1 ? argv[1] : "demo_large.btl";
  uint64_t bytes = 0;
  double read = MsToReadStartUpFiles(bytes);  // also warms the file cache for the load
  read = std::min(read, MsToReadStartUpFiles(bytes));
  printf("start-up data loading (catalogs, string table, every picture), step by step:\n");
  double startUp = TimedStartUp();
  printf(
      "start-up data loading: %.0f ms (aim: at most 400 ms); reading the same files' %.1f MB: "
      "%.1f ms; ratio %.1f (aim: at most 2)\n",
      startUp, bytes / 1e6, read, startUp / read);
  Status s = LoadScenario(scenario, KeepRange);
  if (!s.ok()) {
    printf("cannot load %s: %s\n", scenario, s.message.c_str());
    return 1;
  }
  KeyedBlitTiming();
  RangeWindowTiming();
  FrameTiming(12, 10);
  FrameTiming(38, 20);

  // The idle main loop: a pass per 20 ms with nothing changing; beside it, the same passes
  // drawing every time, as the loop did before it drew only changed frames.
  layout_screen();
  for (bool everyPass : {false, true}) {
    open_window(g_layout.windowWidth, g_layout.windowHeight, 0);
    double cpu0 = ProcessCpuMs();
    auto wall0 = std::chrono::steady_clock::now();
    for (int i = 0; i < 250; ++i) {
      MainLoopPass();
      if (everyPass) draw_screen();
      pace_frame(20);
    }
    double cpu = ProcessCpuMs() - cpu0, wall = Ms(std::chrono::steady_clock::now() - wall0);
    if (everyPass)
      printf("baseline, the same loop drawing every pass: %.1f%% of one core\n", cpu / wall * 100);
    else
      printf(
          "idle main loop: %.1f%% of one core over %.1f s at %.0f passes per second (aim: at "
          "most 1%%)\n",
          cpu / wall * 100, wall / 1000, 250 / (wall / 1000));
    close_window();
  }
  return 0;
}
