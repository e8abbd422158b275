#include "dialogs/unit_dialog.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "catalogs/catalogs.h"
#include "dialogs/resource_ids.h"
#include "scenario/world_record.h"
#include "tests/support/fake_form.h"

namespace {

class UnitDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    LoadTestCatalogs();
    ResetTestWorld();
    ClearUnit(unit);
    unit.unitClass = 3;  // 100005 步兵, HP 10
    unit.unitLevel = 2;
    unit.hp = 8;
    unit.maxHp = 10;
  }
  void Open() { dialog.OnInit(form); }
  void PickType(int item) {
    form.Pick(IDC_UNIT_TYPE, item);
    dialog.OnCommand(form, IDC_UNIT_TYPE, Notice::kSelectionChanged);
  }
  void Apply() { dialog.OnCommand(form, IDC_UNIT_APPLY, Notice::kClicked); }
  void AttachGeneral(uint16_t commander, uint16_t rank) {
    g_world.generals[g_world.generalCount] = {commander, rank};
    unit.general = uint8_t(g_world.generalCount++);
  }

  UnitRecord unit;
  FakeForm form;
  UnitDialog dialog{unit};
};

TEST_F(UnitDialogTest, OpeningListsTypesAndShowsTheRecord) {
  unit.buildTime = 3;
  unit.movement = 4;
  unit.earlyPolicy = 3;
  unit.latePolicy = 4;
  unit.direction = 2;
  unit.attack = 1;
  unit.changeTurn = 20;
  Open();
  EXPECT_EQ(form.at(IDC_UNIT_TYPE).items,
            (std::vector<std::string>{"0:无", "100005:步兵", "100007:坦克", "100009:巨炮"}));
  EXPECT_EQ(form.ComboSelection(IDC_UNIT_TYPE), 1);
  EXPECT_EQ(dialog.type(), 100005);
  EXPECT_EQ(form.text(IDC_UNIT_HP), "8");
  EXPECT_EQ(form.text(IDC_UNIT_MAXHP), "10");
  EXPECT_EQ(form.text(IDC_UNIT_GENERAL), "无");
  EXPECT_EQ(form.text(IDC_UNIT_BUILDTIME), "3");
  EXPECT_EQ(form.text(IDC_UNIT_EARLYPOLICY), "3:防守");
  EXPECT_EQ(form.text(IDC_UNIT_LATEPOLICY), "4:撤退");
  EXPECT_EQ(form.text(IDC_UNIT_DIRECTION), "2:上");
  EXPECT_EQ(form.text(IDC_UNIT_ATTACK), "1:攻击");
  EXPECT_EQ(form.text(IDC_UNIT_CHANGETURN), "20");
}

TEST_F(UnitDialogTest, StoredMaxHpZeroClampsHpAtOpeningAndOnApply) {
  unit.hp = 80;
  unit.maxHp = 0;
  Open();
  EXPECT_EQ(unit.hp, 0);
  EXPECT_EQ(form.text(IDC_UNIT_HP), "80");  // the box keeps the value read
  form.Type(IDC_UNIT_HP, "55");
  Apply();
  EXPECT_EQ(unit.hp, 0);
  EXPECT_EQ(form.text(IDC_UNIT_HP), "0");
}

TEST_F(UnitDialogTest, HpOfZeroOrEmptyRestoresFullStrengthAndAboveIsClamped) {
  Open();
  form.Type(IDC_UNIT_HP, "0");
  Apply();
  EXPECT_EQ(unit.hp, 10);
  EXPECT_EQ(form.text(IDC_UNIT_HP), "10");
  unit.hp = 3;
  form.Type(IDC_UNIT_HP, "");
  Apply();
  EXPECT_EQ(unit.hp, 10);
  form.Type(IDC_UNIT_HP, "65541");  // wraps to 5, under the maximum
  Apply();
  EXPECT_EQ(unit.hp, 5);
  form.Type(IDC_UNIT_HP, "999");
  Apply();
  EXPECT_EQ(unit.hp, 10);
}

TEST_F(UnitDialogTest, NumberFieldsWrapAtTheirWidth) {
  Open();
  form.Type(IDC_UNIT_MOVEMENT, "300");
  form.Type(IDC_UNIT_BUILDTIME, "65536");
  form.Type(IDC_UNIT_MORALE, "abc");
  form.Type(IDC_UNIT_CHANGETURN, "70000");
  form.Type(IDC_UNIT_TARGET, "12x");
  form.Type(IDC_UNIT_DIALOGUE, "257");
  Apply();
  EXPECT_EQ(unit.movement, 44);
  EXPECT_EQ(unit.buildTime, 0);
  EXPECT_EQ(unit.morale, 0);
  EXPECT_EQ(unit.changeTurn, 70000 - 65536);
  EXPECT_EQ(unit.target, 12);
  EXPECT_EQ(unit.dialogue, 1);
}

TEST_F(UnitDialogTest, PolicyComboTakesItemsAndTypedNumbers) {
  Open();
  form.Pick(IDC_UNIT_EARLYPOLICY, 2);
  form.Type(IDC_UNIT_LATEPOLICY, "9");
  form.Pick(IDC_UNIT_ATTACK, 0);
  form.Pick(IDC_UNIT_DIRECTION, 4);
  Apply();
  EXPECT_EQ(unit.earlyPolicy, 2);
  EXPECT_EQ(unit.latePolicy, 9);
  EXPECT_EQ(unit.attack, 0);
  EXPECT_EQ(unit.direction, 4);
}

TEST_F(UnitDialogTest, StoredValuesWithoutComboItemSurviveApply) {
  unit.direction = 7;
  unit.earlyPolicy = 200;
  unit.attack = 2;
  Open();
  EXPECT_EQ(form.ComboSelection(IDC_UNIT_DIRECTION), -1);
  EXPECT_EQ(form.text(IDC_UNIT_DIRECTION), "7");
  Apply();
  EXPECT_EQ(unit.direction, 7);
  EXPECT_EQ(unit.earlyPolicy, 200);
  EXPECT_EQ(unit.attack, 2);
}

TEST_F(UnitDialogTest, TypeChangeResetsMobilityAndHitPointsButNotTheTypeBytes) {
  unit.movement = 1;
  Open();
  PickType(2);  // 100007 坦克
  EXPECT_EQ(dialog.type(), 100007);
  EXPECT_EQ(form.text(IDC_UNIT_MOVEMENT), "6");
  EXPECT_EQ(unit.movement, 1);  // written only by 确定
  EXPECT_EQ(unit.maxHp, 300);
  EXPECT_EQ(unit.hp, 300);
  EXPECT_EQ(form.text(IDC_UNIT_MAXHP), "300");
  EXPECT_EQ(form.text(IDC_UNIT_HP), "300");
  EXPECT_EQ(unit.unitClass, 3);
  Apply();
  EXPECT_EQ(unit.unitClass, 5);
  EXPECT_EQ(unit.unitLevel, 1);
  EXPECT_EQ(unit.movement, 6);
}

TEST_F(UnitDialogTest, PickingNoneDeletesTheUnitAtNormalisation) {
  Cell& cell = g_world.grid[1][2];
  cell.unit = unit;
  cell.unit.general = 0;
  cell.hasUnit = 1;
  g_world.generals[0] = {7, 1};
  g_world.generalCount = 1;
  UnitDialog onCell(cell.unit);
  onCell.OnInit(form);
  form.Pick(IDC_UNIT_TYPE, 0);
  onCell.OnCommand(form, IDC_UNIT_TYPE, Notice::kSelectionChanged);
  onCell.OnCommand(form, IDC_UNIT_APPLY, Notice::kClicked);
  EXPECT_EQ(cell.unit.unitClass, 0);
  EXPECT_EQ(cell.unit.unitLevel, 0);
  NormaliseCell(1, 2);
  EXPECT_EQ(cell.hasUnit, 0);
  EXPECT_EQ(cell.unit.general, kNoGeneral);
  EXPECT_EQ(cell.unit.hp, 0);
}

TEST_F(UnitDialogTest, GeneralAddsRankLifeToMaximumIn16Bits) {
  AttachGeneral(7, 1);  // 张三, rank 1: +50
  Open();
  EXPECT_EQ(form.text(IDC_UNIT_GENERAL), "张三");
  EXPECT_EQ(unit.maxHp, 60);
  EXPECT_EQ(form.text(IDC_UNIT_MAXHP), "60");
  PickType(3);  // 巨炮, HP 65530: 65580 wraps to 44
  EXPECT_EQ(unit.maxHp, 44);
  EXPECT_EQ(unit.hp, 44);
}

TEST_F(UnitDialogTest, GeneralIndexPastTheListCountsAsNone) {
  unit.general = 5;
  g_world.generalCount = 1;
  unit.maxHp = 77;
  Open();
  EXPECT_EQ(form.text(IDC_UNIT_GENERAL), "无");
  EXPECT_EQ(unit.maxHp, 77);
  EXPECT_EQ(unit.general, 5);  // only the general editor changes it
}

TEST_F(UnitDialogTest, TypeUnknownToTheCatalogSurvivesApply) {
  unit.unitClass = 9;
  unit.unitLevel = 9;
  unit.maxHp = 120;
  unit.hp = 100;
  AttachGeneral(3, 2);
  Open();
  EXPECT_TRUE(dialog.typeUnknown());
  EXPECT_EQ(form.ComboSelection(IDC_UNIT_TYPE), -1);
  EXPECT_NE(form.text(IDC_UNIT_TYPE), "");
  EXPECT_EQ(unit.maxHp, 120);  // no catalog figure to rebuild it from
  EXPECT_EQ(form.text(IDC_UNIT_MAXHP), "120");
  Apply();
  EXPECT_EQ(unit.unitClass, 9);
  EXPECT_EQ(unit.unitLevel, 9);
  EXPECT_EQ(unit.hp, 100);
  PickType(1);  // an explicit pick replaces it
  Apply();
  EXPECT_EQ(unit.unitClass, 3);
  EXPECT_EQ(unit.unitLevel, 2);
}

// A catalog whose slots of category * 100 + level hold armies of other pairs: 1/105 shares
// 2/5's slot, and 100013 listed again as 6/6 leaves 4/4's slot behind. A unit stored with such
// a pair is of no known type and 确定 keeps its bytes; a record without a category never
// becomes the army of its level's slot.
TEST_F(UnitDialogTest, ArmyOfAnotherPairInTheTypeSlotIsNoTypeOfTheUnit) {
  LoadCatalogText(CatalogKind::kArmy,
                  R"([{"Id": 100011, "Army": 2, "Level": 5, "HP": 40, "OName": "乙"},
                                         {"Id": 100012, "Army": 1, "Level": 105, "HP": 70, "OName": "甲"},
                                         {"Id": 100013, "Army": 4, "Level": 4, "HP": 20, "OName": "丙"},
                                         {"Id": 100013, "Army": 6, "Level": 6, "HP": 20, "OName": "丙"},
                                         {"Id": 100014, "Army": 1, "Level": 5, "HP": 90, "OName": "丁"}])");
  const struct {
    uint8_t category, level;
    bool unknown;
    int32_t type;
    uint8_t categoryAfter, levelAfter;
  } cases[] = {{2, 5, true, 0, 2, 5},
               {4, 4, true, 0, 4, 4},
               {1, 105, false, 100012, 1, 105},
               {6, 6, false, 100013, 6, 6},
               {0, 105, false, 0, 0, 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.category) + "/" + std::to_string(c.level));
    UnitRecord stored;
    ClearUnit(stored);
    stored.unitClass = c.category;
    stored.unitLevel = c.level;
    stored.hp = 15;
    stored.maxHp = 33;
    stored.movement = 2;
    stored.morale = 50;
    UnitRecord record = stored;
    FakeForm fields;
    UnitDialog editor(record);
    editor.OnInit(fields);
    EXPECT_EQ(editor.typeUnknown(), c.unknown);
    EXPECT_EQ(editor.type(), c.type);
    if (c.unknown) {
      EXPECT_EQ(fields.ComboSelection(IDC_UNIT_TYPE), -1);
    }
    editor.OnCommand(fields, IDC_UNIT_APPLY, Notice::kClicked);
    EXPECT_EQ(record.unitClass, c.categoryAfter);
    EXPECT_EQ(record.unitLevel, c.levelAfter);
    if (c.unknown) {
      EXPECT_EQ(memcmp(&stored, &record, sizeof record), 0);
    }
  }
}

TEST_F(UnitDialogTest, UntouchedFieldsAndUnnamedBytesStayAsTheyWere) {
  unit.position = 4321;
  unit.keep8[0] = 0xAA;
  unit.keep15 = 0xBB;
  unit.keep21 = 0xCC;
  unit.keep24[1] = 0xDD;
  unit.keep27 = 0xEE;
  unit.morale = 90;
  unit.dialogue = 4;
  UnitRecord before = unit;
  Open();
  Apply();
  EXPECT_EQ(memcmp(&before, &unit, sizeof unit), 0);
}

}  // namespace
