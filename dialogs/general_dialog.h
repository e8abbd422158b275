// The general editor ("将军编辑", template "GENERAL_DIALOG"): attaches one of the scenario's
// generals to a hex's unit (or detaches it) and appends new generals (commander and rank)
// to the scenario's list. It edits unit.general and the generals list in place.
//
// A unit's general byte can name only entries 0..254 (255 is "none"). Items past the 255th
// are listed and can be looked at, but 确定 on one of them refuses with a warning and keeps
// the attachment; 添加 refuses with a warning when the list is full. A general byte naming
// no entry opens with nothing selected, and 确定 then detaches it (255), since it would
// otherwise come to name whichever general is added next.
//
// Two portraits are shown: the current one (the general picked in 名字 above) at (20, 35)
// and the candidate (the commander picked below) at (20, 165). Each is a commander's
// portrait slot, 0 when there is none to show.
#pragma once

#include <cstdint>

#include "dialogs/form.h"
#include "scenario/world_record.h"

constexpr int kCurrentPortraitX = 20, kCurrentPortraitY = 35;
constexpr int kCandidatePortraitX = 20, kCandidatePortraitY = 165;
constexpr int kEmptyPortraitSide = 50;  // white square where there is no portrait

class GeneralDialog {
 public:
  explicit GeneralDialog(UnitRecord& unit) : unit_(unit) {}

  void OnInit(Form& form);
  void OnCommand(Form& form, int id, Notice notice);
  void OnClose();

  int currentPortrait() const { return currentPortrait_; }
  int candidatePortrait() const { return candidatePortrait_; }

 private:
  void ShowRankOf(Form& form, int item);
  void PickCurrent(Form& form);
  void PickCandidate(Form& form);
  void Attach(Form& form);
  void Add(Form& form);

  UnitRecord& unit_;
  int currentPortrait_ = 0;
  int candidatePortrait_ = 0;
};
