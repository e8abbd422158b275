// The building editor ("建筑编辑", template "BUILDING_DATA"): edits a hex's building record in
// place; every 确定 writes the form straight into the record. 地块ID shows the hex's global
// index. A stored city name, building code or facility type that no combo item carries is
// shown as its number in the combo's edit field, so 确定 keeps it.
#pragma once

#include <cstdint>

#include "dialogs/form.h"
#include "scenario/world_record.h"

class BuildingDialog {
 public:
  BuildingDialog(BuildingRecord& building, int32_t hexIndex)
      : building_(building), hexIndex_(hexIndex) {}

  void OnInit(Form& form);
  void OnCommand(Form& form, int id, Notice notice);

 private:
  void Apply(Form& form);

  BuildingRecord& building_;
  int32_t hexIndex_;
};
