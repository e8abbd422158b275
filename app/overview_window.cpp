#include "app/overview_window.h"

#include <string>
#include <vector>

#include "drawing/mouse_queue.h"
#include "drawing/side_window.h"
#include "view/layout.h"
#include "view/overview.h"
#include "view/view_state.h"

namespace {

struct OverviewWindow {
  bool open = false;
  OverviewGeometry geometry;
  std::vector<uint32_t> shown;  // the picture in the window
  std::vector<uint32_t> drawn;  // the one just drawn, kept to save an allocation
  std::string title;
};

OverviewWindow g_overview;

void Draw() {
  OverviewWindow& o = g_overview;
  const OverviewGeometry g = OverviewFor(g_world.rangeWidth, g_world.rangeHeight, g_world.originX);
  if (g.width != o.geometry.width || g.height != o.geometry.height ||
      g.originX != o.geometry.originX) {
    // Another range (another file): a window of the new size.
    o.geometry = g;
    o.shown.clear();
    o.open = OpenSideWindow(o.title, g.width, g.height);
    if (!o.open) return;
  }
  std::string title = OverviewTitle(g_view.area);
  if (title != o.title) {
    o.title = title;
    SetSideWindowTitle(title);
  }
  DrawOverview(g, g_world, g_view, g_layout, o.drawn);
  if (o.drawn == o.shown) return;
  o.shown.swap(o.drawn);
  ShowSidePicture(o.shown.data(), g.width, g.height);
}

// Clicks and drags with the left button down centre the main view on the hex under them.
bool TakeClicks() {
  bool scrolled = false;
  MouseMessage m;
  while (SideMouseQueue().take(m)) {
    const bool press = m.code == kLeftButtonDown || (m.code == kMouseMove && m.left);
    int32_t col, row;
    if (!press || !OverviewHexAt(g_overview.geometry, m.x, m.y, col, row)) continue;
    CentreViewOn(g_view, g_layout, col, row);
    scrolled = true;
  }
  return scrolled;
}

}  // namespace

void ToggleOverview() {
  OverviewWindow& o = g_overview;
  if (o.open) {
    CloseOverview();
    return;
  }
  o.geometry = OverviewFor(g_world.rangeWidth, g_world.rangeHeight, g_world.originX);
  o.title = OverviewTitle(g_view.area);
  o.shown.clear();
  o.open = OpenSideWindow(o.title, o.geometry.width, o.geometry.height);
  if (o.open) Draw();
}

bool OverviewOpen() { return g_overview.open; }

void RunOverview(bool changed) {
  OverviewWindow& o = g_overview;
  if (!o.open) return;
  if (!SideWindowOpen()) {  // the user closed it
    CloseOverview();
    return;
  }
  if (TakeClicks() || changed) Draw();
}

void CloseOverview() {
  CloseSideWindow();
  g_overview.open = false;
  g_overview.shown.clear();
}
