// For tests only: the native side window, read and closed as the user would. Native build
// alone.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct SidePicture {
  int32_t width = 0, height = 0;
  std::vector<uint32_t> pixels;
  unsigned shown = 0;  // pictures shown since the program started (opening counts one)
};

// The user's close of the side window (its close box, Alt+F4).
void PostSideWindowClose();
const std::string& SideWindowTitle();
const SidePicture& LastSidePicture();
