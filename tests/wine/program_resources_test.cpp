// The programs' resources as Windows reads them back. This test program is built with the
// editor's resource script (app/btl_editor.rc), so its own module holds the editor's version
// block and icon: the version block against base/version.h, the icon group's sizes, the
// 256-pixel PNG entry decoded by the system, and the drawing window's class icons.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/version.h"
#include "drawing/window.h"
#include "drawing/window_icon.h"

namespace {

std::wstring ModulePath() {
  wchar_t path[MAX_PATH];
  DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  return std::wstring(path, n);
}

std::wstring VersionText(const std::vector<char>& block, const wchar_t* name) {
  std::wstring query = std::wstring(L"\\StringFileInfo\\080404B0\\") + name;
  wchar_t* text = nullptr;
  UINT length = 0;
  if (!VerQueryValueW(block.data(), query.c_str(), reinterpret_cast<void**>(&text), &length) ||
      !text)
    return L"(missing)";
  return std::wstring(text);
}

TEST(VersionResource, ReadsBackAsTheOneVersion) {
  const std::wstring path = ModulePath();
  DWORD ignored = 0;
  DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
  ASSERT_GT(size, 0u);
  std::vector<char> block(size);
  ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, size, block.data()));

  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
  ASSERT_GE(length, sizeof *fixed);
  EXPECT_EQ(fixed->dwFileVersionMS, DWORD(BTL_VERSION_MAJOR) << 16 | BTL_VERSION_MINOR);
  EXPECT_EQ(fixed->dwFileVersionLS, DWORD(BTL_VERSION_PATCH) << 16);
  EXPECT_EQ(fixed->dwProductVersionMS, fixed->dwFileVersionMS);
  EXPECT_EQ(fixed->dwProductVersionLS, fixed->dwFileVersionLS);

  const std::string v = kProgramVersion;
  const std::wstring version(v.begin(), v.end());
  EXPECT_EQ(VersionText(block, L"FileVersion"), version);
  EXPECT_EQ(VersionText(block, L"ProductVersion"), version);
  EXPECT_EQ(VersionText(block, L"FileDescription"), L"战役文件编辑器");
  EXPECT_EQ(VersionText(block, L"ProductName"), L"BTL 战役编辑器");
  EXPECT_EQ(VersionText(block, L"OriginalFilename"), L"btl_editor.exe");
  EXPECT_NE(VersionText(block, L"LegalCopyright").find(L"BTL 战役编辑器的作者"),
            std::wstring::npos);

  WORD* translation = nullptr;
  ASSERT_TRUE(VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation",
                             reinterpret_cast<void**>(&translation), &length));
  ASSERT_GE(length, 4u);
  EXPECT_EQ(translation[0], 0x0804);  // Simplified Chinese
  EXPECT_EQ(translation[1], 1200);    // UTF-16
}

#pragma pack(push, 2)
struct GroupIconEntry {
  BYTE width, height, colours, reserved;
  WORD planes, bitCount;
  DWORD bytes;
  WORD id;
};
#pragma pack(pop)
static_assert(sizeof(GroupIconEntry) == 14);

// The icon group lists every size from 16 to 256, and the system makes an icon of the
// 256-pixel entry (PNG) as well as of the small ones (bitmaps).
TEST(ProgramIcon, GroupHoldsEverySizeTheSystemCanLoad) {
  HMODULE module = GetModuleHandleW(nullptr);
  HRSRC found =
      FindResourceW(module, MAKEINTRESOURCEW(IDI_APP), MAKEINTRESOURCEW(14));  // RT_GROUP_ICON
  ASSERT_NE(found, nullptr);
  const BYTE* group = static_cast<const BYTE*>(LockResource(LoadResource(module, found)));
  ASSERT_NE(group, nullptr);
  const WORD count = *reinterpret_cast<const WORD*>(group + 4);
  std::vector<int> sizes;
  for (WORD i = 0; i < count; ++i) {
    GroupIconEntry e;
    memcpy(&e, group + 6 + i * sizeof e, sizeof e);
    sizes.push_back(e.width == 0 ? 256 : e.width);
    EXPECT_EQ(e.bitCount, 32);
  }
  EXPECT_EQ(sizes, (std::vector<int>{16, 24, 32, 48, 64, 256}));

  for (int size : {16, 32, 48, 256}) {
    SCOPED_TRACE("size " + std::to_string(size));
    HICON icon = static_cast<HICON>(
        LoadImageW(module, MAKEINTRESOURCEW(IDI_APP), IMAGE_ICON, size, size, 0));
    ASSERT_NE(icon, nullptr);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    BITMAP colour{};
    ASSERT_NE(info.hbmColor, nullptr);
    GetObjectW(info.hbmColor, sizeof colour, &colour);
    EXPECT_EQ(colour.bmWidth, size);
    EXPECT_EQ(colour.bmHeight, size);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    DestroyIcon(icon);
  }
}

int IconWidth(HICON icon) {
  ICONINFO info{};
  if (!icon || !GetIconInfo(icon, &info)) return 0;
  BITMAP b{};
  GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof b, &b);
  if (info.hbmColor) DeleteObject(info.hbmColor);
  if (info.hbmMask) DeleteObject(info.hbmMask);
  return b.bmWidth;
}

// The drawing window's class carries the program's icon at the large and the small icon
// size (the title bar shows the small one), and the title stays the program's name.
TEST(ProgramIcon, DrawingWindowClassCarriesIt) {
  HWND window = static_cast<HWND>(open_window(160, 120, 0));
  ASSERT_NE(window, nullptr);
  HICON large = reinterpret_cast<HICON>(GetClassLongPtrW(window, GCLP_HICON));
  HICON small = reinterpret_cast<HICON>(GetClassLongPtrW(window, GCLP_HICONSM));
  EXPECT_EQ(IconWidth(large), GetSystemMetrics(SM_CXICON));
  EXPECT_EQ(IconWidth(small), GetSystemMetrics(SM_CXSMICON));
  wchar_t title[64] = {};
  GetWindowTextW(window, title, 64);
  EXPECT_STREQ(title, L"btl_wine_tests");
  close_window();
}

}  // namespace
