// The native build has no window system: the "window" is the back buffer alone, and tests
// put mouse messages into the queue themselves.
#include <thread>

#include "drawing/mouse_queue.h"
#include "drawing/surface.h"
#include "drawing/window.h"
#include "drawing/window_test_hooks.h"

namespace {
bool g_open = false;
bool g_keepCloses = false;
bool g_closeRequested = false;
unsigned g_opened = 0;
bool g_resized = false;
int32_t g_resizeWidth = 0, g_resizeHeight = 0;
std::string g_dropped;                                  // empty: none
int32_t g_workWidth = 1 << 20, g_workHeight = 1 << 20;  // holds any window
}  // namespace

void PostUserClose() {
  if (g_keepCloses)
    g_closeRequested = true;
  else
    g_open = false;
}
void PostPointerLeft() {
  MouseMessage m{};
  m.code = kMouseLeave;
  SharedMouseQueue().put(m);
}

void PostUserResize(int32_t width, int32_t height) {
  g_resized = true;
  g_resizeWidth = width;
  g_resizeHeight = height;
}
void SetWorkAreaForTests(int32_t width, int32_t height) {
  g_workWidth = width;
  g_workHeight = height;
}

void PostDroppedFile(const std::string& path) { g_dropped = path; }
bool TakeDroppedFile(std::string& path) {
  if (g_dropped.empty()) return false;
  path.swap(g_dropped);
  g_dropped.clear();
  return true;
}

PixelSize LargestClientArea(unsigned) { return {g_workWidth, g_workHeight}; }
void SetMinimumClientSize(int32_t, int32_t) {}
std::optional<PixelSize> TakeResize() {
  if (!g_resized) return std::nullopt;
  g_resized = false;
  return PixelSize{g_resizeWidth, g_resizeHeight};
}
void ResizeBackBuffer(int32_t width, int32_t height) {
  resize_surface(BackBuffer(), width, height);
}

void KeepCloseRequests(bool keep) { g_keepCloses = keep; }
bool TakeCloseRequest() {
  bool asked = g_closeRequested;
  g_closeRequested = false;
  return asked;
}

void* open_window(int32_t width, int32_t height, unsigned) {
  // Clicks left from an earlier window (the range selection's) are not for this one.
  SharedMouseQueue().clear();
  Surface* back = BackBuffer();
  resize_surface(back, width, height);
  set_target(nullptr);
  ResetSurface(nullptr);
  clear_target();
  g_open = true;
  ++g_opened;
  g_keepCloses = g_closeRequested = false;
  g_resized = false;
  return back;
}

void close_window() { g_open = false; }
void* window_handle() { return g_open ? BackBuffer() : nullptr; }
unsigned WindowsOpened() { return g_opened; }

MouseMessage next_mouse_message() {
  MouseMessage m{};
  while (!SharedMouseQueue().take(m)) {
    if (!g_open) return MouseMessage{};
    std::this_thread::yield();
  }
  return m;
}
