#include "scenario/safe_save.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "scenario/battle_file.h"
#include "scenario/files.h"
#include "tests/unit/battle_fixture.h"

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

}  // namespace
