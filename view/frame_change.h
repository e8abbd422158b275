// Whether the main window's frame would show anything other than what was last drawn. The
// frame is worked out from a handful of things (the record's visible hexes and teams, the
// view, the layout, the information box); their bytes are gathered each pass and compared
// with those of the last drawn frame. Bytes, not notices of change: the dialogs edit the
// world record in place and tell nobody.
//
// Something new the frame shows is one more line in FrameShows (frame_change.cpp).
#pragma once

#include <cstdint>
#include <vector>

// The bytes of everything the current frame shows, appended to `out` (cleared first).
void FrameShows(std::vector<uint8_t>& out);

// True when the frame now differs from the last one draw_screen drew (or none was drawn
// since the window opened).
bool FrameChanged();

// Called by draw_screen once a frame is shown: what it showed becomes the last drawn.
void RememberDrawnFrame();
