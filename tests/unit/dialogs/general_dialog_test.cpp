#include "dialogs/general_dialog.h"

#include <gtest/gtest.h>

#include <vector>

#include "dialogs/resource_ids.h"
#include "scenario/world_record.h"
#include "tests/support/fake_form.h"

namespace {

class GeneralDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    LoadTestCatalogs();
    ResetTestWorld();
    ClearUnit(unit);
    unit.unitClass = 3;
    g_world.generals[0] = {7, 1};  // 张三, rank 1
    g_world.generals[1] = {3, 0};  // 李四, no rank
    g_world.generals[2] = {7, 2};  // 张三 again, rank 2
    g_world.generalCount = 3;
  }
  void Open() { dialog.OnInit(form); }
  void PickCurrent(int item) {
    form.Pick(IDC_GENERAL_CURRENT, item);
    dialog.OnCommand(form, IDC_GENERAL_CURRENT, Notice::kSelectionChanged);
  }
  void PickCommander(int item) {
    form.Pick(IDC_GENERAL_COMMANDER, item);
    dialog.OnCommand(form, IDC_GENERAL_COMMANDER, Notice::kSelectionChanged);
  }
  void Attach() { dialog.OnCommand(form, IDC_GENERAL_ATTACH, Notice::kClicked); }
  void Add() { dialog.OnCommand(form, IDC_GENERAL_ADD, Notice::kClicked); }

  UnitRecord unit;
  FakeForm form;
  GeneralDialog dialog{unit};
};

TEST_F(GeneralDialogTest, OpeningListsGeneralsCommandersAndRanks) {
  Open();
  EXPECT_EQ(form.at(IDC_GENERAL_CURRENT).items,
            (std::vector<std::string>{"无", "7:张三", "3:李四", "7:张三"}));
  EXPECT_EQ(form.at(IDC_GENERAL_COMMANDER).items, (std::vector<std::string>{"7:张三", "3:李四"}));
  EXPECT_EQ(form.at(IDC_GENERAL_RANK).items, (std::vector<std::string>{"1:50", "2:20"}));
  EXPECT_EQ(form.ComboSelection(IDC_GENERAL_COMMANDER), -1);
}

TEST_F(GeneralDialogTest, UnitWithoutGeneralOpensOnNoneWithWhiteSquare) {
  Open();
  EXPECT_EQ(form.ComboSelection(IDC_GENERAL_CURRENT), 0);
  EXPECT_EQ(form.text(IDC_GENERAL_RANKTEXT), "无");
  EXPECT_EQ(dialog.currentPortrait(), 0);
  EXPECT_EQ(dialog.candidatePortrait(), 0);
  EXPECT_GE(form.at(0).repaints, 1);
}

TEST_F(GeneralDialogTest, OwnEntryIsSelectedAmongDuplicates) {
  unit.general = 2;
  Open();
  EXPECT_EQ(form.ComboSelection(IDC_GENERAL_CURRENT), 3);
  EXPECT_EQ(form.text(IDC_GENERAL_RANKTEXT), "2:20");
  EXPECT_EQ(dialog.currentPortrait(), 1);  // 张三's slot
}

TEST_F(GeneralDialogTest, RankZeroShowsNoneAtOpeningButAPairWhenPicked) {
  unit.general = 1;
  Open();
  EXPECT_EQ(form.text(IDC_GENERAL_RANKTEXT), "无");
  PickCurrent(2);
  EXPECT_EQ(form.text(IDC_GENERAL_RANKTEXT), "0:5");
  EXPECT_EQ(dialog.currentPortrait(), 2);  // 李四's slot
  PickCurrent(0);
  EXPECT_EQ(form.text(IDC_GENERAL_RANKTEXT), "无");
  EXPECT_EQ(dialog.currentPortrait(), 0);
}

TEST_F(GeneralDialogTest, AttachAndDetach) {
  Open();
  PickCurrent(3);
  Attach();
  EXPECT_EQ(unit.general, 2);
  PickCurrent(0);
  Attach();
  EXPECT_EQ(unit.general, kNoGeneral);
  EXPECT_EQ(g_world.generalCount, 3);  // detaching removes nothing
}

TEST_F(GeneralDialogTest, AddAppendsCommanderWithRankAndDoesNotAttach) {
  unit.general = 0;
  Open();
  PickCommander(1);
  form.Pick(IDC_GENERAL_RANK, 1);
  Add();
  ASSERT_EQ(g_world.generalCount, 4);
  EXPECT_EQ(g_world.generals[3].commander, 3);
  EXPECT_EQ(g_world.generals[3].rank, 2);
  EXPECT_EQ(form.at(IDC_GENERAL_CURRENT).items.back(), "3:李四");
  EXPECT_EQ(unit.general, 0);
  Attach();  // the selection in 名字 is still the unit's own entry
  EXPECT_EQ(unit.general, 0);
}

TEST_F(GeneralDialogTest, AddWithoutRankStoresRankZero) {
  Open();
  PickCommander(0);
  Add();
  ASSERT_EQ(g_world.generalCount, 4);
  EXPECT_EQ(g_world.generals[3].commander, 7);
  EXPECT_EQ(g_world.generals[3].rank, 0);
  PickCurrent(4);
  EXPECT_EQ(form.text(IDC_GENERAL_RANKTEXT), "0:5");
  Attach();
  EXPECT_EQ(unit.general, 3);
}

TEST_F(GeneralDialogTest, AddWithoutCommanderWarnsAndChangesNothing) {
  Open();
  form.Type(IDC_GENERAL_COMMANDER, "7");  // typed, not picked
  Add();
  EXPECT_EQ(form.warnings, (std::vector<std::string>{"请选择要加入地图的将军！"}));
  EXPECT_EQ(form.warningCaptions, (std::vector<std::string>{"提示"}));
  EXPECT_EQ(g_world.generalCount, 3);
  EXPECT_EQ(form.at(IDC_GENERAL_CURRENT).items.size(), 4u);
}

TEST_F(GeneralDialogTest, AddToAFullListWarnsAndWritesNothing) {
  g_world.generalCount = kMaxGenerals;
  unit.general = 1;
  Open();
  PickCommander(0);
  Add();
  ASSERT_EQ(form.warnings.size(), 1u);
  EXPECT_EQ(g_world.generalCount, kMaxGenerals);
  g_world.generalCount = 3;
}

TEST_F(GeneralDialogTest, OnlyTheFirst255GeneralsCanBeAttached) {
  for (int i = 3; i < 300; ++i) g_world.generals[i] = {3, 1};
  g_world.generalCount = 300;
  unit.general = 4;
  Open();
  PickCurrent(255);  // entry 254, the last a unit can name
  Attach();
  EXPECT_EQ(unit.general, 254);
  EXPECT_TRUE(form.warnings.empty());
  PickCurrent(256);  // entry 255 would read as "none"
  Attach();
  EXPECT_EQ(unit.general, 254);
  EXPECT_EQ(form.warnings.size(), 1u);
  PickCurrent(300);
  Attach();
  EXPECT_EQ(unit.general, 254);
  EXPECT_EQ(form.text(IDC_GENERAL_RANKTEXT), "1:50");  // still shown
}

TEST_F(GeneralDialogTest, IndexNamingNoEntryOpensUnselectedAndDetaches) {
  unit.general = 9;
  Open();
  EXPECT_EQ(form.ComboSelection(IDC_GENERAL_CURRENT), -1);
  EXPECT_EQ(form.text(IDC_GENERAL_RANKTEXT), "无");
  EXPECT_EQ(dialog.currentPortrait(), 0);
  Attach();
  EXPECT_EQ(unit.general, kNoGeneral);
}

}  // namespace
