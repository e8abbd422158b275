#include "view/view_state.h"

#include <algorithm>
#include <optional>

#include "view/hex_geometry.h"

ViewState g_view;

void PickHex(ViewState& v, const Layout& l, int32_t originX, int32_t x, int32_t y) {
  std::optional<ViewHex> hex = HexAtPoint(x, y, originX, v.scrollX, l.mapHeightPx);
  if (!hex) return;
  v.selCol = hex->col;
  v.selRow = hex->row;
}

void ScrollBy(ViewState& v, const Layout& l, int32_t dx, int32_t dy) {
  int32_t newX = std::max(std::min(v.scrollX + dx, l.maxScrollX), 0);
  int32_t newY = std::max(std::min(v.scrollY + dy, l.maxScrollY), 0);
  if (v.hasSelection()) {
    int32_t gx = v.selX(), gy = v.selY();
    if (newX <= gx && gx < newX + l.viewCols && newY <= gy && gy < newY + l.viewRows) {
      v.selCol = gx - newX;
      v.selRow = gy - newY;
    } else {
      v.selCol = v.selRow = -1;
    }
  }
  v.scrollX = newX;
  v.scrollY = newY;
}

void ClickTracks(ViewState& v, const Layout& l, int32_t rangeWidth, int32_t rangeHeight,
                 int32_t x, int32_t y) {
  if (point_in_rect(x, y, l.hTrack)) {
    int32_t target = (x - l.hTrack.x) * rangeWidth / l.hTrack.w - l.viewCols / 2;
    ScrollBy(v, l, target - v.scrollX, 0);
  }
  if (point_in_rect(x, y, l.vTrack)) {
    int32_t target = (y - l.vTrack.y) * rangeHeight / l.vTrack.h - l.viewRows / 2;
    ScrollBy(v, l, 0, target - v.scrollY);
  }
}

bool ClickArrowButtons(ViewState& v, const Layout& l, int32_t x, int32_t y) {
  static const int32_t steps[4][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};
  for (int i = 0; i < 4; ++i)
    if (point_in_rect(x, y, l.arrowButtons[i])) {
      ScrollBy(v, l, steps[i][0], steps[i][1]);
      return true;
    }
  return false;
}

int CommandButtonAt(const Layout& l, int32_t x, int32_t y) {
  for (int i = 0; i < 4; ++i)
    if (point_in_rect(x, y, l.commandButtons[i])) return i;
  return -1;
}

void RevealAndSelect(ViewState& v, const Layout& l, int32_t gx, int32_t gy) {
  bool visible = v.scrollX <= gx && gx < v.scrollX + l.viewCols && v.scrollY <= gy &&
                 gy < v.scrollY + l.viewRows;
  if (!visible) {
    v.selCol = v.selRow = -1;
    ScrollBy(v, l, gx - l.viewCols / 2 - v.scrollX, gy - l.viewRows / 2 - v.scrollY);
  }
  v.selCol = gx - v.scrollX;
  v.selRow = gy - v.scrollY;
}

void CentreAndSelect(ViewState& v, const Layout& l, int32_t gx, int32_t gy) {
  v.selCol = v.selRow = -1;
  ScrollBy(v, l, gx - l.viewCols / 2 - v.scrollX, gy - l.viewRows / 2 - v.scrollY);
  v.selCol = gx - v.scrollX;
  v.selRow = gy - v.scrollY;
}

void CopySelected(ViewState& v) {
  if (!v.hasSelection()) return;
  v.clipboardCell = g_world.grid[v.selX()][v.selY()];
  v.clipboardEmpty = 0;
}

void PasteSelected(ViewState& v, bool unit, bool owner, bool building) {
  if (!v.hasSelection() || v.clipboardEmpty) return;
  Cell& c = g_world.grid[v.selX()][v.selY()];
  const Cell& from = v.clipboardCell;
  if (unit) {
    c.unit = from.unit;
    c.hasUnit = from.hasUnit;
    NormaliseCell(v.selX(), v.selY());
  }
  if (owner) c.owner = from.owner;
  if (building) {
    c.hasBuilding = from.hasBuilding;
    c.building = from.building;
    NormaliseCell(v.selX(), v.selY());
  }
}
