#include "dialogs/general_dialog.h"

#include <string>

#include "catalogs/catalogs.h"
#include "dialogs/fields.h"
#include "dialogs/resource_ids.h"

namespace {

constexpr char kNone[] = "无";
constexpr char kChooseCommander[] = "请选择要加入地图的将军！";
constexpr char kOnlyFirstGenerals[] = "部队只能配属前255名将军，请选择其中一名。";
constexpr char kGeneralsFull[] = "将军列表已满，不能再添加将军。";

int GeneralsInUse() {
  int n = g_world.generalCount;
  return n < 0 ? 0 : n > kMaxGenerals ? kMaxGenerals : n;
}

int CommandersListed() {
  return g_catalogs.CommanderCount < kCommanderIdSlots ? g_catalogs.CommanderCount
                                                       : kCommanderIdSlots;
}

std::string GeneralItem(const GeneralEntry& entry) {
  return NumberedItem(entry.commander, ":", CommanderNameOf(entry.commander));
}

std::string RankText(uint16_t rank) {
  return std::to_string(rank) + ":" + std::to_string(RankLifeOf(rank));
}

}  // namespace

void GeneralDialog::OnInit(Form& form) {
  form.ClearCombo(IDC_GENERAL_CURRENT);
  form.AddComboItem(IDC_GENERAL_CURRENT, kNone);
  int generals = GeneralsInUse();
  for (int i = 0; i < generals; ++i)
    form.AddComboItem(IDC_GENERAL_CURRENT, GeneralItem(g_world.generals[i]));

  const GeneralEntry* own = AttachedGeneral(unit_);
  if (unit_.general == kNoGeneral)
    form.SelectComboItem(IDC_GENERAL_CURRENT, 0);
  else
    form.SelectComboItem(IDC_GENERAL_CURRENT, own ? unit_.general + 1 : -1);
  form.SetText(IDC_GENERAL_RANKTEXT, own && own->rank != 0 ? RankText(own->rank) : kNone);

  form.ClearCombo(IDC_GENERAL_RANK);
  for (int j = 1; j <= g_catalogs.RankCount; ++j)
    form.AddComboItem(IDC_GENERAL_RANK, RankText(uint16_t(j)));
  form.ClearCombo(IDC_GENERAL_COMMANDER);
  int commanders = CommandersListed();
  for (int i = 0; i < commanders; ++i)
    form.AddComboItem(
        IDC_GENERAL_COMMANDER,
        NumberedItem(g_catalogs.CommanderIds[i], ":", CommanderNameOf(g_catalogs.CommanderIds[i])));

  currentPortrait_ = own ? PortraitSlotOf(own->commander) : 0;
  form.Repaint(0);
}

void GeneralDialog::OnCommand(Form& form, int id, Notice notice) {
  if (id == IDC_GENERAL_CURRENT && notice == Notice::kSelectionChanged) PickCurrent(form);
  if (id == IDC_GENERAL_COMMANDER && notice == Notice::kSelectionChanged) PickCandidate(form);
  if (id == IDC_GENERAL_ATTACH && notice == Notice::kClicked) Attach(form);
  if (id == IDC_GENERAL_ADD && notice == Notice::kClicked) Add(form);
}

void GeneralDialog::OnClose() {
  currentPortrait_ = 0;
  candidatePortrait_ = 0;
}

void GeneralDialog::PickCurrent(Form& form) {
  int item = form.ComboSelection(IDC_GENERAL_CURRENT);
  if (item >= 1 && item <= GeneralsInUse()) {
    const GeneralEntry& entry = g_world.generals[item - 1];
    currentPortrait_ = PortraitSlotOf(entry.commander);
    // A picked general shows its rank as a pair even when it is 0.
    form.SetText(IDC_GENERAL_RANKTEXT, RankText(entry.rank));
  } else {
    currentPortrait_ = 0;
    form.SetText(IDC_GENERAL_RANKTEXT, kNone);
  }
  form.Repaint(0);
}

void GeneralDialog::PickCandidate(Form& form) {
  int item = form.ComboSelection(IDC_GENERAL_COMMANDER);
  candidatePortrait_ =
      item >= 0 && item < CommandersListed() ? PortraitSlotOf(g_catalogs.CommanderIds[item]) : 0;
  form.Repaint(0);
}

void GeneralDialog::Attach(Form& form) {
  int item = form.ComboSelection(IDC_GENERAL_CURRENT);
  if (item < 1 || item > GeneralsInUse()) {
    unit_.general = kNoGeneral;
    return;
  }
  if (item - 1 >= kNoGeneral) {
    form.Warn(kOnlyFirstGenerals);
    return;
  }
  unit_.general = uint8_t(item - 1);
}

void GeneralDialog::Add(Form& form) {
  int commander = form.ComboSelection(IDC_GENERAL_COMMANDER);
  if (commander < 0 || commander >= CommandersListed()) {
    form.Warn(kChooseCommander);
    return;
  }
  if (GeneralsInUse() >= kMaxGenerals) {
    form.Warn(kGeneralsFull);
    return;
  }
  int rankItem = form.ComboSelection(IDC_GENERAL_RANK);
  GeneralEntry entry;
  entry.commander = uint16_t(g_catalogs.CommanderIds[commander]);
  entry.rank = rankItem >= 0 ? uint16_t(rankItem + 1) : 0;
  int index = GeneralsInUse();
  g_world.generals[index] = entry;
  g_world.generalCount = index + 1;
  form.AddComboItem(IDC_GENERAL_CURRENT, GeneralItem(entry));
}
