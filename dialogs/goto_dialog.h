// The go-to dialog ("定位格子", template "GOTO_DIALOG"): one edit that takes a global hex
// index or a global column and row (view/hex_address.h), and 确定.
//
// 确定 with a text naming a hex of the range ends the dialog with that hex; with anything else
// a warning "该格子不在地图范围内。" captioned "定位格子" comes up and the dialog stays open
// with the text as typed. The dialog changes nothing of the scenario.
#pragma once

#include <cstdint>
#include <optional>

#include "dialogs/form.h"
#include "scenario/world_record.h"
#include "view/hex_address.h"

class GoToDialog {
 public:
  GoToDialog(const MapRange& range, int32_t worldWidth);

  void OnInit(Form& form);
  // True when the dialog is to end: 确定 found a hex of the range (chosen() holds it).
  bool OnCommand(Form& form, int id, Notice notice);

  const std::optional<GridHex>& chosen() const { return chosen_; }

 private:
  MapRange range_;
  int32_t worldWidth_;
  std::optional<GridHex> chosen_;
};
