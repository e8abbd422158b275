// Edits over the area on the largest range (500 x 500, every hex in the area), beside one
// copy of the grid's cells and beside a paste onto one hex, measured in the same run: each
// paste key, Delete, a find by unit type, and recording the undo step of a whole-range paste
// (aim: each at most 30 ms). Then the 38 x 20 frame with every visible hex in the area beside
// the same frame without an area (aim: at most 10% more). Medians of several runs.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <vector>

#include "drawing/surface.h"
#include "tests/bench/median_ms.h"
#include "scenario/edit_history.h"
#include "view/hex_query.h"
#include "view/layout.h"
#include "view/map_view.h"
#include "view/view_state.h"

namespace {

constexpr int kRuns = 9;

double MedianMs(const std::function<void()>& setUp, const std::function<void()>& work,
                int runs = kRuns) {
  return MedianOfRunsMs(setUp, work, runs);
}

void FillWorld() {
  WorldRecord& w = g_world;
  w.worldWidth = w.worldHeight = kMaxGrid;
  w.rangeWidth = w.rangeHeight = kMaxGrid;
  w.teamCount = 3;
  for (int t = 0; t < 3; ++t) w.teams[t].colour = 0x203040u * uint32_t(t + 1);
  w.teams[kUnownedTeam].colour = 0xFFFFFF;
  for (int x = 0; x < kMaxGrid; ++x)
    for (int y = 0; y < kMaxGrid; ++y) {
      Cell& c = w.grid[x][y];
      c.globalX = x;
      c.globalY = y;
      c.owner = uint8_t((x + y) % 3);
      ClearUnit(c.unit);
      if ((x * 7 + y) % 5 == 0) {
        c.unit.unitClass = uint8_t(1 + (x + y) % 4);
        c.unit.unitLevel = 1;
      }
      if ((x + 3 * y) % 11 == 0) c.building.buildingCode = 200;
      NormaliseCell(x, y);
    }
}

void Print(const char* what, double ms, double baseline, const char* baselineName,
           const char* aim) {
  printf("%-46s %8.2f ms  %6.2f x %-22s %s\n", what, ms, ms / baseline, baselineName, aim);
}

}  // namespace

int main() {
  FillWorld();
  static WorldRecord filled;
  filled = g_world;
  auto restore = [] { g_world = filled; };
  ViewState& v = g_view;
  v = ViewState{};
  ResetArea(v);
  v.selCol = v.selRow = 3;
  CopySelected(v);

  std::vector<Cell> copy(size_t(kMaxGrid) * kMaxGrid);
  const double memcpyMs =
      MedianMs([] {}, [&] { memcpy(copy.data(), g_world.grid, sizeof g_world.grid); });
  const double oneHexMs = MedianMs([] {}, [&] { PasteSelected(v, true, true, true); }, 101);
  printf(
      "baseline: one copy of the grid's cells (%zu MB) %.2f ms; a paste onto one hex %.4f ms\n\n",
      sizeof g_world.grid >> 20, memcpyMs, oneHexMs);

  SelectWholeRange(v);
  struct Edit {
    const char* name;
    std::function<void()> work;
  };
  const Edit edits[] = {
      {"U over 250,000 hexes", [&] { PasteOnto(v, true, false, false); }},
      {"T over 250,000 hexes", [&] { PasteOnto(v, false, true, false); }},
      {"B over 250,000 hexes", [&] { PasteOnto(v, false, false, true); }},
      {"Delete over 250,000 hexes", [&] { DeleteUnitsAndBuildings(v); }},
  };
  for (const Edit& e : edits)
    Print(e.name, MedianMs(restore, e.work), memcpyMs, "the grid's copy", "aim <= 30 ms");
  restore();
  HexQuery query;
  query.unitType = 101;
  size_t found = 0;
  Print("find by unit type over 250,000 hexes",
        MedianMs([] {}, [&] { found = FindHexes(query).size(); }), memcpyMs, "the grid's copy",
        "aim <= 30 ms");
  EditHistory history;
  size_t stepBytes = 0;
  Print("record the step of U+T+B over 250,000 hexes",
        MedianMs(
            [&] {
              restore();
              history = EditHistory{};
              history.Start(g_world);
              PasteOnto(v, true, true, true);
            },
            [&] {
              history.Record(g_world);
              stepBytes = history.LastStep() ? history.LastStep()->Bytes() : 0;
            },
            5),
        memcpyMs, "the grid's copy", "aim <= 30 ms");
  printf("  (%zu hexes found; the step holds %.1f MB, the history allows %zu MB)\n\n", found,
         double(stepBytes) / 1e6, EditHistory::kDefaultMaxBytes >> 20);

  restore();
  g_layout = ComputeLayout(38, 20, kMaxGrid, kMaxGrid);
  resize_surface(&offscreenSurface, g_layout.windowWidth, g_layout.windowHeight);
  set_target(&offscreenSurface);
  set_text_style(12, 0, "宋体");
  set_back_mode(kBackTransparent);
  v.selCol = v.selRow = -1;
  v.area.Clear();
  const double plainMs = MedianMs([] {}, [] { ComposeScreen(); }, 41);
  SelectWholeRange(v);
  const double markedMs = MedianMs([] {}, [] { ComposeScreen(); }, 41);
  printf(
      "38 x 20 frame without an area %.3f ms; with every visible hex in the area %.3f ms: %.1f%% "
      "more "
      "(aim <= 10%%)\n",
      plainMs, markedMs, 100.0 * (markedMs / plainMs - 1.0));
  return 0;
}
