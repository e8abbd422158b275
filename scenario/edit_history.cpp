#include "scenario/edit_history.h"

#include <cstring>

namespace {

const uint8_t* EditBytes(const Cell& c) {
  return reinterpret_cast<const uint8_t*>(&c) + kCellEditAt;
}
uint8_t* EditBytes(Cell& c) { return reinterpret_cast<uint8_t*>(&c) + kCellEditAt; }

bool SameBytes(const void* a, const void* b, size_t n) { return memcmp(a, b, n) == 0; }

// A hex as a save writes it: the owner byte, and each record only while it is present.
bool SameSavedCell(const CellBytes& a, const CellBytes& b) {
  Cell x{}, y{};
  memcpy(EditBytes(x), a.b, kCellEditBytes);
  memcpy(EditBytes(y), b.b, kCellEditBytes);
  if (x.owner != y.owner || x.hasUnit != y.hasUnit || x.hasBuilding != y.hasBuilding) return false;
  if (x.hasUnit && !SameBytes(&x.unit, &y.unit, sizeof x.unit)) return false;
  if (x.hasBuilding && !SameBytes(&x.building, &y.building, sizeof x.building)) return false;
  return true;
}

// A team as a save writes it: the file bytes, with the colour bytes made from `colour`.
bool SameSavedTeam(const TeamRecord& a, const TeamRecord& b) {
  constexpr size_t colourAt = offsetof(TeamRecord, fileColour);
  constexpr size_t afterColour = colourAt + sizeof a.fileColour;
  return SameBytes(&a, &b, colourAt) &&
         SameBytes(reinterpret_cast<const uint8_t*>(&a) + afterColour,
                   reinterpret_cast<const uint8_t*>(&b) + afterColour,
                   kTeamFileBytes - afterColour) &&
         (a.colour & 0xFFFFFF) == (b.colour & 0xFFFFFF);
}

}  // namespace

size_t EditStep::Bytes() const {
  return sizeof *this + hexes.capacity() * sizeof(HexChange) +
         teams.capacity() * sizeof(TeamChange) + generals.capacity() * sizeof(GeneralChange);
}

void EditHistory::Take(const WorldRecord& w, Snapshot& s) {
  s.width = w.rangeWidth;
  s.height = w.rangeHeight;
  s.cells.resize(size_t(s.width) * s.height);
  size_t i = 0;
  for (int32_t x = 0; x < s.width; ++x)
    for (int32_t y = 0; y < s.height; ++y)
      memcpy(s.cells[i++].b, EditBytes(w.grid[x][y]), kCellEditBytes);
  memcpy(s.teams, w.teams, sizeof s.teams);
  s.teamCount = w.teamCount;
  s.generals.assign(w.generals, w.generals + kMaxGenerals);
  s.generalCount = w.generalCount;
}

bool EditHistory::SameSave(const Snapshot& a, const Snapshot& b) {
  if (a.width != b.width || a.height != b.height || a.teamCount != b.teamCount ||
      a.generalCount != b.generalCount)
    return false;
  for (size_t i = 0; i < a.cells.size(); ++i)
    if (!SameSavedCell(a.cells[i], b.cells[i])) return false;
  for (int32_t t = 0; t < a.teamCount && t < 256; ++t)
    if (!SameSavedTeam(a.teams[t], b.teams[t])) return false;
  int32_t generals = a.generalCount < 0              ? 0
                     : a.generalCount > kMaxGenerals ? kMaxGenerals
                                                     : a.generalCount;
  return SameBytes(a.generals.data(), b.generals.data(), size_t(generals) * sizeof(GeneralEntry));
}

EditStep EditHistory::Diff(const WorldRecord& w) const {
  const Snapshot& s = current_;
  EditStep step;
  // The changed hexes are found first, so that a step over the whole range is one allocation
  // of its exact size rather than a vector grown and copied again and again.
  std::vector<uint32_t> changed;
  size_t i = 0;
  for (int32_t x = 0; x < s.width; ++x)
    for (int32_t y = 0; y < s.height; ++y, ++i)
      if (!SameBytes(EditBytes(w.grid[x][y]), s.cells[i].b, kCellEditBytes))
        changed.push_back(uint32_t(i));
  step.hexes.resize(changed.size());
  for (size_t k = 0; k < changed.size(); ++k) {
    const int32_t x = int32_t(changed[k] / uint32_t(s.height)),
                  y = int32_t(changed[k] % uint32_t(s.height));
    HexChange& h = step.hexes[k];
    h.x = x;
    h.y = y;
    h.before = s.cells[changed[k]];
    memcpy(h.after.b, EditBytes(w.grid[x][y]), kCellEditBytes);
  }
  for (int32_t t = 0; t < 256; ++t)
    if (!SameBytes(&w.teams[t], &s.teams[t], sizeof(TeamRecord)))
      step.teams.push_back({t, s.teams[t], w.teams[t]});
  for (int32_t g = 0; g < kMaxGenerals; ++g)
    if (!SameBytes(&w.generals[g], &s.generals[g], sizeof(GeneralEntry)))
      step.generals.push_back({g, s.generals[g], w.generals[g]});
  step.teamCountBefore = s.teamCount;
  step.teamCountAfter = w.teamCount;
  step.generalCountBefore = s.generalCount;
  step.generalCountAfter = w.generalCount;
  return step;
}

void EditHistory::Start(const WorldRecord& w) {
  steps_.clear();
  applied_ = 0;
  bytes_ = 0;
  savedAt_ = 0;
  Take(w, current_);
  saved_ = current_;
}

bool EditHistory::Record(const WorldRecord& w) {
  EditStep step = Diff(w);
  if (step.hexes.empty() && step.teams.empty() && step.generals.empty() &&
      step.teamCountBefore == step.teamCountAfter &&
      step.generalCountBefore == step.generalCountAfter)
    return false;
  // Undone past the save: the steps back to it go now.
  if (savedAt_ > int64_t(applied_)) savedAt_ = -1;
  while (steps_.size() > applied_) {
    bytes_ -= steps_.back().Bytes();
    steps_.pop_back();
  }
  // Bring the copy up to date from the step itself rather than copying the whole record.
  for (const HexChange& h : step.hexes)
    current_.cells[size_t(h.x) * current_.height + h.y] = h.after;
  for (const TeamChange& t : step.teams) current_.teams[t.slot] = t.after;
  for (const GeneralChange& g : step.generals) current_.generals[g.index] = g.after;
  current_.teamCount = step.teamCountAfter;
  current_.generalCount = step.generalCountAfter;
  bytes_ += step.Bytes();
  steps_.push_back(std::move(step));
  applied_ = steps_.size();
  Trim();
  return true;
}

void EditHistory::Apply(WorldRecord& w, const EditStep& step, bool forward, StepFocus* focus) {
  for (const HexChange& h : step.hexes) {
    const CellBytes& b = forward ? h.after : h.before;
    memcpy(EditBytes(w.grid[h.x][h.y]), b.b, kCellEditBytes);
    current_.cells[size_t(h.x) * current_.height + h.y] = b;
  }
  for (const TeamChange& t : step.teams) {
    w.teams[t.slot] = forward ? t.after : t.before;
    current_.teams[t.slot] = w.teams[t.slot];
  }
  for (const GeneralChange& g : step.generals) {
    w.generals[g.index] = forward ? g.after : g.before;
    current_.generals[g.index] = w.generals[g.index];
  }
  w.teamCount = current_.teamCount = forward ? step.teamCountAfter : step.teamCountBefore;
  w.generalCount = current_.generalCount =
      forward ? step.generalCountAfter : step.generalCountBefore;
  if (focus) {
    *focus = StepFocus{};
    if (step.hexes.size() == 1) *focus = {step.hexes[0].x, step.hexes[0].y};
  }
}

bool EditHistory::Undo(WorldRecord& w, StepFocus* focus) {
  Record(w);
  if (applied_ == 0) return false;
  --applied_;
  Apply(w, steps_[applied_], false, focus);
  return true;
}

bool EditHistory::Redo(WorldRecord& w, StepFocus* focus) {
  Record(w);
  if (applied_ == steps_.size()) return false;
  Apply(w, steps_[applied_], true, focus);
  ++applied_;
  return true;
}

void EditHistory::MarkSaved(const WorldRecord& w) {
  // The save itself may have touched the record (the teams' colour bytes): take it as it is
  // now, so that this is not seen as the user's next edit. The caller records the user's
  // edits before it saves.
  Take(w, current_);
  saved_ = current_;
  savedAt_ = int64_t(applied_);
}

bool EditHistory::Unsaved(const WorldRecord& w) {
  Record(w);
  return !SameSave(current_, saved_);
}

void EditHistory::SetLimits(size_t maxSteps, size_t maxBytes) {
  maxSteps_ = maxSteps;
  maxBytes_ = maxBytes;
  Trim();
}

void EditHistory::Trim() {
  // The newest step always stays, however large: it is the one the user expects to undo.
  while (steps_.size() > 1 && applied_ > 0 && (steps_.size() > maxSteps_ || bytes_ > maxBytes_)) {
    bytes_ -= steps_.front().Bytes();
    steps_.pop_front();
    --applied_;
    if (savedAt_ >= 0) --savedAt_;  // the save was the state before the dropped step: gone
  }
}

int64_t EditHistory::StepsSinceSaved() const {
  if (savedAt_ < 0) return -1;
  return savedAt_ > int64_t(applied_) ? savedAt_ - int64_t(applied_) : int64_t(applied_) - savedAt_;
}

bool EditHistory::VisitStepsSinceSaved(const StepVisitor& visit) const {
  if (savedAt_ < 0) return false;
  const size_t saved = size_t(savedAt_);
  for (size_t i = saved; i < applied_; ++i) visit(steps_[i], true);
  // Undone past the save: from now back up to it, each step undone.
  for (size_t i = saved; i > applied_; --i) visit(steps_[i - 1], false);
  return true;
}

bool EditHistory::StepFits(const EditStep& step, const WorldRecord& w) {
  for (const HexChange& h : step.hexes)
    if (h.x < 0 || h.y < 0 || h.x >= w.rangeWidth || h.y >= w.rangeHeight) return false;
  for (const TeamChange& t : step.teams)
    if (t.slot < 0 || t.slot >= 256) return false;
  for (const GeneralChange& g : step.generals)
    if (g.index < 0 || g.index >= kMaxGenerals) return false;
  auto countFits = [](int32_t n, int32_t limit) { return n >= 0 && n <= limit; };
  return countFits(step.teamCountBefore, 256) && countFits(step.teamCountAfter, 256) &&
         countFits(step.generalCountBefore, kMaxGenerals) &&
         countFits(step.generalCountAfter, kMaxGenerals);
}

void EditHistory::StartWithSteps(WorldRecord& w, std::vector<EditStep> steps) {
  Start(w);
  for (EditStep& step : steps) {
    Apply(w, step, true, nullptr);
    bytes_ += step.Bytes();
    steps_.push_back(std::move(step));
  }
  applied_ = steps_.size();
  Trim();
}
