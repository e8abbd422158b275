// Mouse messages from the window's thread to the editor's main thread: a ring of 64 slots
// holding at most 63 messages, oldest first. One thread puts, the other takes; each ring
// position is written by one thread only, so no update is ever lost.
#pragma once

#include <atomic>
#include <cstdint>

struct MouseMessage {
  uint32_t code;  // the Windows mouse message, 0x200..0x20A, or kMouseLeave
  uint8_t ctrl;
  uint8_t shift;
  uint8_t left;
  uint8_t middle;
  uint8_t right;
  int16_t x;  // client coordinates
  int16_t y;
  int16_t wheel;  // wheel delta (multiples of 120) for 0x20A, else 0
};

constexpr uint32_t kMouseMove = 0x200;
constexpr uint32_t kLeftButtonDown = 0x201;
constexpr uint32_t kLeftButtonUp = 0x202;
constexpr uint32_t kRightButtonDown = 0x204;
constexpr uint32_t kMouseWheel = 0x20A;
// The pointer left the window's client area (WM_MOUSELEAVE); the record carries nothing else.
// Without it a pointer that jumps out of the window leaves no move outside the map behind.
constexpr uint32_t kMouseLeave = 0x2A3;

// The record for a message: key flags from the low word of the key-state word, the wheel
// from its high word.
MouseMessage MakeMouseMessage(uint32_t code, uint32_t keyState, int16_t x, int16_t y);

class MouseQueue {
 public:
  static constexpr uint32_t kSlots = 64;

  bool put(const MouseMessage& m);  // false when full (the message is dropped)
  bool take(MouseMessage& m);       // false when empty
  bool empty() const { return count() == 0; }
  bool full() const { return count() >= kSlots - 1; }
  uint32_t count() const {
    return (write_.load(std::memory_order_acquire) - read_.load(std::memory_order_acquire)) %
           kSlots;
  }
  void clear() { read_.store(write_.load()); }

 private:
  MouseMessage slots_[kSlots]{};
  std::atomic<uint32_t> read_{0};   // written by the taker only
  std::atomic<uint32_t> write_{0};  // written by the putter only
};

// The window's queue.
MouseQueue& SharedMouseQueue();
bool mouse_pending();
// The oldest message. When the queue is empty it waits for one while a window is open; with
// no window open it returns a record with code 0 at once (nothing could ever arrive).
MouseMessage next_mouse_message();
