// The recovery file: what is needed to rebuild the unsaved state of a scenario after the
// editor ended without saving (a crash, a power cut, a killed process), and nothing the
// scenario file does not hold. It names the scenario file as it was opened or last saved
// (path, size and SHA-256 of its bytes), the range it was placed with, and the undo steps
// from that state to the edited one, in the history's own step form.
//
// Layout (little-endian, like the build targets; sizes are static_assert'ed in the .cpp):
//   header   RecoveryHeader: magic "BTLRECOV", version, body length
//   body     RecoveryBodyHead, the path's UTF-8 bytes, then each step:
//              RecoveryStepHead, its HexChange, TeamChange and GeneralChange records
//   trailer  SHA-256 of header and body
// A file cut short shows as a length that does not add up, one written half over an older
// one (torn) as a trailer that does not match: both are refused, never applied.
//
// The file lives in a folder of the editor's own (RecoveryFolder) under a name made from the
// scenario's path, and is written through the safe save, so a crash while writing it leaves
// the previous one whole.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "base/sha256.h"
#include "base/status.h"
#include "scenario/edit_history.h"
#include "scenario/safe_save.h"
#include "scenario/world_record.h"

// The scenario file a recovery file belongs to, as it was opened or last saved.
struct RecoveryKey {
  std::string path;  // UTF-8, absolute (see AbsolutePath in base/files.h)
  uint64_t size = 0;
  Sha256Digest checksum{};
};
RecoveryKey KeyOfScenarioFile(const std::string& path, const uint8_t* bytes, size_t size);

// The editor's own folder for recovery files, created when missing: on Windows
// %LOCALAPPDATA%\btl_editor; natively $XDG_STATE_HOME/btl_editor, else
// $HOME/.local/state/btl_editor. Empty when there is none and none can be made.
std::string RecoveryFolder();
// The file's name: the first 16 hex digits of the SHA-256 of the scenario's path, and
// ".recovery". The same path always gives the same name.
std::string RecoveryFileName(const std::string& scenarioPath);
std::string RecoveryFilePath(const std::string& folder, const std::string& scenarioPath);

// Writes the recovery file of the scenario `key` placed with `range`, holding the way from
// the saved state to the present one (EditHistory::VisitStepsSinceSaved), through the safe
// save. Fails when the history no longer holds that way (kBadValue), or as the save fails.
Status WriteRecoveryFile(const std::string& recoveryPath, const RecoveryKey& key,
                         const MapRange& range, const EditHistory& history,
                         SaveOps& ops = SystemSaveOps());
// The same file's bytes in memory, for a writer of its own (one off the main loop), without
// the trailer: SealRecoveryFile adds it (the checksum of 28 MB is the slow part of making
// the file, and needs nothing of the history).
Status RecoveryFileContents(const RecoveryKey& key, const MapRange& range,
                            const EditHistory& history, std::vector<uint8_t>& out);
void SealRecoveryFile(std::vector<uint8_t>& bytes);
// The size in bytes WriteRecoveryFile would write for `steps` steps of a history; -1 when
// the history no longer holds them.
int64_t RecoveryFileBytes(const std::string& scenarioPath, const EditHistory& history);

struct RecoveryData {
  RecoveryKey key;
  MapRange range{};
  std::vector<EditStep> steps;
};

enum class RecoveryState {
  kNone,         // there is no recovery file
  kMatches,      // it belongs to the file as it is now: `data` holds it
  kFileChanged,  // it was made for another state of the file (path, size or checksum differ)
  kUnreadable,   // cut short, torn, of another kind or version, or cannot be read
};

struct RecoveryRead {
  RecoveryState state = RecoveryState::kNone;
  RecoveryData data;
  // For kFileChanged and kUnreadable: a sentence saying why, naming the scenario file.
  std::string message;
};
// Reads the recovery file at `recoveryPath` and matches it against the scenario file `key`.
RecoveryRead ReadRecoveryFile(const std::string& recoveryPath, const RecoveryKey& key);

// Rebuilds the edited state on a record freshly placed from the file with `data.range`:
// makes the steps on `w` and starts `history` with them (each can be undone; the record as
// loaded counts as saved, so the result is unsaved edits). Fails with kBadValue, touching
// neither, when the record's range is not the file's or a step does not fit the record.
// `data` is taken by value: hand it over with std::move, its steps become the history's.
Status ReplayRecovery(RecoveryData data, WorldRecord& w, EditHistory& history);

// Removes the recovery file (after a save of the same state, after 否 at the close question
// or at the recovery question).
void RemoveRecoveryFile(const std::string& recoveryPath, SaveOps& ops = SystemSaveOps());
// Puts a recovery file that cannot be used aside, as recoveryPath + ".old" (replacing an
// older one), so that it is never read again but can still be looked at. Gives the new
// name, or empty when it could only be removed.
std::string SetAsideRecoveryFile(const std::string& recoveryPath, SaveOps& ops = SystemSaveOps());

// The question asked on opening a file with a matching recovery file (caption
// kRecoveryCaption, buttons 是/否).
inline constexpr char kRecoveryCaption[] = "恢复";
std::string RecoveryQuestion(size_t steps);
// What the user is told once when a recovery file is set aside: `read.message` and where
// the file now is (`setAsideAs`, empty when it was removed).
std::string RecoverySetAsideText(const RecoveryRead& read, const std::string& setAsideAs);
