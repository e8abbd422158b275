#include "dialogs/dialogs.h"
#include "dialogs/form_win32.h"
#include "dialogs/unit_dialog.h"

namespace {

class UnitBinding final : public DialogBinding {
 public:
  explicit UnitBinding(UnitRecord& working) : logic_(working) {}

 private:
  void OnInit() override { logic_.OnInit(form_); }
  void OnCommand(int id, Notice notice) override { logic_.OnCommand(form_, id, notice); }

  UnitDialog logic_;
};

// The record the dialog edits; the cell's unit goes in before and comes back after.
UnitRecord g_workingUnit;

}  // namespace

void ShowUnitDialog(void* owner, UnitRecord& unit) {
  g_workingUnit = unit;
  UnitBinding binding(g_workingUnit);
  binding.Run(owner, L"UNIT_DATA");
  unit = g_workingUnit;
}
