#include <windows.h>

#include "platform/system.h"

bool SystemKeyDown(int key) { return (GetAsyncKeyState(key) & 0x8000) != 0; }

// The foreground window is one of ours: the drawing window (its own thread), a dialog or a
// message box of the main thread.
bool SystemForegroundIsOurs() {
  HWND front = GetForegroundWindow();
  if (!front) return false;
  DWORD process = 0;
  GetWindowThreadProcessId(front, &process);
  return process == GetCurrentProcessId();
}
