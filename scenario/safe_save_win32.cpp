#include <windows.h>

#include <string>
#include <vector>

#include "scenario/safe_save.h"
#include "base/wide.h"

namespace {

bool Exists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// True when no other handle keeps the target from being replaced. Such a target is refused
// before ReplaceFileW is tried, so that nothing is moved at all (without a backup name, Wine's
// ReplaceFileW left its own "rf*.tmp" beside a target held open without sharing).
bool CanBeReplaced(const std::wstring& target) {
  HANDLE h =
      CreateFileW(target.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  CloseHandle(h);
  return true;
}

class Win32SaveOps : public SaveOps {
 public:
  Target inspect(const std::string& path) override {
    DWORD attributes = GetFileAttributesW(WideFromUtf8(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return Target::kMissing;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return Target::kDirectory;
    if (attributes & FILE_ATTRIBUTE_READONLY) return Target::kReadOnlyFile;
    return Target::kFile;
  }

  void* create_new(const std::string& path) override {
    HANDLE h = CreateFileW(WideFromUtf8(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
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

  ReplaceResult replace(const std::string& temp, const std::string& target,
                        const std::string& spare) override {
    std::wstring from = WideFromUtf8(temp), to = WideFromUtf8(target);
    if (!Exists(to)) {
      if (MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return {ReplaceResult::kDone, {}};
      return {ReplaceResult::kTargetUntouched, {}};
    }
    // Keeps the target's attributes and security settings; fails on a read-only target
    // or one another program holds open without sharing.
    if (!CanBeReplaced(to)) return {ReplaceResult::kTargetUntouched, {}};
    // With a backup name the old file is never dropped before the new one is in place:
    // without one, a failure after the first step (ERROR_UNABLE_TO_MOVE_REPLACEMENT) leaves
    // the target deleted.
    std::wstring backup = WideFromUtf8(spare);
    if (ReplaceFileW(to.c_str(), from.c_str(), spare.empty() ? nullptr : backup.c_str(),
                     REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)) {
      if (!spare.empty()) DeleteFileW(backup.c_str());
      return {ReplaceResult::kDone, {}};
    }
    // The error codes tell which step failed, and the documented outcomes of each differ
    // with and without a backup name and between systems: what is on the disk decides.
    if (Exists(to)) return {ReplaceResult::kTargetUntouched, {}};
    if (!spare.empty() && Exists(backup)) return {ReplaceResult::kTargetRenamed, spare};
    return {ReplaceResult::kTargetGone, {}};
  }

  bool move(const std::string& from, const std::string& to) override {
    return MoveFileExW(WideFromUtf8(from).c_str(), WideFromUtf8(to).c_str(),
                       MOVEFILE_WRITE_THROUGH) != 0;
  }

  void remove(const std::string& path) override { DeleteFileW(WideFromUtf8(path).c_str()); }

  std::vector<std::string> list(const std::string& folder) override {
    std::vector<std::string> names;
    WIN32_FIND_DATAW found;
    HANDLE h = FindFirstFileW((WideFromUtf8(folder) + L"*").c_str(), &found);
    if (h == INVALID_HANDLE_VALUE) return names;
    do {
      std::wstring name = found.cFileName;
      if (name != L"." && name != L"..") names.push_back(Utf8FromWide(name));
    } while (FindNextFileW(h, &found));
    FindClose(h);
    return names;
  }

  // A save's own handle on its temporary file shares nothing (create_new), so deleting the
  // file is refused while a save has it open.
  bool remove_unused(const std::string& path) override {
    return DeleteFileW(WideFromUtf8(path).c_str()) != 0;
  }
};

}  // namespace

SaveOps& SystemSaveOps() {
  static Win32SaveOps ops;
  return ops;
}
