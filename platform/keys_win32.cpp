#include <windows.h>

bool system_key_down(int key) { return (GetAsyncKeyState(key) & 0x8000) != 0; }

// The foreground window is one of ours: the drawing window (its own thread), a dialog or a
// message box of the main thread.
bool system_foreground_is_ours() {
  HWND front = GetForegroundWindow();
  if (!front) return false;
  DWORD process = 0;
  GetWindowThreadProcessId(front, &process);
  return process == GetCurrentProcessId();
}
