// A small window program driven by run_wine_tests.sh with xdotool: it opens the drawing
// window in one of a few set-ups and prints what it receives, one line each, so the script
// can compare real input and real screenshots with what the program saw.
//
//   window_probe mouse W H   a W x H window; prints every mouse press, wheel and leave
//                            message and ends (status 0) after a right-button press
//   window_probe reopen      a 300 x 200 window; after a left click closes it, opens a
//                            200 x 150 one and waits for the user's close command
//   window_probe repaint     a 300 x 200 window, red left half, blue right half; on a left
//                            click a green square goes into the back buffer only, on the next
//                            the window is invalidated (erased, then painted); then it waits
//                            for the close command
//   window_probe cover X Y W H   a white top-most popup over the given screen area for 1.5 s
//
// Every wait ends after 30 s with status 3, so a lost message fails instead of hanging.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "drawing/mouse_queue.h"
#include "drawing/surface.h"
#include "drawing/window.h"

namespace {

constexpr DWORD kWaitLimitMs = 30000;
constexpr uint32_t kLeftButtonDoubleClick = 0x203;  // a second press soon after the first

bool IsLeftPress(const MouseMessage& m) {
  return m.code == kLeftButtonDown || m.code == kLeftButtonDoubleClick;
}

void ReportClientSize(const char* label) {
  RECT r{};
  GetClientRect(static_cast<HWND>(window_handle()), &r);
  printf("%s %ld %ld\n", label, r.right, r.bottom);
}

// The next mouse message that is not a move or a button release, or code 0 after the time
// limit.
MouseMessage NextPress(DWORD limitMs) {
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < limitMs) {
    while (mouse_pending()) {
      const MouseMessage m = next_mouse_message();
      if (m.code != 0x200 && m.code != 0x202 && m.code != 0x205 && m.code != 0x208) return m;
    }
    Sleep(10);
  }
  return MouseMessage{};
}

void Print(const MouseMessage& m) {
  printf("mouse code=0x%X ctrl=%d shift=%d left=%d middle=%d right=%d x=%d y=%d wheel=%d\n",
         unsigned(m.code), m.ctrl, m.shift, m.left, m.middle, m.right, m.x, m.y, m.wheel);
}

// Waits for the user's close command, which ends the process with status 0.
int AwaitClose() {
  Sleep(kWaitLimitMs);
  puts("timeout");
  return 3;
}

int Mouse(int w, int h) {
  if (!open_window(w, h, 0)) return 2;
  ReportClientSize("open");
  for (;;) {
    const MouseMessage m = NextPress(kWaitLimitMs);
    if (m.code == 0) {
      puts("timeout");
      return 3;
    }
    Print(m);
    if (m.code == kRightButtonDown) return 0;
  }
}

int Reopen() {
  if (!open_window(300, 200, 0)) return 2;
  ReportClientSize("first");
  if (!IsLeftPress(NextPress(kWaitLimitMs))) return 3;
  close_window();
  puts("closed");
  if (!open_window(200, 150, 0)) return 2;
  ReportClientSize("second");
  return AwaitClose();
}

int Repaint() {
  if (!open_window(300, 200, 0)) return 2;
  set_line_colour(0x0000FF);
  set_fill_colour(0x0000FF);
  fill_rect(0, 0, 150, 200);
  set_line_colour(0xFF0000);
  set_fill_colour(0xFF0000);
  fill_rect(150, 0, 300, 200);
  puts("drawn");
  if (!IsLeftPress(NextPress(kWaitLimitMs))) return 3;
  uint32_t* back = surface_pixels(nullptr);
  for (int y = 50; y < 100; ++y)
    for (int x = 100; x < 150; ++x) back[y * 300 + x] = 0x00FF00;  // not flushed
  puts("square");
  if (!IsLeftPress(NextPress(kWaitLimitMs))) return 3;
  InvalidateRect(static_cast<HWND>(window_handle()), nullptr, TRUE);
  puts("invalidated");
  return AwaitClose();
}

int Cover(int x, int y, int w, int h) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  wc.lpszClassName = L"ProbeCover";
  RegisterClassW(&wc);
  HWND cover = CreateWindowExW(WS_EX_TOPMOST, wc.lpszClassName, L"cover", WS_POPUP | WS_VISIBLE, x,
                               y, w, h, nullptr, nullptr, wc.hInstance, nullptr);
  if (!cover) return 2;
  UpdateWindow(cover);
  puts("covering");
  const DWORD start = GetTickCount();
  MSG m;
  while (GetTickCount() - start < 1500) {
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
    Sleep(10);
  }
  DestroyWindow(cover);
  puts("uncovered");
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  setvbuf(stdout, nullptr, _IONBF, 0);  // the script reads each line as it comes
  const char* mode = argc > 1 ? argv[1] : "";
  if (!strcmp(mode, "mouse") && argc == 4) return Mouse(atoi(argv[2]), atoi(argv[3]));
  if (!strcmp(mode, "reopen")) return Reopen();
  if (!strcmp(mode, "repaint")) return Repaint();
  if (!strcmp(mode, "cover") && argc == 6)
    return Cover(atoi(argv[2]), atoi(argv[3]), atoi(argv[4]), atoi(argv[5]));
  fprintf(stderr, "usage: window_probe mouse W H | reopen | repaint | cover X Y W H\n");
  return 1;
}
