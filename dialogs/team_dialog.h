// The team editor ("军团编辑", template "TEAM_DIALOG"): the scenario's team table in place.
// A list of the teams (by country name); picking one shows its values; 确定 writes the form
// into the picked team, 加入 appends a team made from the form, 删除 removes the picked team
// with its hexes' units and buildings; the swatch opens the colour chooser and writes the
// shown team's map colour at once. Closing renumbers every team to its slot.
//
// Choices where the table's limits meet the buttons:
// - 加入 needs a country picked in the combo, and refuses with a warning when 255 teams
//   exist (slot 255 is the unowned hex's and is never written). The new team starts from a
//   zero record, takes the country and every value of the form, and becomes the picked and
//   shown team.
// - After 确定 the applied team stays picked and shown, so 确定 can be pressed again.
// - A team whose country the catalog does not list shows the Id as the combo's text; 确定
//   then keeps its country and applies the other values, never another country.
// - 确定 and 删除 act on the list's marked team only while the form shows that team. A list
//   view may keep its selection mark on the deleted row's index, where it names the next
//   team, and a change of focus alone can show one team while the mark stays on another;
//   the form's values then belong to no marked team and are never written or deleted.
// - After 删除 no team is marked or shown: the form is as at opening (no country, every
//   edit 0, blank swatch, swatch clicks ignored) until the user picks another row, so a
//   colour never lands on a moved or uncounted slot.
// - List notifications that the dialog's own list rebuilding causes are ignored, and only
//   rows naming a counted team are ever shown.
#pragma once

#include <cstdint>
#include <vector>

#include "catalogs/catalogs.h"
#include "dialogs/form.h"

// Form ids of the run-time number edits (they are also their control ids).
constexpr int kTeamMoney = 1, kTeamSteel = 2, kTeamOil = 3, kTeamControl = 4, kTeamCamp = 5,
              kTeamVictory = 6, kTeamUnitBonus = 7, kTeamTaxRate = 8;
constexpr int kTeamTechFirst = 10;  // 10..21: techLevels[0..11]
constexpr int kTeamBombFirst = 22;  // 22..24: bombStocks[0..2]

// Labels and edits in the order they are made, at their pixel positions.
std::vector<ChildWindow> TeamChildWindows();

class TeamDialog {
 public:
  TeamDialog();

  void OnInit(Form& form);
  // The list reports a change (selection or focus) of row item.
  void OnListItemChanged(Form& form, int item);
  void OnCommand(Form& form, int id, Notice notice);
  void OnClose();

  // The shown team's colour for the swatch; false while no team is shown.
  bool SwatchColour(uint32_t& colour) const;
  int shownTeam() const { return shown_; }

 private:
  void FillList(Form& form);
  void RefillAndPick(Form& form, int team);
  void ShowTeam(Form& form, int team);
  void ShowNoTeam(Form& form);
  int PickedTeam(Form& form);
  void ReadForm(Form& form, int team, int32_t country);
  void Apply(Form& form, int team);
  void Add(Form& form);
  void Delete(Form& form, int team);
  void PickColour(Form& form);

  int16_t comboPosition_[kCountryIdLimit];  // country Id -> item of the country combo, -1 none
  int comboCounter_ = 0;
  int shown_ = -1;         // team whose values and colour the form shows; -1 none
  bool listBusy_ = false;  // the dialog itself is changing the list
};
