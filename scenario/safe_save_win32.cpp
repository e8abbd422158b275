#include <windows.h>

#include "scenario/safe_save.h"
#include "scenario/wide.h"

namespace {

// True when no other handle keeps the target from being replaced. A ReplaceFileW that fails
// on a target held open without sharing leaves its own backup file ("rf*.tmp") beside it
// (seen under Wine), so such a target is refused before ReplaceFileW is tried.
bool CanBeReplaced(const std::wstring& target) {
  HANDLE h = CreateFileW(target.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                         nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  CloseHandle(h);
  return true;
}

class Win32SaveOps : public SaveOps {
 public:
  Target inspect(const std::string& path) override {
    DWORD attributes = GetFileAttributesW(wide_from_utf8(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return Target::Missing;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return Target::Directory;
    if (attributes & FILE_ATTRIBUTE_READONLY) return Target::ReadOnlyFile;
    return Target::File;
  }

  void* create_new(const std::string& path) override {
    HANDLE h = CreateFileW(wide_from_utf8(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    return h == INVALID_HANDLE_VALUE ? nullptr : h;
  }

  bool write(void* file, const uint8_t* data, size_t size) override {
    while (size > 0) {
      DWORD piece = size > 0x40000000 ? 0x40000000 : DWORD(size);
      DWORD done = 0;
      if (!WriteFile(file, data, piece, &done, nullptr) || done == 0) return false;
      data += done;
      size -= done;
    }
    return true;
  }

  bool flush_and_close(void* file) override {
    bool flushed = FlushFileBuffers(file);
    bool closed = CloseHandle(file);
    return flushed && closed;
  }

  bool replace(const std::string& temp, const std::string& target) override {
    std::wstring from = wide_from_utf8(temp), to = wide_from_utf8(target);
    if (GetFileAttributesW(to.c_str()) != INVALID_FILE_ATTRIBUTES) {
      // Keeps the target's attributes and security settings; fails on a read-only target
      // or one another program holds open without sharing.
      if (!CanBeReplaced(to)) return false;
      return ReplaceFileW(to.c_str(), from.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS,
                          nullptr, nullptr) != 0;
    }
    return MoveFileExW(from.c_str(), to.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
  }

  void remove(const std::string& path) override { DeleteFileW(wide_from_utf8(path).c_str()); }
};

}  // namespace

SaveOps& SystemSaveOps() {
  static Win32SaveOps ops;
  return ops;
}
