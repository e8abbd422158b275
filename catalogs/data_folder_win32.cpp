#include <windows.h>

#include <string>

#include "base/wide.h"
#include "catalogs/data_folder.h"

std::string CurrentFolderPath() {
  const DWORD n = GetCurrentDirectoryW(0, nullptr);
  if (n == 0) return {};
  std::wstring here(n, L'\0');
  const DWORD got = GetCurrentDirectoryW(n, here.data());
  if (got == 0 || got >= n) return {};
  here.resize(got);
  // "C:\" keeps its separator; other folders come without one.
  if (here.size() > 3 && here.back() == L'\\') here.pop_back();
  return Utf8FromWide(here);
}

std::string ProgramFolderPath() {
  std::wstring exe(MAX_PATH, L'\0');
  for (;;) {
    const DWORD got = GetModuleFileNameW(nullptr, exe.data(), DWORD(exe.size()));
    if (got == 0) return {};
    if (got < exe.size()) {
      exe.resize(got);
      break;
    }
    exe.resize(exe.size() * 2);  // cut short: a longer path
  }
  const size_t slash = exe.find_last_of(L"\\/");
  if (slash == std::wstring::npos) return {};
  // The folder of "C:\btl_editor.exe" is "C:\".
  return Utf8FromWide(exe.substr(0, slash == 2 ? 3 : slash));
}

bool EnterFolder(const std::string& folder) {
  return SetCurrentDirectoryW(WideFromUtf8(folder).c_str()) != 0;
}
