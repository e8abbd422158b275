#include "btl/console.h"

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

bool WriteText(Stream stream, const std::string& text) {
  if (text.empty()) return true;
  HANDLE h = GetStdHandle(stream == Stream::kOut ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
  if (h == nullptr || h == INVALID_HANDLE_VALUE) return false;
  DWORD mode = 0;
  if (GetConsoleMode(h, &mode)) {
    // A console shows UTF-16 as it is, whatever its code page.
    std::wstring wide = WideFromUtf8(text);
    for (size_t at = 0; at < wide.size();) {
      DWORD written = 0;
      DWORD chunk = DWORD(std::min<size_t>(wide.size() - at, 8192));
      if (!WriteConsoleW(h, wide.data() + at, chunk, &written, nullptr) || written == 0)
        return false;
      at += written;
    }
    return true;
  }
  // A file or a pipe: the UTF-8 bytes, for scripts and other programs to read.
  for (size_t at = 0; at < text.size();) {
    DWORD written = 0;
    DWORD chunk = DWORD(std::min<size_t>(text.size() - at, 1 << 20));
    if (!WriteFile(h, text.data() + at, chunk, &written, nullptr) || written == 0) return false;
    at += written;
  }
  return true;
}

bool ReadStandardInput(std::vector<uint8_t>& bytes) {
  HANDLE h = GetStdHandle(STD_INPUT_HANDLE);
  if (h == nullptr || h == INVALID_HANDLE_VALUE) return false;
  uint8_t piece[1 << 16];
  for (;;) {
    DWORD n = 0;
    // A pipe whose writer has closed ends with ERROR_BROKEN_PIPE: the end of the input.
    if (!ReadFile(h, piece, sizeof piece, &n, nullptr)) return GetLastError() == ERROR_BROKEN_PIPE;
    if (n == 0) return true;
    bytes.insert(bytes.end(), piece, piece + n);
  }
}
