#include "dialogs/goto_dialog.h"

#include "dialogs/resource_ids.h"

namespace {

const char kNotInRange[] = "该格子不在地图范围内。";
const char kCaption[] = "定位格子";

}  // namespace

GoToDialog::GoToDialog(const MapRange& range, int32_t worldWidth)
    : range_(range), worldWidth_(worldWidth) {}

void GoToDialog::OnInit(Form& form) { form.SetText(IDC_GOTO_TEXT, ""); }

bool GoToDialog::OnCommand(Form& form, int id, Notice) {
  if (id != IDC_GOTO_APPLY) return false;
  chosen_ = ParseHexAddress(form.GetText(IDC_GOTO_TEXT), range_, worldWidth_);
  if (!chosen_) form.Warn(kNotInRange, kCaption);
  return chosen_.has_value();
}
