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

void scroll_by(ViewState& v, const Layout& l, int32_t dx, int32_t dy) {
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

void ClickTracks(ViewState& v, const Layout& l, int32_t rangeWidth, int32_t rangeHeight, int32_t x,
                 int32_t y) {
  if (point_in_rect(x, y, l.hTrack)) {
    int32_t target = (x - l.hTrack.x) * rangeWidth / l.hTrack.w - l.viewCols / 2;
    scroll_by(v, l, target - v.scrollX, 0);
  }
  if (point_in_rect(x, y, l.vTrack)) {
    int32_t target = (y - l.vTrack.y) * rangeHeight / l.vTrack.h - l.viewRows / 2;
    scroll_by(v, l, 0, target - v.scrollY);
  }
}

bool ClickArrowButtons(ViewState& v, const Layout& l, int32_t x, int32_t y) {
  static const int32_t steps[4][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};
  for (int i = 0; i < 4; ++i)
    if (point_in_rect(x, y, l.arrowButtons[i])) {
      scroll_by(v, l, steps[i][0], steps[i][1]);
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
    scroll_by(v, l, gx - l.viewCols / 2 - v.scrollX, gy - l.viewRows / 2 - v.scrollY);
  }
  v.selCol = gx - v.scrollX;
  v.selRow = gy - v.scrollY;
}

void CentreAndSelect(ViewState& v, const Layout& l, int32_t gx, int32_t gy) {
  v.selCol = v.selRow = -1;
  scroll_by(v, l, gx - l.viewCols / 2 - v.scrollX, gy - l.viewRows / 2 - v.scrollY);
  v.selCol = gx - v.scrollX;
  v.selRow = gy - v.scrollY;
}

void CopySelected(ViewState& v) {
  if (!v.hasSelection()) return;
  v.clipboardCell = g_world.grid[v.selX()][v.selY()];
  v.clipboardEmpty = 0;
}

namespace {

// One hex takes the parts of the copied hex that the keys name, as a paste onto the selected
// hex does: the unit with its presence flag, the owner, the building with its flag.
void PasteCell(const Cell& from, int32_t x, int32_t y, bool unit, bool owner, bool building) {
  Cell& c = g_world.grid[x][y];
  if (unit) {
    c.unit = from.unit;
    c.hasUnit = from.hasUnit;
    NormaliseCell(x, y);
  }
  if (owner) c.owner = from.owner;
  if (building) {
    c.hasBuilding = from.hasBuilding;
    c.building = from.building;
    NormaliseCell(x, y);
  }
}

void ClearCell(int32_t x, int32_t y) {
  Cell& c = g_world.grid[x][y];
  c.hasUnit = 0;
  c.hasBuilding = 0;
  ClearUnit(c.unit);
  ClearBuilding(c.building);
}

// Runs `act` on every hex of the area, column by column as the grid lies in memory.
template <class Act>
size_t ForEachAreaHex(const HexArea& area, Act act) {
  size_t done = 0;
  for (int32_t x = 0; x < area.width(); ++x)
    for (int32_t y = 0; y < area.height(); ++y)
      if (area.Contains(x, y)) {
        act(x, y);
        ++done;
      }
  return done;
}

// The area belongs to the range in the record; a record placed anew (another range) gets an
// empty one.
void FitArea(ViewState& v) {
  if (v.area.width() != g_world.rangeWidth || v.area.height() != g_world.rangeHeight) ResetArea(v);
}

void SelectGridHex(ViewState& v, int32_t gx, int32_t gy) {
  v.selCol = gx - v.scrollX;
  v.selRow = gy - v.scrollY;
}

}  // namespace

void PasteSelected(ViewState& v, bool unit, bool owner, bool building) {
  if (!v.hasSelection() || v.clipboardEmpty) return;
  PasteCell(v.clipboardCell, v.selX(), v.selY(), unit, owner, building);
}

size_t PasteOnto(ViewState& v, bool unit, bool owner, bool building) {
  if (v.clipboardEmpty || !(unit || owner || building)) return 0;
  FitArea(v);
  if (v.area.empty()) {
    if (!v.hasSelection()) return 0;
    PasteSelected(v, unit, owner, building);
    return 1;
  }
  const Cell from = v.clipboardCell;
  return ForEachAreaHex(
      v.area, [&](int32_t x, int32_t y) { PasteCell(from, x, y, unit, owner, building); });
}

size_t DeleteUnitsAndBuildings(ViewState& v) {
  FitArea(v);
  if (v.area.empty()) {
    if (!v.hasSelection()) return 0;
    ClearCell(v.selX(), v.selY());
    return 1;
  }
  return ForEachAreaHex(v.area, ClearCell);
}

void ResetArea(ViewState& v) {
  v.area.Reset(g_world.rangeWidth, g_world.rangeHeight);
  v.anchorX = v.anchorY = -1;
  v.dragging = false;
}

void ClickMapHex(ViewState& v, const Layout& l, int32_t originX, int32_t x, int32_t y,
                 ClickMods mods) {
  FitArea(v);
  v.dragging = false;
  std::optional<ViewHex> hex = HexAtPoint(x, y, originX, v.scrollX, l.mapHeightPx);
  if (!hex) return;
  const int32_t gx = v.scrollX + hex->col, gy = v.scrollY + hex->row;
  if (mods == ClickMods::kShift && v.hasSelection()) {
    if (v.anchorX < 0) {
      v.anchorX = v.selX();
      v.anchorY = v.selY();
    }
    v.area.SetRectangle(v.anchorX, v.anchorY, gx, gy);
    SelectGridHex(v, gx, gy);
    v.dragging = true;
    return;
  }
  if (mods == ClickMods::kCtrl)
    v.area.Toggle(gx, gy);
  else
    v.area.Clear();
  SelectGridHex(v, gx, gy);
  v.anchorX = gx;
  v.anchorY = gy;
}

void DragMapHex(ViewState& v, const Layout& l, int32_t originX, int32_t x, int32_t y, bool held) {
  if (!v.dragging) return;
  if (!held) {
    v.dragging = false;
    return;
  }
  if (x < 0 || y < 0 || x >= l.mapWidthPx || y >= l.mapHeightPx || v.anchorX < 0) return;
  std::optional<ViewHex> hex = HexAtPoint(x, y, originX, v.scrollX, l.mapHeightPx);
  if (!hex) return;
  const int32_t gx = v.scrollX + hex->col, gy = v.scrollY + hex->row;
  if (v.hasSelection() && gx == v.selX() && gy == v.selY()) return;
  v.area.SetRectangle(v.anchorX, v.anchorY, gx, gy);
  SelectGridHex(v, gx, gy);
}

void TurnWheel(ViewState& v, const Layout& l, int32_t delta, bool shift) {
  constexpr int32_t kNotch = 120;
  // A turn the other way drops what was left over from this one.
  if ((v.wheelRest > 0 && delta < 0) || (v.wheelRest < 0 && delta > 0)) v.wheelRest = 0;
  v.wheelRest += delta;
  const int32_t notches = v.wheelRest / kNotch;
  v.wheelRest -= notches * kNotch;
  if (notches == 0) return;
  if (shift)
    scroll_by(v, l, -notches, 0);
  else
    scroll_by(v, l, 0, -notches);
}

void SelectWholeRange(ViewState& v) {
  FitArea(v);
  v.area.SetAll();
}

bool StepThroughArea(ViewState& v, const Layout& l, bool forward) {
  FitArea(v);
  std::optional<GridHex> next = v.hasSelection() ? v.area.Next(v.selX(), v.selY(), forward)
                                                 : (forward ? v.area.First() : v.area.Last());
  if (!next) return false;
  RevealAndSelect(v, l, next->x, next->y);
  return true;
}

void SelectFoundHexes(ViewState& v, const Layout& l, const std::vector<GridHex>& hexes) {
  FitArea(v);
  v.area.SetHexes(hexes);
  if (std::optional<GridHex> first = v.area.First()) CentreAndSelect(v, l, first->x, first->y);
}
