#include <windowsx.h>

#include <string>

#include "base/wide.h"
#include "drawing/mouse_queue.h"
#include "drawing/win32_internal.h"

#include <shellapi.h>  // after windows.h, which win32_internal.h brings
#include "drawing/window.h"
#include "drawing/window_icon.h"

namespace {

constexpr UINT kReaderWaiting = WM_USER + 1;  // 0x401: the main thread waits for a message
constexpr UINT kCloseFromProgram = WM_APP + 1;
const wchar_t kClassName[] = L"BtlDrawingWindow";
unsigned g_opened = 0;  // windows open_window has opened

std::wstring ProgramTitle() {
  wchar_t path[MAX_PATH];
  DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring name(path, n);
  size_t slash = name.find_last_of(L"\\/");
  if (slash != std::wstring::npos) name.erase(0, slash + 1);
  size_t dot = name.rfind(L'.');
  if (dot != std::wstring::npos) name.erase(dot);
  return name;
}

void Queue(const MouseMessage& m) {
  SharedMouseQueue().put(m);
  Win32Drawing& state = DrawingState();
  if (state.readerWaiting) {
    state.readerWaiting = false;
    SetEvent(state.ready);
  }
}

void QueueMouse(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  int16_t x = int16_t(GET_X_LPARAM(lParam)), y = int16_t(GET_Y_LPARAM(lParam));
  if (msg == WM_MOUSEWHEEL) {  // arrives in screen coordinates
    POINT p{x, y};
    ScreenToClient(hwnd, &p);
    x = int16_t(p.x);
    y = int16_t(p.y);
  }
  Queue(MakeMouseMessage(msg, uint32_t(wParam), x, y));
}

// The system reports the pointer leaving the client area once per request, so each move
// after a leave asks again.
void AskForLeave(HWND hwnd) {
  Win32Drawing& state = DrawingState();
  if (state.leaveAsked) return;
  TRACKMOUSEEVENT track{};
  track.cbSize = sizeof track;
  track.dwFlags = TME_LEAVE;
  track.hwndTrack = hwnd;
  state.leaveAsked = TrackMouseEvent(&track) != FALSE;
}

void QueueLeave() {
  DrawingState().leaveAsked = false;
  MouseMessage m{};
  m.code = kMouseLeave;
  Queue(m);
}

void Paint(HWND hwnd) {
  PaintDc paint(hwnd);
  DrawingLock lock;
  Surface* back = BackBuffer();
  if (back->sys) BitBlt(paint.get(), 0, 0, back->width, back->height, back->sys->dc, 0, 0, SRCCOPY);
}

// Releases the window's context and destroys it, on the window's own thread.
void Release(HWND hwnd) {
  {
    DrawingLock lock;
    DrawingState().windowDc.Release();
  }
  ShowWindow(hwnd, SW_HIDE);
  DestroyWindow(hwnd);
}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  Win32Drawing& state = DrawingState();
  if (msg >= WM_MOUSEFIRST && msg <= WM_MOUSEWHEEL) {
    if (msg == WM_MOUSEMOVE) AskForLeave(hwnd);
    QueueMouse(hwnd, msg, wParam, lParam);
    return 0;
  }
  switch (msg) {
    case WM_MOUSELEAVE: QueueLeave(); return 0;
    case kReaderWaiting: state.readerWaiting = true; return 0;
    case WM_PAINT: Paint(hwnd); return 0;
    case kCloseFromProgram:
      state.closingFromProgram = true;
      Release(hwnd);
      return 0;
    case WM_CLOSE:
      if (state.keepCloses) {
        state.closeRequested = true;
        return 0;
      }
      Release(hwnd);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      // The user closed the window: that is how the editor ends. Terminated, not exited:
      // ExitProcess would run the program's exit code on this thread while the main thread,
      // stopped wherever it was, may hold the heap or the drawing lock.
      if (!state.closingFromProgram) TerminateProcess(GetCurrentProcess(), 0);
      return 0;
    case WM_KEYDOWN:
    case WM_KEYUP: return 0;
    case WM_DROPFILES: {
      HDROP drop = reinterpret_cast<HDROP>(wParam);
      const UINT n = DragQueryFileW(drop, 0, nullptr, 0);
      std::wstring path(n, L'\0');
      if (n > 0 && DragQueryFileW(drop, 0, path.data(), n + 1) == n) {
        DrawingLock lock;
        state.dropped = path;
      }
      DragFinish(drop);
      return 0;
    }
    case WM_GETMINMAXINFO: {
      RECT r{0, 0, state.minWidth, state.minHeight};
      AdjustWindowRect(&r, WindowStyle(state.flags), FALSE);
      auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
      if (state.minWidth > 0) info->ptMinTrackSize.x = r.right - r.left;
      if (state.minHeight > 0) info->ptMinTrackSize.y = r.bottom - r.top;
      return 0;
    }
    case WM_SIZE:
      // Not the first size, which the window is made with, nor a minimised window's.
      if (wParam != SIZE_MINIMIZED && state.window) {
        state.resizeWidth = LOWORD(lParam);
        state.resizeHeight = HIWORD(lParam);
        state.resized = true;
      }
      return 0;
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

// Shared icons (LR_SHARED): the system keeps them for the module's lifetime, so the window
// class may be registered again for each window without destroying them.
HICON ProgramIcon(HINSTANCE instance, int widthMetric, int heightMetric) {
  return static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_APP), IMAGE_ICON,
                                       GetSystemMetrics(widthMetric),
                                       GetSystemMetrics(heightMetric), LR_SHARED));
}

DWORD WINAPI WindowThread(void*) {
  Win32Drawing& state = DrawingState();
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = instance;
  // The program's icon, if it has one: the large one for Alt+Tab, the small one for the title
  // bar and the taskbar, each taken at its own size from the icon's entries.
  wc.hIcon = ProgramIcon(instance, SM_CXICON, SM_CYICON);
  wc.hIconSm = ProgramIcon(instance, SM_CXSMICON, SM_CYSMICON);
  wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  wc.lpszClassName = kClassName;
  RegisterClassExW(&wc);

  const DWORD style = WindowStyle(state.flags);
  RECT r{0, 0, state.width, state.height};
  AdjustWindowRect(&r, style, FALSE);
  HWND hwnd =
      CreateWindowExW(0, kClassName, ProgramTitle().c_str(), style, CW_USEDEFAULT, CW_USEDEFAULT,
                      r.right - r.left, r.bottom - r.top, nullptr, nullptr, instance, nullptr);
  if (!hwnd) {  // no display: open_window reports it
    SetEvent(state.ready);
    UnregisterClassW(kClassName, instance);
    return 1;
  }
  {
    // Taken here, given back in Release on this same thread, as a window context must be.
    DrawingLock lock;
    state.windowDc.Take(hwnd);
  }
  KeepOnWorkArea(hwnd);
  if (state.flags & kWindowTakesFiles) DragAcceptFiles(hwnd, TRUE);
  ShowWindow(hwnd, SW_SHOW);
  UpdateWindow(hwnd);
  state.window = hwnd;
  SetEvent(state.ready);

  MSG m;
  while (GetMessageW(&m, nullptr, 0, 0) > 0) {
    TranslateMessage(&m);
    DispatchMessageW(&m);
  }
  UnregisterClassW(kClassName, instance);
  return 0;
}

}  // namespace

void* open_window(int32_t width, int32_t height, unsigned flags) {
  Win32Drawing& state = DrawingState();
  if (state.window) close_window();
  if (!state.ready) state.ready = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  state.width = width;
  state.height = height;
  state.flags = flags;
  state.resized = false;
  state.minWidth = state.minHeight = 0;
  state.closingFromProgram = false;
  state.leaveAsked = false;
  state.keepCloses = false;
  state.closeRequested = false;
  // Clicks left from an earlier window (the range selection's) are not for this one.
  SharedMouseQueue().clear();
  state.thread = CreateThread(nullptr, 0, WindowThread, nullptr, 0, nullptr);
  WaitForSingleObject(state.ready, INFINITE);
  if (!state.window) {
    WaitForSingleObject(state.thread, 5000);
    CloseHandle(state.thread);
    state.thread = nullptr;
    return nullptr;
  }
  {
    DrawingLock lock;
    resize_surface(nullptr, width, height);
  }
  set_target(nullptr);
  ResetSurface(nullptr);
  Surface* back = BackBuffer();
  GdiFlush();
  for (int32_t i = 0; i < back->width * back->height; ++i) back->pixels[i] = 0;
  flush_window();
  ++g_opened;
  return state.window;
}

void close_window() {
  Win32Drawing& state = DrawingState();
  if (!state.window) return;
  HWND hwnd = state.window;
  state.window = nullptr;
  // The window belongs to its thread: it destroys it there, then the thread ends.
  SendMessageW(hwnd, kCloseFromProgram, 0, 0);
  WaitForSingleObject(state.thread, 5000);
  CloseHandle(state.thread);
  state.thread = nullptr;
}

void* window_handle() { return DrawingState().window; }

PixelSize LargestClientArea(unsigned flags) {
  const RECT work = WorkArea();
  RECT frame{0, 0, 0, 0};
  AdjustWindowRect(&frame, WindowStyle(flags), FALSE);
  return {(work.right - work.left) - (frame.right - frame.left),
          (work.bottom - work.top) - (frame.bottom - frame.top)};
}

void SetMinimumClientSize(int32_t width, int32_t height) {
  DrawingState().minWidth = width;
  DrawingState().minHeight = height;
}

bool TakeDroppedFile(std::string& path) {
  std::wstring dropped;
  {
    DrawingLock lock;
    dropped.swap(DrawingState().dropped);
  }
  if (dropped.empty()) return false;
  path = Utf8FromWide(dropped);
  return true;
}

std::optional<PixelSize> TakeResize() {
  Win32Drawing& state = DrawingState();
  if (!state.resized.exchange(false)) return std::nullopt;
  return PixelSize{state.resizeWidth, state.resizeHeight};
}

void ResizeBackBuffer(int32_t width, int32_t height) {
  {
    DrawingLock lock;
    Surface* back = BackBuffer();
    const uint32_t oldBack = back->backColour;
    back->backColour = 0;
    resize_surface(back, width, height);
    back->backColour = oldBack;
  }
  if (HWND hwnd = DrawingState().window) InvalidateRect(hwnd, nullptr, FALSE);
}

unsigned WindowsOpened() { return g_opened; }

void KeepCloseRequests(bool keep) { DrawingState().keepCloses = keep; }

bool TakeCloseRequest() { return DrawingState().closeRequested.exchange(false); }

MouseMessage next_mouse_message() {
  Win32Drawing& state = DrawingState();
  MouseMessage m{};
  while (!SharedMouseQueue().take(m)) {
    ResetEvent(state.ready);
    if (!state.window) return m;
    SendMessageW(state.window, kReaderWaiting, 0, 0);
    if (!SharedMouseQueue().empty()) continue;
    WaitForSingleObject(state.ready, INFINITE);
  }
  return m;
}
