#include "dialogs/team_dialog.h"

#include <cstring>
#include <string>

#include "catalogs/string_table.h"
#include "dialogs/fields.h"
#include "dialogs/resource_ids.h"
#include "scenario/world_record.h"

namespace {

constexpr char kTeamsFull[] = "军团数量已达255个，不能再加入军团。";
constexpr int kLabelHeight = 15, kEditWidth = 60, kEditHeight = 15;

const char* const kTechBranches[12] = {"步兵", "火炮", "坦克", "碉堡", "海军", "空军",
                                       "补给", "防空", "导弹", "核弹", "航空", "离子"};
const char* const kBombs[3] = {"核弹", "氢弹", "反物质弹"};

// A label at (labelX, y) and its edit to the right, initial text "0".
void AddField(std::vector<ChildWindow>& out, const std::string& label, int labelX, int labelWidth,
              int editX, int y, int id) {
  out.push_back({ChildWindow::kLabel, -1, -1, label, labelX, y, labelWidth, kLabelHeight, false});
  bool numberOnly = id != kTeamUnitBonus && id != kTeamTaxRate;
  out.push_back({ChildWindow::kEdit, id, id, "0", editX, y, kEditWidth, kEditHeight, numberOnly});
}

int CountriesListed() {
  return g_catalogs.CountryCount < kCountryIdSlots ? g_catalogs.CountryCount : kCountryIdSlots;
}

std::string TeamRow(int team) { return NameText(CountryNameOf(g_world.teams[team].country)); }

uint32_t U(int32_t v) { return uint32_t(v); }

}  // namespace

std::vector<ChildWindow> TeamChildWindows() {
  std::vector<ChildWindow> w;
  AddField(w, "控制", 180, 30, 250, 70, kTeamControl);
  AddField(w, "阵营", 180, 30, 250, 90, kTeamCamp);
  AddField(w, "胜利条件", 180, 40, 250, 110, kTeamVictory);
  AddField(w, "兵种加成", 180, 40, 250, 130, kTeamUnitBonus);
  AddField(w, "税率", 180, 40, 250, 150, kTeamTaxRate);
  for (int k = 0; k < 3; ++k)
    AddField(w, kBombs[k], 320, 60, 390, 130 + 20 * k, kTeamBombFirst + k);
  for (int k = 0; k < 6; ++k)
    AddField(w, std::string(kTechBranches[k]) + "科技", 180, 60, 250, 170 + 20 * k,
             kTeamTechFirst + k);
  for (int k = 0; k < 6; ++k)
    AddField(w, std::string(kTechBranches[6 + k]) + "科技", 320, 60, 390, 10 + 20 * k,
             kTeamTechFirst + 6 + k);
  AddField(w, "金钱", 180, 30, 250, 10, kTeamMoney);
  AddField(w, "钢铁", 180, 30, 250, 30, kTeamSteel);
  AddField(w, "石油", 180, 30, 250, 50, kTeamOil);
  return w;
}

TeamDialog::TeamDialog() { memset(comboPosition_, -1, sizeof comboPosition_); }

void TeamDialog::OnInit(Form& form) {
  form.ClearCombo(IDC_TEAM_COUNTRY);
  int countries = CountriesListed();
  for (int i = 0; i < countries; ++i) {
    int32_t id = g_catalogs.CountryIds[i];
    form.AddComboItem(IDC_TEAM_COUNTRY, NameText(CountryNameOf(id)));
    // A country listed twice keeps its first item; both name the same Id.
    if (id >= 0 && id < kCountryIdLimit && comboPosition_[id] < 0)
      comboPosition_[id] = int16_t(comboCounter_);
    ++comboCounter_;
  }
  FillList(form);
  ShowNoTeam(form);
}

void TeamDialog::OnListItemChanged(Form& form, int item) {
  if (listBusy_) return;
  if (item < 0 || item >= UsableTeamCount() || item >= form.ListCount(IDC_TEAM_LIST)) return;
  ShowTeam(form, item);
}

void TeamDialog::OnCommand(Form& form, int id, Notice notice) {
  if (notice != Notice::kClicked) return;
  if (id == IDC_TEAM_APPLY) Apply(form, PickedTeam(form));
  if (id == IDC_TEAM_ADD) Add(form);
  if (id == IDC_TEAM_DELETE) Delete(form, PickedTeam(form));
  if (id == IDC_TEAM_SWATCH) PickColour(form);
}

void TeamDialog::OnClose() {
  comboCounter_ = 0;
  shown_ = -1;
  int teams = UsableTeamCount();
  for (int t = 0; t < teams; ++t) g_world.teams[t].teamNumber = t;
}

bool TeamDialog::SwatchColour(uint32_t& colour) const {
  if (shown_ < 0 || shown_ >= UsableTeamCount()) return false;
  colour = g_world.teams[shown_].colour;
  return true;
}

void TeamDialog::FillList(Form& form) {
  listBusy_ = true;
  form.ClearList(IDC_TEAM_LIST);
  int teams = UsableTeamCount();
  for (int t = 0; t < teams; ++t) form.AppendListRow(IDC_TEAM_LIST, TeamRow(t));
  listBusy_ = false;
}

void TeamDialog::RefillAndPick(Form& form, int team) {
  FillList(form);
  listBusy_ = true;
  form.SelectListRow(IDC_TEAM_LIST, team);
  listBusy_ = false;
  ShowTeam(form, team);
}

void TeamDialog::ShowTeam(Form& form, int team) {
  const TeamRecord& t = g_world.teams[team];
  int position = t.country >= 0 && t.country < kCountryIdLimit ? comboPosition_[t.country] : -1;
  form.SelectComboItem(IDC_TEAM_COUNTRY, position);
  if (position < 0) form.SetText(IDC_TEAM_COUNTRY, std::to_string(t.country));
  WriteNumber(form, kTeamMoney, U(t.money));
  WriteNumber(form, kTeamSteel, U(t.steel));
  WriteNumber(form, kTeamOil, U(t.oil));
  WriteNumber(form, kTeamControl, U(t.control));
  WriteNumber(form, kTeamCamp, U(t.camp));
  WriteNumber(form, kTeamVictory, U(t.victoryCondition));
  WriteFloat(form, kTeamUnitBonus, t.unitBonus);
  WriteFloat(form, kTeamTaxRate, t.taxRate);
  for (int k = 0; k < 12; ++k) WriteNumber(form, kTeamTechFirst + k, U(t.techLevels[k]));
  for (int k = 0; k < 3; ++k) WriteNumber(form, kTeamBombFirst + k, U(t.bombStocks[k]));
  shown_ = team;
  form.Repaint(IDC_TEAM_SWATCH);
}

void TeamDialog::ShowNoTeam(Form& form) {
  listBusy_ = true;
  form.SelectListRow(IDC_TEAM_LIST, -1);
  listBusy_ = false;
  form.SelectComboItem(IDC_TEAM_COUNTRY, -1);
  for (const ChildWindow& w : TeamChildWindows())
    if (w.kind == ChildWindow::kEdit) form.SetText(w.formId, w.text);
  shown_ = -1;
  form.Repaint(IDC_TEAM_SWATCH);
}

// The team at the list's selection mark, or -1 unless the form shows that very team.
int TeamDialog::PickedTeam(Form& form) {
  int mark = form.ListSelectionMark(IDC_TEAM_LIST);
  return mark >= 0 && mark == shown_ ? mark : -1;
}

void TeamDialog::ReadForm(Form& form, int team, int32_t country) {
  TeamRecord& t = g_world.teams[team];
  t.country = country;
  t.money = int32_t(ReadFieldU32(form, kTeamMoney));
  t.steel = int32_t(ReadFieldU32(form, kTeamSteel));
  t.oil = int32_t(ReadFieldU32(form, kTeamOil));
  t.control = int32_t(ReadFieldU32(form, kTeamControl));
  t.camp = int32_t(ReadFieldU32(form, kTeamCamp));
  t.victoryCondition = int32_t(ReadFieldU32(form, kTeamVictory));
  t.unitBonus = ReadFieldFloat(form, kTeamUnitBonus, t.unitBonus);
  t.taxRate = ReadFieldFloat(form, kTeamTaxRate, t.taxRate);
  for (int k = 0; k < 12; ++k) t.techLevels[k] = int32_t(ReadFieldU32(form, kTeamTechFirst + k));
  for (int k = 0; k < 3; ++k) t.bombStocks[k] = int32_t(ReadFieldU32(form, kTeamBombFirst + k));
}

void TeamDialog::Apply(Form& form, int team) {
  if (team < 0 || team >= UsableTeamCount()) return;
  int32_t country = g_world.teams[team].country;
  int item = form.ComboSelection(IDC_TEAM_COUNTRY);
  if (item >= 0 && item < CountriesListed()) {
    country = g_catalogs.CountryIds[item];
  } else {
    bool listed = country >= 0 && country < kCountryIdLimit && comboPosition_[country] >= 0;
    if (listed) return;  // a listed country left unpicked: nothing to apply
  }
  ReadForm(form, team, country);
  RefillAndPick(form, team);
}

void TeamDialog::Add(Form& form) {
  int item = form.ComboSelection(IDC_TEAM_COUNTRY);
  if (item < 0 || item >= CountriesListed()) return;
  if (g_world.teamCount >= kMaxTeams) {
    form.Warn(kTeamsFull);
    return;
  }
  int team = UsableTeamCount();
  TeamRecord& t = g_world.teams[team];
  memset(&t, 0, sizeof t);
  t.teamNumber = team;
  g_world.teamCount = team + 1;
  ReadForm(form, team, g_catalogs.CountryIds[item]);
  RefillAndPick(form, team);
}

void TeamDialog::Delete(Form& form, int team) {
  if (team < 0 || team >= UsableTeamCount()) return;
  RemoveTeam(team);
  listBusy_ = true;
  if (team < form.ListCount(IDC_TEAM_LIST)) form.DeleteListRow(IDC_TEAM_LIST, team);
  listBusy_ = false;
  ShowNoTeam(form);
}

void TeamDialog::PickColour(Form& form) {
  uint32_t colour;
  if (!SwatchColour(colour)) return;
  int team = shown_;
  if (!form.ChooseColour(colour)) return;
  g_world.teams[team].colour = colour & 0xFFFFFF;
  form.Repaint(IDC_TEAM_SWATCH);
}
