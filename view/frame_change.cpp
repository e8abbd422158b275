#include "view/frame_change.h"

#include <cstring>
#include <string>

#include "drawing/window.h"
#include "scenario/world_record.h"
#include "view/hover_info.h"
#include "view/layout.h"
#include "view/map_view.h"
#include "view/view_state.h"

namespace {

std::vector<uint8_t> g_drawn;    // what the last drawn frame showed
std::vector<uint8_t> g_current;  // gathered by FrameChanged, kept to save an allocation
bool g_anyDrawn = false;

template <class T>
void Add(std::vector<uint8_t>& out, const T& value) {
  const uint8_t* p = reinterpret_cast<const uint8_t*>(&value);
  out.insert(out.end(), p, p + sizeof value);
}

void AddBytes(std::vector<uint8_t>& out, const void* bytes, size_t n) {
  const uint8_t* p = static_cast<const uint8_t*>(bytes);
  out.insert(out.end(), p, p + n);
}

// Each visible column's hexes lie one after another in the grid.
void AddVisibleCells(std::vector<uint8_t>& out) {
  const Layout& l = g_layout;
  for (int32_t col = 0; col < l.viewCols; ++col)
    AddBytes(out, &g_world.grid[g_view.scrollX + col][g_view.scrollY],
             sizeof(Cell) * size_t(l.viewRows));
}

// Which visible hexes carry the area's mark.
void AddVisibleArea(std::vector<uint8_t>& out) {
  const Layout& l = g_layout;
  const bool any = !g_view.area.empty();
  Add(out, any);
  if (!any) return;
  for (int32_t col = 0; col < l.viewCols; ++col)
    for (int32_t row = 0; row < l.viewRows; ++row)
      out.push_back(g_view.area.Contains(g_view.scrollX + col, g_view.scrollY + row));
}

// The box is placed by the pointer and shows the lines about the hex it rests on.
void AddHoverBox(std::vector<uint8_t>& out) {
  const PointerRest& p = g_view.pointer;
  Add(out, p.boxShown);
  if (!p.boxShown) return;
  Add(out, p.x);
  Add(out, p.y);
  Add(out, p.restX);
  Add(out, p.restY);
  for (const std::string& line : HoverLines(p.restX, p.restY)) {
    AddBytes(out, line.data(), line.size());
    out.push_back('\n');
  }
}

}  // namespace

void FrameShows(std::vector<uint8_t>& out) {
  out.clear();
  Add(out, WindowsOpened());  // a window opens blank
  Add(out, g_layout);
  Add(out, offscreenSurface.width);
  Add(out, offscreenSurface.height);
  Add(out, g_world.originX);  // the stagger
  Add(out, g_world.originY);
  Add(out, g_world.rangeWidth);  // the thumbs
  Add(out, g_world.rangeHeight);
  Add(out, g_world.teamCount);
  Add(out, g_world.teams);  // colours and flags
  Add(out, g_view.scrollX);
  Add(out, g_view.scrollY);
  Add(out, g_view.selCol);
  Add(out, g_view.selRow);
  AddBytes(out, g_view.noticeShown.data(), g_view.noticeShown.size());
  out.push_back(0);
  AddVisibleCells(out);
  AddVisibleArea(out);
  AddHoverBox(out);
}

bool FrameChanged() {
  FrameShows(g_current);
  return !g_anyDrawn || g_current != g_drawn;
}

void RememberDrawnFrame() {
  FrameShows(g_drawn);
  g_anyDrawn = true;
}
