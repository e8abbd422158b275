#include "dialogs/dialogs.h"
#include "dialogs/form_win32.h"
#include "dialogs/goto_dialog.h"

namespace {

class GoToBinding final : public DialogBinding {
 public:
  GoToBinding(const MapRange& range, int32_t worldWidth) : logic_(range, worldWidth) {}
  const GoToDialog& logic() const { return logic_; }

 private:
  void OnInit() override { logic_.OnInit(form_); }
  void OnCommand(int id, Notice notice) override {
    if (logic_.OnCommand(form_, id, notice)) EndDialog(form_.dialog(), 1);
  }
  bool EndsOnEscape() const override { return true; }

  GoToDialog logic_;
};

}  // namespace

bool ShowGoToDialog(void* owner, const MapRange& range, int32_t worldWidth, GridHex& chosen) {
  GoToBinding binding(range, worldWidth);
  binding.Run(owner, L"GOTO_DIALOG");
  const std::optional<GridHex>& hex = binding.logic().chosen();
  if (hex) chosen = *hex;
  return hex.has_value();
}
