// Fixture folders for tests that read files: a folder of its own under the system's
// temporary folder, removed at the end of the test, and a scoped change of the current
// folder. Names are ASCII, so the Windows system readers can be given the path too.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
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
  explicit TempFolder(const std::string& tag = "btl_test") {
    static int counter = 0;
    auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
    path_ = std::filesystem::temp_directory_path() /
            (tag + "_" + std::to_string(ticks) + "_" + std::to_string(++counter));
    std::filesystem::create_directories(path_);
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
  std::string File(const std::string& name) const { return JoinPath(Utf8FromPath(path_), name); }
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
