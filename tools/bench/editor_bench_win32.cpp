// Timings of the editor itself under Windows (or Wine), run in a folder holding the demo
// data: start-up data loading, one frame of draw_screen at two view sizes against the 20 ms
// pass (the larger also with the information box shown), and the processor time of the idle
// main loop.
#include <windows.h>

#include <chrono>
#include <cstdio>

// Figures appear as they are measured, also when the output is a pipe.
static const int kUnbuffered = setvbuf(stdout, nullptr, _IONBF, 0);

#include "app/editor.h"
#include "app/pace.h"
#include "drawing/window.h"
#include "view/hex_geometry.h"
#include "view/hover_info.h"
#include "view/layout.h"
#include "view/map_view.h"
#include "view/view_state.h"

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
  auto ms = [](FILETIME t) { return (double(t.dwHighDateTime) * 4294967296.0 + t.dwLowDateTime) / 1e4; };
  return ms(kernel) + ms(user);
}

double MsPerFrame() {
  draw_screen();
  const int frames = 200;
  auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < frames; ++i) draw_screen();
  return Ms(std::chrono::steady_clock::now() - start) / frames;
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
  printf("draw_screen %2d x %2d: %.2f ms per frame, %.0f%% of the 20 ms pass (aim: at most 25%% "
         "for 38 x 20)\n",
         g_layout.viewCols, g_layout.viewRows, perFrame, perFrame / 20.0 * 100);
  if (cols == 38) {
    RestOnTheFullestHex();
    double withBox = MsPerFrame();
    printf("draw_screen %2d x %2d with the information box (%zu lines): %.2f ms per frame, %.0f%% "
           "of the pass (without it: %.2f ms)\n",
           g_layout.viewCols, g_layout.viewRows,
           HoverLines(g_view.pointer.restX, g_view.pointer.restY).size(), withBox,
           withBox / 20.0 * 100, perFrame);
    g_view.pointer = PointerRest{};
  }
  close_window();
}

}  // namespace

int main(int argc, char** argv) {
  const char* scenario = argc > 1 ? argv[1] : "demo_large.btl";
  auto start = std::chrono::steady_clock::now();
  LoadGameData();
  printf("start-up data loading (catalogs, string table, every picture): %.0f ms (aim: under "
         "1000 ms)\n",
         Ms(std::chrono::steady_clock::now() - start));
  Status s = LoadScenario(scenario, KeepRange);
  if (!s.ok()) {
    printf("cannot load %s: %s\n", scenario, s.message.c_str());
    return 1;
  }
  FrameTiming(12, 10);
  FrameTiming(38, 20);

  // The idle main loop: a pass per 20 ms with nothing to do but drawing.
  layout_screen();
  open_window(g_layout.windowWidth, g_layout.windowHeight, 0);
  double cpu0 = ProcessCpuMs();
  auto wall0 = std::chrono::steady_clock::now();
  for (int i = 0; i < 250; ++i) {
    MainLoopPass();
    pace_frame(20);
  }
  double cpu = ProcessCpuMs() - cpu0, wall = Ms(std::chrono::steady_clock::now() - wall0);
  printf("idle main loop: %.1f%% of one core over %.1f s at %.0f passes per second (aim: under "
         "10%%)\n",
         cpu / wall * 100, wall / 1000, 250 / (wall / 1000));
  close_window();
  return 0;
}
