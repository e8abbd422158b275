#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string>
#include <vector>

#include "scenario/safe_save.h"

namespace {

std::string FolderOf(const std::string& path) {
  size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

class PosixSaveOps : public SaveOps {
 public:
  Target inspect(const std::string& path) override {
    struct stat st;
    if (stat(path.c_str(), &st) != 0) return Target::kMissing;
    if (S_ISDIR(st.st_mode)) return Target::kDirectory;
    // Judged by the mode bits, not access(): running as root must not overwrite a file
    // its owner marked read-only.
    return (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) ? Target::kFile : Target::kReadOnlyFile;
  }

  std::string link_target(const std::string& path) override {
    std::string at = path;
    // As many links as the system itself follows before it gives up.
    for (int hops = 0; hops < 40; ++hops) {
      struct stat st;
      if (lstat(at.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return hops ? at : std::string();
      std::vector<char> buffer(size_t(st.st_size > 0 ? st.st_size : 255) + 1);
      ssize_t n = readlink(at.c_str(), buffer.data(), buffer.size());
      if (n <= 0 || size_t(n) >= buffer.size()) return hops ? at : std::string();
      std::string next(buffer.data(), size_t(n));
      at = next[0] == '/' ? next : FolderOf(at) + "/" + next;
    }
    return at;
  }

  void* create_new(const std::string& path) override {
    int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) return nullptr;
    // Marks the file as in use until it is closed (see remove_unused).
    flock(fd, LOCK_EX | LOCK_NB);
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

  // rename() swaps in one step and leaves both names as they were when it fails, so no
  // spare name is needed.
  ReplaceResult replace(const std::string& temp, const std::string& target,
                        const std::string&) override {
    // Keep the old file's permissions on the new one.
    struct stat st;
    if (stat(target.c_str(), &st) == 0) chmod(temp.c_str(), st.st_mode & 07777);
    if (rename(temp.c_str(), target.c_str()) != 0) return {ReplaceResult::kTargetUntouched, {}};
    sync_folder(target);
    return {ReplaceResult::kDone, {}};
  }

  bool move(const std::string& from, const std::string& to) override {
    if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) != 0)
      return false;
    sync_folder(to);
    return true;
  }

  void remove(const std::string& path) override { unlink(path.c_str()); }

  std::vector<std::string> list(const std::string& folder) override {
    std::vector<std::string> names;
    DIR* dir = opendir(folder.c_str());
    if (!dir) return names;
    while (dirent* e = readdir(dir)) {
      std::string name = e->d_name;
      if (name != "." && name != "..") names.push_back(name);
    }
    closedir(dir);
    return names;
  }

  // A save holds an exclusive lock on its temporary file while it writes it.
  bool remove_unused(const std::string& path) override {
    int fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st;
    bool removed = fstat(fd, &st) == 0 && S_ISREG(st.st_mode) &&
                   flock(fd, LOCK_EX | LOCK_NB) == 0 && unlink(path.c_str()) == 0;
    close(fd);
    return removed;
  }

 private:
  static int descriptor(void* file) { return int(reinterpret_cast<intptr_t>(file) - 1); }

  static void sync_folder(const std::string& path) {
    int dir = open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
      fsync(dir);
      close(dir);
    }
  }
};

}  // namespace

SaveOps& SystemSaveOps() {
  static PosixSaveOps ops;
  return ops;
}
