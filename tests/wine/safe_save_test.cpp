// Saving over a file another handle holds open without sharing, on the real Win32 file
// system: the save must fail with a sentence that says so, keep the old bytes and leave no
// temporary file beside the target.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "scenario/battle_write.h"
#include "scenario/safe_save.h"
#include "base/wide.h"
#include "scenario/world_record.h"
#include "tests/support/temp_folder.h"

namespace {

void WriteWhole(const std::wstring& path, const std::string& bytes) {
  HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  DWORD done = 0;
  ASSERT_TRUE(WriteFile(h, bytes.data(), DWORD(bytes.size()), &done, nullptr));
  CloseHandle(h);
}

std::string ReadWhole(HANDLE h) {
  SetFilePointer(h, 0, nullptr, FILE_BEGIN);
  std::string out(1 << 16, '\0');
  DWORD got = 0;
  EXPECT_TRUE(ReadFile(h, out.data(), DWORD(out.size()), &got, nullptr));
  out.resize(got);
  return out;
}

std::vector<std::wstring> FolderEntries(const std::wstring& dir) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW found;
  HANDLE h = FindFirstFileW((dir + L"\\*").c_str(), &found);
  if (h == INVALID_HANDLE_VALUE) return names;
  do {
    std::wstring n = found.cFileName;
    if (n != L"." && n != L"..") names.push_back(n);
  } while (FindNextFileW(h, &found));
  FindClose(h);
  return names;
}

// A 3 x 2 range of a 10 x 10 world with one team and a unit: enough for a real file.
void SmallScenario() {
  memset(&g_world.header, 0, sizeof g_world.header);
  g_world.worldWidth = g_world.worldHeight = 10;
  g_world.originX = g_world.originY = 1;
  g_world.rangeWidth = 3;
  g_world.rangeHeight = 2;
  g_world.teamCount = 1;
  g_world.teams[0] = TeamRecord{};
  g_world.teams[0].colour = 0x123456;
  g_world.generalCount = 0;
  g_world.fileSize = g_world.tailOffset = 0;
  for (int x = 0; x < 3; ++x)
    for (int y = 0; y < 2; ++y) {
      Cell& c = g_world.grid[x][y];
      c = Cell{};
      c.owner = 0;
      c.unit.general = 255;
    }
  g_world.grid[1][1].hasUnit = 1;
  g_world.grid[1][1].unit.unitClass = 3;
}

TEST(SafeSaveHeldOpen, TargetHeldWithoutSharingStaysAsItWasAndNoTemporaryIsLeft) {
  SmallScenario();
  TempFolder folder{"btl_save"};
  const std::wstring dir = folder.path().wstring();
  const std::wstring target = dir + L"\\战役.btl";
  const std::string old = "old bytes of the scenario";
  WriteWhole(target, old);

  // Another program has the file open for reading and writing and shares nothing.
  HANDLE held = CreateFileW(target.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  Status s = SaveScenarioTo(Utf8FromWide(target));
  EXPECT_EQ(s.kind, FailureKind::kCannotReplace) << s.message;
  EXPECT_NE(s.message.find("战役.btl"), std::string::npos) << s.message;
  EXPECT_NE(s.message.find("原文件保持不变"), std::string::npos) << s.message;
  EXPECT_EQ(ReadWhole(held), old);
  CloseHandle(held);

  std::vector<std::wstring> entries = FolderEntries(dir);
  ASSERT_EQ(entries.size(), 1u) << "temporary file left beside the target";
  EXPECT_EQ(entries[0], L"战役.btl");

  // Once the other handle is gone the same save goes through.
  ASSERT_TRUE(SaveScenarioTo(Utf8FromWide(target)).ok());
  std::vector<uint8_t> expected;
  ASSERT_TRUE(BuildBattleBytes(expected).ok());
  HANDLE h = CreateFileW(target.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                         nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  std::string now = ReadWhole(h);
  CloseHandle(h);
  EXPECT_EQ(now, std::string(expected.begin(), expected.end()));
  EXPECT_EQ(FolderEntries(dir).size(), 1u);
}

// Leftovers of saves that never finished go before the next save of the target, except one
// that a save still has open (its handle shares nothing). The swap parks the old file under
// a spare name and leaves nothing of it behind.
TEST(SafeSaveHeldOpen, LeftoverHeldOpenStaysTheOthersGoAndNoSpareIsLeft) {
  TempFolder folder{"btl_save"};
  const std::wstring dir = folder.path().wstring();
  const std::wstring target = dir + L"\\战役.btl";
  WriteWhole(target, "old");
  const std::string target8 = Utf8FromWide(target);
  for (int n = 0; n < 3; ++n) WriteWhole(WideFromUtf8(TempSavePath(target8, n)), "left");
  WriteWhole(dir + L"\\战役.btl.~saving.tmp", "user's");
  HANDLE held =
      CreateFileW(WideFromUtf8(TempSavePath(target8, 1)).c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  const std::string data = "new bytes of the scenario";
  Status s = SafeSave(target8, reinterpret_cast<const uint8_t*>(data.data()), data.size());
  EXPECT_EQ(ReadWhole(held), "left");
  CloseHandle(held);
  ASSERT_TRUE(s.ok()) << s.message;

  std::vector<std::wstring> entries = FolderEntries(dir);
  std::sort(entries.begin(), entries.end());
  EXPECT_EQ(entries, (std::vector<std::wstring>{L"战役.btl", L"战役.btl.~saving.tmp",
                                                L"战役.btl.~saving1.tmp"}));
  HANDLE h = CreateFileW(target.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                         nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  EXPECT_EQ(ReadWhole(h), data);
  CloseHandle(h);
}

}  // namespace
