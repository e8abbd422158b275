#include "platform/keys.h"

#include <bitset>

#include "platform/system.h"

namespace {

KeySource g_source = nullptr;
ForegroundSource g_foregroundSource = nullptr;
bool g_inFront = false;   // as of the last read
std::bitset<256> g_held;  // down when the gate last opened: up until released

bool RawDown(int key) { return g_source ? g_source(key) : SystemKeyDown(key); }

bool InFront() { return g_foregroundSource ? g_foregroundSource() : SystemForegroundIsOurs(); }

}  // namespace

void IgnoreHeldKeys() {
  for (int k = 1; k < 256; ++k) g_held[k] = RawDown(k);
}

bool KeyDown(int key) {
  if (key <= 0 || key >= 256) return false;
  // Asking which window is in front is a round trip to the window system, and the idle loop
  // reads some twenty keys a pass. While the editor was in front at the last read, a key that
  // is up needs no answer: it reads as up either way, and it is no longer held. A key down,
  // or any read after the editor was found behind, asks.
  if (g_inFront && !RawDown(key)) {
    g_held[key] = false;
    return false;
  }
  if (!InFront()) {
    g_inFront = false;
    return false;
  }
  if (!g_inFront) {
    g_inFront = true;
    IgnoreHeldKeys();
  }
  bool down = RawDown(key);
  if (g_held[key]) {
    if (down) return false;
    g_held[key] = false;
  }
  return down;
}

void SetKeySource(KeySource source) {
  g_source = source;
  g_inFront = false;
  g_held.reset();
}

void SetForegroundSource(ForegroundSource source) {
  g_foregroundSource = source;
  g_inFront = false;
  g_held.reset();
}

void WaitKeyRelease(int key) {
  while (KeyDown(key)) {}
}
