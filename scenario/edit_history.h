// Undo and redo of the user's edits to the world record.
//
// The history keeps a copy of everything the user can edit as it stood when the last action
// ended: the editable bytes of every hex of the range, the 256 team slots with the team count,
// and the general table with its count. When an action ends (a dialog closed, a paste key
// released, a normalisation after a click) `Record` compares the record with that copy; what
// differs becomes one step, stored as the changed hexes, team slots and generals, each with
// its bytes before and after. A step therefore costs what it changed, not a copy of the world.
//
// Whether there are unsaved edits is a comparison too: of the bytes a save would write from
// the record now and from the record as it stood when it was loaded or last saved.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <vector>

#include "scenario/world_record.h"

// The bytes of a hex that editing can change: owner, the two presence flags and the unit and
// building records. Coordinates and world info are fixed once the scenario is placed.
constexpr size_t kCellEditAt = offsetof(Cell, owner);
constexpr size_t kCellEditBytes = offsetof(Cell, worldInfo) - offsetof(Cell, owner);
static_assert(kCellEditBytes == 52);

struct CellBytes {
  uint8_t b[kCellEditBytes];
};

struct HexChange {
  int32_t x, y;  // local hex of the range
  CellBytes before, after;
};

struct TeamChange {
  int32_t slot;
  TeamRecord before, after;
};

struct GeneralChange {
  int32_t index;
  GeneralEntry before, after;
};

struct EditStep {
  std::vector<HexChange> hexes;
  std::vector<TeamChange> teams;
  std::vector<GeneralChange> generals;
  int32_t teamCountBefore = 0, teamCountAfter = 0;
  int32_t generalCountBefore = 0, generalCountAfter = 0;

  // Memory the step holds.
  size_t Bytes() const;
};

// The local hex a step changed when it changed exactly one; x -1 otherwise.
struct StepFocus {
  int32_t x = -1, y = -1;
};

class EditHistory {
 public:
  static constexpr size_t kDefaultMaxSteps = 1000;
  static constexpr size_t kDefaultMaxBytes = size_t(256) << 20;

  // After loading: nothing to undo or redo, and the record as it is counts as saved.
  void Start(const WorldRecord& w);
  // Ends an action: what changed since the last one becomes a step (dropping the steps that
  // could have been redone). False when no byte changed.
  bool Record(const WorldRecord& w);
  // Put the record back to before the last step / after the next one. False when there is
  // none. Edits not yet recorded are recorded first, as a step of their own.
  bool Undo(WorldRecord& w, StepFocus* focus = nullptr);
  bool Redo(WorldRecord& w, StepFocus* focus = nullptr);

  // After a successful save of `w` (which the save may have touched, e.g. colour bytes).
  // Edits made before the save must have been recorded first.
  void MarkSaved(const WorldRecord& w);
  // Whether a save now would write other bytes than the load or the last save did.
  // Records pending edits first.
  bool Unsaved(const WorldRecord& w);

  // Oldest steps are dropped once either limit is passed.
  void SetLimits(size_t maxSteps, size_t maxBytes);

  // The way from the record as it was loaded or last saved to the record as it is now, as
  // steps in the order they are to be made: the steps done since, or, after undoing past
  // the save, the steps undone since, each to be made backwards (`forward` false: from its
  // `after` to its `before`). `visit` sees each step once. False (and nothing visited) when
  // the history no longer holds that way: the oldest steps went past a limit, or a new edit
  // after undoing past the save dropped the steps back to it. Edits not yet recorded are
  // not on it: record them first.
  using StepVisitor = std::function<void(const EditStep& step, bool forward)>;
  bool VisitStepsSinceSaved(const StepVisitor& visit) const;
  // How many steps that way has; -1 when the history no longer holds it.
  int64_t StepsSinceSaved() const;

  // Starts the history on `w` as loaded (which counts as saved), then makes `steps` on it as
  // the user's edits: `w` ends as after the last step, and each step can be undone. Every
  // hex, slot and index of the steps must lie inside `w`'s range and tables (see StepFits).
  void StartWithSteps(WorldRecord& w, std::vector<EditStep> steps);
  // Whether every change of `step` names a hex of `w`'s range, a team slot and a general
  // slot of the tables, and its counts are ones the record can hold.
  static bool StepFits(const EditStep& step, const WorldRecord& w);

  size_t UndoCount() const { return applied_; }
  size_t RedoCount() const { return steps_.size() - applied_; }
  size_t Bytes() const { return bytes_; }
  const EditStep* LastStep() const { return applied_ ? &steps_[applied_ - 1] : nullptr; }
  // The step a redo would make, or null.
  const EditStep* NextStep() const {
    return applied_ < steps_.size() ? &steps_[applied_] : nullptr;
  }

 private:
  // What the user can edit, as it stood at some moment.
  struct Snapshot {
    int32_t width = 0, height = 0;
    std::vector<CellBytes> cells;  // column by column, like the grid
    TeamRecord teams[256]{};
    int32_t teamCount = 0;
    std::vector<GeneralEntry> generals;  // every slot of the table
    int32_t generalCount = 0;
  };

  static void Take(const WorldRecord& w, Snapshot& s);
  static bool SameSave(const Snapshot& a, const Snapshot& b);
  EditStep Diff(const WorldRecord& w) const;
  void Apply(WorldRecord& w, const EditStep& step, bool forward, StepFocus* focus);
  void Trim();

  Snapshot current_;  // the record when the last action ended
  Snapshot saved_;    // the record when it was loaded or last saved
  std::deque<EditStep> steps_;
  size_t applied_ = 0;  // steps_[0 .. applied_) are done; the rest can be redone
  // How many steps were done when the record was loaded or last saved; -1 once that state
  // is no longer reachable through steps_.
  int64_t savedAt_ = 0;
  size_t bytes_ = 0;
  size_t maxSteps_ = kDefaultMaxSteps;
  size_t maxBytes_ = kDefaultMaxBytes;
};
