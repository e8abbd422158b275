#include "dialogs/problems_dialog.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "dialogs/resource_ids.h"
#include "scenario/world_record.h"
#include "tests/support/battle_fixture.h"
#include "tests/support/fake_form.h"

namespace {

using Rows = std::vector<std::string>;

// The test world (4 x 3 at global (10, 198), 300 columns) with two teams and three problems:
// owner 7 on local (3, 0), a unit of class 0 on local (1, 2), general 0 of an unknown
// commander.
const char kOwnerRow[] = "全局 (13, 198) 编号 59413：归属 7 不是任何军团（共 2 个军团）";
const char kClassZeroRow[] = "全局 (11, 200) 编号 60011：部队的兵种类别为 0，下次规范化时会被删除";
const char kGeneralRow[] = "将军 #0：统帅 8 不在将军目录中";

class ProblemsDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    LoadTestCatalogs();
    ResetTestWorld();
    AddTestTeam(86, 0x0000AA);
    AddTestTeam(1, 0x00BB00);
    g_world.grid[3][0].owner = 7;
    g_world.grid[1][2].hasUnit = 1;
    g_world.grid[1][2].unit.position = uint16_t(GlobalIndex(1, 2));
    g_world.generals[0] = {8, 1};
    g_world.generalCount = 1;
  }
  // The report as the editor opens it: over the problems found at that moment.
  void Open() {
    dialog = std::make_unique<ProblemsDialog>(FindScenarioProblems());
    dialog->OnInit(form);
  }
  void Press(int id) { dialog->OnCommand(form, id, Notice::kClicked); }
  Rows rows() { return form.at(IDC_PROBLEMS_LIST).rows; }

  FakeForm form;
  std::unique_ptr<ProblemsDialog> dialog;
};

TEST_F(ProblemsDialogTest, OpeningListsEveryProblemWithTheCountAndNoRowPicked) {
  Open();
  EXPECT_EQ(rows(), (Rows{kOwnerRow, kClassZeroRow, kGeneralRow}));
  EXPECT_EQ(form.text(IDC_PROBLEMS_COUNT), "共 3 个问题");
  EXPECT_EQ(form.ListSelectionMark(IDC_PROBLEMS_LIST), -1);
  EXPECT_FALSE(dialog->finished());
  EXPECT_EQ(dialog->chosen(), nullptr);
}

TEST_F(ProblemsDialogTest, LocateChoosesThePickedRowsHexAndEnds) {
  Open();
  Press(IDC_PROBLEMS_LOCATE);  // nothing picked yet
  EXPECT_EQ(form.warnings, (Rows{"请先在列表中选择一个问题。"}));
  EXPECT_FALSE(dialog->finished());
  form.ClickRow(IDC_PROBLEMS_LIST, 1);
  dialog->OnCommand(form, IDC_PROBLEMS_LOCATE, Notice::kOther);  // not a click
  EXPECT_FALSE(dialog->finished());
  Press(IDC_PROBLEMS_LOCATE);
  EXPECT_TRUE(dialog->finished());
  ASSERT_NE(dialog->chosen(), nullptr);
  EXPECT_EQ(dialog->chosen()->kind, ProblemKind::kUnitClassZero);
  EXPECT_EQ(dialog->chosen()->globalX, 11);
  EXPECT_EQ(dialog->chosen()->globalY, 200);
  EXPECT_EQ(dialog->chosen()->hexIndex, 60011);
  EXPECT_EQ(form.warnings.size(), 1u);
}

TEST_F(ProblemsDialogTest, DoubleClickChoosesARowOfAHexOnly) {
  Open();
  dialog->OnRowDoubleClicked(form, -1);  // below the last row
  EXPECT_FALSE(dialog->finished());
  EXPECT_TRUE(form.warnings.empty());
  dialog->OnRowDoubleClicked(form, 2);  // the general: no hex to go to
  EXPECT_EQ(form.warnings, (Rows{"这个问题不属于某一格，无法定位。"}));
  EXPECT_FALSE(dialog->finished());
  EXPECT_EQ(dialog->chosen(), nullptr);
  dialog->OnRowDoubleClicked(form, 0);
  EXPECT_TRUE(dialog->finished());
  ASSERT_NE(dialog->chosen(), nullptr);
  EXPECT_EQ(dialog->chosen()->hexIndex, 59413);
}

TEST_F(ProblemsDialogTest, LocateOnAScenarioWideRowWarnsAndStaysOpen) {
  Open();
  form.ClickRow(IDC_PROBLEMS_LIST, 2);
  Press(IDC_PROBLEMS_LOCATE);
  EXPECT_EQ(form.warnings, (Rows{"这个问题不属于某一格，无法定位。"}));
  EXPECT_FALSE(dialog->finished());
}

// 刷新 lists the scenario as it is now: the rows, the count and what 定位 then chooses.
TEST_F(ProblemsDialogTest, RefreshLooksAgainAndChangesNothing) {
  Open();
  form.ClickRow(IDC_PROBLEMS_LIST, 0);
  g_world.grid[3][0].owner = 1;  // mended
  g_world.grid[0][1].building.facilityType = 9;
  g_world.grid[0][1].hasBuilding = 1;
  g_world.grid[0][1].building.position = uint16_t(GlobalIndex(0, 1));
  const std::vector<uint8_t> before = RecordSnapshot();
  Press(IDC_PROBLEMS_REFRESH);
  EXPECT_EQ(RecordSnapshot(), before);
  EXPECT_EQ(rows(),
            (Rows{"全局 (10, 199) 编号 59710：防空类型 9 大于 3", kClassZeroRow, kGeneralRow}));
  EXPECT_EQ(form.text(IDC_PROBLEMS_COUNT), "共 3 个问题");
  EXPECT_EQ(form.ListSelectionMark(IDC_PROBLEMS_LIST), -1);
  EXPECT_FALSE(dialog->finished());

  g_world.generals[0].commander = 7;
  const std::vector<uint8_t> mended = RecordSnapshot();
  Press(IDC_PROBLEMS_REFRESH);
  EXPECT_EQ(form.text(IDC_PROBLEMS_COUNT), "共 2 个问题");
  form.ClickRow(IDC_PROBLEMS_LIST, 0);
  Press(IDC_PROBLEMS_LOCATE);
  ASSERT_NE(dialog->chosen(), nullptr);
  EXPECT_EQ(dialog->chosen()->kind, ProblemKind::kAntiAirType);
  EXPECT_EQ(dialog->chosen()->hexIndex, 59710);
  EXPECT_EQ(RecordSnapshot(), mended);
}

TEST_F(ProblemsDialogTest, CloseEndsWithNothingChosen) {
  Open();
  form.ClickRow(IDC_PROBLEMS_LIST, 1);
  Press(IDC_PROBLEMS_CLOSE);
  EXPECT_TRUE(dialog->finished());
  EXPECT_EQ(dialog->chosen(), nullptr);
}

}  // namespace
