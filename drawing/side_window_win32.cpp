#include <windowsx.h>

#include <algorithm>
#include <atomic>
#include <cstring>

#include "base/wide.h"
#include "drawing/side_window.h"
#include "drawing/win32_internal.h"

namespace {

constexpr UINT kCloseFromProgram = WM_APP + 1;
const wchar_t kClassName[] = L"BtlSideWindow";

// What the side window keeps; its picture is read by its thread under the drawing lock.
struct SideState {
  HWND window = nullptr;
  HANDLE thread = nullptr;
  HANDLE ready = nullptr;
  std::atomic<bool> open{false};
  std::wstring title;
  int32_t width = 0, height = 0;  // client size asked for
  Surface picture;                // shown by WM_PAINT
  MouseQueue queue;
};

SideState& Side() {
  static SideState* state = new SideState;  // never destroyed: its thread may outlive exit
  return *state;
}

// Beside the owner on the right where the work area has room, else on its left, else as far
// right as the work area allows; top edges level, moved up when it would reach below.
POINT PlaceBeside(HWND owner, int32_t outerWidth, int32_t outerHeight) {
  const RECT work = WorkArea();
  RECT o{work.left, work.top, work.left, work.top};
  if (owner) GetWindowRect(owner, &o);
  LONG x;
  if (work.right - o.right >= outerWidth)
    x = o.right;
  else if (o.left - work.left >= outerWidth)
    x = o.left - outerWidth;
  else
    x = work.right - outerWidth;
  LONG y = std::min<LONG>(o.top, work.bottom - outerHeight);
  return POINT{std::max<LONG>(x, work.left), std::max<LONG>(y, work.top)};
}

void Paint(HWND hwnd) {
  PaintDc paint(hwnd);
  DrawingLock lock;
  const Surface& s = Side().picture;
  if (s.sys) BitBlt(paint.get(), 0, 0, s.width, s.height, s.sys->dc, 0, 0, SRCCOPY);
}

void QueueMouse(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_LBUTTONDOWN) SetCapture(hwnd);  // a drag goes on past the window's edge
  if (msg == WM_LBUTTONUP) ReleaseCapture();
  Side().queue.put(MakeMouseMessage(msg, uint32_t(wParam), int16_t(GET_X_LPARAM(lParam)),
                                    int16_t(GET_Y_LPARAM(lParam))));
}

LRESULT CALLBACK SideProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg >= WM_MOUSEFIRST && msg <= WM_MOUSEWHEEL) {
    QueueMouse(hwnd, msg, wParam, lParam);
    return 0;
  }
  switch (msg) {
    case WM_PAINT: Paint(hwnd); return 0;
    case WM_ERASEBKGND:
      return 1;  // the picture covers what it shows; the rest keeps the class's black
    case kCloseFromProgram:
    case WM_CLOSE:
      Side().open = false;
      DestroyWindow(hwnd);
      return 0;
    case WM_DESTROY: PostQuitMessage(0); return 0;
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

DWORD WINAPI SideThread(void* ownerHandle) {
  SideState& state = Side();
  HWND owner = static_cast<HWND>(ownerHandle);
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = SideProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  wc.lpszClassName = kClassName;
  RegisterClassExW(&wc);

  const DWORD style = WS_CAPTION | WS_SYSMENU;
  RECT r{0, 0, state.width, state.height};
  AdjustWindowRect(&r, style, FALSE);
  const POINT at = PlaceBeside(owner, r.right - r.left, r.bottom - r.top);
  // Owned: it stays above the editor, has no taskbar button of its own and goes with the
  // editor when that is minimised.
  HWND hwnd =
      CreateWindowExW(0, kClassName, state.title.c_str(), style, at.x, at.y, r.right - r.left,
                      r.bottom - r.top, owner, nullptr, instance, nullptr);
  state.window = hwnd;
  state.open = hwnd != nullptr;
  if (hwnd) {
    ShowWindow(hwnd, SW_SHOWNOACTIVATE);
    UpdateWindow(hwnd);
  }
  SetEvent(state.ready);
  if (!hwnd) {
    UnregisterClassW(kClassName, instance);
    return 1;
  }
  MSG m;
  while (GetMessageW(&m, nullptr, 0, 0) > 0) {
    TranslateMessage(&m);
    DispatchMessageW(&m);
  }
  UnregisterClassW(kClassName, instance);
  return 0;
}

// The thread of a window that is gone, closed by the program or by the user.
void JoinThread(SideState& state) {
  if (!state.thread) return;
  WaitForSingleObject(state.thread, 5000);
  CloseHandle(state.thread);
  state.thread = nullptr;
  state.window = nullptr;
}

}  // namespace

bool OpenSideWindow(const std::string& utf8Title, int32_t width, int32_t height) {
  SideState& state = Side();
  CloseSideWindow();
  if (!state.ready) state.ready = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  state.title = WideFromUtf8(utf8Title);
  state.width = width;
  state.height = height;
  state.queue.clear();
  {
    DrawingLock lock;
    resize_surface(&state.picture, width, height);
  }
  state.thread = CreateThread(nullptr, 0, SideThread, DrawingState().window, 0, nullptr);
  WaitForSingleObject(state.ready, INFINITE);
  if (!state.open) JoinThread(state);
  return state.open;
}

void CloseSideWindow() {
  SideState& state = Side();
  if (!state.thread) return;
  if (state.open) SendMessageW(state.window, kCloseFromProgram, 0, 0);
  JoinThread(state);
}

bool SideWindowOpen() { return Side().open; }

void SetSideWindowTitle(const std::string& utf8Title) {
  SideState& state = Side();
  state.title = WideFromUtf8(utf8Title);
  // Sent, so it waits for the window's thread; a window the user just closed ignores it.
  if (state.open)
    SendMessageW(state.window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(state.title.c_str()));
}

void ShowSidePicture(const uint32_t* pixels, int32_t width, int32_t height) {
  SideState& state = Side();
  {
    DrawingLock lock;
    Surface& s = state.picture;
    if (s.width != width || s.height != height) resize_surface(&s, width, height);
    GdiFlush();
    if (s.pixels && s.width == width && s.height == height)
      memcpy(s.pixels, pixels, size_t(width) * size_t(height) * 4);
  }
  if (state.open) InvalidateRect(state.window, nullptr, FALSE);
}

MouseQueue& SideMouseQueue() { return Side().queue; }
