// Shared by the Win32 files of the drawing layer only: what they keep between calls, in one
// record, and small owners that give back GDI selections and contexts on leaving a scope.
#pragma once

#include <windows.h>

#include <atomic>
#include <string>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "drawing/surface.h"

// A device-independent section of 32-bit pixels, rows top-down, as every surface and decoded
// picture keeps them; null when the system refuses one. `bits` gets its pixels.
inline HBITMAP CreatePixelSection(int32_t width, int32_t height, void** bits) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  *bits = nullptr;
  return CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, bits, nullptr, 0);
}

struct SurfaceSystem {
  HBITMAP bitmap = nullptr;
  HDC dc = nullptr;
  HPEN pen = nullptr;
  HBRUSH brush = nullptr;
  HFONT font = nullptr;
};

// Selects an object into a context; the object it replaced goes back in on leaving the scope.
class ScopedSelect {
 public:
  ScopedSelect(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
  ~ScopedSelect() {
    if (old_) SelectObject(dc_, old_);
  }
  ScopedSelect(const ScopedSelect&) = delete;
  ScopedSelect& operator=(const ScopedSelect&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// A window's client context from GetDC, given back with ReleaseDC to the window it came from.
// A window's context is taken and given back on the window's own thread.
class ClientDc {
 public:
  ClientDc() = default;
  ~ClientDc() { Release(); }
  ClientDc(const ClientDc&) = delete;
  ClientDc& operator=(const ClientDc&) = delete;

  void Take(HWND window) {
    Release();
    window_ = window;
    dc_ = GetDC(window);
  }
  void Release() {
    if (dc_) ReleaseDC(window_, dc_);
    window_ = nullptr;
    dc_ = nullptr;
  }
  HDC get() const { return dc_; }

 private:
  HWND window_ = nullptr;
  HDC dc_ = nullptr;
};

// The context of a WM_PAINT, from BeginPaint to EndPaint.
class PaintDc {
 public:
  explicit PaintDc(HWND window) : window_(window), dc_(BeginPaint(window, &paint_)) {}
  ~PaintDc() { EndPaint(window_, &paint_); }
  PaintDc(const PaintDc&) = delete;
  PaintDc& operator=(const PaintDc&) = delete;
  HDC get() const { return dc_; }

 private:
  HWND window_;
  PAINTSTRUCT paint_;
  HDC dc_;
};

// Pens or brushes by colour, shared by every surface: a frame changes the fill colour for
// every hex, mostly among a few team colours. GDI objects are a scarce per-process resource
// (10,000 by default), so only a handful are kept, most recently used first; the rest are
// deleted, but never while a surface still has one selected (it goes once the last surface
// lets go).
class ToolCache {
 public:
  explicit ToolCache(HGDIOBJ (*make)(uint32_t)) : make_(make) {}
  // The object of that colour, now held by one more surface; null when out of GDI objects.
  HGDIOBJ Take(uint32_t colour);
  // A surface no longer has `handle` selected.
  void Release(HGDIOBJ handle);

 private:
  static constexpr size_t kKeep = 16;
  struct Tool {
    uint32_t colour;
    HGDIOBJ handle;
    int holders;  // surfaces that have it selected
  };
  void Trim();

  HGDIOBJ (*make_)(uint32_t);
  std::vector<Tool> tools_;
};

// Everything the Win32 drawing files keep between calls.
struct Win32Drawing {
  Win32Drawing();

  // The one lock: back buffer, the window's context and the choice of target.
  CRITICAL_SECTION lock;

  // The open window (null when there is none) and the thread that runs it.
  HWND window = nullptr;
  ClientDc windowDc;  // taken and given back under the lock
  HANDLE thread = nullptr;
  HANDLE ready = nullptr;         // auto-reset: the window is made, or a mouse message came
  int32_t width = 0, height = 0;  // the client size asked for
  unsigned flags = 0;             // open_window's
  std::atomic<int32_t> minWidth{0}, minHeight{0};  // the smallest client area a user may size
  std::atomic<bool> resized{false};                // the user changed the client size to:
  std::atomic<int32_t> resizeWidth{0}, resizeHeight{0};
  std::wstring dropped;        // the last file dropped, under the lock; empty: none
  bool readerWaiting = false;  // the main thread waits for a mouse message
  bool leaveAsked = false;     // the window thread awaits WM_MOUSELEAVE
  bool closingFromProgram = false;
  std::atomic<bool> keepCloses{false};
  std::atomic<bool> closeRequested{false};

  // Pens and brushes of the surfaces' colours.
  ToolCache pens;
  ToolCache brushes;
};

// The window style open_window gives a window with these flags.
inline DWORD WindowStyle(unsigned flags) {
  DWORD style = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  if (flags & 1) style |= WS_THICKFRAME | WS_MAXIMIZEBOX;  // kWindowResizable
  return style;
}

// The screen's work area (without the taskbar).
inline RECT WorkArea() {
  RECT work{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  return work;
}

// Moves a top-level window so that as much of it as can lies on the work area.
inline void KeepOnWorkArea(HWND hwnd) {
  RECT r, work = WorkArea();
  if (!GetWindowRect(hwnd, &r)) return;
  LONG x = r.left, y = r.top;
  if (r.right > work.right) x -= r.right - work.right;
  if (r.bottom > work.bottom) y -= r.bottom - work.bottom;
  if (x < work.left) x = work.left;
  if (y < work.top) y = work.top;
  if (x != r.left || y != r.top)
    SetWindowPos(hwnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Made on first use and never destroyed: the window's thread may still be running while the
// process exits.
Win32Drawing& DrawingState();

struct DrawingLock {
  DrawingLock() { EnterCriticalSection(&DrawingState().lock); }
  ~DrawingLock() { LeaveCriticalSection(&DrawingState().lock); }
  DrawingLock(const DrawingLock&) = delete;
  DrawingLock& operator=(const DrawingLock&) = delete;
};
