// The find dialog ("查找格子", template "FIND_DIALOG"): three editable drop-downs (归属, 兵种,
// 建筑), a check box limiting the find to the hexes the problem report lists, the number of
// matching hexes (kept up to date as the conditions change) and the default button 全选.
//
// A combo's text that starts with a decimal digit is that number, read as the field helpers
// read numbers ("3:中国" is owner 3, "302:步兵" unit type 302, "0:无部队" no unit); "城市" in
// 建筑 is any city; any other text ("不限", empty) sets no condition. 全选 with a match ends the
// dialog with every matching hex (view/hex_query.h, row-major order); with none a warning
// "没有符合条件的格子。" captioned "查找格子" comes up and the dialog stays open. Nothing of the
// scenario changes.
#pragma once

#include <cstdint>
#include <vector>

#include "dialogs/form.h"
#include "view/hex_query.h"

class FindDialog {
 public:
  void OnInit(Form& form);
  // True when the dialog is to end: 全选 found hexes (matches() holds them).
  bool OnCommand(Form& form, int id, Notice notice);

  const std::vector<GridHex>& matches() const { return matches_; }

 private:
  HexQuery Query(Form& form);
  void ShowCount(Form& form);

  std::vector<uint8_t> problemHexes_;  // found the first time the check box asks for them
  bool problemsFound_ = false;
  int changedCombo_ = 0;  // the combo whose selection has just changed, if any
  std::vector<GridHex> matches_;
};
