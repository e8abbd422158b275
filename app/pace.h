// The frame pacer of both interactive loops, and the clock the main loop times the pointer's
// rest with.
#pragma once

#include <cstdint>

// Waits until the next frame deadline, `ms` after the previous one. A late pass restarts the
// schedule from now instead of running a burst of fast passes afterwards.
void pace_frame(int ms);

// Milliseconds of a monotonic clock (through the source below when one is set).
int64_t ClockMs();
// Replaces the clock ClockMs reads, so tests can drive time; null gives the system's back.
// pace_frame always waits by the system's clock.
using ClockSource = int64_t (*)();
void SetClockSource(ClockSource source);
