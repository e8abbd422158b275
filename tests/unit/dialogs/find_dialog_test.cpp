#include "dialogs/find_dialog.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "dialogs/resource_ids.h"
#include "scenario/world_record.h"
#include "tests/support/fake_form.h"

namespace {

// The test world's 4 x 3 range, filled so that every condition has hexes that meet it and
// hexes that do not:
//   (0,0) team 0, 步兵            (1,0) team 0, 坦克, 工厂     (2,0) team 1, city 北京
//   (3,0) unowned                 (0,1) team 1, 步兵, a city of an unknown name (a problem)
//   (1,1) owner 7, no such team (a problem); the rest unowned and empty.
class FindDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    LoadTestCatalogs();
    ResetTestWorld();
    AddTestTeam(86, 0x0000FF);
    AddTestTeam(1, 0x00FF00);
    SetUnit(0, 0, 3, 2);
    Own(0, 0, 0);
    SetUnit(1, 0, 5, 1);
    SetBuilding(1, 0, 200, 0);
    Own(1, 0, 0);
    SetBuilding(2, 0, 10101, 12);
    Own(2, 0, 1);
    SetUnit(0, 1, 3, 2);
    SetBuilding(0, 1, 10105, 99);
    Own(0, 1, 1);
    Own(1, 1, 7);
    before.assign(reinterpret_cast<const uint8_t*>(&g_world.grid[0][0]),
                  reinterpret_cast<const uint8_t*>(&g_world.grid[4][0]));
    dialog.OnInit(form);
  }
  static void Own(int x, int y, uint8_t team) { g_world.grid[x][y].owner = team; }
  static void SetUnit(int x, int y, uint8_t unitClass, uint8_t level) {
    Cell& c = g_world.grid[x][y];
    c.unit.unitClass = unitClass;
    c.unit.unitLevel = level;
    NormaliseCell(x, y);
  }
  static void SetBuilding(int x, int y, uint16_t code, uint16_t cityName) {
    Cell& c = g_world.grid[x][y];
    c.building.buildingCode = code;
    c.building.cityName = cityName;
    NormaliseCell(x, y);
  }
  int Item(int id, const std::string& text) {
    for (int i = 0; i < form.ComboCount(id); ++i)
      if (form.ComboItemText(id, i) == text) return i;
    ADD_FAILURE() << "no item " << text;
    return 0;
  }
  // Sets a condition as the user would: picking an item when the text is one, else typing.
  void Set(int id, const std::string& text) {
    for (int i = 0; i < form.ComboCount(id); ++i)
      if (form.ComboItemText(id, i) == text) {
        form.Pick(id, i);
        dialog.OnCommand(form, id, Notice::kSelectionChanged);
        return;
      }
    form.Type(id, text);
    dialog.OnCommand(form, id, Notice::kOther);
  }
  std::vector<GridHex> SelectAll() {
    if (!dialog.OnCommand(form, IDC_FIND_SELECT, Notice::kClicked)) return {};
    return dialog.matches();
  }

  FakeForm form;
  FindDialog dialog;
  std::vector<uint8_t> before;
};

TEST_F(FindDialogTest, TheCombosOfferEveryTeamUnitTypeAndBuildingWithNoConditionFirst) {
  EXPECT_EQ(form.at(IDC_FIND_OWNER).items,
            (std::vector<std::string>{"不限", "255:无归属", "0:中国", "1:美国"}));
  EXPECT_EQ(form.at(IDC_FIND_UNIT).items,
            (std::vector<std::string>{"不限", "0:无部队", "302:步兵", "501:坦克", "600:巨炮"}));
  EXPECT_EQ(form.at(IDC_FIND_BUILDING).items,
            (std::vector<std::string>{"不限", "0:无建筑", "城市", "10101:城市", "200:工厂"}));
  for (int id : {IDC_FIND_OWNER, IDC_FIND_UNIT, IDC_FIND_BUILDING})
    EXPECT_EQ(form.text(id), "不限");
  EXPECT_FALSE(form.IsChecked(IDC_FIND_PROBLEMS));
  EXPECT_EQ(form.text(IDC_FIND_COUNT), "符合条件的格子：12");
}

TEST_F(FindDialogTest, ConditionsCombineAndTheCountFollowsThem) {
  struct Case {
    const char* owner;
    const char* unit;
    const char* building;
    bool problems;
    std::vector<GridHex> found;
  };
  const Case cases[] = {
      {"0:中国", "不限", "不限", false, {{0, 0}, {1, 0}}},
      {"1", "", "", false, {{2, 0}, {0, 1}}},  // typed number; empty text sets nothing
      {"255:无归属",
       "不限",
       "不限",
       false,
       {{3, 0}, {2, 1}, {3, 1}, {0, 2}, {1, 2}, {2, 2}, {3, 2}}},
      {"不限", "302:步兵", "不限", false, {{0, 0}, {0, 1}}},
      {"不限",
       "0:无部队",
       "0:无建筑",
       false,
       {{3, 0}, {1, 1}, {2, 1}, {3, 1}, {0, 2}, {1, 2}, {2, 2}, {3, 2}}},
      {"不限", "不限", "城市", false, {{2, 0}, {0, 1}}},
      {"不限", "不限", "10101:城市", false, {{2, 0}}},
      {"不限", "不限", "200", false, {{1, 0}}},
      {"1:美国", "302:步兵", "城市", false, {{0, 1}}},
      {"不限", "不限", "不限", true, {{0, 1}, {1, 1}}},
      {"不限", "0:无部队", "any text", true, {{1, 1}}},
      {"0:中国", "501:坦克", "城市", false, {}},
      {"7", "不限", "不限", false, {{1, 1}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.owner) + " / " + c.unit + " / " + c.building +
                 (c.problems ? " / problems" : ""));
    Set(IDC_FIND_OWNER, c.owner);
    Set(IDC_FIND_UNIT, c.unit);
    Set(IDC_FIND_BUILDING, c.building);
    form.SetChecked(IDC_FIND_PROBLEMS, c.problems);
    dialog.OnCommand(form, IDC_FIND_PROBLEMS, Notice::kClicked);
    EXPECT_EQ(form.text(IDC_FIND_COUNT), "符合条件的格子：" + std::to_string(c.found.size()));
    form.warnings.clear();
    EXPECT_EQ(SelectAll(), c.found);
    if (c.found.empty()) {
      EXPECT_EQ(form.warnings, std::vector<std::string>{"没有符合条件的格子。"});
      EXPECT_EQ(form.warningCaptions, std::vector<std::string>{"查找格子"});
      form.warningCaptions.clear();
    } else {
      EXPECT_TRUE(form.warnings.empty());
    }
  }
  EXPECT_EQ(memcmp(before.data(), &g_world.grid[0][0], before.size()),
            0);  // a find changes nothing
}

// Windows reports a combo's new selection before its edit field shows the new item: the
// count must follow the item picked, not the text still shown.
TEST_F(FindDialogTest, ANewSelectionCountsBeforeTheFieldShowsIt) {
  form.Pick(IDC_FIND_UNIT, Item(IDC_FIND_UNIT, "501:坦克"));
  form.at(IDC_FIND_UNIT).text = "不限";
  dialog.OnCommand(form, IDC_FIND_UNIT, Notice::kSelectionChanged);
  EXPECT_EQ(form.text(IDC_FIND_COUNT), "符合条件的格子：1");
}

}  // namespace
