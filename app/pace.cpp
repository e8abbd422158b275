#include "app/pace.h"

#include <chrono>
#include <thread>

namespace {

// A monotonic millisecond clock: the run-time clock() of Windows in wall-clock ticks, here
// the same on every platform (clock() measures processor time elsewhere).
int64_t SystemMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

ClockSource g_clock = SystemMs;

}  // namespace

int64_t ClockMs() { return g_clock(); }

void SetClockSource(ClockSource source) { g_clock = source ? source : SystemMs; }

void pace_frame(int ms) {
  static int64_t deadline = SystemMs();
  deadline += ms;
  if (SystemMs() > deadline) {
    deadline = SystemMs();
    return;
  }
  // One sleep for the rest of the pass (waking every millisecond to read the clock cost the
  // idle editor a thousand wake-ups a second), then short ones should it wake early.
  std::this_thread::sleep_for(std::chrono::milliseconds(deadline - SystemMs()));
  while (SystemMs() < deadline) std::this_thread::sleep_for(std::chrono::milliseconds(1));
}
