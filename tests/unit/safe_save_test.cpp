#include "scenario/safe_save.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>

#ifndef _WIN32
#include <sys/mount.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#endif

#include "scenario/battle_file.h"
#include "scenario/files.h"
#include "tests/unit/battle_fixture.h"
#include "tests/unit/temp_folder.h"

namespace {

// An in-memory folder whose operations can be made to fail.
class FakeDisk : public SaveOps {
 public:
  std::map<std::string, std::vector<uint8_t>> files;
  std::map<std::string, Target> kinds;  // overrides for inspect()
  int failWriteAt = -1;                 // the n-th write call fails
  bool failFlush = false, failReplace = false, failCreate = false;
  int writes = 0;

  Target inspect(const std::string& path) override {
    if (kinds.count(path)) return kinds[path];
    return files.count(path) ? Target::File : Target::Missing;
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
  bool replace(const std::string& temp, const std::string& target) override {
    if (failReplace) return false;
    files[target] = files[temp];
    files.erase(temp);
    return true;
  }
  void remove(const std::string& path) override { files.erase(path); }

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
    EXPECT_FALSE(s.ok()) << at;
    EXPECT_NE(s.message.find("a.btl"), std::string::npos);
    EXPECT_EQ(disk.files["a.btl"], kOld) << at;
    EXPECT_EQ(disk.files.size(), 1u) << "temporary left behind at write " << at;
  }
}

TEST(SafeSave, FailingFlushOrReplaceKeepsTheOldFile) {
  for (int which = 0; which < 2; ++which) {
    FakeDisk disk;
    disk.files["a.btl"] = kOld;
    (which ? disk.failReplace : disk.failFlush) = true;
    EXPECT_FALSE(SafeSave("a.btl", kOld.data() + 1, 2, disk).ok());
    EXPECT_EQ(disk.files["a.btl"], kOld);
    EXPECT_EQ(disk.files.size(), 1u);
  }
}

TEST(SafeSave, ReadOnlyTargetDirectoryAndUncreatableTemporaryAreRefused) {
  FakeDisk disk;
  disk.files["a.btl"] = kOld;
  disk.kinds["a.btl"] = SaveOps::Target::ReadOnlyFile;
  EXPECT_FALSE(SafeSave("a.btl", kOld.data(), 1, disk).ok());
  disk.kinds["a.btl"] = SaveOps::Target::Directory;
  EXPECT_FALSE(SafeSave("a.btl", kOld.data(), 1, disk).ok());
  disk.kinds.clear();
  disk.failCreate = true;
  EXPECT_FALSE(SafeSave("a.btl", kOld.data(), 1, disk).ok());
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
  const char* sentence;  // what the message must say
};

TEST(SaveScenarioFaults, EveryFaultKeepsTheOldFileLeavesNoTemporaryAndTheScenarioAsItWas) {
  std::vector<uint8_t> bytes = FourWriteScenario();
  const std::vector<Fault> faults = {
      {"first write", [](FakeDisk& d) { d.failWriteAt = 0; }, "磁盘可能已满"},
      {"second write", [](FakeDisk& d) { d.failWriteAt = 1; }, "磁盘可能已满"},
      {"third write", [](FakeDisk& d) { d.failWriteAt = 2; }, "磁盘可能已满"},
      {"last write", [](FakeDisk& d) { d.failWriteAt = 3; }, "磁盘可能已满"},
      {"flush", [](FakeDisk& d) { d.failFlush = true; }, "磁盘可能已满"},
      {"replace", [](FakeDisk& d) { d.failReplace = true; }, "无法替换文件"},
      {"temporary file", [](FakeDisk& d) { d.failCreate = true; }, "无法在"},
  };
  for (const Fault& f : faults) {
    LoadForTest(bytes, DemoWorldImage());
    std::vector<uint8_t> scenario = RecordSnapshot();
    FakeDisk disk;
    disk.files["战役.btl"] = kOld;
    f.arm(disk);
    Status s = SaveScenarioTo("战役.btl", disk);
    ASSERT_FALSE(s.ok()) << f.what;
    EXPECT_NE(s.message.find("“战役.btl”"), std::string::npos) << s.message;
    EXPECT_NE(s.message.find(f.sentence), std::string::npos) << f.what << ": " << s.message;
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
  EXPECT_FALSE(SaveScenarioTo("a.btl", disk).ok());
  EXPECT_EQ(disk.files.count("a.btl"), 0u);
  disk.failWriteAt = -1;
  ASSERT_TRUE(SaveScenarioTo("a.btl", disk).ok());
  EXPECT_EQ(disk.files["a.btl"], bytes);
}

TEST(SaveScenarioFaults, NewFileThatFailsSaysNothingAboutAnOldOne) {
  FakeDisk disk;
  disk.failFlush = true;
  Status s = SafeSave("new.btl", kOld.data(), kOld.size(), disk);
  ASSERT_FALSE(s.ok());
  EXPECT_EQ(s.message.find("原文件"), std::string::npos) << s.message;
  EXPECT_TRUE(disk.files.empty());
}

// ---- The real file system of the platform ---------------------------------------------

namespace fs = std::filesystem;

TEST(SafeSaveOnDisk, ReplacesAnExistingFileAndCreatesANewOne) {
  std::string folder = MakeTempFolder("save");
  std::string target = folder + "/战役.btl";
  WriteFileBytes(target, kOld);
  std::vector<uint8_t> data = ThreeMegabytes();
  ASSERT_TRUE(SafeSave(target, data.data(), data.size()).ok());
  EXPECT_EQ(ReadFileBytes(target), data);
  ASSERT_TRUE(SafeSave(folder + "/新.btl", kOld.data(), kOld.size()).ok());
  EXPECT_EQ(ReadFileBytes(folder + "/新.btl"), kOld);
  EXPECT_FALSE(file_exists(TempSavePath(target, 0)));
}

TEST(SafeSaveOnDisk, ReadOnlyTargetStaysAsItWas) {
  std::string folder = MakeTempFolder("readonly");
  std::string target = folder + "/a.btl";
  WriteFileBytes(target, kOld);
  fs::permissions(target, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  EXPECT_FALSE(SafeSave(target, kOld.data() + 1, 2).ok());
  EXPECT_EQ(ReadFileBytes(target), kOld);
  EXPECT_FALSE(file_exists(TempSavePath(target, 0)));
  fs::permissions(target, fs::perms::owner_write, fs::perm_options::add);
}

TEST(SafeSaveOnDisk, VanishedFolderAndDirectoryTargetAreRefused) {
  std::string folder = MakeTempFolder("gone");
  EXPECT_FALSE(SafeSave(folder + "/no/such/folder/a.btl", kOld.data(), 3).ok());
  fs::create_directories(folder + "/dir.btl");
  EXPECT_FALSE(SafeSave(folder + "/dir.btl", kOld.data(), 3).ok());
  EXPECT_TRUE(fs::is_directory(folder + "/dir.btl"));
  EXPECT_FALSE(file_exists(TempSavePath(folder + "/dir.btl", 0)));
}

TEST(SafeSaveOnDisk, SaveScenarioWritesWhatBuildBattleBytesComputes) {
  std::vector<uint8_t> bytes = CleanScenario().bytes();
  LoadForTest(bytes, MakeWorld(40, 30));
  std::string target = MakeTempFolder("scenario") + "/out.btl";
  ASSERT_TRUE(SaveScenarioTo(target).ok());
  EXPECT_EQ(ReadFileBytes(target), bytes);
}

TEST(SafeSaveOnDisk, FolderRemovedBeforeTheSaveIsReported) {
  LoadForTest(DemoBattleBytes("demo_small"), DemoWorldImage());
  std::vector<uint8_t> scenario = RecordSnapshot();
  std::string folder = MakeTempFolder("removed") + "/场景";
  fs::create_directories(PathFromUtf8(folder));
  fs::remove_all(PathFromUtf8(folder));
  Status s = SaveScenarioTo(folder + "/a.btl");
  ASSERT_FALSE(s.ok());
  EXPECT_NE(s.message.find("文件夹不存在或不可写"), std::string::npos) << s.message;
  EXPECT_FALSE(fs::exists(PathFromUtf8(folder)));
  EXPECT_TRUE(RecordSnapshot() == scenario);
}

TEST(SafeSaveOnDisk, DirectoryTargetIsNamedInTheMessage) {
  std::string target = MakeTempFolder("dirtarget") + "/目录.btl";
  fs::create_directories(PathFromUtf8(target));
  Status s = SafeSave(target, kOld.data(), kOld.size());
  ASSERT_FALSE(s.ok());
  EXPECT_NE(s.message.find("是一个文件夹"), std::string::npos) << s.message;
  EXPECT_TRUE(fs::is_empty(PathFromUtf8(target)));
}

#ifndef _WIN32
// A small tmpfs of its own, for the faults a real disk gives: full, or mounted read-only.
// Mounting needs root and a system that allows it; otherwise the tests say why they skip.
class SmallDisk {
 public:
  explicit SmallDisk(size_t kib) : folder_(MakeTempFolder("tmpfs")) {
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
  std::string folder_;
  std::string reason_;
  bool mounted_ = false;
};

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
  ASSERT_FALSE(s.ok());
  EXPECT_NE(s.message.find("磁盘可能已满"), std::string::npos) << s.message;
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
  ASSERT_FALSE(s.ok());
  EXPECT_NE(s.message.find("磁盘可能已满"), std::string::npos) << s.message;
  EXPECT_EQ(disk.entries(), 0u);
  EXPECT_TRUE(RecordSnapshot() == scenario);
}

TEST(SafeSaveOnRealFaults, ReadOnlyFolderKeepsTheOldFile) {
  // Root ignores mode bits, so a read-only mount stands in for a read-only folder there.
  SmallDisk disk(256);
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
    folder = MakeTempFolder("rofolder");
    target = folder + "/a.btl";
    WriteFileBytes(target, kOld);
    fs::permissions(folder, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
  } else {
    printf("skipped: running as root without a mount: %s\n", disk.reason().c_str());
    GTEST_SKIP() << disk.reason();
  }
  Status s = SafeSave(target, kOld.data() + 1, 2);
  ASSERT_FALSE(s.ok());
  EXPECT_NE(s.message.find("文件夹不存在或不可写"), std::string::npos) << s.message;
  EXPECT_EQ(ReadFileBytes(target), kOld);
  EXPECT_FALSE(file_exists(TempSavePath(target, 0)));
  if (!folder.empty()) fs::permissions(folder, fs::perms::owner_write, fs::perm_options::add);
}
#endif

}  // namespace
