#include <windows.h>

#include <string>

#include "base/wide.h"
#include "scenario/recovery_file.h"

std::string RecoveryFolder() {
  // %LOCALAPPDATA%: the user's own folder for data that stays on this machine.
  wchar_t base[MAX_PATH];
  const DWORD n = GetEnvironmentVariableW(L"LOCALAPPDATA", base, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return {};
  const std::wstring folder = std::wstring(base) + L"\\btl_editor";
  if (!CreateDirectoryW(folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
    return {};
  const DWORD attributes = GetFileAttributesW(folder.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return {};
  return Utf8FromWide(folder);
}
