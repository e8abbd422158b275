// The editor's one drawing window, run by a thread of its own that pumps its messages,
// repaints it from the back buffer and queues its mouse messages.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

// A width and height in pixels.
struct PixelSize {
  int32_t width = 0, height = 0;
  bool operator==(const PixelSize&) const = default;
};

// open_window's flags.
constexpr unsigned kWindowResizable = 1;   // a sizing frame and a maximise box
constexpr unsigned kWindowTakesFiles = 2;  // files dropped on it from the shell are kept

// Opens (or reopens) the window with a client area of width x height and makes it the
// current target; the title is the program's file name without folder and extension.
// The window is placed wholly on the screen's work area where it fits there.
// Null when no window can be made.
void* open_window(int32_t width, int32_t height, unsigned flags);

// The largest client area a window opened with `flags` can have with its frame on the
// screen's work area (the screen without the taskbar).
PixelSize LargestClientArea(unsigned flags);

// True once for the last file dropped on a window that takes files (the first of the files,
// when several are dropped at once), which it then gives as a UTF-8 path.
bool TakeDroppedFile(std::string& path);

// A resizable window is never made smaller by the user than this client area.
void SetMinimumClientSize(int32_t width, int32_t height);
// The new client size, once after the user changed it (sizing, maximising, restoring; not
// minimising). The back buffer keeps its size until ResizeBackBuffer.
std::optional<PixelSize> TakeResize();
// Gives the back buffer (and so what the window shows) a new size, black where it grew.
void ResizeBackBuffer(int32_t width, int32_t height);
// Hides and releases the window; the process goes on. The user's own close ends the
// process with status 0.
void close_window();
// The open window's handle, or null.
void* window_handle();
// How many windows open_window has opened: each new one shows nothing drawn yet.
unsigned WindowsOpened();

// While kept, the user's close of the window (close box, Alt+F4) neither closes it nor ends
// the process: it waits as a request that TakeCloseRequest() takes, so the program can ask
// first. Each window opens with closes not kept.
void KeepCloseRequests(bool keep);
// True once for each close the user asked for since the last call.
bool TakeCloseRequest();
