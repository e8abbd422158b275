// Shared by the Win32 files of the drawing layer only.
#pragma once

#include <windows.h>

#include "drawing/surface.h"

struct SurfaceSystem {
  HBITMAP bitmap = nullptr;
  HDC dc = nullptr;
  HPEN pen = nullptr;
  HBRUSH brush = nullptr;
  HFONT font = nullptr;
};

// The one lock: back buffer, the window's context and the choice of target.
CRITICAL_SECTION& DrawingLockSection();

struct DrawingLock {
  DrawingLock() { EnterCriticalSection(&DrawingLockSection()); }
  ~DrawingLock() { LeaveCriticalSection(&DrawingLockSection()); }
  DrawingLock(const DrawingLock&) = delete;
  DrawingLock& operator=(const DrawingLock&) = delete;
};

// The open window's client context, or null.
void SetWindowDc(HWND window, HDC dc);
HDC WindowDc();
HWND CurrentWindow();
