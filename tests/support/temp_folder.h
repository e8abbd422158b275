// Fixture folders for tests that read and write files, in the native and the Windows builds:
// a fresh folder of its own under the system's temporary folder, removed at the end of its
// scope, and a scoped change of the current folder. Give ASCII tags where a Windows system
// reader (an A function) is handed the path; paths are UTF-8 everywhere else.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <random>
#include <string>

#include "base/files.h"

inline std::filesystem::path PathFromUtf8(const std::string& s) {
  return std::filesystem::path(std::u8string(s.begin(), s.end()));
}

inline std::string Utf8FromPath(const std::filesystem::path& p) {
  std::u8string u = p.u8string();
  return std::string(u.begin(), u.end());
}

class TempFolder {
 public:
  // The folder is named tag_N (tag in UTF-8) and made afresh: a name that is already taken,
  // by another copy of the same test running beside this one for instance, is never used.
  explicit TempFolder(const std::string& tag = "btl_test") {
    std::random_device random;
    const std::filesystem::path temp = std::filesystem::temp_directory_path();
    for (;;) {
      path_ = temp / PathFromUtf8(tag + "_" + std::to_string(random()));
      if (std::filesystem::create_directory(path_)) break;
    }
  }
  ~TempFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // Writes a file (making its folders) and gives its UTF-8 path.
  std::string Write(const std::string& name, const std::string& bytes) const {
    std::string path = File(name);
    std::filesystem::create_directories(PathFromUtf8(path).parent_path());
    FILE* f = OpenFile(path, "wb");
    EXPECT_NE(f, nullptr) << path;
    if (f) {
      fwrite(bytes.data(), 1, bytes.size(), f);
      fclose(f);
    }
    return path;
  }
  std::string File(const std::string& name) const { return JoinPath(Utf8(), name); }
  std::string Utf8() const { return Utf8FromPath(path_); }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

class CurrentFolder {
 public:
  explicit CurrentFolder(const std::filesystem::path& p) : old_(std::filesystem::current_path()) {
    std::filesystem::current_path(p);
  }
  ~CurrentFolder() { std::filesystem::current_path(old_); }

 private:
  std::filesystem::path old_;
};
