#include "platform/keys.h"

#include <bitset>

bool system_key_down(int key);   // keys_win32.cpp / keys_native.cpp
bool system_foreground_is_ours();

namespace {

KeySource g_source = nullptr;
ForegroundSource g_foregroundSource = nullptr;
bool g_inFront = false;     // as of the last read
std::bitset<256> g_held;    // down when the gate last opened: up until released

bool RawDown(int key) { return g_source ? g_source(key) : system_key_down(key); }

bool InFront() { return g_foregroundSource ? g_foregroundSource() : system_foreground_is_ours(); }

}  // namespace

void ignore_held_keys() {
  for (int k = 1; k < 256; ++k) g_held[k] = RawDown(k);
}

bool key_down(int key) {
  if (key <= 0 || key >= 256) return false;
  if (!InFront()) {
    g_inFront = false;
    return false;
  }
  if (!g_inFront) {
    g_inFront = true;
    ignore_held_keys();
  }
  bool down = RawDown(key);
  if (g_held[key]) {
    if (down) return false;
    g_held[key] = false;
  }
  return down;
}

void set_key_source(KeySource source) {
  g_source = source;
  g_inFront = false;
  g_held.reset();
}

void set_foreground_source(ForegroundSource source) {
  g_foregroundSource = source;
  g_inFront = false;
  g_held.reset();
}

void wait_key_release(int key) {
  while (key_down(key)) {
  }
}
