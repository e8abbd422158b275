// A second top-level window beside the drawing window (the editor's overview). It is owned
// by the drawing window and run, like it, by a thread of its own that pumps its messages,
// repaints it from a picture of its own and queues its mouse messages in a queue of its own.
// The user's close (its close box, Alt+F4) closes it alone: the program goes on.
#pragma once

#include <cstdint>
#include <string>

#include "drawing/mouse_queue.h"

// Opens the window (closing one that is open) with a client area of width x height, beside
// the drawing window where the work area has room, else as near it as the work area allows.
// False when no window can be made.
bool OpenSideWindow(const std::string& utf8Title, int32_t width, int32_t height);
void CloseSideWindow();
// False once it has been closed, by the program or by the user.
bool SideWindowOpen();
void SetSideWindowTitle(const std::string& utf8Title);
// Shows a picture of width x height pixels (0x00RRGGBB, top-down rows) in the window, from
// its top-left corner; copied, so the caller may change its pixels afterwards.
void ShowSidePicture(const uint32_t* pixels, int32_t width, int32_t height);
// The window's mouse messages, in its client coordinates; emptied when it opens.
MouseQueue& SideMouseQueue();
