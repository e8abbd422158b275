#include "scenario/safe_save.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>
#include <set>
#include <cstring>
#include <string>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#endif

#include "scenario/battle_write.h"
#include "base/files.h"
#include "tests/support/battle_fixture.h"
#include "tests/support/temp_folder.h"

namespace {

// An in-memory folder whose operations can be made to fail. Paths are "name" or
// "folder/name".
class FakeDisk : public SaveOps {
 public:
  std::map<std::string, std::vector<uint8_t>> files;
  std::map<std::string, Target> kinds;  // overrides for inspect()
  std::set<std::string> inUse;          // files a save has open: remove_unused leaves them
  std::set<std::string> failMovesFrom;  // moves of these files fail
  int failWriteAt = -1;                 // the n-th write call fails
  bool failFlush = false, failCreate = false;
  // How replace ends; a failure leaves the files as a system does.
  ReplaceResult::Kind replaceEnds = ReplaceResult::kDone;
  std::vector<std::string> sparesGiven;
  int writes = 0;

  Target inspect(const std::string& path) override {
    if (kinds.count(path)) return kinds[path];
    return files.count(path) ? Target::kFile : Target::kMissing;
  }
  void* create_new(const std::string& path) override {
    if (failCreate || files.count(path)) return nullptr;
    files[path];
    open_.push_back(path);
    return reinterpret_cast<void*>(open_.size());
  }
  bool write(void* file, const uint8_t* data, size_t size) override {
    if (writes++ == failWriteAt) return false;
    auto& f = files[name(file)];
    f.insert(f.end(), data, data + size);
    return true;
  }
  bool flush_and_close(void*) override { return !failFlush; }
  ReplaceResult replace(const std::string& temp, const std::string& target,
                        const std::string& spare) override {
    sparesGiven.push_back(spare);
    switch (replaceEnds) {
      case ReplaceResult::kDone:
        files[target] = files[temp];
        files.erase(temp);
        return {ReplaceResult::kDone, {}};
      case ReplaceResult::kTargetUntouched: return {ReplaceResult::kTargetUntouched, {}};
      case ReplaceResult::kTargetGone: files.erase(target); return {ReplaceResult::kTargetGone, {}};
      case ReplaceResult::kTargetRenamed:
        EXPECT_FALSE(spare.empty());
        EXPECT_EQ(files.count(spare), 0u) << "spare name taken: " << spare;
        files[spare] = files[target];
        files.erase(target);
        return {ReplaceResult::kTargetRenamed, spare};
    }
    return {};
  }
  bool move(const std::string& from, const std::string& to) override {
    if (failMovesFrom.count(from) || !files.count(from) || files.count(to)) return false;
    files[to] = files[from];
    files.erase(from);
    return true;
  }
  void remove(const std::string& path) override { files.erase(path); }
  std::vector<std::string> list(const std::string& folder) override {
    std::vector<std::string> names;
    const std::string prefix = folder == "./" ? "" : folder;
    for (const auto& [path, bytes] : files)
      if (path.compare(0, prefix.size(), prefix) == 0 &&
          path.find('/', prefix.size()) == std::string::npos)
        names.push_back(path.substr(prefix.size()));
    return names;
  }
  bool remove_unused(const std::string& path) override {
    if (inUse.count(path) || !files.count(path)) return false;
    files.erase(path);
    return true;
  }

 private:
  std::vector<std::string> open_;
  std::string name(void* file) { return open_[reinterpret_cast<size_t>(file) - 1]; }
};

const std::vector<uint8_t> kOld = {1, 2, 3};

std::vector<uint8_t> ThreeMegabytes() {
  std::vector<uint8_t> v(3 * 1024 * 1024 + 5);
  for (size_t i = 0; i < v.size(); ++i) v[i] = uint8_t(i * 31);
  return v;
}

TEST(SafeSave, WritesTheWholeFileAndLeavesNoTemporary) {
  FakeDisk disk;
  disk.files["a.btl"] = kOld;
  std::vector<uint8_t> data = ThreeMegabytes();
  EXPECT_TRUE(SafeSave("a.btl", data.data(), data.size(), disk).ok());
  EXPECT_EQ(disk.files["a.btl"], data);
  EXPECT_EQ(disk.files.size(), 1u);
}

TEST(SafeSave, FailingWriteAtAnyPointKeepsTheOldFile) {
  std::vector<uint8_t> data = ThreeMegabytes();
  for (int at = 0; at < 4; ++at) {
    FakeDisk disk;
    disk.files["a.btl"] = kOld;
    disk.failWriteAt = at;
    Status s = SafeSave("a.btl", data.data(), data.size(), disk);
    EXPECT_EQ(s.kind, FailureKind::kCannotWrite) << at;
    EXPECT_NE(s.message.find("a.btl"), std::string::npos);
    EXPECT_EQ(disk.files["a.btl"], kOld) << at;
    EXPECT_EQ(disk.files.size(), 1u) << "temporary left behind at write " << at;
  }
}

// A file handed over in uneven pieces is written whole; a failing write keeps the old file
// and tells the producer to stop, so that nothing after it is written.
TEST(SafeSave, ProducedFileIsWrittenWholeAndAFailingWriteStopsIt) {
  std::vector<uint8_t> data = ThreeMegabytes();
  const size_t cuts[] = {0, 1, 1000, 1 << 20, 2500000, data.size()};
  auto produce = [&](int& handed) {
    return [&](const SavePieceWriter& write) {
      for (size_t i = 0; i + 1 < std::size(cuts); ++i) {
        ++handed;
        if (!write(data.data() + cuts[i], cuts[i + 1] - cuts[i])) return;
      }
    };
  };
  FakeDisk disk;
  disk.files["a.btl"] = kOld;
  int handed = 0;
  EXPECT_TRUE(SafeSaveProduced("a.btl", produce(handed), disk).ok());
  EXPECT_EQ(disk.files["a.btl"], data);
  EXPECT_EQ(handed, 5);
  for (int at = 0; at < 5; ++at) {
    FakeDisk failing;
    failing.files["a.btl"] = kOld;
    failing.failWriteAt = at;
    handed = 0;
    Status s = SafeSaveProduced("a.btl", produce(handed), failing);
    EXPECT_EQ(s.kind, FailureKind::kCannotWrite) << at;
    EXPECT_EQ(failing.files["a.btl"], kOld) << at;
    EXPECT_EQ(failing.files.size(), 1u) << "temporary left behind at write " << at;
    EXPECT_EQ(failing.writes, at + 1) << "writes after the failing one";
    EXPECT_EQ(handed, at + 1);
  }
}

TEST(SafeSave, FailingFlushOrReplaceKeepsTheOldFile) {
  for (int which = 0; which < 2; ++which) {
    FakeDisk disk;
    disk.files["a.btl"] = kOld;
    if (which)
      disk.replaceEnds = ReplaceResult::kTargetUntouched;
    else
      disk.failFlush = true;
    EXPECT_EQ(SafeSave("a.btl", kOld.data() + 1, 2, disk).kind,
              which ? FailureKind::kCannotReplace : FailureKind::kCannotWrite);
    EXPECT_EQ(disk.files["a.btl"], kOld);
    EXPECT_EQ(disk.files.size(), 1u);
  }
}

TEST(SafeSave, ReadOnlyTargetDirectoryAndUncreatableTemporaryAreRefused) {
  FakeDisk disk;
  disk.files["a.btl"] = kOld;
  disk.kinds["a.btl"] = SaveOps::Target::kReadOnlyFile;
  EXPECT_EQ(SafeSave("a.btl", kOld.data(), 1, disk).kind, FailureKind::kReadOnly);
  disk.kinds["a.btl"] = SaveOps::Target::kDirectory;
  EXPECT_EQ(SafeSave("a.btl", kOld.data(), 1, disk).kind, FailureKind::kTargetIsFolder);
  disk.kinds.clear();
  disk.failCreate = true;
  EXPECT_EQ(SafeSave("a.btl", kOld.data(), 1, disk).kind, FailureKind::kCannotCreate);
  EXPECT_EQ(disk.files["a.btl"], kOld);
  EXPECT_EQ(disk.files.size(), 1u);
}

TEST(SafeSave, TemporaryLeftByACrashIsNotOverwritten) {
  FakeDisk disk;
  disk.files[TempSavePath("a.btl", 0)] = {9, 9};
  EXPECT_TRUE(SafeSave("a.btl", kOld.data(), kOld.size(), disk).ok());
  EXPECT_EQ(disk.files["a.btl"], kOld);
  EXPECT_EQ((disk.files[TempSavePath("a.btl", 0)]), (std::vector<uint8_t>{9, 9}));
}

// ---- A swap that the system stops half-way -----------------------------------------------

// Every way a replace can end, with the moves that put things right failing or not: the old
// file and the new scenario each end up in the target or in a file the message names, and
// the message says which.
TEST(SafeSaveSwap, EveryOutcomeKeepsTheDataAndTheMessageSaysWhereItIs) {
  const std::string target = "d/a.btl";
  const std::string temp = TempSavePath(target, 0), spare = SpareSavePath(target, 0);
  const std::vector<uint8_t> kNew = {7, 8, 9, 10};
  using Files = std::map<std::string, std::vector<uint8_t>>;
  struct Case {
    const char* what;
    ReplaceResult::Kind ends;
    bool tempMoveFails, oldMoveFails;
    Files after;  // the whole folder afterwards; empty = saved
    FailureKind kind;
    std::vector<std::string> says, never;  // in the message, and not in it
  };
  const FailureKind kSaved = FailureKind::kNone, kRefused = FailureKind::kCannotReplace,
                    kStopped = FailureKind::kSwapStopped;
  const std::vector<Case> cases = {
      {"done", ReplaceResult::kDone, false, false, {}, kSaved, {}, {}},
      {"target untouched",
       ReplaceResult::kTargetUntouched,
       false,
       false,
       {{target, kOld}},
       kRefused,
       {"“d/a.btl”", "文件未保存", "原文件保持不变"},
       {temp}},
      {"target gone, new file moved into its place",
       ReplaceResult::kTargetGone,
       false,
       false,
       {},
       kSaved,
       {},
       {}},
      {"target gone, new file stuck",
       ReplaceResult::kTargetGone,
       true,
       false,
       {{temp, kNew}},
       kStopped,
       {"“d/a.btl”", "原文件已不存在", "新的内容保存在“" + temp + "”中", "改名为“d/a.btl”"},
       {"原文件保持不变", "文件未保存"}},
      {"target renamed, new file moved into its place",
       ReplaceResult::kTargetRenamed,
       false,
       false,
       {},
       kSaved,
       {},
       {}},
      {"target renamed, new file stuck, old file moved back",
       ReplaceResult::kTargetRenamed,
       true,
       false,
       {{target, kOld}},
       kRefused,
       {"“d/a.btl”", "文件未保存", "原文件保持不变"},
       {temp, spare}},
      {"target renamed, both stuck",
       ReplaceResult::kTargetRenamed,
       true,
       true,
       {{temp, kNew}, {spare, kOld}},
       kStopped,
       {"原文件已被改名为“" + spare + "”", "新的内容保存在“" + temp + "”中", "改名为“d/a.btl”"},
       {"原文件保持不变", "文件未保存"}},
  };
  for (const Case& c : cases) {
    FakeDisk disk;
    disk.files[target] = kOld;
    disk.replaceEnds = c.ends;
    if (c.tempMoveFails) disk.failMovesFrom.insert(temp);
    if (c.oldMoveFails) disk.failMovesFrom.insert(spare);
    Status s = SafeSave(target, kNew.data(), kNew.size(), disk);
    EXPECT_EQ(disk.sparesGiven, std::vector<std::string>{spare}) << c.what;
    EXPECT_EQ(s.kind, c.kind) << c.what << ": " << s.message;
    if (c.after.empty()) {
      EXPECT_TRUE(s.ok()) << c.what << ": " << s.message;
      EXPECT_EQ(disk.files, (Files{{target, kNew}})) << c.what;
      continue;
    }
    EXPECT_FALSE(s.ok()) << c.what;
    EXPECT_EQ(disk.files, c.after) << c.what;
    for (const std::string& part : c.says)
      EXPECT_NE(s.message.find(part), std::string::npos) << c.what << ": " << s.message;
    for (const std::string& part : c.never)
      EXPECT_EQ(s.message.find(part), std::string::npos) << c.what << ": " << s.message;
  }
}

TEST(SafeSaveSwap, SpareNameIsFreeAndOnlyGivenWhenThereIsAnOldFile) {
  FakeDisk disk;
  disk.files["a.btl"] = kOld;
  disk.files[SpareSavePath("a.btl", 0)] = {5};  // parked by an earlier failed save
  disk.replaceEnds = ReplaceResult::kTargetRenamed;
  disk.failMovesFrom = {TempSavePath("a.btl", 0), SpareSavePath("a.btl", 1)};
  Status s = SafeSave("a.btl", kOld.data(), 1, disk);
  ASSERT_EQ(s.kind, FailureKind::kSwapStopped) << s.message;
  EXPECT_EQ(disk.sparesGiven, std::vector<std::string>{SpareSavePath("a.btl", 1)});
  EXPECT_EQ(disk.files[SpareSavePath("a.btl", 0)], std::vector<uint8_t>{5});
  EXPECT_EQ(disk.files[SpareSavePath("a.btl", 1)], kOld);

  // A new file: nothing to park, and a failure says nothing about an old file.
  FakeDisk fresh;
  fresh.replaceEnds = ReplaceResult::kTargetUntouched;
  s = SafeSave("new.btl", kOld.data(), kOld.size(), fresh);
  ASSERT_EQ(s.kind, FailureKind::kCannotReplace) << s.message;
  EXPECT_EQ(fresh.sparesGiven, std::vector<std::string>{""});
  EXPECT_EQ(s.message.find("原文件"), std::string::npos) << s.message;
  EXPECT_TRUE(fresh.files.empty());
}

// ---- Temporary files of saves that never finished ---------------------------------------

TEST(SafeSaveLeftovers, OnlyTemporaryNamesOfTheSameTargetAreRecognised) {
  EXPECT_TRUE(IsTempSaveName("a.btl", "a.btl.~saving0.tmp"));
  EXPECT_TRUE(IsTempSaveName("战役.btl", "战役.btl.~saving42.tmp"));
  for (const char* other :
       {"a.btl", "a.btl.~saving.tmp", "a.btl.~saving1.tmp.txt", "a.btl.~saving-1.tmp",
        "a.btl.~saving1x.tmp", "b.btl.~saving1.tmp", "xa.btl.~saving1.tmp", "a.btl.~old0.bak",
        "a.btl.saving1", "A.BTL.~saving1.tmp"})
    EXPECT_FALSE(IsTempSaveName("a.btl", other)) << other;
  EXPECT_TRUE(IsTempSaveName("a.btl", TempSavePath("a.btl", 7)));
}

// The names beside a target stay within 255 bytes whatever the target's name (ASCII or
// three-byte characters, up to the limit itself), are whole UTF-8, are the target's own
// (a long name cut like another's never takes the other's leftovers), and short names keep
// their plain form.
TEST(SafeSaveLeftovers, NamesBesideAnyTargetStayWithinTheLimitAndAreItsOwn) {
  EXPECT_EQ(TempSavePath("d/a.btl", 3), "d/a.btl.~saving3.tmp");
  EXPECT_EQ(SpareSavePath("d/a.btl", 3), "d/a.btl.~old3.bak");
  auto validUtf8 = [](const std::string& s) {
    for (size_t i = 0; i < s.size();) {
      const unsigned char c = static_cast<unsigned char>(s[i]);
      const size_t n = c < 0x80         ? 1
                       : (c >> 5) == 6  ? 2
                       : (c >> 4) == 14 ? 3
                       : (c >> 3) == 30 ? 4
                                        : 0;
      if (n == 0 || i + n > s.size()) return false;
      for (size_t k = 1; k < n; ++k)
        if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
      i += n;
    }
    return true;
  };
  for (const std::string& unit : {std::string("a"), std::string("战")})
    for (size_t bytes = 1; bytes <= 255; ++bytes) {
      std::string name;
      while (name.size() + unit.size() <= bytes) name += unit;
      SCOPED_TRACE(std::to_string(name.size()) + " bytes of " + unit);
      for (int n : {0, 99}) {
        const std::string temp = TempSavePath("文件夹/" + name, n),
                          spare = SpareSavePath("文件夹/" + name, n);
        ASSERT_EQ(temp.rfind("文件夹/", 0), 0u);
        const std::string tempName = temp.substr(strlen("文件夹/")),
                          spareName = spare.substr(strlen("文件夹/"));
        EXPECT_LE(tempName.size(), 255u);
        EXPECT_LE(spareName.size(), 255u);
        EXPECT_TRUE(validUtf8(tempName)) << tempName;
        EXPECT_TRUE(IsTempSaveName(name, tempName)) << tempName;
        EXPECT_FALSE(IsTempSaveName(name + "x", tempName)) << tempName;
        EXPECT_FALSE(IsTempSaveName(name, spareName)) << spareName;
        if (name.size() + 16 <= 255) {
          EXPECT_EQ(tempName, name + ".~saving" + std::to_string(n) + ".tmp");
        }
      }
    }
}

TEST(SafeSaveLeftovers, UnusedLeftoversBesideAnExistingTargetGoTheRestStay) {
  FakeDisk disk;
  disk.files["d/a.btl"] = kOld;
  for (int n = 0; n < 150; ++n) disk.files[TempSavePath("d/a.btl", n)] = {9};
  disk.inUse = {TempSavePath("d/a.btl", 0), TempSavePath("d/a.btl", 3)};
  disk.files["d/a.btl.~saving.tmp"] = {1};
  disk.files["d/b.btl.~saving1.tmp"] = {2};
  disk.files[SpareSavePath("d/a.btl", 0)] = {3};
  disk.files["e/a.btl.~saving1.tmp"] = {4};
  disk.files[TempSavePath("a.btl", 1)] = {5};
  const std::vector<uint8_t> kNew = {6, 6};
  ASSERT_TRUE(SafeSave("d/a.btl", kNew.data(), kNew.size(), disk).ok());
  const std::map<std::string, std::vector<uint8_t>> expected = {
      {"d/a.btl", kNew},
      {TempSavePath("d/a.btl", 0), {9}},
      {TempSavePath("d/a.btl", 3), {9}},
      {"d/a.btl.~saving.tmp", {1}},
      {"d/b.btl.~saving1.tmp", {2}},
      {SpareSavePath("d/a.btl", 0), {3}},
      {"e/a.btl.~saving1.tmp", {4}},
      {TempSavePath("a.btl", 1), {5}},
  };
  EXPECT_EQ(disk.files, expected);
}

// Without the target a leftover may be the only copy of a scenario whose swap failed: kept.
// The save goes on under the next free name; only a folder full of them stops it, and then
// the message says why.
TEST(SafeSaveLeftovers, WithoutTheTargetLeftoversAreKeptAndSkipped) {
  FakeDisk disk;
  for (int n = 0; n < 12; ++n) disk.files[TempSavePath("a.btl", n)] = {9};
  ASSERT_TRUE(SafeSave("a.btl", kOld.data(), kOld.size(), disk).ok());
  EXPECT_EQ(disk.files.size(), 13u);
  EXPECT_EQ(disk.files["a.btl"], kOld);
  EXPECT_EQ(disk.files[TempSavePath("a.btl", 11)], std::vector<uint8_t>{9});

  FakeDisk full;
  for (int n = 0; n < 100; ++n) full.files[TempSavePath("a.btl", n)] = {9};
  Status s = SafeSave("a.btl", kOld.data(), kOld.size(), full);
  ASSERT_EQ(s.kind, FailureKind::kTempNamesTaken) << s.message;
  EXPECT_NE(s.message.find(TempSavePath("a.btl", 99)), std::string::npos) << s.message;
  EXPECT_NE(s.message.find("文件未保存"), std::string::npos) << s.message;
  EXPECT_EQ(full.files.size(), 100u);
}

// ---- Save faults of a whole scenario, through the seam -----------------------------------

// The large demo scenario with 3 MiB more tail, so that its file takes four writes.
std::vector<uint8_t> FourWriteScenario() {
  std::vector<uint8_t> bytes = DemoBattleBytes("demo_large");
  std::vector<uint8_t> more = ThreeMegabytes();
  bytes.insert(bytes.end(), more.begin(), more.end());
  return bytes;
}

struct Fault {
  const char* what;
  std::function<void(FakeDisk&)> arm;
  FailureKind kind;  // what the save must report
};

TEST(SaveScenarioFaults, EveryFaultKeepsTheOldFileLeavesNoTemporaryAndTheScenarioAsItWas) {
  std::vector<uint8_t> bytes = FourWriteScenario();
  const std::vector<Fault> faults = {
      {"first write", [](FakeDisk& d) { d.failWriteAt = 0; }, FailureKind::kCannotWrite},
      {"second write", [](FakeDisk& d) { d.failWriteAt = 1; }, FailureKind::kCannotWrite},
      {"third write", [](FakeDisk& d) { d.failWriteAt = 2; }, FailureKind::kCannotWrite},
      {"last write", [](FakeDisk& d) { d.failWriteAt = 3; }, FailureKind::kCannotWrite},
      {"flush", [](FakeDisk& d) { d.failFlush = true; }, FailureKind::kCannotWrite},
      {"replace", [](FakeDisk& d) { d.replaceEnds = ReplaceResult::kTargetUntouched; },
       FailureKind::kCannotReplace},
      {"temporary file", [](FakeDisk& d) { d.failCreate = true; }, FailureKind::kCannotCreate},
  };
  for (const Fault& f : faults) {
    LoadForTest(bytes, DemoWorldImage());
    std::vector<uint8_t> scenario = RecordSnapshot();
    FakeDisk disk;
    disk.files["战役.btl"] = kOld;
    f.arm(disk);
    Status s = SaveScenarioTo("战役.btl", disk);
    ASSERT_EQ(s.kind, f.kind) << f.what << ": " << s.message;
    EXPECT_NE(s.message.find("“战役.btl”"), std::string::npos) << s.message;
    EXPECT_NE(s.message.find("文件未保存"), std::string::npos) << s.message;
    EXPECT_EQ(disk.files["战役.btl"], kOld) << f.what;
    EXPECT_EQ(disk.files.size(), 1u) << "temporary left behind after a failing " << f.what;
    EXPECT_TRUE(RecordSnapshot() == scenario) << "scenario changed by a failing " << f.what;
    // Saving stops at the write that fails.
    if (disk.failWriteAt >= 0) {
      EXPECT_EQ(disk.writes, disk.failWriteAt + 1) << f.what;
    }
  }
  // The file takes four writes, so the faults above hit each of them.
  FakeDisk disk;
  ASSERT_TRUE(SaveScenarioTo("战役.btl", disk).ok());
  EXPECT_EQ(disk.writes, 4);
  EXPECT_EQ(disk.files["战役.btl"], bytes);
}

TEST(SaveScenarioFaults, AfterAFailedSaveTheNextOneWritesTheSameScenario) {
  std::vector<uint8_t> bytes = DemoBattleBytes("demo_small");
  LoadForTest(bytes, DemoWorldImage());
  FakeDisk disk;
  disk.failWriteAt = 0;
  EXPECT_EQ(SaveScenarioTo("a.btl", disk).kind, FailureKind::kCannotWrite);
  EXPECT_EQ(disk.files.count("a.btl"), 0u);
  disk.failWriteAt = -1;
  ASSERT_TRUE(SaveScenarioTo("a.btl", disk).ok());
  EXPECT_EQ(disk.files["a.btl"], bytes);
}

TEST(SaveScenarioFaults, NewFileThatFailsSaysNothingAboutAnOldOne) {
  FakeDisk disk;
  disk.failFlush = true;
  Status s = SafeSave("new.btl", kOld.data(), kOld.size(), disk);
  ASSERT_EQ(s.kind, FailureKind::kCannotWrite) << s.message;
  EXPECT_EQ(s.message.find("原文件"), std::string::npos) << s.message;
  EXPECT_TRUE(disk.files.empty());
}

// ---- The real file system of the platform ---------------------------------------------

namespace fs = std::filesystem;

TEST(SafeSaveOnDisk, ReplacesAnExistingFileAndCreatesANewOne) {
  TempFolder dir{"btl_test_save"};
  std::string folder = dir.Utf8();
  std::string target = folder + "/战役.btl";
  WriteFileBytes(target, kOld);
  std::vector<uint8_t> data = ThreeMegabytes();
  ASSERT_TRUE(SafeSave(target, data.data(), data.size()).ok());
  EXPECT_EQ(ReadFileBytes(target), data);
  ASSERT_TRUE(SafeSave(folder + "/新.btl", kOld.data(), kOld.size()).ok());
  EXPECT_EQ(ReadFileBytes(folder + "/新.btl"), kOld);
  EXPECT_FALSE(FileExists(TempSavePath(target, 0)));
}

TEST(SafeSaveOnDisk, ReadOnlyTargetStaysAsItWas) {
  TempFolder dir{"btl_test_readonly"};
  std::string folder = dir.Utf8();
  std::string target = folder + "/a.btl";
  WriteFileBytes(target, kOld);
  fs::permissions(target, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  EXPECT_EQ(SafeSave(target, kOld.data() + 1, 2).kind, FailureKind::kReadOnly);
  EXPECT_EQ(ReadFileBytes(target), kOld);
  EXPECT_FALSE(FileExists(TempSavePath(target, 0)));
  fs::permissions(target, fs::perms::owner_write, fs::perm_options::add);
}

TEST(SafeSaveOnDisk, VanishedFolderAndDirectoryTargetAreRefused) {
  TempFolder dir{"btl_test_gone"};
  std::string folder = dir.Utf8();
  EXPECT_EQ(SafeSave(folder + "/no/such/folder/a.btl", kOld.data(), 3).kind,
            FailureKind::kCannotCreate);
  fs::create_directories(folder + "/dir.btl");
  EXPECT_EQ(SafeSave(folder + "/dir.btl", kOld.data(), 3).kind, FailureKind::kTargetIsFolder);
  EXPECT_TRUE(fs::is_directory(folder + "/dir.btl"));
  EXPECT_FALSE(FileExists(TempSavePath(folder + "/dir.btl", 0)));
}

TEST(SafeSaveOnDisk, SaveScenarioWritesWhatBuildBattleBytesComputes) {
  std::vector<uint8_t> bytes = CleanScenario().bytes();
  LoadForTest(bytes, MakeWorld(40, 30));
  TempFolder dir{"btl_test_scenario"};
  std::string target = dir.Utf8() + "/out.btl";
  ASSERT_TRUE(SaveScenarioTo(target).ok());
  EXPECT_EQ(ReadFileBytes(target), bytes);
}

TEST(SafeSaveOnDisk, FolderRemovedBeforeTheSaveIsReported) {
  LoadForTest(DemoBattleBytes("demo_small"), DemoWorldImage());
  std::vector<uint8_t> scenario = RecordSnapshot();
  TempFolder dir{"btl_test_removed"};
  std::string folder = dir.Utf8() + "/场景";
  fs::create_directories(PathFromUtf8(folder));
  fs::remove_all(PathFromUtf8(folder));
  Status s = SaveScenarioTo(folder + "/a.btl");
  ASSERT_EQ(s.kind, FailureKind::kCannotCreate) << s.message;
  EXPECT_FALSE(fs::exists(PathFromUtf8(folder)));
  EXPECT_TRUE(RecordSnapshot() == scenario);
}

TEST(SafeSaveOnDisk, DirectoryTargetIsNamedInTheMessage) {
  TempFolder dir{"btl_test_dirtarget"};
  std::string target = dir.Utf8() + "/目录.btl";
  fs::create_directories(PathFromUtf8(target));
  Status s = SafeSave(target, kOld.data(), kOld.size());
  ASSERT_EQ(s.kind, FailureKind::kTargetIsFolder) << s.message;
  EXPECT_NE(s.message.find("“" + target + "”"), std::string::npos) << s.message;
  EXPECT_TRUE(fs::is_empty(PathFromUtf8(target)));
}

// The names of a folder's entries, sorted.
std::vector<std::string> EntriesOf(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(PathFromUtf8(folder)))
    names.push_back(Utf8FromPath(e.path().filename()));
  std::sort(names.begin(), names.end());
  return names;
}

// A name at the file system's limit saves (over an old file and as a new one) and leaves no
// temporary file; a name past it is refused with the name's length as the reason.
TEST(SafeSaveOnDisk, NamesUpToTheLimitSaveAndLongerOnesAreBlamedForIt) {
  TempFolder dir{"btl_test_longname"};
  const std::string folder = dir.Utf8();
  std::string cjk;
  while (cjk.size() + 3 <= 251) cjk += "战";
  for (const std::string& name : {std::string(251, 'a') + ".btl", cjk + ".btl"}) {
    SCOPED_TRACE(std::to_string(name.size()) + " bytes");
    ASSERT_LE(name.size(), 255u);
    const std::string target = folder + "/" + name;
    Status s = SafeSave(target, kOld.data(), kOld.size());
    ASSERT_TRUE(s.ok()) << s.message;
    const std::vector<uint8_t> data = {7, 8, 9};
    s = SafeSave(target, data.data(), data.size());
    ASSERT_TRUE(s.ok()) << s.message;
    EXPECT_EQ(ReadFileBytes(target), data);
  }
  EXPECT_EQ(EntriesOf(folder).size(), 2u);

  // Too long everywhere: refused before anything is made.
  const std::string tooLong = folder + "/" + std::string(252, 'b') + ".btl";
  Status s = SafeSave(tooLong, kOld.data(), kOld.size());
  ASSERT_EQ(s.kind, FailureKind::kCannotCreate) << s.message;
  EXPECT_NE(s.message.find("文件名有 256 个字符"), std::string::npos) << s.message;
  EXPECT_EQ(EntriesOf(folder).size(), 2u);
  // 90 characters but 262 bytes: Windows takes it, a file system counting bytes does not,
  // and then the message names the name's bytes, not the folder alone.
  const std::string manyBytes = folder + "/" + cjk + "战战战.btl";
  s = SafeSave(manyBytes, kOld.data(), kOld.size());
#ifndef _WIN32
  ASSERT_FALSE(s.ok());
#endif
  if (!s.ok()) {
    EXPECT_NE(s.message.find("文件名有 262 字节"), std::string::npos) << s.message;
    EXPECT_EQ(EntriesOf(folder).size(), 2u);
  }
}

// The platform's operations that put things right after a half-way swap: a move never
// replaces a file, and the folder listing names what is there.
TEST(SafeSaveOnDisk, SystemMoveNeverReplacesAndListNamesTheEntries) {
  SaveOps& ops = SystemSaveOps();
  TempFolder dir{"btl_test_moves"};
  const std::string folder = dir.Utf8();
  const std::string a = folder + "/甲.btl", b = folder + "/乙.btl", c = folder + "/丙.btl";
  WriteFileBytes(a, {1});
  WriteFileBytes(b, {2});
  EXPECT_FALSE(ops.move(a, b));
  EXPECT_EQ(ReadFileBytes(a), std::vector<uint8_t>{1});
  EXPECT_EQ(ReadFileBytes(b), std::vector<uint8_t>{2});
  EXPECT_TRUE(ops.move(a, c));
  EXPECT_FALSE(FileExists(a));
  EXPECT_EQ(ReadFileBytes(c), std::vector<uint8_t>{1});
  EXPECT_FALSE(ops.move(a, folder + "/丁.btl"));

  std::vector<std::string> listed = ops.list(folder + "/");
  std::sort(listed.begin(), listed.end());
  EXPECT_EQ(listed, EntriesOf(folder));
  EXPECT_EQ(listed.size(), 2u);
  EXPECT_TRUE(ops.remove_unused(c));
  EXPECT_FALSE(FileExists(c));
  EXPECT_FALSE(ops.remove_unused(c));
  EXPECT_TRUE(ops.list(folder + "/no such folder/").empty());
}

// Leftovers of saves that crashed never stop a save. Beside an existing target they are
// removed; files that only look alike stay, and so does everything when the target is missing.
TEST(SafeSaveOnDisk, LeftoversOfUnfinishedSavesNeverBlockASaveAndOnlyTheyGo) {
  TempFolder dir{"btl_test_leftovers"};
  const std::string folder = dir.Utf8();
  const std::string target = folder + "/战役.btl";
  WriteFileBytes(target, kOld);
  for (int n = 0; n < 12; ++n) WriteFileBytes(TempSavePath(target, n), {9, 9});
  const std::vector<std::string> users = {"战役.btl.saving",           "战役.btl.~saving.tmp",
                                          "战役.btl.~saving1.tmp.txt", "战役.btl.~saving-1.tmp",
                                          "别的.btl.~saving1.tmp",     "x战役.btl.~saving1.tmp",
                                          "战役.btl.~old0.bak"};
  for (const std::string& name : users) WriteFileBytes(folder + "/" + name, {1});
  std::vector<uint8_t> data = ThreeMegabytes();
  Status s = SafeSave(target, data.data(), data.size());
  ASSERT_TRUE(s.ok()) << s.message;
  EXPECT_EQ(ReadFileBytes(target), data);
  std::vector<std::string> expected = users;
  expected.push_back("战役.btl");
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(EntriesOf(folder), expected);
  for (const std::string& name : users)
    EXPECT_EQ(ReadFileBytes(folder + "/" + name), std::vector<uint8_t>{1});

  TempFolder otherDir{"btl_test_leftovers_new"};
  const std::string other = otherDir.Utf8() + "/新.btl";
  for (int n = 0; n < 12; ++n) WriteFileBytes(TempSavePath(other, n), {9, 9});
  s = SafeSave(other, data.data(), data.size());
  ASSERT_TRUE(s.ok()) << s.message;
  EXPECT_EQ(ReadFileBytes(other), data);
  for (int n = 0; n < 12; ++n)
    EXPECT_EQ(ReadFileBytes(TempSavePath(other, n)), (std::vector<uint8_t>{9, 9}));
}

#ifndef _WIN32
// A small tmpfs of its own, for the faults a real disk gives: full, or mounted read-only.
// Mounting needs root and a system that allows it; otherwise the tests say why they skip.
class SmallDisk {
 public:
  explicit SmallDisk(size_t kib) : dir_("btl_test_tmpfs"), folder_(dir_.Utf8()) {
    if (geteuid() != 0) {
      reason_ = "not running as root, cannot mount a tmpfs";
      return;
    }
    std::string options = "size=" + std::to_string(kib) + "k";
    if (mount("tmpfs", folder_.c_str(), "tmpfs", 0, options.c_str()) != 0) {
      reason_ = std::string("mount of a tmpfs refused: ") + strerror(errno);
      return;
    }
    mounted_ = true;
  }
  ~SmallDisk() {
    if (mounted_) umount2(folder_.c_str(), MNT_DETACH);
  }
  bool remount_read_only() {
    return mount("tmpfs", folder_.c_str(), "tmpfs", MS_REMOUNT | MS_RDONLY, nullptr) == 0;
  }
  bool mounted() const { return mounted_; }
  const std::string& reason() const { return reason_; }
  std::string file(const char* name) const { return folder_ + "/" + name; }
  size_t entries() const {
    size_t n = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(folder_)) ++n;
    return n;
  }

 private:
  TempFolder dir_;  // removed after the tmpfs is unmounted
  std::string folder_;
  std::string reason_;
  bool mounted_ = false;
};

// A link at the target is saved through, whichever way it names its file (absolute,
// relative to its own folder, through another link, or to a file not there yet): the file it
// names gets the new bytes, the link stays a link to it, and the temporary file is made
// beside the file, not beside the link.
TEST(SafeSaveOnDisk, ALinkIsSavedThroughToItsTargetInTheTargetsFolder) {
  TempFolder dir{"btl_test_link"};
  const fs::path root = PathFromUtf8(dir.Utf8());
  fs::create_directories(root / "files");
  fs::create_directories(root / "links");
  struct Case {
    const char* link;
    std::string pointsAt;  // as the link holds it
    const char* file;      // the file it finally names, under files/
    bool fileExists;
  } cases[] = {
      {"absolute.btl", Utf8FromPath(root / "files" / "a.btl"), "a.btl", true},
      {"relative.btl", "../files/b.btl", "b.btl", true},
      {"chain.btl", "relative.btl", "b.btl", true},
      {"dangling.btl", "../files/new.btl", "new.btl", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.link);
    const std::string file = Utf8FromPath(root / "files" / c.file);
    if (c.fileExists) WriteFileBytes(file, kOld);
    const fs::path link = root / "links" / c.link;
    if (!fs::is_symlink(link)) fs::create_symlink(c.pointsAt, link);
    std::vector<uint8_t> data = ThreeMegabytes();
    data[0] = uint8_t(c.link[0]);
    Status s = SafeSave(Utf8FromPath(link), data.data(), data.size());
    ASSERT_TRUE(s.ok()) << s.message;
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(fs::read_symlink(link).string(), c.pointsAt);
    EXPECT_EQ(ReadFileBytes(file), data);
    EXPECT_FALSE(FileExists(TempSavePath(file, 0)));
  }
  // Nothing was left beside the links: only the four links themselves.
  size_t entries = 0;
  for ([[maybe_unused]] const auto& e : fs::directory_iterator(root / "links")) ++entries;
  EXPECT_EQ(entries, 4u);
}

// A leftover that another save holds (its lock) is in use and stays.
TEST(SafeSaveOnDisk, LeftoverHeldByARunningSaveStays) {
  TempFolder dir{"btl_test_held"};
  const std::string folder = dir.Utf8();
  const std::string target = folder + "/a.btl";
  WriteFileBytes(target, kOld);
  WriteFileBytes(TempSavePath(target, 0), {9});
  WriteFileBytes(TempSavePath(target, 1), {9});
  int fd = open(TempSavePath(target, 0).c_str(), O_RDONLY);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(flock(fd, LOCK_EX), 0);
  Status s = SafeSave(target, kOld.data() + 1, 2);
  close(fd);
  ASSERT_TRUE(s.ok()) << s.message;
  EXPECT_EQ(EntriesOf(folder), (std::vector<std::string>{"a.btl", "a.btl.~saving0.tmp"}));
  EXPECT_EQ(ReadFileBytes(TempSavePath(target, 0)), std::vector<uint8_t>{9});
}

TEST(SafeSaveOnRealFaults, FullDiskKeepsTheOldFileAndLeavesNoTemporary) {
  SmallDisk disk(256);
  if (!disk.mounted()) {
    printf("skipped: %s\n", disk.reason().c_str());
    GTEST_SKIP() << disk.reason();
  }
  std::string target = disk.file("战役.btl");
  std::vector<uint8_t> old(150 * 1024, 7);
  WriteFileBytes(target, old);
  // 150 KiB are taken; the new 3 MiB file cannot fit beside them.
  std::vector<uint8_t> data = ThreeMegabytes();
  Status s = SafeSave(target, data.data(), data.size());
  ASSERT_EQ(s.kind, FailureKind::kCannotWrite) << s.message;
  EXPECT_NE(s.message.find("原文件保持不变"), std::string::npos) << s.message;
  EXPECT_EQ(ReadFileBytes(target), old);
  EXPECT_EQ(disk.entries(), 1u);
  // Once there is room, the same save goes through.
  std::vector<uint8_t> small(50 * 1024, 9);
  ASSERT_TRUE(SafeSave(target, small.data(), small.size()).ok());
  EXPECT_EQ(ReadFileBytes(target), small);
}

TEST(SafeSaveOnRealFaults, FullDiskDuringASaveOfTheScenarioLeavesTheScenario) {
  SmallDisk disk(64);
  if (!disk.mounted()) {
    printf("skipped: %s\n", disk.reason().c_str());
    GTEST_SKIP() << disk.reason();
  }
  LoadForTest(DemoBattleBytes("demo_large"), DemoWorldImage());
  std::vector<uint8_t> scenario = RecordSnapshot();
  std::string target = disk.file("large.btl");
  Status s = SaveScenarioTo(target);
  ASSERT_EQ(s.kind, FailureKind::kCannotWrite) << s.message;
  EXPECT_EQ(disk.entries(), 0u);
  EXPECT_TRUE(RecordSnapshot() == scenario);
}

TEST(SafeSaveOnRealFaults, ReadOnlyFolderKeepsTheOldFile) {
  // Root ignores mode bits, so a read-only mount stands in for a read-only folder there.
  SmallDisk disk(256);
  TempFolder roDir{"btl_test_rofolder"};
  std::string target;
  std::string folder;
  if (disk.mounted()) {
    target = disk.file("a.btl");
    WriteFileBytes(target, kOld);
    if (!disk.remount_read_only()) {
      printf("skipped: remounting the tmpfs read-only was refused: %s\n", strerror(errno));
      GTEST_SKIP() << "read-only remount refused";
    }
  } else if (geteuid() != 0) {
    folder = roDir.Utf8();
    target = folder + "/a.btl";
    WriteFileBytes(target, kOld);
    fs::permissions(folder,
                    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
  } else {
    printf("skipped: running as root without a mount: %s\n", disk.reason().c_str());
    GTEST_SKIP() << disk.reason();
  }
  Status s = SafeSave(target, kOld.data() + 1, 2);
  ASSERT_EQ(s.kind, FailureKind::kCannotCreate) << s.message;
  EXPECT_EQ(ReadFileBytes(target), kOld);
  EXPECT_FALSE(FileExists(TempSavePath(target, 0)));
  if (!folder.empty()) fs::permissions(folder, fs::perms::owner_write, fs::perm_options::add);
}
#endif

}  // namespace
