#include "dialogs/building_dialog.h"
#include "dialogs/dialogs.h"
#include "dialogs/form_win32.h"

namespace {

class BuildingBinding final : public DialogBinding {
 public:
  BuildingBinding(BuildingRecord& building, int32_t hexIndex) : logic_(building, hexIndex) {}

 private:
  void OnInit() override { logic_.OnInit(form_); }
  void OnCommand(int id, Notice notice) override { logic_.OnCommand(form_, id, notice); }

  BuildingDialog logic_;
};

}  // namespace

void ShowBuildingDialog(void* owner, BuildingRecord& building, int32_t hexIndex) {
  BuildingBinding binding(building, hexIndex);
  binding.Run(owner, L"BUILDING_DATA");
}
