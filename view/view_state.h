// The editor's view state: what is scrolled into view, what is selected, the copy buffer,
// whether the command keys are on and where the pointer rests. Lives beside the world record.
#pragma once

#include <cstdint>

#include "scenario/world_record.h"
#include "view/layout.h"
#include "view/pointer_rest.h"

struct ViewState {
  int32_t scrollX = 0, scrollY = 0;  // grid column and row at the top-left of the map area
  int32_t selCol = -1, selRow = -1;  // selected hex relative to the scroll position; -1 = none
  Cell clipboardCell{};
  uint8_t clipboardEmpty = 1;        // until the first copy
  uint8_t commandKeysOff = 0;        // toggled by Esc
  PointerRest pointer;               // where the pointer rests; the information box

  bool hasSelection() const { return selCol != -1; }
  // Grid coordinates of the selected hex.
  int32_t selX() const { return scrollX + selCol; }
  int32_t selY() const { return scrollY + selRow; }
};

extern ViewState g_view;

// Picks the hex under a click in the map area; a click in a column's empty half-cell band
// leaves the selection as it was.
void PickHex(ViewState& v, const Layout& l, int32_t originX, int32_t x, int32_t y);

// Moves the view by whole cells within 0..maxScroll (upper clamp first) and keeps the same
// hex selected while it stays in view, else clears the selection.
void ScrollBy(ViewState& v, const Layout& l, int32_t dx, int32_t dy);

// A click on a track centres the view on the clicked share of the range. Both tracks are
// offered the point; each acts only when the point is inside it.
void ClickTracks(ViewState& v, const Layout& l, int32_t rangeWidth, int32_t rangeHeight,
                 int32_t x, int32_t y);

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

// U, T, B pressed together on one pass: pastes the unit (with normalisation), the owner, the
// building (with normalisation) of the copied hex onto the selected one. Needs a selection
// and a copy; coordinates and world info of the target never change.
void PasteSelected(ViewState& v, bool unit, bool owner, bool building);
