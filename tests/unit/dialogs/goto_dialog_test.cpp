#include "dialogs/goto_dialog.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "dialogs/resource_ids.h"
#include "scenario/world_record.h"
#include "tests/support/fake_form.h"

namespace {

// The test world's range: 4 x 3 hexes at global (10, 198) of a 300-column world.
class GoToDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    LoadTestCatalogs();
    ResetTestWorld();
    before.assign(reinterpret_cast<const uint8_t*>(&g_world.grid[0][0]),
                  reinterpret_cast<const uint8_t*>(&g_world.grid[4][0]));
  }
  // Types text and presses 确定: whether the dialog ends.
  bool Confirm(GoToDialog& dialog, const std::string& text) {
    form.Type(IDC_GOTO_TEXT, text);
    return dialog.OnCommand(form, IDC_GOTO_APPLY, Notice::kClicked);
  }
  bool GridUnchanged() const {
    return memcmp(before.data(), &g_world.grid[0][0], before.size()) == 0;
  }

  FakeForm form;
  std::vector<uint8_t> before;
};

TEST_F(GoToDialogTest, OpensEmpty) {
  GoToDialog dialog(CurrentRange(), g_world.worldWidth);
  form.SetText(IDC_GOTO_TEXT, "left over");
  dialog.OnInit(form);
  EXPECT_EQ(form.text(IDC_GOTO_TEXT), "");
  EXPECT_FALSE(dialog.chosen());
}

TEST_F(GoToDialogTest, AHexOfTheRangeEndsTheDialogWithIt) {
  {
    GoToDialog dialog(CurrentRange(), g_world.worldWidth);
    dialog.OnInit(form);
    ASSERT_TRUE(Confirm(dialog, std::to_string(GlobalIndex(3, 2))));
    EXPECT_EQ(dialog.chosen(), (GridHex{3, 2}));
  }
  {
    GoToDialog dialog(CurrentRange(), g_world.worldWidth);
    dialog.OnInit(form);
    ASSERT_TRUE(Confirm(dialog, " 11 ，199 "));
    EXPECT_EQ(dialog.chosen(), (GridHex{1, 1}));
  }
  EXPECT_TRUE(form.warnings.empty());
  EXPECT_TRUE(GridUnchanged());
}

TEST_F(GoToDialogTest, AnythingElseWarnsAndTheDialogStaysUntilAHexIsNamed) {
  GoToDialog dialog(CurrentRange(), g_world.worldWidth);
  dialog.OnInit(form);
  const std::vector<std::string> refused = {"",
                                            "abc",
                                            "-5",
                                            "9,198",
                                            "14,198",
                                            "10,201",
                                            std::to_string(GlobalIndex(0, 3)),
                                            "99999999999999999999"};
  for (const std::string& text : refused) {
    SCOPED_TRACE(text);
    EXPECT_FALSE(Confirm(dialog, text));
    EXPECT_FALSE(dialog.chosen());
    EXPECT_EQ(form.text(IDC_GOTO_TEXT), text);  // kept for the user to correct
  }
  ASSERT_EQ(form.warnings.size(), refused.size());
  for (size_t i = 0; i < refused.size(); ++i) {
    EXPECT_EQ(form.warnings[i], "该格子不在地图范围内。");
    EXPECT_EQ(form.warningCaptions[i], "定位格子");
  }
  // Other commands do nothing.
  form.Type(IDC_GOTO_TEXT, "10,198");
  EXPECT_FALSE(dialog.OnCommand(form, IDC_GOTO_TEXT, Notice::kOther));
  EXPECT_FALSE(dialog.chosen());
  EXPECT_EQ(form.warnings.size(), refused.size());
  // A hex named after a refusal ends it.
  EXPECT_TRUE(Confirm(dialog, "10,198"));
  EXPECT_EQ(dialog.chosen(), (GridHex{0, 0}));
  EXPECT_TRUE(GridUnchanged());
}

}  // namespace
