#include "dialogs/team_dialog.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "dialogs/resource_ids.h"
#include "scenario/world_record.h"
#include "tests/support/fake_form.h"

namespace {

using Rows = std::vector<std::string>;

class TeamDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    LoadTestCatalogs();
    ResetTestWorld();
    AddTestTeam(86, 0x0000AA);  // 中国
    AddTestTeam(1, 0x00BB00);   // 美国
    AddTestTeam(44, 0xCC0000);  // 英国
    g_world.teams[1].money = 500;
    g_world.teams[1].taxRate = 0.25f;
    g_world.teams[1].unitBonus = 1.5f;
    g_world.teams[1].techLevels[11] = 6;
    g_world.teams[1].bombStocks[2] = 2;
  }
  void Open() {
    form.onListChange = [this](int row) { dialog.OnListItemChanged(form, row); };
    dialog.OnInit(form);
  }
  // The user clicks a row; the list reports the change.
  void ClickRow(int row) { form.ClickRow(IDC_TEAM_LIST, row); }
  void Press(int id) { dialog.OnCommand(form, id, Notice::kClicked); }
  Rows rows() { return form.at(IDC_TEAM_LIST).rows; }

  FakeForm form;
  TeamDialog dialog;
};

TEST_F(TeamDialogTest, OpeningListsCountriesAndTeamsButShowsNoTeam) {
  Open();
  EXPECT_EQ(form.at(IDC_TEAM_COUNTRY).items, (Rows{"中国", "美国", "英国"}));
  EXPECT_EQ(rows(), (Rows{"中国", "美国", "英国"}));
  uint32_t colour;
  EXPECT_FALSE(dialog.SwatchColour(colour));
}

TEST_F(TeamDialogTest, PickingARowShowsTheTeam) {
  g_world.teams[1].money = -1;  // shown unsigned
  Open();
  ClickRow(1);
  EXPECT_EQ(form.ComboSelection(IDC_TEAM_COUNTRY), 1);
  EXPECT_EQ(form.text(kTeamMoney), "4294967295");
  EXPECT_EQ(form.text(kTeamTaxRate), "0.250000");
  EXPECT_EQ(form.text(kTeamUnitBonus), "1.500000");
  EXPECT_EQ(form.text(kTeamTechFirst + 11), "6");
  EXPECT_EQ(form.text(kTeamBombFirst + 2), "2");
  uint32_t colour = 0;
  ASSERT_TRUE(dialog.SwatchColour(colour));
  EXPECT_EQ(colour, 0x00BB00u);
  EXPECT_GE(form.at(IDC_TEAM_SWATCH).repaints, 1);
}

TEST_F(TeamDialogTest, ApplyWritesTheFormIntoThePickedTeam) {
  Open();
  ClickRow(1);
  form.Pick(IDC_TEAM_COUNTRY, 2);
  form.Type(kTeamSteel, "4294967297");  // wraps at 32 bits
  form.Type(kTeamCamp, "3");
  form.Type(kTeamTechFirst, "12");
  form.Type(kTeamBombFirst, "");
  form.Type(kTeamUnitBonus, "2.5");
  Press(IDC_TEAM_APPLY);
  const TeamRecord& t = g_world.teams[1];
  EXPECT_EQ(t.country, 44);
  EXPECT_EQ(t.steel, 1);
  EXPECT_EQ(t.camp, 3);
  EXPECT_EQ(t.techLevels[0], 12);
  EXPECT_EQ(t.bombStocks[0], 0);
  EXPECT_EQ(t.unitBonus, 2.5f);
  EXPECT_EQ(t.money, 500);
  EXPECT_EQ(rows(), (Rows{"中国", "英国", "英国"}));
  // The applied team stays picked, so 确定 works again.
  EXPECT_EQ(form.ListSelectionMark(IDC_TEAM_LIST), 1);
  form.Type(kTeamOil, "8");
  Press(IDC_TEAM_APPLY);
  EXPECT_EQ(g_world.teams[1].oil, 8);
}

TEST_F(TeamDialogTest, TaxRateTextCases) {
  Open();
  ClickRow(1);
  form.Type(kTeamTaxRate, "abc");
  Press(IDC_TEAM_APPLY);
  EXPECT_EQ(g_world.teams[1].taxRate, 0.25f);
  form.Type(kTeamTaxRate, "0.5abc");
  Press(IDC_TEAM_APPLY);
  EXPECT_EQ(g_world.teams[1].taxRate, 0.5f);
  EXPECT_EQ(form.text(kTeamTaxRate), "0.500000");
}

TEST_F(TeamDialogTest, ApplyAndDeleteNeedARowApplyACountry) {
  Open();
  Press(IDC_TEAM_DELETE);  // no row picked
  EXPECT_EQ(g_world.teamCount, 3);
  form.Type(kTeamMoney, "9");
  Press(IDC_TEAM_APPLY);
  for (int t = 0; t < 3; ++t) EXPECT_NE(g_world.teams[t].money, 9);
  ClickRow(0);
  form.Type(IDC_TEAM_COUNTRY, "美");  // typed text is no pick
  form.Type(kTeamMoney, "9");
  Press(IDC_TEAM_APPLY);
  EXPECT_EQ(g_world.teams[0].money, 0);
  EXPECT_EQ(g_world.teams[0].country, 86);
}

TEST_F(TeamDialogTest, CountryMissingFromTheCatalogIsKeptOnApply) {
  g_world.teams[2].country = 123;
  Open();
  ClickRow(2);
  EXPECT_EQ(form.ComboSelection(IDC_TEAM_COUNTRY), -1);
  EXPECT_EQ(form.text(IDC_TEAM_COUNTRY), "123");
  form.Type(kTeamMoney, "70");
  Press(IDC_TEAM_APPLY);
  EXPECT_EQ(g_world.teams[2].country, 123);
  EXPECT_EQ(g_world.teams[2].money, 70);
  form.Pick(IDC_TEAM_COUNTRY, 0);  // an explicit pick does replace it
  Press(IDC_TEAM_APPLY);
  EXPECT_EQ(g_world.teams[2].country, 86);
}

TEST_F(TeamDialogTest, DeletingTeamZeroOfThreeClearsItsHexesAndShiftsTheRest) {
  Cell& own0 = g_world.grid[0][0];
  own0.owner = 0;
  own0.hasUnit = 1;
  own0.unit.unitClass = 3;
  own0.unit.general = 1;
  own0.hasBuilding = 1;
  own0.building.buildingCode = 10101;
  g_world.grid[1][0].owner = 1;
  g_world.grid[2][0].owner = 2;
  Cell& unowned = g_world.grid[3][0];
  unowned.hasUnit = 1;
  unowned.unit.unitClass = 5;
  Open();
  ClickRow(0);
  Press(IDC_TEAM_DELETE);
  EXPECT_EQ(own0.owner, kUnownedTeam);
  EXPECT_EQ(own0.hasUnit, 0);
  EXPECT_EQ(own0.unit.unitClass, 0);
  EXPECT_EQ(own0.unit.general, kNoGeneral);
  EXPECT_EQ(own0.hasBuilding, 0);
  EXPECT_EQ(own0.building.buildingCode, 0);
  EXPECT_EQ(g_world.grid[1][0].owner, 0);
  EXPECT_EQ(g_world.grid[2][0].owner, 1);
  EXPECT_EQ(unowned.owner, kUnownedTeam);
  EXPECT_EQ(unowned.unit.unitClass, 5);
  EXPECT_EQ(g_world.teamCount, 2);
  EXPECT_EQ(g_world.teams[0].country, 1);
  EXPECT_EQ(rows(), (Rows{"美国", "英国"}));
}

// The list keeps its mark on a deleted row's index, where it names the next team; after
// 删除 nothing may still be marked or shown, so 确定 and 删除 then change nothing.
TEST_F(TeamDialogTest, AfterDeleteNoTeamIsPickedSoApplyAndDeleteChangeNothing) {
  const TeamRecord start[3] = {g_world.teams[0], g_world.teams[1], g_world.teams[2]};
  for (int picked = 0; picked < 3; ++picked) {
    SCOPED_TRACE(picked);
    for (int t = 0; t < 3; ++t) g_world.teams[t] = start[t];
    g_world.teamCount = 3;
    FakeForm list;
    TeamDialog team;
    list.onListChange = [&](int row) { team.OnListItemChanged(list, row); };
    team.OnInit(list);
    list.ClickRow(IDC_TEAM_LIST, picked);
    team.OnCommand(list, IDC_TEAM_DELETE, Notice::kClicked);
    ASSERT_EQ(g_world.teamCount, 2);
    EXPECT_EQ(list.ListSelectionMark(IDC_TEAM_LIST), -1);
    EXPECT_EQ(team.shownTeam(), -1);
    EXPECT_EQ(list.ComboSelection(IDC_TEAM_COUNTRY), -1);
    EXPECT_EQ(list.text(IDC_TEAM_COUNTRY), "");
    for (int id : {kTeamMoney, kTeamVictory, kTeamUnitBonus, kTeamTaxRate, kTeamTechFirst + 11,
                   kTeamBombFirst + 2})
      EXPECT_EQ(list.text(id), "0") << id;
    const TeamRecord left[2] = {g_world.teams[0], g_world.teams[1]};
    team.OnCommand(list, IDC_TEAM_APPLY, Notice::kClicked);
    team.OnCommand(list, IDC_TEAM_DELETE, Notice::kClicked);
    EXPECT_EQ(g_world.teamCount, 2);
    EXPECT_EQ(memcmp(left, g_world.teams, sizeof left), 0);
    EXPECT_EQ(list.at(IDC_TEAM_LIST).rows.size(), 2u);
  }
}

// A focus change alone shows another team while the mark stays put: the form's values then
// belong to no marked team.
TEST_F(TeamDialogTest, ApplyAndDeleteNeedTheMarkedTeamToBeTheShownOne) {
  Open();
  ClickRow(0);
  dialog.OnListItemChanged(form, 1);  // the focus moves to row 1, the mark stays on row 0
  ASSERT_EQ(form.ListSelectionMark(IDC_TEAM_LIST), 0);
  const TeamRecord before[3] = {g_world.teams[0], g_world.teams[1], g_world.teams[2]};
  Press(IDC_TEAM_APPLY);
  Press(IDC_TEAM_DELETE);
  EXPECT_EQ(g_world.teamCount, 3);
  EXPECT_EQ(memcmp(before, g_world.teams, sizeof before), 0);
  ClickRow(1);  // picking the shown team makes both work again
  form.Type(kTeamMoney, "9");
  Press(IDC_TEAM_APPLY);
  EXPECT_EQ(g_world.teams[1].money, 9);
  Press(IDC_TEAM_DELETE);
  EXPECT_EQ(g_world.teamCount, 2);
}

TEST_F(TeamDialogTest, ColourIsWrittenAtOnceWithoutApply) {
  Open();
  ClickRow(2);
  form.colourAnswer = 0x123456;
  Press(IDC_TEAM_SWATCH);
  EXPECT_EQ(form.colourRequests, (std::vector<uint32_t>{0xCC0000}));
  EXPECT_EQ(g_world.teams[2].colour, 0x123456u);
  dialog.OnClose();
  EXPECT_EQ(g_world.teams[2].colour, 0x123456u);
}

TEST_F(TeamDialogTest, SwatchIsIgnoredBeforeAnyTeamIsShownAndCancelKeepsTheColour) {
  Open();
  form.colourAnswer = 0x123456;
  Press(IDC_TEAM_SWATCH);
  EXPECT_TRUE(form.colourRequests.empty());
  ClickRow(0);
  form.colourAnswer.reset();
  Press(IDC_TEAM_SWATCH);
  EXPECT_EQ(form.colourRequests.size(), 1u);
  EXPECT_EQ(g_world.teams[0].colour, 0x0000AAu);
}

TEST_F(TeamDialogTest, AfterDeletingTheShownTeamNoColourLandsOnItsSlot) {
  Open();
  ClickRow(2);
  Press(IDC_TEAM_DELETE);  // the last team: its slot is no longer counted
  form.colourAnswer = 0x123456;
  Press(IDC_TEAM_SWATCH);
  EXPECT_TRUE(form.colourRequests.empty());
  EXPECT_EQ(g_world.teams[2].colour, 0xCC0000u);
  uint32_t colour;
  EXPECT_FALSE(dialog.SwatchColour(colour));
  ClickRow(1);  // showing another team makes the swatch work again
  Press(IDC_TEAM_SWATCH);
  EXPECT_EQ(g_world.teams[1].colour, 0x123456u);
}

TEST_F(TeamDialogTest, AfterDeletingTheShownTeamItsSuccessorGetsNoColour) {
  Open();
  ClickRow(0);
  Press(IDC_TEAM_DELETE);  // slot 0 now holds the next team
  form.colourAnswer = 0x123456;
  Press(IDC_TEAM_SWATCH);
  EXPECT_TRUE(form.colourRequests.empty());
  EXPECT_EQ(g_world.teams[0].colour, 0x00BB00u);
}

TEST_F(TeamDialogTest, ListChangesForRowsThatNameNoTeamAreIgnored) {
  Open();
  ClickRow(0);
  dialog.OnListItemChanged(form, 3);
  dialog.OnListItemChanged(form, -1);
  EXPECT_EQ(dialog.shownTeam(), 0);
  // A row still listed while its team is already gone.
  g_world.teamCount = 2;
  dialog.OnListItemChanged(form, 2);
  EXPECT_EQ(dialog.shownTeam(), 0);
}

TEST_F(TeamDialogTest, AddMakesANewTeamFromTheForm) {
  g_world.teams[3].colour = 0x777777;  // leftovers of an earlier team
  g_world.teams[3].keep104[0] = 9;
  Open();
  ClickRow(1);
  form.Pick(IDC_TEAM_COUNTRY, 0);
  form.Type(kTeamOil, "33");
  Press(IDC_TEAM_ADD);
  ASSERT_EQ(g_world.teamCount, 4);
  const TeamRecord& t = g_world.teams[3];
  EXPECT_EQ(t.country, 86);
  EXPECT_EQ(t.oil, 33);
  EXPECT_EQ(t.money, 500);
  EXPECT_EQ(t.taxRate, 0.25f);
  EXPECT_EQ(t.techLevels[11], 6);
  EXPECT_EQ(t.colour, 0u);
  EXPECT_EQ(t.keep104[0], 0);
  EXPECT_EQ(rows(), (Rows{"中国", "美国", "英国", "中国"}));
  EXPECT_EQ(dialog.shownTeam(), 3);
  EXPECT_EQ(form.ListSelectionMark(IDC_TEAM_LIST), 3);
  EXPECT_EQ(g_world.teams[1].oil, 0);  // the team shown before is untouched
}

TEST_F(TeamDialogTest, AddWithoutACountryDoesNothing) {
  Open();
  Press(IDC_TEAM_ADD);
  EXPECT_EQ(g_world.teamCount, 3);
  EXPECT_EQ(rows().size(), 3u);
}

TEST_F(TeamDialogTest, AddRefusesA256thTeamAndNeverWritesSlot255) {
  while (g_world.teamCount < kMaxTeams) AddTestTeam(1, 0x010101);
  TeamRecord unowned = g_world.teams[kUnownedTeam];
  Open();
  form.Pick(IDC_TEAM_COUNTRY, 0);
  form.Type(kTeamMoney, "5");
  Press(IDC_TEAM_ADD);
  EXPECT_EQ(g_world.teamCount, kMaxTeams);
  EXPECT_EQ(form.warnings.size(), 1u);
  EXPECT_EQ(memcmp(&unowned, &g_world.teams[kUnownedTeam], sizeof unowned), 0);
  EXPECT_EQ(g_world.teams[kUnownedTeam].colour, 0xFFFFFFu);
}

TEST_F(TeamDialogTest, ClosingRenumbersTeamsToTheirSlots) {
  Open();
  ClickRow(0);
  Press(IDC_TEAM_DELETE);
  form.Pick(IDC_TEAM_COUNTRY, 2);
  Press(IDC_TEAM_ADD);
  EXPECT_EQ(g_world.teams[0].teamNumber, 1);  // out of step until closing
  dialog.OnClose();
  for (int t = 0; t < g_world.teamCount; ++t) EXPECT_EQ(g_world.teams[t].teamNumber, t);
}

}  // namespace
