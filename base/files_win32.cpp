#include <windows.h>
#include <io.h>

#include "base/files.h"
#include "base/wide.h"

FILE* OpenFile(const std::string& path, const char* mode) {
  return _wfopen(WideFromUtf8(path).c_str(), WideFromUtf8(mode).c_str());
}

bool FileExists(const std::string& path) {
  return GetFileAttributesW(WideFromUtf8(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool MakeFolder(const std::string& path) {
  const std::wstring wide = WideFromUtf8(path);
  if (!CreateDirectoryW(wide.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
    return false;
  const DWORD attributes = GetFileAttributesW(wide.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool OpenFileSize(FILE* f, uint64_t& size) {
  const HANDLE h = HANDLE(_get_osfhandle(_fileno(f)));
  if (h == INVALID_HANDLE_VALUE || GetFileType(h) != FILE_TYPE_DISK) return false;
  const __int64 length = _filelengthi64(_fileno(f));
  if (length < 0) return false;
  size = uint64_t(length);
  return true;
}

std::string AbsolutePath(const std::string& path) {
  const std::wstring wide = WideFromUtf8(path);
  const DWORD n = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
  if (path.empty() || n == 0) return path;
  std::wstring full(n, L'\0');
  const DWORD got = GetFullPathNameW(wide.c_str(), n, full.data(), nullptr);
  if (got == 0 || got >= n) return path;
  full.resize(got);
  return Utf8FromWide(full);
}
