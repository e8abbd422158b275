#include "dialogs/dialogs.h"
#include "dialogs/form_win32.h"
#include "dialogs/hex_dialog.h"

namespace {

class HexBinding final : public DialogBinding {
 public:
  HexBinding(int x, int y) : logic_(x, y) {}

 private:
  void OnInit() override {
    CreateChildWindows(form_, HexChildWindows());
    logic_.OnInit(form_);
  }
  void OnCommand(int id, Notice notice) override { logic_.OnCommand(form_, id, notice); }

  HexDialog logic_;
};

}  // namespace

void ShowHexDialog(void* owner, int x, int y) {
  if (x < 0 || y < 0 || x >= g_world.rangeWidth || y >= g_world.rangeHeight || x >= kMaxGrid || y >= kMaxGrid) return;
  HexBinding binding(x, y);
  binding.Run(owner, L"HEX_DIALOG");
}
