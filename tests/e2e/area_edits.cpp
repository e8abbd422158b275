// The core's side of the area's end-to-end test (tests/e2e/area_e2e.sh drives the running
// editor; this program says what to click and what the saved files must hold).
//
//   area_edits FILE.btl OWNERS.btl FOUND.btl
//
// Picks, in the first 12 x 10 view, a rectangle from local (1, 1) to (3, 2), one more hex
// (5, 4) and a source hex of another owner outside both; writes OWNERS.btl, the file after
// the source's owner is pasted onto the rectangle and the extra hex; picks the unit type of
// the most frequent kind of unit in the range and writes FOUND.btl, the file after the
// units and buildings of every hex holding that type are deleted. Prints shell assignments:
// the click points, the unit type, how many hexes hold it, and where the red outline of the
// selection lies after the find (the first match, centred) and after F3 (the second).
//
// Run it in the folder that holds 数据. The expected files are made on the records field by
// field, not by the editor's own paste and delete.
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "app/editor.h"
#include "scenario/battle_write.h"
#include "scenario/safe_save.h"
#include "view/hex_geometry.h"
#include "view/layout.h"
#include "view/view_state.h"

namespace {

constexpr int kViewCols = 12, kViewRows = 10;
constexpr int kAnchorX = 1, kAnchorY = 1, kCornerX = 3, kCornerY = 2, kExtraX = 5, kExtraY = 4;

MapRange KeepOfferedRange(const MapRange& offered, const WorldImage&, const std::string&) {
  return offered;
}

bool InPaste(int x, int y) {
  return (x >= kAnchorX && x <= kCornerX && y >= kAnchorY && y <= kCornerY) ||
         (x == kExtraX && y == kExtraY);
}

// The client point in the middle of grid hex (x, y) while the view starts at (sx, sy).
void PrintHex(const char* name, int x, int y, int sx = 0, int sy = 0) {
  PixelPoint p = HexTopLeft(x - sx, y - sy, g_world.originX, sx);
  printf("%s_x=%d\n%s_y=%d\n", name, p.x + 25, name, p.y + 25);
}

// Where the selection's red outline has its left edge, 20 pixels below its top.
void PrintOutline(const char* name, const ViewState& v) {
  PixelPoint p = HexTopLeft(v.selCol, v.selRow, g_world.originX, v.scrollX);
  printf("%s=%d,%d\n", name, p.x, p.y + 20);
}

Status Save(const char* path) {
  std::vector<uint8_t> bytes;
  Status s = BuildBattleBytes(bytes);
  return s.ok() ? SafeSave(path, bytes.data(), bytes.size()) : s;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    fprintf(stderr, "usage: area_edits FILE.btl OWNERS.btl FOUND.btl\n");
    return 2;
  }
  Status s = LoadScenario(argv[1], KeepOfferedRange);
  if (!s.ok()) return fprintf(stderr, "%s\n", s.message.c_str()), 1;
  static WorldRecord original;
  original = g_world;

  int sourceX = -1, sourceY = -1;
  for (int y = 0; y < kViewRows && sourceX < 0; ++y)
    for (int x = 0; x < kViewCols && sourceX < 0; ++x)
      if (!InPaste(x, y) && g_world.grid[x][y].owner != g_world.grid[kAnchorX][kAnchorY].owner)
        sourceX = x, sourceY = y;
  if (sourceX < 0) return fprintf(stderr, "no hex of another owner in the first view\n"), 1;
  const uint8_t owner = g_world.grid[sourceX][sourceY].owner;
  for (int x = 0; x < kViewCols; ++x)
    for (int y = 0; y < kViewRows; ++y)
      if (InPaste(x, y)) g_world.grid[x][y].owner = owner;
  if (!(s = Save(argv[2])).ok()) return fprintf(stderr, "%s\n", s.message.c_str()), 1;

  g_world = original;
  std::map<int, int> kinds;
  for (int x = 0; x < g_world.rangeWidth; ++x)
    for (int y = 0; y < g_world.rangeHeight; ++y) {
      const Cell& c = g_world.grid[x][y];
      if (c.hasUnit) ++kinds[c.unit.unitClass * 100 + c.unit.unitLevel];
    }
  int type = -1, count = 0;
  for (auto [kind, n] : kinds)
    if (n > count) type = kind, count = n;
  if (count < 2) return fprintf(stderr, "no kind of unit stands on two hexes\n"), 1;
  std::vector<GridHex> found;
  for (int y = 0; y < g_world.rangeHeight; ++y)
    for (int x = 0; x < g_world.rangeWidth; ++x) {
      Cell& c = g_world.grid[x][y];
      if (!c.hasUnit || c.unit.unitClass * 100 + c.unit.unitLevel != type) continue;
      found.push_back({x, y});
      c.hasUnit = c.hasBuilding = 0;
      ClearUnit(c.unit);
      ClearBuilding(c.building);
    }
  if (!(s = Save(argv[3])).ok()) return fprintf(stderr, "%s\n", s.message.c_str()), 1;

  PrintHex("source", sourceX, sourceY);
  PrintHex("anchor", kAnchorX, kAnchorY);
  PrintHex("corner", kCornerX, kCornerY);
  PrintHex("extra", kExtraX, kExtraY);
  printf("unit_type=%d\nfound_count=%d\n", type, count);
  // The view after the find and after F3, by the view's own rules of centring and revealing.
  ViewState v;
  Layout l = ComputeLayout(kViewCols, kViewRows, g_world.rangeWidth, g_world.rangeHeight);
  CentreAndSelect(v, l, found[0].x, found[0].y);
  PrintOutline("first_outline", v);
  RevealAndSelect(v, l, found[1].x, found[1].y);
  PrintOutline("second_outline", v);
  return 0;
}
