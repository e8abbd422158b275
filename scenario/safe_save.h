// Saving a file without ever losing the old one: the new bytes go to a temporary file in the
// target's folder, which is flushed to disk and then put in the target's place in one step.
// On any failure the target is untouched and the temporary file is removed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "scenario/status.h"

// The file operations saving needs; tests replace them to inject faults.
class SaveOps {
 public:
  virtual ~SaveOps() = default;
  enum class Target { Missing, File, ReadOnlyFile, Directory };
  virtual Target inspect(const std::string& path) = 0;
  // Creates a new file that must not exist yet; null when that is impossible.
  virtual void* create_new(const std::string& path) = 0;
  virtual bool write(void* file, const uint8_t* data, size_t size) = 0;
  // Flushes to the disk and closes; the file is closed even when this fails.
  virtual bool flush_and_close(void* file) = 0;
  // Puts `temp` in the place of `target` in one step, replacing a file that is there.
  virtual bool replace(const std::string& temp, const std::string& target) = 0;
  virtual void remove(const std::string& path) = 0;
};

SaveOps& SystemSaveOps();

Status SafeSave(const std::string& path, const uint8_t* data, size_t size,
                SaveOps& ops = SystemSaveOps());

// The temporary file's name for attempt n (0, 1, ...): beside the target.
std::string TempSavePath(const std::string& target, int attempt);
