// Saving a file without ever losing the old one: the new bytes go to a temporary file in the
// target's folder, which is flushed to disk and then put in the target's place in one step.
// When the system cannot finish that step and the old file is no longer in its place, the
// new file is moved there; what cannot be put right is kept and named in the message.
//
// Names beside the target "x.btl" (markers no user's own file would carry):
//   x.btl.~saving<n>.tmp   temporary file of a save in progress. One left by a save that
//                          never finished is removed by a later save of the same target,
//                          but only while the target exists (see RemoveLeftovers in
//                          safe_save.cpp) and only when no save has it open.
//   x.btl.~old<n>.bak      where the system may park the old file during the swap; removed
//                          after a good swap, never removed by a later save.
// A target name so long that these would pass the file systems' 255-byte limit gives them
// its first part and a hash of the whole name in place of "x.btl".
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "base/status.h"

// What a failed or finished swap of the temporary file into the target's place left.
struct ReplaceResult {
  enum Kind {
    kDone,             // the temporary file is the target now
    kTargetUntouched,  // the target is as it was; the temporary file is still there
    kTargetGone,       // the target's name is free: the old file no longer exists
    kTargetRenamed,    // the target's name is free: the old file is now `oldFileNow`
  };
  Kind kind = kDone;
  std::string oldFileNow;
};

// The file operations saving needs; tests replace them to inject faults.
class SaveOps {
 public:
  virtual ~SaveOps() = default;
  enum class Target { kMissing, kFile, kReadOnlyFile, kDirectory };
  virtual Target inspect(const std::string& path) = 0;
  // Creates a new file that must not exist yet; null when that is impossible. The file
  // counts as in use (see remove_unused) until it is closed.
  virtual void* create_new(const std::string& path) = 0;
  virtual bool write(void* file, const uint8_t* data, size_t size) = 0;
  // Flushes to the disk and closes; the file is closed even when this fails.
  virtual bool flush_and_close(void* file) = 0;
  // Puts `temp` in the place of `target` in one step, replacing a file that is there.
  // `spare` is a free name beside the target (empty when there is none) under which the
  // old file may be parked during the swap; a parked file is removed after a good swap.
  virtual ReplaceResult replace(const std::string& temp, const std::string& target,
                                const std::string& spare) = 0;
  // Renames a file to a name that must be free; false when that fails.
  virtual bool move(const std::string& from, const std::string& to) = 0;
  virtual void remove(const std::string& path) = 0;
  // The names (without folder) of the entries of a folder; empty when it cannot be read.
  virtual std::vector<std::string> list(const std::string& folder) = 0;
  // Removes a file unless a save has it open; false when it stays.
  virtual bool remove_unused(const std::string& path) = 0;
  // The file a symbolic link at `path` finally names (links followed to their end, a relative
  // link read from the link's folder); empty when `path` is no link. A save writes there,
  // beside that file, and leaves the link as it is.
  virtual std::string link_target(const std::string& path) {
    (void)path;
    return {};
  }
};

SaveOps& SystemSaveOps();

Status SafeSave(const std::string& path, const uint8_t* data, size_t size,
                SaveOps& ops = SystemSaveOps());

// Writes the next piece of the new file; false once a write has failed (nothing more is
// written then, and the producer may stop).
using SavePieceWriter = std::function<bool(const uint8_t* data, size_t size)>;
// The same save for a file made while it is written: `produce` hands the file's pieces, in
// order, to the writer it is given, so that the whole file is never held at once.
Status SafeSaveProduced(const std::string& path,
                        const std::function<void(const SavePieceWriter&)>& produce,
                        SaveOps& ops = SystemSaveOps());

// The temporary file's name for attempt n (0, 1, ...): beside the target.
std::string TempSavePath(const std::string& target, int attempt);
// The spare name n (0, 1, ...) for the old file during a swap: beside the target.
std::string SpareSavePath(const std::string& target, int n);
// Whether `name` (without folder) is a temporary file of a save of the target named
// `targetName` (without folder).
bool IsTempSaveName(const std::string& targetName, const std::string& name);
