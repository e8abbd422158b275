#include "dialogs/find_dialog.h"

#include <string>

#include "catalogs/catalogs.h"
#include "catalogs/string_table.h"
#include "dialogs/fields.h"
#include "dialogs/resource_ids.h"
#include "scenario/world_record.h"

namespace {

const char kNoMatch[] = "没有符合条件的格子。";
const char kCaption[] = "查找格子";
const char kAny[] = "不限";
const char kAnyCity[] = "城市";

void FillOwners(Form& form) {
  form.ClearCombo(IDC_FIND_OWNER);
  form.AddComboItem(IDC_FIND_OWNER, kAny);
  form.AddComboItem(IDC_FIND_OWNER, "255:无归属");
  for (int team = 0; team < UsableTeamCount(); ++team)
    form.AddComboItem(IDC_FIND_OWNER,
                      NumberedItem(team, ":", CountryNameOf(g_world.teams[team].country)));
  form.SelectComboItem(IDC_FIND_OWNER, 0);
}

void FillUnitTypes(Form& form) {
  form.ClearCombo(IDC_FIND_UNIT);
  form.AddComboItem(IDC_FIND_UNIT, kAny);
  form.AddComboItem(IDC_FIND_UNIT, "0:无部队");
  for (int i = 0; i < g_catalogs.ArmyCount && i < kArmyIdSlots; ++i) {
    const int32_t id = g_catalogs.ArmyIds[i];
    const int slot = ArmySlotOf(id);
    if (slot < 0) continue;
    const int32_t type = g_catalogs.ArmyType[slot] * 100 + g_catalogs.ArmyLevel[slot];
    form.AddComboItem(IDC_FIND_UNIT, NumberedItem(type, ":", ArmyNameOf(id)));
  }
  form.SelectComboItem(IDC_FIND_UNIT, 0);
}

void FillBuildings(Form& form) {
  form.ClearCombo(IDC_FIND_BUILDING);
  form.AddComboItem(IDC_FIND_BUILDING, kAny);
  form.AddComboItem(IDC_FIND_BUILDING, "0:无建筑");
  form.AddComboItem(IDC_FIND_BUILDING, kAnyCity);
  for (int i = 0; i < g_catalogs.BuildingCount && i < kBuildingIdSlots; ++i) {
    const int32_t id = g_catalogs.BuildingIds[i];
    form.AddComboItem(IDC_FIND_BUILDING, NumberedItem(id, ":", BuildingNameOf(id)));
  }
  form.SelectComboItem(IDC_FIND_BUILDING, 0);
}

bool StartsWithDigit(const std::string& text) {
  return !text.empty() && text[0] >= '0' && text[0] <= '9';
}

}  // namespace

void FindDialog::OnInit(Form& form) {
  FillOwners(form);
  FillUnitTypes(form);
  FillBuildings(form);
  form.SetChecked(IDC_FIND_PROBLEMS, false);
  ShowCount(form);
}

bool FindDialog::OnCommand(Form& form, int id, Notice notice) {
  if (id == IDC_FIND_OWNER || id == IDC_FIND_UNIT || id == IDC_FIND_BUILDING ||
      id == IDC_FIND_PROBLEMS) {
    // While a combo reports a new selection its edit field still holds the old text.
    changedCombo_ = notice == Notice::kSelectionChanged ? id : 0;
    ShowCount(form);
    changedCombo_ = 0;
    return false;
  }
  if (id != IDC_FIND_SELECT) return false;
  matches_ = FindHexes(Query(form));
  if (matches_.empty()) form.Warn(kNoMatch, kCaption);
  return !matches_.empty();
}

HexQuery FindDialog::Query(Form& form) {
  auto text = [&](int id) {
    if (id == changedCombo_) {
      int item = form.ComboSelection(id);
      if (item >= 0) return form.ComboItemText(id, item);
    }
    return form.GetText(id);
  };
  HexQuery q;
  std::string owner = text(IDC_FIND_OWNER), unit = text(IDC_FIND_UNIT),
              building = text(IDC_FIND_BUILDING);
  if (StartsWithDigit(owner)) q.owner = uint8_t(LeadingNumber(owner, 8));
  if (StartsWithDigit(unit)) q.unitType = uint16_t(LeadingNumber(unit, 16));
  if (StartsWithDigit(building))
    q.buildingCode = uint16_t(LeadingNumber(building, 16));
  else if (building == kAnyCity)
    q.anyCity = true;
  if (form.IsChecked(IDC_FIND_PROBLEMS)) {
    if (!problemsFound_) {
      problemHexes_ = HexesWithProblems();
      problemsFound_ = true;
    }
    q.onlyThese = &problemHexes_;
  }
  return q;
}

void FindDialog::ShowCount(Form& form) {
  form.SetText(IDC_FIND_COUNT, "符合条件的格子：" + std::to_string(CountHexes(Query(form))));
}
