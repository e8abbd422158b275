// The pointer over the main window, followed through its mouse messages: where it is,
// whether a button is held, and since when it has rested on one hex of the map area. Once it
// has rested there kHoverRestMs with no button down, the frame shows the information box
// about that hex (view/hover_info.h); the box goes as soon as the pointer is on another hex,
// off the map area or out of the window, or a button goes down.
#pragma once

#include <cstdint>

#include "drawing/mouse_queue.h"
#include "view/layout.h"

constexpr int64_t kHoverRestMs = 400;

struct PointerRest {
  bool inWindow = false;           // a message placed it in the window, and no leave came since
  bool buttonDown = false;         // as the last message had it
  bool disturbed = false;          // a press or a leave since the last update
  int32_t x = 0, y = 0;            // client point
  int32_t restX = -1, restY = -1;  // grid hex it rests on; -1 when none
  int64_t since = 0;               // when it came to rest there, in ms
  bool boxShown = false;           // the box is due: the frame draws it

  bool resting() const { return restX != -1; }
};

// Takes one mouse message of the main window. Only where the pointer is and which buttons
// are held are taken; what the message asks for is the main loop's business.
void TrackPointer(PointerRest& p, const MouseMessage& m);

// After a dialog or message box: the pointer may be anywhere now and its messages went to
// the box. Nothing is shown until a message tells where it is again.
void ForgetPointer(PointerRest& p);

// Once per pass, after the pass's messages and scrolling: the grid hex under the pointer for
// this view (scrollX, scrollY, the range's first global column originX), the rest timer and
// whether the box is due at `nowMs`.
void UpdateRest(PointerRest& p, const Layout& l, int32_t originX, int32_t scrollX, int32_t scrollY,
                int64_t nowMs);
