#include "dialogs/hex_dialog.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "dialogs/resource_ids.h"
#include "scenario/world_record.h"
#include "tests/support/fake_form.h"

namespace {

constexpr int kX = 2, kY = 1;

int UnitBox(int i) { return kHexUnitBoxBase + i; }
int BuildingBox(int j) { return kHexBuildingBoxBase + j; }

class HexDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    LoadTestCatalogs();
    ResetTestWorld();
    AddTestTeam(86, 0x0000FF);
    AddTestTeam(1, 0x00FF00);
    Cell& c = cell();
    c.owner = 1;
    c.hasUnit = 1;
    c.unit.position = 0x1234;
    c.unit.unitClass = 3;
    c.unit.unitLevel = 2;
    c.unit.general = 0xFF;
    c.unit.keep27 = 0xAB;
    c.hasBuilding = 1;
    c.building.buildingCode = 10101;
    c.building.keep14[1] = 0x77;
    c.worldInfo.terrain = 4;
  }
  Cell& cell() { return g_world.grid[kX][kY]; }
  void Apply(HexDialog& dialog) { dialog.OnCommand(form, IDC_HEX_APPLY, Notice::kClicked); }

  FakeForm form;
};

TEST_F(HexDialogTest, OpeningShowsEveryByteAndTheTeams) {
  HexDialog dialog(kX, kY);
  dialog.OnInit(form);
  EXPECT_EQ(form.text(UnitBox(0)), "34");
  EXPECT_EQ(form.text(UnitBox(1)), "12");
  EXPECT_EQ(form.text(UnitBox(2)), "03");
  EXPECT_EQ(form.text(UnitBox(12)), "FF");
  EXPECT_EQ(form.text(UnitBox(27)), "AB");
  EXPECT_EQ(form.text(BuildingBox(6)), "75");  // 10101 = 0x2775, low byte first
  EXPECT_EQ(form.text(BuildingBox(7)), "27");
  EXPECT_EQ(form.text(BuildingBox(15)), "77");
  EXPECT_EQ(form.at(IDC_HEX_OWNER).items, (std::vector<std::string>{"255:无", "0:中国", "1:美国"}));
  EXPECT_EQ(form.ComboSelection(IDC_HEX_OWNER), 2);
}

TEST_F(HexDialogTest, BoxesParseAsHexadecimal) {
  HexDialog dialog(kX, kY);
  dialog.OnInit(form);
  form.Type(UnitBox(13), "g7");
  form.Type(UnitBox(14), "7g");
  form.Type(UnitBox(16), "abc");
  form.Type(BuildingBox(9), "1FF");
  form.Type(BuildingBox(10), "");
  Apply(dialog);
  EXPECT_EQ(cell().unit.movement, 0x00);
  EXPECT_EQ(cell().unit.morale, 0x07);
  EXPECT_EQ(cell().unit.earlyPolicy, 0xBC);
  EXPECT_EQ(cell().building.industry, 0xFF);
  EXPECT_EQ(cell().building.airport, 0x00);
}

TEST_F(HexDialogTest, ClearingTheClassClearsHasUnit) {
  HexDialog dialog(kX, kY);
  dialog.OnInit(form);
  form.Type(UnitBox(2), "00");
  Apply(dialog);
  EXPECT_EQ(cell().hasUnit, 0);
  EXPECT_EQ(cell().unit.unitLevel, 2);  // the bytes stay until normalisation
  NormaliseCell(kX, kY);
  EXPECT_EQ(cell().unit.unitLevel, 0);
  EXPECT_EQ(cell().unit.general, kNoGeneral);
}

TEST_F(HexDialogTest, BuildingFlagFollowsFacilityCodeAndDefence) {
  Cell& c = cell();
  memset(&c.building, 0, sizeof c.building);
  c.hasBuilding = 0;
  {
    HexDialog dialog(kX, kY);
    dialog.OnInit(form);
    form.Type(BuildingBox(13), "05");  // defence only
    Apply(dialog);
    EXPECT_EQ(c.hasBuilding, 1);
  }
  {
    HexDialog dialog(kX, kY);
    dialog.OnInit(form);
    form.Type(BuildingBox(13), "00");
    form.Type(BuildingBox(7), "01");  // high byte of the building code
    Apply(dialog);
    EXPECT_EQ(c.hasBuilding, 1);
    EXPECT_EQ(c.building.buildingCode, 0x0100);
  }
  {
    HexDialog dialog(kX, kY);
    dialog.OnInit(form);
    form.Type(BuildingBox(7), "00");
    form.Type(BuildingBox(2), "0C");  // a city name alone is no building
    Apply(dialog);
    EXPECT_EQ(c.hasBuilding, 0);
  }
}

TEST_F(HexDialogTest, ApplyWithoutChangesRecomputesOnlyFlagsAndOwner) {
  Cell& c = cell();
  c.unit.unitClass = 0;  // as loaded: a record on the hex but no class
  c.hasUnit = 1;
  Cell before = c;
  HexDialog dialog(kX, kY);
  dialog.OnInit(form);
  Apply(dialog);
  EXPECT_EQ(memcmp(&before.unit, &c.unit, sizeof c.unit), 0);
  EXPECT_EQ(memcmp(&before.building, &c.building, sizeof c.building), 0);
  EXPECT_EQ(c.hasUnit, 0);
  EXPECT_EQ(c.hasBuilding, 1);
  EXPECT_EQ(c.owner, 1);
  EXPECT_EQ(c.globalX, before.globalX);
  EXPECT_EQ(c.globalY, before.globalY);
  EXPECT_EQ(c.worldInfo.terrain, 4);
}

TEST_F(HexDialogTest, OwnerComesFromTheTeamCombo) {
  HexDialog dialog(kX, kY);
  dialog.OnInit(form);
  form.Pick(IDC_HEX_OWNER, 0);
  Apply(dialog);
  EXPECT_EQ(cell().owner, kUnownedTeam);
  form.Pick(IDC_HEX_OWNER, 1);
  Apply(dialog);
  EXPECT_EQ(cell().owner, 0);
  form.Type(IDC_HEX_OWNER, "300");
  Apply(dialog);
  EXPECT_EQ(cell().owner, 44);  // typed numbers wrap at 8 bits
}

TEST_F(HexDialogTest, OwnerNamingNoTeamSurvivesApply) {
  cell().owner = 7;
  HexDialog dialog(kX, kY);
  dialog.OnInit(form);
  EXPECT_EQ(form.ComboSelection(IDC_HEX_OWNER), -1);
  Apply(dialog);
  EXPECT_EQ(cell().owner, 7);
}

}  // namespace
