// For tests only: the native build's window has no system behind it, so tests stand in for
// the user. Native build alone.
#pragma once

// The user's close (the title bar's close button) as the window reports it: kept as a request
// when the window keeps them, otherwise the window closes.
void PostUserClose();
// The pointer leaving the window, queued as the window reports it (a kMouseLeave record).
void PostPointerLeft();
