// The overview of the largest range (500 x 500 hexes, one pixel a hex) drawn whole, beside
// one copy of its pixels and beside the 38 x 20 main frame, measured in the same run (aim: at
// most 5 ms under Wine, where the Windows build of this program runs). And what an idle pass
// costs the loop with the overview open: taking its (empty) mouse queue and nothing drawn.
// Medians of several runs.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <vector>

#include "drawing/mouse_queue.h"
#include "drawing/surface.h"
#include "tests/bench/median_ms.h"
#include "view/layout.h"
#include "view/map_view.h"
#include "view/overview.h"
#include "view/view_state.h"

namespace {

double MedianMs(const std::function<void()>& work, int runs) {
  return MedianOfRunsMs([] {}, work, runs);
}

// Three teams in stripes, a unit on every fifth hex, a city on every eleventh.
void FillWorld() {
  WorldRecord& w = g_world;
  w.worldWidth = w.worldHeight = w.rangeWidth = w.rangeHeight = kMaxGrid;
  w.teamCount = 3;
  for (int t = 0; t < 3; ++t) w.teams[t].colour = 0x203040u * uint32_t(t + 1);
  w.teams[kUnownedTeam].colour = 0xFFFFFF;
  for (int x = 0; x < kMaxGrid; ++x)
    for (int y = 0; y < kMaxGrid; ++y) {
      Cell& c = w.grid[x][y];
      c.globalX = x, c.globalY = y;
      c.owner = uint8_t((x / 40 + y / 30) % 3);
      ClearUnit(c.unit);
      if ((x * 7 + y) % 5 == 0) c.unit.unitClass = 1, c.unit.unitLevel = 1;
      if ((x + 3 * y) % 11 == 0) c.building.buildingCode = 10101;
      NormaliseCell(x, y);
    }
}

}  // namespace

int main() {
  FillWorld();
  ViewState& v = g_view;
  ResetArea(v);
  g_layout = ComputeLayout(38, 20, kMaxGrid, kMaxGrid);
  const OverviewGeometry g = OverviewFor(kMaxGrid, kMaxGrid, 0);
  std::vector<uint32_t> pixels, copy(size_t(g.width) * g.height);
  DrawOverview(g, g_world, v, g_layout, pixels);
  const double copyMs =
      MedianMs([&] { memcpy(copy.data(), pixels.data(), pixels.size() * 4); }, 101);
  const double overviewMs = MedianMs([&] { DrawOverview(g, g_world, v, g_layout, pixels); }, 41);
  v.area.SetAll();
  const double areaMs = MedianMs([&] { DrawOverview(g, g_world, v, g_layout, pixels); }, 41);
  v.area.Clear();

  resize_surface(&offscreenSurface, g_layout.windowWidth, g_layout.windowHeight);
  set_target(&offscreenSurface);
  set_text_style(12, 0, "宋体");
  set_back_mode(kBackTransparent);
  const double frameMs = MedianMs([] { ComposeScreen(); }, 41);

  MouseQueue idleQueue;
  MouseMessage m;
  const double idleMs = MedianMs(
                            [&] {
                              for (int i = 0; i < 1000; ++i) idleQueue.take(m);
                            },
                            41) /
                        1000;

  printf("overview of %d x %d hexes (%d x %d pixels, square %d)\n", kMaxGrid, kMaxGrid, g.width,
         g.height, g.square);
  printf("  one copy of its pixels (baseline)         %8.3f ms\n", copyMs);
  printf(
      "  drawn whole                               %8.3f ms  %6.1f x the copy  %5.2f x the frame  "
      "aim <= 5 ms\n",
      overviewMs, overviewMs / copyMs, overviewMs / frameMs);
  printf("  drawn whole, every hex in the area        %8.3f ms  %6.1f x the copy\n", areaMs,
         areaMs / copyMs);
  printf("  the 38 x 20 main frame (beside it)        %8.3f ms\n", frameMs);
  printf("an idle pass with the overview open: its empty queue looked at, %.5f ms; nothing drawn\n",
         idleMs);
  return 0;
}
