#include "dialogs/dialogs.h"
#include "dialogs/find_dialog.h"
#include "dialogs/form_win32.h"

namespace {

class FindBinding final : public DialogBinding {
 public:
  const FindDialog& logic() const { return logic_; }

 private:
  void OnInit() override { logic_.OnInit(form_); }
  void OnCommand(int id, Notice notice) override {
    if (logic_.OnCommand(form_, id, notice)) End();
  }
  bool EndsOnEscape() const override { return true; }

  FindDialog logic_;
};

}  // namespace

bool ShowFindDialog(void* owner, std::vector<GridHex>& found) {
  FindBinding binding;
  binding.Run(owner, L"FIND_DIALOG");
  found = binding.logic().matches();
  return !found.empty();
}
