#include "catalogs/artwork.h"
#include "dialogs/dialogs.h"
#include "dialogs/form_win32.h"
#include "dialogs/general_dialog.h"

namespace {

constexpr int kPortraitSlots = sizeof g_artwork.CommanderPortrait / sizeof g_artwork.CommanderPortrait[0];

// A commander's portrait copied whole at its own size; a white square where there is none
// (no commander, a commander without portrait slot, or a picture that did not load).
void DrawPortrait(HDC dc, int x, int y, int slot) {
  Surface* portrait = slot > 0 && slot < kPortraitSlots ? &g_artwork.CommanderPortrait[slot] : nullptr;
  if (portrait) decode_deferred(*portrait);  // portraits are decoded when first shown
  HDC source = portrait && portrait->width > 0 && portrait->height > 0 ? static_cast<HDC>(surface_dc(portrait)) : nullptr;
  if (source) {
    BitBlt(dc, x, y, portrait->width, portrait->height, source, 0, 0, SRCCOPY);
    return;
  }
  RECT square{x, y, x + kEmptyPortraitSide, y + kEmptyPortraitSide};
  FillRect(dc, &square, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
}

class GeneralBinding final : public DialogBinding {
 public:
  explicit GeneralBinding(UnitRecord& unit) : logic_(unit) {}

 private:
  void OnInit() override { logic_.OnInit(form_); }
  void OnCommand(int id, Notice notice) override { logic_.OnCommand(form_, id, notice); }
  // Every repaint draws both portraits again.
  void OnPaint(HDC dc) override {
    DrawPortrait(dc, kCurrentPortraitX, kCurrentPortraitY, logic_.currentPortrait());
    DrawPortrait(dc, kCandidatePortraitX, kCandidatePortraitY, logic_.candidatePortrait());
  }
  void OnClose() override { logic_.OnClose(); }

  GeneralDialog logic_;
};

}  // namespace

void ShowGeneralDialog(void* owner, uint8_t hasUnit, UnitRecord& unit) {
  if (!hasUnit) return;
  GeneralBinding binding(unit);
  binding.Run(owner, L"GENERAL_DIALOG");
}
