#include <windows.h>

#include "base/wide.h"
#include "tools/demo_data/platform.h"

bool MakeFolder(const std::string& utf8path) {
  std::wstring path = WideFromUtf8(utf8path);
  if (!CreateDirectoryW(path.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
    return false;
  DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool GbkFromUtf8(const std::string& utf8, std::string& gbk) {
  gbk.clear();
  if (utf8.empty()) return true;
  std::wstring wide = WideFromUtf8(utf8);
  BOOL lossy = FALSE;
  int n = WideCharToMultiByte(936, 0, wide.data(), int(wide.size()), nullptr, 0, nullptr, &lossy);
  if (n <= 0 || lossy) return false;
  gbk.resize(n);
  WideCharToMultiByte(936, 0, wide.data(), int(wide.size()), gbk.data(), n, nullptr, nullptr);
  return true;
}
