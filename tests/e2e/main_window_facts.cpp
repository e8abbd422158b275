// What the editor's main window must look like for a battle file, from the core: its size
// (the layout for the configured view size and the file's range, as the editor computes it
// after the range it offers is confirmed) and the colours hexes are filled with.
//
//   main_window_facts FILE.btl
//
// Run it in the folder that holds 数据 (the world map and 配置.ini). Prints shell
// assignments: window_width, window_height, map_width, map_height (the map area at the
// window's top-left) and map_colours, the distinct fill colours of the range's hexes as
// "#RRGGBB" words.
#include <cstdio>
#include <set>
#include <string>

#include "base/config.h"
#include "app/editor.h"
#include "view/cell_plan.h"
#include "view/layout.h"

namespace {

MapRange KeepOfferedRange(const MapRange& offered, const WorldImage&, const std::string&) {
  return offered;
}

// A hex's fill: sea whatever its owner, else its team's colour (0x00BBGGRR).
uint32_t FillColour(const Cell& c) {
  return c.worldInfo.terrain == 1 ? kSeaColour : TeamOfOwner(c.owner).colour;
}

std::string ColourWords() {
  std::set<uint32_t> colours;
  for (int x = 0; x < g_world.rangeWidth; ++x)
    for (int y = 0; y < g_world.rangeHeight; ++y) colours.insert(FillColour(g_world.grid[x][y]));
  std::string words;
  char word[16];
  for (uint32_t c : colours) {
    snprintf(word, sizeof word, "%s#%02X%02X%02X", words.empty() ? "" : " ", c & 0xFF,
             c >> 8 & 0xFF, c >> 16 & 0xFF);
    words += word;
  }
  return words;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    fprintf(stderr, "usage: main_window_facts FILE.btl\n");
    return 2;
  }
  Status s = LoadScenario(argv[1], KeepOfferedRange);
  if (!s.ok()) {
    fprintf(stderr, "%s\n", s.message.c_str());
    return 1;
  }
  Layout l = ComputeLayout(ConfigInt(kConfigViewCols, 12), ConfigInt(kConfigViewRows, 10),
                           g_world.rangeWidth, g_world.rangeHeight);
  printf("window_width=%d\nwindow_height=%d\n", l.windowWidth, l.windowHeight);
  printf("map_width=%d\nmap_height=%d\n", l.mapWidthPx, l.mapHeightPx);
  printf("map_colours='%s'\n", ColourWords().c_str());
  return 0;
}
