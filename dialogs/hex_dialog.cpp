#include "dialogs/hex_dialog.h"

#include <cstring>
#include <string>

#include "catalogs/string_table.h"
#include "dialogs/fields.h"
#include "dialogs/resource_ids.h"

namespace {

constexpr int kBoxWidth = 30, kBoxHeight = 15;

ChildWindow Header(std::string text, int x, int y) {
  return {ChildWindow::kLabel, -1, -1, std::move(text), x, y, kBoxWidth, kBoxHeight, false};
}

ChildWindow ByteBox(int index, int formId, int x, int y) {
  return {ChildWindow::kEdit, index, formId, "", x, y, kBoxWidth, kBoxHeight, false};
}

uint8_t* UnitBytes(Cell& c) { return reinterpret_cast<uint8_t*>(&c.unit); }
uint8_t* BuildingBytes(Cell& c) { return reinterpret_cast<uint8_t*>(&c.building); }

}  // namespace

std::vector<ChildWindow> HexChildWindows() {
  std::vector<ChildWindow> windows;
  for (int n = 0; n < 8; ++n) windows.push_back(Header("0" + std::to_string(n), 40 + 40 * n, 25));
  for (int n = 0; n < 8; ++n) windows.push_back(Header("0" + std::to_string(n), 40 + 40 * n, 145));
  for (int r = 0; r < 4; ++r)
    windows.push_back(Header(HexByteText(uint8_t(8 * r)), 20, 40 + 20 * r));
  for (int r = 0; r < 3; ++r)
    windows.push_back(Header(HexByteText(uint8_t(8 * r)), 20, 165 + 20 * r));
  for (int i = 0; i < int(sizeof(UnitRecord)); ++i)
    windows.push_back(ByteBox(i, kHexUnitBoxBase + i, 40 * (i % 8 + 1), 20 * (i / 8 + 2)));
  for (int j = 0; j < int(sizeof(BuildingRecord)); ++j)
    windows.push_back(ByteBox(j, kHexBuildingBoxBase + j, 40 * (j % 8 + 1), 165 + 20 * (j / 8)));
  return windows;
}

HexDialog::HexDialog(int x, int y) : x_(x), y_(y), copy_(g_world.grid[x][y]) {}

void HexDialog::OnInit(Form& form) {
  for (int i = 0; i < int(sizeof(UnitRecord)); ++i)
    form.SetText(kHexUnitBoxBase + i, HexByteText(UnitBytes(copy_)[i]));
  for (int j = 0; j < int(sizeof(BuildingRecord)); ++j)
    form.SetText(kHexBuildingBoxBase + j, HexByteText(BuildingBytes(copy_)[j]));

  form.ClearCombo(IDC_HEX_OWNER);
  form.AddComboItem(IDC_HEX_OWNER, "255:无");
  int teams = UsableTeamCount();
  for (int t = 0; t < teams; ++t)
    form.AddComboItem(IDC_HEX_OWNER, NumberedItem(t, ":", CountryNameOf(g_world.teams[t].country)));
  SelectOrShowNumber(form, IDC_HEX_OWNER, copy_.owner);
}

void HexDialog::OnCommand(Form& form, int id, Notice) {
  // Any command from the button applies.
  if (id == IDC_HEX_APPLY) Apply(form);
}

void HexDialog::Apply(Form& form) {
  for (int j = 0; j < int(sizeof(BuildingRecord)); ++j)
    BuildingBytes(copy_)[j] = ParseHexByte(form.GetText(kHexBuildingBoxBase + j));
  for (int i = 0; i < int(sizeof(UnitRecord)); ++i)
    UnitBytes(copy_)[i] = ParseHexByte(form.GetText(kHexUnitBoxBase + i));
  copy_.hasUnit = copy_.unit.unitClass != 0;
  copy_.hasBuilding = HasBuilding(copy_.building);
  copy_.owner = ReadFieldU8(form, IDC_HEX_OWNER);
  g_world.grid[x_][y_] = copy_;
}
