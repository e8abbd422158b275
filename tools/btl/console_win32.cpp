#include "tools/btl/console.h"

#include <windows.h>
#include <shellapi.h>

#include <algorithm>

#include "base/wide.h"

std::vector<std::string> ProgramArguments(int, char**) {
  int n = 0;
  LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &n);
  std::vector<std::string> args;
  for (int i = 1; i < n; ++i) args.push_back(Utf8FromWide(wide[i]));
  LocalFree(wide);
  return args;
}

void WriteText(Stream stream, const std::string& text) {
  if (text.empty()) return;
  HANDLE h = GetStdHandle(stream == Stream::kOut ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
  if (h == nullptr || h == INVALID_HANDLE_VALUE) return;
  DWORD mode = 0;
  if (GetConsoleMode(h, &mode)) {
    // A console shows UTF-16 as it is, whatever its code page.
    std::wstring wide = WideFromUtf8(text);
    for (size_t at = 0; at < wide.size();) {
      DWORD written = 0;
      DWORD chunk = DWORD(std::min<size_t>(wide.size() - at, 8192));
      if (!WriteConsoleW(h, wide.data() + at, chunk, &written, nullptr) || written == 0) return;
      at += written;
    }
    return;
  }
  // A file or a pipe: the UTF-8 bytes, for scripts and other programs to read.
  for (size_t at = 0; at < text.size();) {
    DWORD written = 0;
    DWORD chunk = DWORD(std::min<size_t>(text.size() - at, 1 << 20));
    if (!WriteFile(h, text.data() + at, chunk, &written, nullptr) || written == 0) return;
    at += written;
  }
}
