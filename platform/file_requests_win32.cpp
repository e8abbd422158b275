#include <windows.h>
#include <commdlg.h>

#include <string>

#include "base/wide.h"
#include "platform/file_requests.h"
#include "platform/system.h"

namespace {

constexpr DWORD kPathChars = 300;
wchar_t g_path[kPathChars];
// The open dialog's file-title output and the save dialog's file buffer: the save dialog
// proposes the opened file's name.
wchar_t g_title[kPathChars];

// The NT4-style request (the 76-byte structure of 32-bit Windows; its 64-bit size here).
OPENFILENAMEW Request(const wchar_t* filter, wchar_t* file, wchar_t* title, DWORD flags) {
  OPENFILENAMEW r{};
  r.lStructSize = OPENFILENAME_SIZE_VERSION_400W;
  r.hwndOwner = nullptr;
  r.lpstrFilter = filter;
  r.nFilterIndex = 1;
  r.lpstrFile = file;
  r.nMaxFile = kPathChars;
  r.lpstrFileTitle = title;
  r.nMaxFileTitle = title ? kPathChars : 0;
  r.Flags = flags;
  return r;
}

}  // namespace

bool SystemFileRequest(bool save, std::string& path) {
  if (!save) {
    static const wchar_t filter[] = L"Morvane BTL(*.btl)\0*.btl\0";
    g_path[0] = 0;
    OPENFILENAMEW r =
        Request(filter, g_path, g_title, OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR);
    if (!GetOpenFileNameW(&r)) return false;
    path = Utf8FromWide(g_path);
    return true;
  }
  static const wchar_t filter[] = L"Morvane BTL文件(*.btl)\0*.btl\0";
  OPENFILENAMEW r = Request(filter, g_title, nullptr, OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR);
  if (!GetSaveFileNameW(&r)) return false;
  path = Utf8FromWide(g_title);
  return true;
}

void ProposeSaveName(const std::string& path) {
  std::wstring name = WideFromUtf8(path);
  const size_t slash = name.find_last_of(L"\\/");
  if (slash != std::wstring::npos) name.erase(0, slash + 1);
  if (name.size() >= kPathChars) name.clear();
  wcscpy(g_title, name.c_str());
}
