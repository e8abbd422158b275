// The editor's view state: what is scrolled into view, what is selected, the copy buffer,
// whether the command keys are on and where the pointer rests. Lives beside the world record.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "scenario/world_record.h"
#include "view/hex_area.h"
#include "view/layout.h"
#include "view/notice.h"
#include "view/pointer_rest.h"

struct ViewState {
  int32_t scrollX = 0, scrollY = 0;  // grid column and row at the top-left of the map area
  int32_t selCol = -1, selRow = -1;  // selected hex relative to the scroll position; -1 = none
  Cell clipboardCell{};
  uint8_t clipboardEmpty = 1;          // until the first copy
  uint8_t commandKeysOff = 0;          // toggled by Esc
  PointerRest pointer;                 // where the pointer rests; the information box
  HexArea area;                        // hexes edited and found at once; empty at first
  int32_t anchorX = -1, anchorY = -1;  // grid hex of the last plain or Ctrl click; -1 = none
  bool dragging = false;               // a Shift drag is stretching the area's rectangle
  int32_t wheelRest = 0;               // wheel turns short of a whole notch, added up
  ActionNotice notice;                 // the last word after an action
  std::string noticeShown;             // what the frame shows of it (NoticeText), UTF-8

  bool hasSelection() const { return selCol != -1; }
  // Grid coordinates of the selected hex.
  int32_t selX() const { return scrollX + selCol; }
  int32_t selY() const { return scrollY + selRow; }
};

extern ViewState g_view;

// Picks the hex under a click in the map area; a click in a column's empty half-cell band
// leaves the selection as it was.
void PickHex(ViewState& v, const Layout& l, int32_t originX, int32_t x, int32_t y);

// How a click on a map hex was made: alone, with Shift held or with Ctrl held (Ctrl wins
// when both are).
enum class ClickMods { kPlain, kShift, kCtrl };

// Makes the area an empty one over the range of the world record, dropping the anchor.
void ResetArea(ViewState& v);

// A left click at map-area point (x, y); a point in a column's empty half-cell band does
// nothing. Plain: empties the area and selects as PickHex does; the hex becomes the anchor.
// Shift with a hex selected: the area becomes the rectangle of columns and rows from the
// anchor (the selected hex when there is none) to the clicked hex, which is selected, and
// a drag with the button down may go on stretching it; without a selection, as plain.
// Ctrl: the hex joins the area or leaves it, and becomes the selected hex and the anchor.
void ClickMapHex(ViewState& v, const Layout& l, int32_t originX, int32_t x, int32_t y,
                 ClickMods mods);
// The pointer moved to map-area point (x, y), with the left button down (held) or not: while
// a Shift drag lasts the rectangle follows the hex under the pointer.
void DragMapHex(ViewState& v, const Layout& l, int32_t originX, int32_t x, int32_t y, bool held);
// The mouse wheel over the map area turned by `delta` (120 a notch, towards the user
// negative): each whole notch scrolls one row, with Shift one column, away from the user up
// or left. A high-resolution wheel's partial notches add up to whole ones.
void TurnWheel(ViewState& v, const Layout& l, int32_t delta, bool shift);

// Ctrl+A: every hex of the range.
void SelectWholeRange(ViewState& v);
// F3 (forward) and Shift+F3: selects the next or previous hex of the area after the selected
// one in row-major order, wrapping round (the first or the last without a selection), and
// scrolls it into view only when it is not in view. False when the area is empty.
bool StepThroughArea(ViewState& v, const Layout& l, bool forward);
// Makes `hexes` the area and selects the first of them, centred as far as the range allows.
void SelectFoundHexes(ViewState& v, const Layout& l, const std::vector<GridHex>& hexes);

// Moves the view by whole cells within 0..maxScroll (upper clamp first) and keeps the same
// hex selected while it stays in view, else clears the selection.
void scroll_by(ViewState& v, const Layout& l, int32_t dx, int32_t dy);

// A click on a track centres the view on the clicked share of the range. Both tracks are
// offered the point; each acts only when the point is inside it.
void ClickTracks(ViewState& v, const Layout& l, int32_t rangeWidth, int32_t rangeHeight, int32_t x,
                 int32_t y);

// The arrow button under a point, scrolling one cell; false when there is none.
bool ClickArrowButtons(ViewState& v, const Layout& l, int32_t x, int32_t y);

// Index of the first command button under a point, or -1.
int CommandButtonAt(const Layout& l, int32_t x, int32_t y);

// Selects grid hex (gx, gy); when it is not in view, first scrolls so that it is, centred
// as far as the range allows.
void RevealAndSelect(ViewState& v, const Layout& l, int32_t gx, int32_t gy);
// Scrolls grid hex (gx, gy) to the middle of the view, as far as the range allows, and
// selects it: what a jump to a hex the user named does.
void CentreAndSelect(ViewState& v, const Layout& l, int32_t gx, int32_t gy);

// C: copies the selected hex.
void CopySelected(ViewState& v);

// U, T, B pressed together on one pass: onto every hex of the area when it has any, else as
// PasteSelected. Gives the number of hexes pasted onto (0 without a copy or a target).
size_t PasteOnto(ViewState& v, bool unit, bool owner, bool building);
// Delete: removes the unit and the building of every hex of the area, or of the selected hex
// when the area is empty, as NormaliseCell clears them; owners stay. Gives the hexes cleared.
size_t DeleteUnitsAndBuildings(ViewState& v);

// U, T, B pressed together on one pass: pastes the unit (with normalisation), the owner, the
// building (with normalisation) of the copied hex onto the selected one. Needs a selection
// and a copy; coordinates and world info of the target never change.
void PasteSelected(ViewState& v, bool unit, bool owner, bool building);
