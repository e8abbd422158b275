// Errors as values: a failure carries a short tag saying what kind of failure it is, for
// code and tests, and a Chinese sentence for the user (UTF-8) that names the file and what is
// wrong. Reported once, at the edge.
#pragma once

#include <string>
#include <utility>

enum class FailureKind {
  kNone,
  // Reading a file.
  kCannotOpen,  // the file is missing or cannot be read
  kTooLarge,    // larger than its format allows: a file, its tail, a scenario to save
  kTruncated,   // ends before what its header announces, or before the header's end
  kBadValue,    // a header field outside its allowed values
  // A map range.
  kEmptyRange,       // no column or no row
  kRangeTooLarge,    // wider or taller than the grid holds
  kOutsideWorld,     // not wholly inside the world map
  kBeyondPositions,  // holds hexes whose index a 16-bit position cannot name
  // Saving a file.
  kTargetIsFolder,  // the name chosen is a folder's
  kReadOnly,        // the target file is read-only
  kCannotCreate,    // no file can be created in the target's folder
  kTempNamesTaken,  // every temporary name beside the target is taken
  kCannotWrite,     // writing or flushing the new file failed
  kCannotReplace,   // the new file could not take the target's place; the target is as it was
  kSwapStopped,     // the swap stopped half-way; the message says where each file is now
};

struct Status {
  FailureKind kind = FailureKind::kNone;
  std::string message;  // empty on success

  bool ok() const { return kind == FailureKind::kNone; }
};

inline Status Ok() { return {}; }
inline Status Fail(FailureKind kind, std::string message) { return {kind, std::move(message)}; }

// Surrounds a file name with Chinese quotation marks for messages.
inline std::string Quoted(const std::string& name) { return "“" + name + "”"; }
