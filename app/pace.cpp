#include "app/pace.h"

#include <chrono>
#include <thread>

// A monotonic millisecond clock: the run-time clock() of Windows in wall-clock ticks, here
// the same on every platform (clock() measures processor time elsewhere).
static long long NowMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void pace_frame(int ms) {
  static long long deadline = NowMs();
  deadline += ms;
  if (NowMs() > deadline) {
    deadline = NowMs();
    return;
  }
  while (NowMs() < deadline) std::this_thread::sleep_for(std::chrono::milliseconds(1));
}
