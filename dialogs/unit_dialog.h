// The unit editor ("兵种编辑", template "UNIT_DATA"): edits a working copy of a hex's unit
// record; the opener copies the record in before and back after, whatever happened.
//
// The unit type is the army catalog entry whose own category and level are the record's
// (ArmyIdOf: an entry that merely sits in the pair's table slot is not it). It changes
// only when the user picks an item of the type combo, which also resets mobility, maximum
// and current hit points from the catalog; 确定 writes every field from the form.
//
// Stored values no combo item carries survive 确定: a policy, direction or attack value
// without an item is shown as its number in the combo's edit field, and a category/level
// pair the army catalog does not know is shown as such and left as stored (with its maximum
// hit points) until the user picks a type.
#pragma once

#include <cstdint>

#include "dialogs/form.h"
#include "scenario/world_record.h"

class UnitDialog {
 public:
  explicit UnitDialog(UnitRecord& unit) : unit_(unit) {}

  void OnInit(Form& form);
  void OnCommand(Form& form, int id, Notice notice);

  // The army Id the dialog holds as selected; 0 for none (or a type the catalog lacks).
  int32_t type() const { return type_; }
  bool typeUnknown() const { return typeUnknown_; }

 private:
  void FillTypes(Form& form);
  void ShowGeneralAndMaxHp(Form& form, bool atOpening);
  void PickType(Form& form, int index);
  void Apply(Form& form);

  UnitRecord& unit_;
  int32_t type_ = 0;
  bool typeUnknown_ = false;
};
