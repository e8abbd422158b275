// For tests only: the native build's window has no system behind it, so tests stand in for
// the user. Native build alone.
#pragma once

#include <cstdint>
#include <string>

// The user's close (the title bar's close button) as the window reports it: kept as a request
// when the window keeps them, otherwise the window closes.
void PostUserClose();
// The pointer leaving the window, queued as the window reports it (a kMouseLeave record).
void PostPointerLeft();
// The user resizing the window to a client area of width x height.
void PostUserResize(int32_t width, int32_t height);
// The work area LargestClientArea reports; without a call, one that holds any window.
void SetWorkAreaForTests(int32_t width, int32_t height);
// A file dropped on the window from the shell.
void PostDroppedFile(const std::string& path);
