#include "dialogs/building_dialog.h"

#include <string>

#include "catalogs/catalogs.h"
#include "catalogs/string_table.h"
#include "dialogs/fields.h"
#include "dialogs/resource_ids.h"

namespace {

void FillCityNames(Form& form) {
  form.ClearCombo(IDC_BUILDING_CITYNAME);
  form.AddComboItem(IDC_BUILDING_CITYNAME, "0 无");
  int count = g_strings.CityCount < kCityIdSlots ? g_strings.CityCount : kCityIdSlots;
  for (int i = 0; i < count; ++i)
    form.AddComboItem(IDC_BUILDING_CITYNAME,
                      NumberedItem(g_strings.CityIds[i], " ", CityNameOf(g_strings.CityIds[i])));
}

void FillBuildingCodes(Form& form) {
  form.ClearCombo(IDC_BUILDING_CODE);
  form.AddComboItem(IDC_BUILDING_CODE, "0:无");
  int count =
      g_catalogs.BuildingCount < kBuildingIdSlots ? g_catalogs.BuildingCount : kBuildingIdSlots;
  for (int i = 0; i < count; ++i)
    form.AddComboItem(IDC_BUILDING_CODE, NumberedItem(g_catalogs.BuildingIds[i], " ",
                                                      BuildingNameOf(g_catalogs.BuildingIds[i])));
}

void FillFacilityTypes(Form& form) {
  FillCombo(form, IDC_BUILDING_FACILITYTYPE, {"0:无", "1:防空机枪", "2:防空炮", "3:防空导弹"});
}

}  // namespace

void BuildingDialog::OnInit(Form& form) {
  form.SetText(IDC_BUILDING_HEXID, std::to_string(hexIndex_));
  WriteNumber(form, IDC_BUILDING_FACILITYLEVEL, building_.facilityLevel);
  WriteNumber(form, IDC_BUILDING_INDUSTRY, building_.industry);
  WriteNumber(form, IDC_BUILDING_AIRPORT, building_.airport);
  WriteNumber(form, IDC_BUILDING_MISSILE, building_.missile);
  WriteNumber(form, IDC_BUILDING_NUCLEAR, building_.nuclear);
  WriteNumber(form, IDC_BUILDING_APPEARANCE, building_.appearance);
  WriteNumber(form, IDC_BUILDING_FLAG, building_.flag);
  WriteNumber(form, IDC_BUILDING_TARGET, building_.target);
  WriteNumber(form, IDC_BUILDING_DIALOGUE, building_.dialogue);
  WriteNumber(form, IDC_BUILDING_FIRE, building_.fire);
  WriteNumber(form, IDC_BUILDING_DEFENCE, building_.defence);

  FillCityNames(form);
  SelectOrShowNumber(form, IDC_BUILDING_CITYNAME, building_.cityName);
  FillBuildingCodes(form);
  FillFacilityTypes(form);
  SelectOrShowNumber(form, IDC_BUILDING_FACILITYTYPE, building_.facilityType);
  SelectOrShowNumber(form, IDC_BUILDING_CODE, building_.buildingCode);
}

void BuildingDialog::OnCommand(Form& form, int id, Notice) {
  // Any command from the button applies.
  if (id == IDC_BUILDING_APPLY) Apply(form);
}

void BuildingDialog::Apply(Form& form) {
  BuildingRecord& b = building_;
  b.cityName = ReadFieldU16(form, IDC_BUILDING_CITYNAME);
  b.facilityLevel = ReadFieldU8(form, IDC_BUILDING_FACILITYLEVEL);
  b.industry = ReadFieldU8(form, IDC_BUILDING_INDUSTRY);
  b.airport = ReadFieldU8(form, IDC_BUILDING_AIRPORT);
  b.missile = ReadFieldU8(form, IDC_BUILDING_MISSILE);
  b.nuclear = ReadFieldU8(form, IDC_BUILDING_NUCLEAR);
  b.appearance = ReadFieldU8(form, IDC_BUILDING_APPEARANCE);
  b.flag = ReadFieldU8(form, IDC_BUILDING_FLAG);
  b.target = ReadFieldU8(form, IDC_BUILDING_TARGET);
  b.dialogue = ReadFieldU8(form, IDC_BUILDING_DIALOGUE);
  b.fire = ReadFieldU8(form, IDC_BUILDING_FIRE);
  b.buildingCode = ReadFieldU16(form, IDC_BUILDING_CODE);
  b.facilityType = ReadFieldU8(form, IDC_BUILDING_FACILITYTYPE);
  b.defence = ReadFieldU8(form, IDC_BUILDING_DEFENCE);
}
