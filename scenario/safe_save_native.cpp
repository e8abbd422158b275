#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string>

#include "scenario/safe_save.h"

namespace {

std::string folder_of(const std::string& path) {
  size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

class PosixSaveOps : public SaveOps {
 public:
  Target inspect(const std::string& path) override {
    struct stat st;
    if (stat(path.c_str(), &st) != 0) return Target::Missing;
    if (S_ISDIR(st.st_mode)) return Target::Directory;
    // Judged by the mode bits, not access(): running as root must not overwrite a file
    // its owner marked read-only.
    return (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) ? Target::File : Target::ReadOnlyFile;
  }

  void* create_new(const std::string& path) override {
    int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) return nullptr;
    return reinterpret_cast<void*>(intptr_t(fd) + 1);
  }

  bool write(void* file, const uint8_t* data, size_t size) override {
    int fd = descriptor(file);
    while (size > 0) {
      ssize_t n = ::write(fd, data, size);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) return false;
      data += n;
      size -= size_t(n);
    }
    return true;
  }

  bool flush_and_close(void* file) override {
    int fd = descriptor(file);
    bool synced = fsync(fd) == 0;
    bool closed = close(fd) == 0;
    return synced && closed;
  }

  bool replace(const std::string& temp, const std::string& target) override {
    // Keep the old file's permissions on the new one.
    struct stat st;
    if (stat(target.c_str(), &st) == 0) chmod(temp.c_str(), st.st_mode & 07777);
    if (rename(temp.c_str(), target.c_str()) != 0) return false;
    int dir = open(folder_of(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
      fsync(dir);
      close(dir);
    }
    return true;
  }

  void remove(const std::string& path) override { unlink(path.c_str()); }

 private:
  static int descriptor(void* file) { return int(reinterpret_cast<intptr_t>(file) - 1); }
};

}  // namespace

SaveOps& SystemSaveOps() {
  static PosixSaveOps ops;
  return ops;
}
