// The raw hex editor ("16进制编辑", template "HEX_DIALOG"): every byte of a hex's unit and
// building records as two hexadecimal digits, and the hex's owning team.
//
// It works on a copy of the whole cell taken at opening; each 确定 parses every box into the
// copy, recomputes hasUnit / hasBuilding from the bytes, reads the owner and writes the copy
// back over the cell. Closing writes nothing. An owner naming no team is shown as its number
// in the team combo's edit field, so 确定 keeps it.
//
// The byte boxes are made at run time. Their control ids are their byte indices (the two
// grids reuse 0..19); the logic names them by form ids of their own.
#pragma once

#include <vector>

#include "dialogs/form.h"
#include "scenario/world_record.h"

constexpr int kHexUnitBoxBase = 2000;      // form id of unit byte i: 2000 + i
constexpr int kHexBuildingBoxBase = 3000;  // form id of building byte j: 3000 + j

// Headers and byte boxes in the order they are made, at their pixel positions.
std::vector<ChildWindow> HexChildWindows();

class HexDialog {
 public:
  // The cell at grid (x, y); the caller guarantees it is inside the range.
  HexDialog(int x, int y);

  void OnInit(Form& form);
  void OnCommand(Form& form, int id, Notice notice);

  const Cell& copy() const { return copy_; }

 private:
  void Apply(Form& form);

  int x_, y_;
  Cell copy_;
};
