// The native build has no window system: the side window is its title and last picture,
// which tests read, and tests put its mouse messages into its queue themselves.
#include <vector>

#include "drawing/side_window.h"
#include "drawing/side_window_test_hooks.h"

namespace {
bool g_open = false;
std::string g_title;
SidePicture g_picture;
MouseQueue g_queue;
}  // namespace

bool OpenSideWindow(const std::string& utf8Title, int32_t width, int32_t height) {
  g_open = true;
  g_title = utf8Title;
  g_picture = SidePicture{width, height, std::vector<uint32_t>(size_t(width) * size_t(height), 0)};
  ++g_picture.shown;
  g_queue.clear();
  return true;
}

void CloseSideWindow() { g_open = false; }
bool SideWindowOpen() { return g_open; }
void SetSideWindowTitle(const std::string& utf8Title) { g_title = utf8Title; }

void ShowSidePicture(const uint32_t* pixels, int32_t width, int32_t height) {
  const unsigned shown = g_picture.shown + 1;
  g_picture = SidePicture{width, height,
                          std::vector<uint32_t>(pixels, pixels + size_t(width) * size_t(height))};
  g_picture.shown = shown;
}

MouseQueue& SideMouseQueue() { return g_queue; }

void PostSideWindowClose() { g_open = false; }
const std::string& SideWindowTitle() { return g_title; }
const SidePicture& LastSidePicture() { return g_picture; }
