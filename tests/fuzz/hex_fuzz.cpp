// Fuzz target: the raw hex editor's byte parse, through the dialog. The input's lines are
// typed into the byte boxes (unit bytes, then building bytes) and the owner combo; after
// 确定 each byte is what its box's last two leading hex digits say, the cell's flags agree
// with its bytes, and the dialog shown again reads back the same cell.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "dialogs/fields.h"
#include "dialogs/hex_dialog.h"
#include "dialogs/resource_ids.h"
#include "tests/fuzz/fuzz_form.h"
#include "scenario/world_record.h"

namespace {

constexpr int kUnitBytes = int(sizeof(UnitRecord));
constexpr int kBuildingBytes = int(sizeof(BuildingRecord));

bool IsHexDigit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// The byte a box gives: the last two hex digits of the leading run within 99 characters.
uint8_t ExpectedByte(std::string_view text) {
  text = text.substr(0, kHexFieldChars);
  size_t n = 0;
  while (n < text.size() && IsHexDigit(text[n])) ++n;
  std::string last(text.substr(n > 2 ? n - 2 : 0, n > 2 ? 2 : n));
  return last.empty() ? 0 : uint8_t(strtoul(last.c_str(), nullptr, 16));
}

void SetUpWorld() {
  static bool done = false;
  if (done) return;
  done = true;
  g_world.worldWidth = 10;
  g_world.worldHeight = 10;
  g_world.rangeWidth = 2;
  g_world.rangeHeight = 2;
  g_world.teamCount = 3;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 1 << 16) return 0;
  SetUpWorld();
  std::vector<std::string> lines = SplitLines(data, size);
  memset(&g_world.grid[1][1], 0, sizeof(Cell));

  FuzzForm form;
  HexDialog dialog(1, 1);
  dialog.OnInit(form);
  size_t k = 0;
  auto next = [&]() -> const std::string* { return k < lines.size() ? &lines[k++] : nullptr; };
  for (int i = 0; i < kUnitBytes; ++i)
    if (const std::string* t = next()) form.SetText(kHexUnitBoxBase + i, *t);
  for (int j = 0; j < kBuildingBytes; ++j)
    if (const std::string* t = next()) form.SetText(kHexBuildingBoxBase + j, *t);
  if (const std::string* t = next()) form.SetText(IDC_HEX_OWNER, *t);
  dialog.OnCommand(form, IDC_HEX_APPLY, Notice{});

  const Cell& cell = g_world.grid[1][1];
  const uint8_t* unit = reinterpret_cast<const uint8_t*>(&cell.unit);
  const uint8_t* building = reinterpret_cast<const uint8_t*>(&cell.building);
  for (int i = 0; i < kUnitBytes; ++i)
    if (unit[i] != ExpectedByte(form.GetText(kHexUnitBoxBase + i))) abort();
  for (int j = 0; j < kBuildingBytes; ++j)
    if (building[j] != ExpectedByte(form.GetText(kHexBuildingBoxBase + j))) abort();
  if ((cell.hasUnit != 0) != (cell.unit.unitClass != 0)) abort();
  if (cell.owner != ReadFieldU8(form, IDC_HEX_OWNER)) abort();

  // Shown again, the boxes hold the cell's bytes and 确定 changes nothing.
  const UnitRecord unitBefore = cell.unit;
  const BuildingRecord buildingBefore = cell.building;
  const uint8_t ownerBefore = cell.owner,
                flagsBefore = uint8_t(cell.hasUnit | cell.hasBuilding << 1);
  FuzzForm again;
  HexDialog second(1, 1);
  second.OnInit(again);
  second.OnCommand(again, IDC_HEX_APPLY, Notice{});
  if (memcmp(&unitBefore, &cell.unit, sizeof unitBefore) != 0 ||
      memcmp(&buildingBefore, &cell.building, sizeof buildingBefore) != 0 ||
      cell.owner != ownerBefore || uint8_t(cell.hasUnit | cell.hasBuilding << 1) != flagsBefore)
    abort();
  return 0;
}
