// The core's side of the overview's end-to-end test (tests/e2e/overview_e2e.sh drives the
// running editor; this program says where to click and what the pixels and the saved file
// must be).
//
//   overview_probe FILE.btl OWNER.btl
//
// Prints shell assignments: the overview's size and square; a target hex three quarters
// into the range, the point of the overview that names it and a point of the red frame's
// left edge at first, after two wheel notches and after the click centres the main view on it; two
// hexes of different owners in that centred view (the source and the target of an owner paste) with
// their click points, the overview pixel of the target's square and the source's colour;
// and writes OWNER.btl, the file after that paste. Run it in the folder that holds 数据.
// The expected file is made on the record's bytes, not by the editor's paste.
#include <cstdio>
#include <string>

#include "app/editor.h"
#include "base/config.h"
#include "drawing/surface.h"
#include "scenario/battle_write.h"
#include "scenario/safe_save.h"
#include "view/cell_plan.h"
#include "view/hex_geometry.h"
#include "view/layout.h"
#include "view/overview.h"
#include "view/view_state.h"

namespace {

MapRange KeepOfferedRange(const MapRange& offered, const WorldImage&, const std::string&) {
  return offered;
}

std::string Rgb(uint32_t pixel) {
  return std::to_string(pixel >> 16 & 0xFF) + "," + std::to_string(pixel >> 8 & 0xFF) + "," +
         std::to_string(pixel & 0xFF);
}

uint32_t FillPixel(const Cell& c) {
  return PixelFromColour(c.worldInfo.terrain == 1 ? kSeaColour : TeamOfOwner(c.owner).colour);
}

bool Plain(const Cell& c) { return !c.hasUnit && !c.hasBuilding && c.worldInfo.terrain != 1; }

void PrintMainHex(const char* name, int x, int y, const ViewState& v) {
  PixelPoint p = HexTopLeft(x - v.scrollX, y - v.scrollY, g_world.originX, v.scrollX);
  printf("%s_x=%d\n%s_y=%d\n", name, p.x + 25, name, p.y + 25);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) return fprintf(stderr, "usage: overview_probe FILE.btl OWNER.btl\n"), 2;
  Status s = LoadScenario(argv[1], KeepOfferedRange);
  if (!s.ok()) return fprintf(stderr, "%s\n", s.message.c_str()), 1;
  const Layout l = ComputeLayout(ConfigInt(kConfigViewCols, 12), ConfigInt(kConfigViewRows, 10),
                                 g_world.rangeWidth, g_world.rangeHeight);
  const OverviewGeometry g = OverviewFor(g_world.rangeWidth, g_world.rangeHeight, g_world.originX);
  const int k = g.square;
  printf("ov_size=%dx%d\nov_k=%d\n", g.width, g.height, k);

  ViewState v;
  const int tx = g_world.rangeWidth * 3 / 4, ty = g_world.rangeHeight * 3 / 4;
  printf("ov_click=%d,%d\n", OverviewSquareX(g, tx) + k / 2, OverviewSquareY(g, tx, ty) + k / 2);
  // The red frame's left edge, a square below its top-left corner: at first, after two
  // wheel notches down (two rows, as far as the range goes) and after the click.
  auto frame = [&](const char* name) {
    printf("%s=%d,%d\n", name, v.scrollX * k, v.scrollY * k + k);
  };
  frame("frame_before");
  TurnWheel(v, l, -240, false);
  frame("frame_wheel");
  CentreViewOn(v, l, tx, ty);
  frame("frame_after");

  // The source and the target of the paste, in the centred view, away from its edges.
  int sx = -1, sy = -1, dx = -1, dy = -1;
  for (int x = v.scrollX + 1; x < v.scrollX + l.viewCols - 1 && dx < 0; ++x)
    for (int y = v.scrollY + 1; y < v.scrollY + l.viewRows - 1 && dx < 0; ++y) {
      const Cell& c = g_world.grid[x][y];
      if (!Plain(c)) continue;
      if (sx < 0) {
        sx = x, sy = y;
      } else if (FillPixel(c) != FillPixel(g_world.grid[sx][sy])) {
        dx = x, dy = y;
      }
    }
  if (dx < 0)
    return fprintf(stderr, "no two plain hexes of different owners in the centred view\n"), 1;
  PrintMainHex("source", sx, sy, v);
  PrintMainHex("target", dx, dy, v);
  printf("target_ov=%d,%d\n", OverviewSquareX(g, dx) + k / 2, OverviewSquareY(g, dx, dy) + k / 2);
  printf("target_before='%s'\nsource_colour='%s'\n", Rgb(FillPixel(g_world.grid[dx][dy])).c_str(),
         Rgb(FillPixel(g_world.grid[sx][sy])).c_str());
  // A resize to four more columns and two more rows (as far as the range goes): the view
  // from the scroll position the resize keeps, and a hex of its last column clicked.
  const Layout big =
      ComputeLayout(l.viewCols + 4, l.viewRows + 2, g_world.rangeWidth, g_world.rangeHeight);
  const Layout resized = LayoutForClient(big.windowWidth, big.windowHeight, g_world.rangeWidth,
                                         g_world.rangeHeight, kMinViewCols, kMinViewRows);
  scroll_by(v, resized, 0, 0);
  const int col = resized.viewCols - 1, row = 2;
  PixelPoint p = HexTopLeft(col, row, g_world.originX, v.scrollX);
  printf("resize_to=%dx%d\nresize_click=%d,%d\nresize_outline=%d,%d\n", resized.windowWidth,
         resized.windowHeight, p.x + 25, p.y + 25, p.x, p.y + 20);

  g_world.grid[dx][dy].owner = g_world.grid[sx][sy].owner;
  std::vector<uint8_t> bytes;
  if (!(s = BuildBattleBytes(bytes)).ok() ||
      !(s = SafeSave(argv[2], bytes.data(), bytes.size())).ok())
    return fprintf(stderr, "%s\n", s.message.c_str()), 1;
  return 0;
}
