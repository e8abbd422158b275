#include "dialogs/dialogs.h"
#include "dialogs/form_win32.h"

#include <commctrl.h>
#include "dialogs/resource_ids.h"
#include "dialogs/team_dialog.h"

namespace {

class TeamBinding final : public DialogBinding {
 private:
  void OnInit() override {
    CreateChildWindows(form_, TeamChildWindows());
    logic_.OnInit(form_);
  }
  void OnCommand(int id, Notice notice) override { logic_.OnCommand(form_, id, notice); }

  void OnNotify(const NMHDR& header) override {
    if (header.idFrom != IDC_TEAM_LIST || header.code != LVN_ITEMCHANGED) return;
    const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
    UINT moved = (change.uNewState ^ change.uOldState) & (LVIS_SELECTED | LVIS_FOCUSED);
    if ((change.uChanged & LVIF_STATE) && moved) logic_.OnListItemChanged(form_, change.iItem);
  }

  // The swatch: the shown team's colour, the button face while no team is shown.
  bool OnDrawItem(const DRAWITEMSTRUCT& item) override {
    if (item.CtlID != IDC_TEAM_SWATCH) return false;
    uint32_t colour;
    if (logic_.SwatchColour(colour)) {
      HBRUSH brush = CreateSolidBrush(colour);
      FillRect(item.hDC, &item.rcItem, brush);
      DeleteObject(brush);
    } else {
      FillRect(item.hDC, &item.rcItem, GetSysColorBrush(COLOR_BTNFACE));
    }
    return true;
  }

  void OnClose() override { logic_.OnClose(); }

  TeamDialog logic_;
};

}  // namespace

void ShowTeamDialog(void* owner) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&controls);
  TeamBinding binding;
  binding.Run(owner, L"TEAM_DIALOG");
}
