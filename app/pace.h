// The frame pacer of both interactive loops.
#pragma once

// Waits until the next frame deadline, `ms` after the previous one. A late pass restarts the
// schedule from now instead of running a burst of fast passes afterwards.
void pace_frame(int ms);
