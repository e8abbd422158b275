#include "drawing/mouse_queue.h"

MouseMessage MakeMouseMessage(uint32_t code, uint32_t keyState, int16_t x, int16_t y) {
  MouseMessage m{};
  m.code = code;
  m.left = (keyState & 0x01) != 0;
  m.right = (keyState & 0x02) != 0;
  m.shift = (keyState & 0x04) != 0;
  m.ctrl = (keyState & 0x08) != 0;
  m.middle = (keyState & 0x10) != 0;
  m.x = x;
  m.y = y;
  m.wheel = int16_t(keyState >> 16);
  return m;
}

bool MouseQueue::put(const MouseMessage& m) {
  uint32_t w = write_.load(std::memory_order_relaxed);
  if ((w - read_.load(std::memory_order_acquire)) % kSlots >= kSlots - 1) return false;
  slots_[w] = m;
  write_.store((w + 1) % kSlots, std::memory_order_release);
  return true;
}

bool MouseQueue::take(MouseMessage& m) {
  uint32_t r = read_.load(std::memory_order_relaxed);
  if (write_.load(std::memory_order_acquire) == r) return false;
  m = slots_[r];
  read_.store((r + 1) % kSlots, std::memory_order_release);
  return true;
}

MouseQueue& SharedMouseQueue() {
  static MouseQueue queue;
  return queue;
}

bool mouse_pending() { return !SharedMouseQueue().empty(); }
