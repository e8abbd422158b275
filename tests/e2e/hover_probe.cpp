// The core's side of the information box's end-to-end test (tests/e2e/hover_e2e.sh): which
// hex to rest the pointer on, and where a screenshot shows the box.
//
//   hover_probe facts FILE.btl
//     Run in the folder that holds 数据. Loads the file with the range the editor offers.
//     Prints shell assignments: map_width, map_height; for the first hex of the range
//     (columns outer) holding a unit and a city: h_click and v_click, the client points of
//     clicks on the horizontal and the vertical track that bring it into view from the view
//     as the main window opens ("-1 -1" where none is needed), hex_x, hex_y (its top-left
//     pixel then), point_x, point_y (its centre) and box_height, the height of its box
//     (HoverBoxHeight of its line count).
//
//   hover_probe box PLAIN.png SHOWN.png
//     Where two screenshots of the main window differ: box_x, box_y, box_w, box_h (the
//     bounding rectangle of the differing pixels; all 0 when none differ), box_outlined (1
//     when that rectangle's border is black all round), box_white and box_ink (pixels inside
//     the border that are white, and dark enough to be text).
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>

#include "app/editor.h"
#include "base/config.h"
#include "base/files.h"
#include "tests/support/png_reader.h"
#include "view/hex_geometry.h"
#include "view/hover_info.h"
#include "view/layout.h"
#include "view/view_state.h"

namespace {

MapRange KeepOfferedRange(const MapRange& offered, const WorldImage&, const std::string&) {
  return offered;
}

// A track click along one axis that brings position `at` of the range into the view away
// from the view's edges (where the range allows): -1 when the view as it opens shows it so
// already, else the click's coordinate along the track; 0 when no click does.
int32_t TrackClick(int32_t at, int32_t viewSize, int32_t trackStart, int32_t trackLength,
                   const std::function<int32_t(int32_t)>& scrollAfterClick) {
  auto shows = [&](int32_t scroll) { return scroll < at && at < scroll + viewSize - 1; };
  if (shows(0) || (at == 0 && viewSize > 0)) return -1;
  for (int32_t c = trackStart; c < trackStart + trackLength; ++c)
    if (shows(scrollAfterClick(c))) return c;
  return 0;
}

int Facts(const char* file) {
  Status s = LoadScenario(file, KeepOfferedRange);
  if (!s.ok()) {
    fprintf(stderr, "%s\n", s.message.c_str());
    return 1;
  }
  const Layout l = ComputeLayout(ConfigInt(kConfigViewCols, 12), ConfigInt(kConfigViewRows, 10),
                                 g_world.rangeWidth, g_world.rangeHeight);
  printf("map_width=%d\nmap_height=%d\n", l.mapWidthPx, l.mapHeightPx);
  auto afterClick = [&](int32_t x, int32_t y) {
    ViewState v;
    ClickTracks(v, l, g_world.rangeWidth, g_world.rangeHeight, x, y);
    return v;
  };
  for (int x = 0; x < g_world.rangeWidth; ++x)
    for (int y = 0; y < g_world.rangeHeight; ++y) {
      const Cell& c = g_world.grid[x][y];
      if (!c.hasUnit || !c.hasBuilding || c.building.buildingCode / 100 != 101) continue;
      const int32_t hy = l.hTrack.y + 15, vx = l.vTrack.x + 15;
      int32_t hClick = TrackClick(x, l.viewCols, l.hTrack.x, l.hTrack.w,
                                  [&](int32_t at) { return afterClick(at, hy).scrollX; });
      int32_t vClick = TrackClick(y, l.viewRows, l.vTrack.y, l.vTrack.h,
                                  [&](int32_t at) { return afterClick(vx, at).scrollY; });
      if (hClick == 0 || vClick == 0) continue;
      const int32_t scrollX = hClick < 0 ? 0 : afterClick(hClick, hy).scrollX;
      const int32_t scrollY = vClick < 0 ? 0 : afterClick(vx, vClick).scrollY;
      PixelPoint hex = HexTopLeft(x - scrollX, y - scrollY, g_world.originX, scrollX);
      // Clicks as client points of the main window, "-1 -1" for none.
      printf("h_click='%d %d'\nv_click='%d %d'\n", hClick < 0 ? -1 : hClick, hClick < 0 ? -1 : hy,
             vClick < 0 ? -1 : vx, vClick < 0 ? -1 : vClick);
      printf("hex_x=%d\nhex_y=%d\npoint_x=%d\npoint_y=%d\n", hex.x, hex.y, hex.x + cellSize / 2,
             hex.y + cellSize / 2);
      printf("box_height=%d\n", HoverBoxHeight(int32_t(HoverLines(x, y).size())));
      return 0;
    }
  fprintf(stderr, "no hex with a unit and a city that track clicks can show\n");
  return 1;
}

uint32_t Rgb(uint32_t rgba) { return rgba & 0xFFFFFF; }

int Box(const char* plainFile, const char* shownFile) {
  DecodedPng plain, shown;
  std::string plainBytes, shownBytes, why;
  if (!ReadWholeFile(plainFile, plainBytes) || !ReadWholeFile(shownFile, shownBytes))
    why = "a file cannot be read";
  if (why.empty()) why = DecodePng(plainBytes, plain);
  if (why.empty()) why = DecodePng(shownBytes, shown);
  if (!why.empty() || plain.width != shown.width || plain.height != shown.height) {
    fprintf(stderr, "cannot compare the screenshots: %s\n",
            why.empty() ? "sizes differ" : why.c_str());
    return 1;
  }
  int left = shown.width, top = shown.height, right = -1, bottom = -1;
  for (int y = 0; y < shown.height; ++y)
    for (int x = 0; x < shown.width; ++x)
      if (Rgb(plain.At(x, y)) != Rgb(shown.At(x, y))) {
        left = x < left ? x : left, right = x > right ? x : right;
        top = y < top ? y : top, bottom = y > bottom ? y : bottom;
      }
  if (right < 0) {
    printf("box_x=0\nbox_y=0\nbox_w=0\nbox_h=0\nbox_outlined=0\nbox_white=0\nbox_ink=0\n");
    return 0;
  }
  int outlined = 1, white = 0, ink = 0;
  for (int y = top; y <= bottom; ++y)
    for (int x = left; x <= right; ++x) {
      uint32_t c = Rgb(shown.At(x, y));
      if (x == left || x == right || y == top || y == bottom) {
        if (c != 0) outlined = 0;
      } else if (c == 0xFFFFFF) {
        ++white;
      } else if ((c & 0xFF) + (c >> 8 & 0xFF) + (c >> 16 & 0xFF) < 3 * 0x80) {
        ++ink;
      }
    }
  printf("box_x=%d\nbox_y=%d\nbox_w=%d\nbox_h=%d\n", left, top, right - left + 1, bottom - top + 1);
  printf("box_outlined=%d\nbox_white=%d\nbox_ink=%d\n", outlined, white, ink);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && strcmp(argv[1], "facts") == 0) return Facts(argv[2]);
  if (argc == 4 && strcmp(argv[1], "box") == 0) return Box(argv[2], argv[3]);
  fprintf(stderr, "usage: hover_probe facts FILE.btl | hover_probe box PLAIN.png SHOWN.png\n");
  return 2;
}
