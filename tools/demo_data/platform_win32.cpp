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
