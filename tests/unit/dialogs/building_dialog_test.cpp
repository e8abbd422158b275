#include "dialogs/building_dialog.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "dialogs/resource_ids.h"
#include "scenario/world_record.h"
#include "tests/support/fake_form.h"

namespace {

class BuildingDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    LoadTestCatalogs();
    ResetTestWorld();
    memset(&building, 0, sizeof building);
  }
  void Open() { dialog.OnInit(form); }
  void Apply() { dialog.OnCommand(form, IDC_BUILDING_APPLY, Notice::kClicked); }

  BuildingRecord building;
  FakeForm form;
  BuildingDialog dialog{building, 60010};
};

TEST_F(BuildingDialogTest, OpeningListsCatalogsAndShowsTheRecord) {
  building.cityName = 30;
  building.buildingCode = 200;
  building.facilityType = 2;
  building.facilityLevel = 3;
  building.industry = 4;
  building.fire = 9;
  building.defence = 11;
  Open();
  EXPECT_EQ(form.at(IDC_BUILDING_CITYNAME).items,
            (std::vector<std::string>{"0 无", "12 北京", "30 上海"}));
  EXPECT_EQ(form.at(IDC_BUILDING_CODE).items,
            (std::vector<std::string>{"0:无", "10101 城市", "200 工厂"}));
  EXPECT_EQ(form.at(IDC_BUILDING_FACILITYTYPE).items,
            (std::vector<std::string>{"0:无", "1:防空机枪", "2:防空炮", "3:防空导弹"}));
  EXPECT_EQ(form.ComboSelection(IDC_BUILDING_CITYNAME), 2);
  EXPECT_EQ(form.ComboSelection(IDC_BUILDING_CODE), 2);
  EXPECT_EQ(form.ComboSelection(IDC_BUILDING_FACILITYTYPE), 2);
  EXPECT_EQ(form.text(IDC_BUILDING_HEXID), "60010");
  EXPECT_EQ(form.text(IDC_BUILDING_FACILITYLEVEL), "3");
  EXPECT_EQ(form.text(IDC_BUILDING_INDUSTRY), "4");
  EXPECT_EQ(form.text(IDC_BUILDING_FIRE), "9");
  EXPECT_EQ(form.text(IDC_BUILDING_DEFENCE), "11");
}

TEST_F(BuildingDialogTest, TypedTwelveIsStoredAsFacilityType) {
  Open();
  form.Type(IDC_BUILDING_FACILITYTYPE, "12");
  Apply();
  EXPECT_EQ(building.facilityType, 12);
}

TEST_F(BuildingDialogTest, PickedItemsGiveTheirLeadingNumber) {
  Open();
  form.Pick(IDC_BUILDING_CITYNAME, 1);  // "12 北京"
  form.Pick(IDC_BUILDING_CODE, 1);      // "10101 城市"
  form.Pick(IDC_BUILDING_FACILITYTYPE, 3);
  Apply();
  EXPECT_EQ(building.cityName, 12);
  EXPECT_EQ(building.buildingCode, 10101);
  EXPECT_EQ(building.facilityType, 3);
}

TEST_F(BuildingDialogTest, EveryEditGoesToItsOwnField) {
  Open();
  const std::vector<std::pair<int, uint8_t BuildingRecord::*>> edits = {
      {IDC_BUILDING_FACILITYLEVEL, &BuildingRecord::facilityLevel},
      {IDC_BUILDING_INDUSTRY, &BuildingRecord::industry},
      {IDC_BUILDING_AIRPORT, &BuildingRecord::airport},
      {IDC_BUILDING_MISSILE, &BuildingRecord::missile},
      {IDC_BUILDING_NUCLEAR, &BuildingRecord::nuclear},
      {IDC_BUILDING_APPEARANCE, &BuildingRecord::appearance},
      {IDC_BUILDING_FLAG, &BuildingRecord::flag},
      {IDC_BUILDING_TARGET, &BuildingRecord::target},
      {IDC_BUILDING_DIALOGUE, &BuildingRecord::dialogue},
      {IDC_BUILDING_FIRE, &BuildingRecord::fire},
      {IDC_BUILDING_DEFENCE, &BuildingRecord::defence},
  };
  for (size_t i = 0; i < edits.size(); ++i) form.Type(edits[i].first, std::to_string(10 + i));
  Apply();
  for (size_t i = 0; i < edits.size(); ++i)
    EXPECT_EQ(building.*edits[i].second, 10 + i) << "control " << edits[i].first;
}

TEST_F(BuildingDialogTest, NumbersWrapAndEmptyFieldsStoreZero) {
  building.industry = 5;
  Open();
  form.Type(IDC_BUILDING_AIRPORT, "256");
  form.Type(IDC_BUILDING_INDUSTRY, "");
  form.Type(IDC_BUILDING_CITYNAME, "65547");
  Apply();
  EXPECT_EQ(building.airport, 0);
  EXPECT_EQ(building.industry, 0);
  EXPECT_EQ(building.cityName, 11);
}

TEST_F(BuildingDialogTest, StoredValuesWithoutComboItemSurviveApply) {
  building.cityName = 999;      // not in the string table
  building.buildingCode = 777;  // not in the building catalog
  building.facilityType = 9;
  Open();
  EXPECT_EQ(form.ComboSelection(IDC_BUILDING_CODE), -1);
  Apply();
  EXPECT_EQ(building.cityName, 999);
  EXPECT_EQ(building.buildingCode, 777);
  EXPECT_EQ(building.facilityType, 9);
}

TEST_F(BuildingDialogTest, ApplyingTwiceStoresTheSameAndLeavesUnnamedBytes) {
  building.position = 1234;
  building.keep14[0] = 0x5A;
  building.keep14[1] = 0xA5;
  building.buildingCode = 10101;
  building.missile = 2;
  Open();
  form.Type(IDC_BUILDING_NUCLEAR, "3");
  Apply();
  BuildingRecord once = building;
  Apply();
  EXPECT_EQ(memcmp(&once, &building, sizeof building), 0);
  EXPECT_EQ(building.position, 1234);
  EXPECT_EQ(building.keep14[0], 0x5A);
  EXPECT_EQ(building.keep14[1], 0xA5);
  EXPECT_EQ(building.nuclear, 3);
  EXPECT_EQ(building.missile, 2);
}

}  // namespace
