#include <windowsx.h>

#include <atomic>
#include <string>

#include "drawing/mouse_queue.h"
#include "drawing/win32_internal.h"
#include "drawing/window.h"

namespace {

constexpr UINT kReaderWaiting = WM_USER + 1;  // 0x401: the main thread waits for a message
constexpr UINT kCloseFromProgram = WM_APP + 1;
const wchar_t kClassName[] = L"BtlDrawingWindow";

HWND g_window = nullptr;
HANDLE g_thread = nullptr;
HANDLE g_ready = nullptr;  // auto-reset
bool g_readerWaiting = false;
bool g_closingFromProgram = false;
std::atomic<bool> g_keepCloses{false};
std::atomic<bool> g_closeRequested{false};
int32_t g_width = 0, g_height = 0;

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

void QueueMouse(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  int16_t x = int16_t(GET_X_LPARAM(lParam)), y = int16_t(GET_Y_LPARAM(lParam));
  if (msg == WM_MOUSEWHEEL) {  // arrives in screen coordinates
    POINT p{x, y};
    ScreenToClient(hwnd, &p);
    x = int16_t(p.x);
    y = int16_t(p.y);
  }
  SharedMouseQueue().put(MakeMouseMessage(msg, uint32_t(wParam), x, y));
  if (g_readerWaiting) {
    g_readerWaiting = false;
    SetEvent(g_ready);
  }
}

void Paint(HWND hwnd) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd, &ps);
  {
    DrawingLock lock;
    Surface* back = BackBuffer();
    if (back->sys)
      BitBlt(dc, 0, 0, back->width, back->height, back->sys->dc, 0, 0, SRCCOPY);
  }
  EndPaint(hwnd, &ps);
}

// Releases the window's context and destroys it, on the window's own thread.
void Release(HWND hwnd) {
  {
    DrawingLock lock;
    if (WindowDc()) ReleaseDC(hwnd, WindowDc());
    SetWindowDc(nullptr, nullptr);
  }
  ShowWindow(hwnd, SW_HIDE);
  DestroyWindow(hwnd);
}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg >= WM_MOUSEFIRST && msg <= WM_MOUSEWHEEL) {
    QueueMouse(hwnd, msg, wParam, lParam);
    return 0;
  }
  switch (msg) {
    case kReaderWaiting:
      g_readerWaiting = true;
      return 0;
    case WM_PAINT:
      Paint(hwnd);
      return 0;
    case kCloseFromProgram:
      g_closingFromProgram = true;
      Release(hwnd);
      return 0;
    case WM_CLOSE:
      if (g_keepCloses) {
        g_closeRequested = true;
        return 0;
      }
      Release(hwnd);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      // The user closed the window: that is how the editor ends. Terminated, not exited:
      // ExitProcess would run the program's exit code on this thread while the main thread,
      // stopped wherever it was, may hold the heap or the drawing lock.
      if (!g_closingFromProgram) TerminateProcess(GetCurrentProcess(), 0);
      return 0;
    case WM_KEYDOWN:
    case WM_KEYUP:
      return 0;
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

DWORD WINAPI WindowThread(void*) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSW wc{};
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = instance;
  wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));  // the program's icon, if it has one
  wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  wc.lpszClassName = kClassName;
  RegisterClassW(&wc);

  const DWORD style = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  RECT r{0, 0, g_width, g_height};
  AdjustWindowRect(&r, style, FALSE);
  HWND hwnd = CreateWindowExW(0, kClassName, ProgramTitle().c_str(), style, CW_USEDEFAULT,
                              CW_USEDEFAULT, r.right - r.left, r.bottom - r.top, nullptr, nullptr,
                              instance, nullptr);
  if (!hwnd) {  // no display: open_window reports it
    SetEvent(g_ready);
    UnregisterClassW(kClassName, instance);
    return 1;
  }
  {
    // Taken here, released in Release on this same thread, as a window context must be.
    DrawingLock lock;
    SetWindowDc(hwnd, GetDC(hwnd));
  }
  ShowWindow(hwnd, SW_SHOW);
  UpdateWindow(hwnd);
  g_window = hwnd;
  SetEvent(g_ready);

  MSG m;
  while (GetMessageW(&m, nullptr, 0, 0) > 0) {
    TranslateMessage(&m);
    DispatchMessageW(&m);
  }
  UnregisterClassW(kClassName, instance);
  return 0;
}

}  // namespace

void* open_window(int32_t width, int32_t height, unsigned) {
  if (g_window) close_window();
  if (!g_ready) g_ready = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  g_width = width;
  g_height = height;
  g_closingFromProgram = false;
  g_keepCloses = false;
  g_closeRequested = false;
  // Clicks left from an earlier window (the range selection's) are not for this one.
  SharedMouseQueue().clear();
  g_thread = CreateThread(nullptr, 0, WindowThread, nullptr, 0, nullptr);
  WaitForSingleObject(g_ready, INFINITE);
  if (!g_window) {
    WaitForSingleObject(g_thread, 5000);
    CloseHandle(g_thread);
    g_thread = nullptr;
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
  return g_window;
}

void close_window() {
  if (!g_window) return;
  HWND hwnd = g_window;
  g_window = nullptr;
  // The window belongs to its thread: it destroys it there, then the thread ends.
  SendMessageW(hwnd, kCloseFromProgram, 0, 0);
  WaitForSingleObject(g_thread, 5000);
  CloseHandle(g_thread);
  g_thread = nullptr;
}

void* window_handle() { return g_window; }

void KeepCloseRequests(bool keep) { g_keepCloses = keep; }

bool TakeCloseRequest() { return g_closeRequested.exchange(false); }

MouseMessage next_mouse_message() {
  MouseMessage m{};
  while (!SharedMouseQueue().take(m)) {
    ResetEvent(g_ready);
    if (!g_window) return m;
    SendMessageW(g_window, kReaderWaiting, 0, 0);
    if (!SharedMouseQueue().empty()) continue;
    WaitForSingleObject(g_ready, INFINITE);
  }
  return m;
}
