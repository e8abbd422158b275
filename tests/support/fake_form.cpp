#include "tests/support/fake_form.h"

#include <gtest/gtest.h>

#include <cstring>

#include "catalogs/catalogs.h"
#include "catalogs/string_table.h"
#include "base/text.h"
#include "scenario/world_record.h"

void FakeForm::SetText(int id, std::string_view utf8) { controls[id].text = std::string(utf8); }

std::string FakeForm::GetText(int id) { return controls[id].text; }

void FakeForm::ClearCombo(int id) {
  Control& c = controls[id];
  c.items.clear();
  c.selection = -1;
  c.text.clear();
}

void FakeForm::AddComboItem(int id, std::string_view utf8) {
  controls[id].items.emplace_back(utf8);
}

void FakeForm::SelectComboItem(int id, int index) {
  Control& c = controls[id];
  // Like CB_SETCURSEL: an index outside the list leaves no selection and an empty text.
  bool inside = index >= 0 && index < int(c.items.size());
  c.selection = inside ? index : -1;
  c.text = inside ? c.items[size_t(index)] : std::string();
}

int FakeForm::ComboSelection(int id) { return controls[id].selection; }

int FakeForm::ComboCount(int id) { return int(controls[id].items.size()); }

std::string FakeForm::ComboItemText(int id, int index) {
  Control& c = controls[id];
  if (index < 0 || index >= int(c.items.size())) {
    ADD_FAILURE() << "combo " << id << " has no item " << index;
    return {};
  }
  return c.items[size_t(index)];
}

void FakeForm::ClearList(int id) {
  Control& c = controls[id];
  int marked = c.mark;
  if (marked >= 0 && onListChange) onListChange(marked);
  c.rows.clear();
  c.mark = -1;
}

void FakeForm::AppendListRow(int id, std::string_view utf8) {
  controls[id].rows.emplace_back(utf8);
}

void FakeForm::SetListRows(int id, std::vector<std::string> rows) {
  ClearList(id);
  controls[id].rows = std::move(rows);
}

void FakeForm::DeleteListRow(int id, int row) {
  Control& c = controls[id];
  if (row < 0 || row >= int(c.rows.size())) {
    ADD_FAILURE() << "list " << id << " has no row " << row;
    return;
  }
  if (row == c.mark && onListChange) onListChange(row);  // the row being removed
  c.rows.erase(c.rows.begin() + row);
  // Like the list view: the rows after it move up one, and a mark on the removed row stays
  // at its index, now the next row (the last row when it was the last; none when empty).
  if (c.mark > row) c.mark -= 1;
  if (c.mark >= int(c.rows.size())) c.mark = int(c.rows.size()) - 1;
}

void FakeForm::SelectListRow(int id, int row) {
  Control& c = controls[id];
  if (row == -1) {
    int old = c.mark;
    c.mark = -1;
    if (old >= 0 && onListChange) onListChange(old);
    return;
  }
  if (row < 0 || row >= int(c.rows.size())) {
    ADD_FAILURE() << "list " << id << " has no row " << row;
    return;
  }
  int old = c.mark;
  c.mark = row;
  if (old >= 0 && old != row && onListChange) onListChange(old);
  if (onListChange) onListChange(row);
}

int FakeForm::ListSelectionMark(int id) { return controls[id].mark; }

int FakeForm::ListCount(int id) { return int(controls[id].rows.size()); }

void FakeForm::Enable(int id, bool enabled) { controls[id].enabled = enabled; }

void FakeForm::Repaint(int id) { controls[id].repaints += 1; }

void FakeForm::Warn(std::string_view utf8Text, std::string_view caption) {
  warnings.emplace_back(utf8Text);
  warningCaptions.emplace_back(caption);
}

bool FakeForm::ChooseColour(uint32_t& colour) {
  colourRequests.push_back(colour);
  if (!colourAnswer) return false;
  colour = *colourAnswer;
  return true;
}

void FakeForm::Type(int id, const std::string& text) {
  controls[id].text = text;
  controls[id].selection = -1;
}

void FakeForm::Pick(int id, int index) {
  Control& c = controls[id];
  ASSERT_GE(index, 0);
  ASSERT_LT(index, int(c.items.size()));
  SelectComboItem(id, index);
}

void FakeForm::ClickRow(int id, int row) { SelectListRow(id, row); }

namespace {

void AddArmy(int32_t id, const char* name, uint8_t category, uint8_t level, int32_t hp,
             int32_t mobility) {
  int k = ArmySlotOf(id);
  FillSlot(g_catalogs.ArmyName[k], name);
  g_catalogs.ArmyType[k] = category;
  g_catalogs.ArmyLevel[k] = level;
  g_catalogs.ArmyHP[k] = hp;
  g_catalogs.ArmyMobility[k] = mobility;
  g_catalogs.ArmyIds[g_catalogs.ArmyCount++] = id;
  g_catalogs.ArmyByTypeLevel[category * 100 + level] = id;
}

void AddCommander(int32_t id, const char* name) {
  int slot = ++g_catalogs.CommanderSlotCount;
  g_catalogs.CommanderSlot[id] = slot;
  g_catalogs.CommanderIds[g_catalogs.CommanderCount++] = id;
  FillSlot(g_catalogs.CommanderName[slot], name);
}

void AddCountry(int32_t id, const char* name) {
  g_catalogs.CountryIds[g_catalogs.CountryCount++] = id;
  FillSlot(g_strings.CountryName[id], name);
}

void AddCity(int32_t id, const char* name) {
  g_strings.CityIds[g_strings.CityCount++] = id;
  FillSlot(g_strings.CityName[id], name);
}

void AddBuilding(int32_t id, const char* name) {
  g_catalogs.BuildingIds[g_catalogs.BuildingCount++] = id;
  FillSlot(g_catalogs.BuildingName[id], name);
}

}  // namespace

void LoadTestCatalogs() {
  ResetCatalogs();
  ResetStringTable();
  AddArmy(100005, "步兵", 3, 2, 10, 4);
  AddArmy(100007, "坦克", 5, 1, 300, 6);
  AddArmy(100009, "巨炮", 6, 0, 65530, 1);
  g_catalogs.RankLife[0] = 5;
  g_catalogs.RankLife[1] = 50;
  g_catalogs.RankLife[2] = 20;
  g_catalogs.RankCount = 2;
  AddCommander(7, "张三");
  AddCommander(3, "李四");
  AddCountry(86, "中国");
  AddCountry(1, "美国");
  AddCountry(44, "英国");
  AddCity(12, "北京");
  AddCity(30, "上海");
  AddBuilding(10101, "城市");
  AddBuilding(200, "工厂");
}

void ResetTestWorld() {
  WorldRecord& w = g_world;
  w.worldWidth = 300;
  w.worldHeight = 220;
  w.originX = 10;
  w.originY = 198;
  w.rangeWidth = 4;
  w.rangeHeight = 3;
  for (int x = 0; x < w.rangeWidth; ++x)
    for (int y = 0; y < w.rangeHeight; ++y) {
      Cell& c = w.grid[x][y];
      memset(&c, 0, sizeof c);
      c.globalX = w.originX + x;
      c.globalY = w.originY + y;
      c.owner = kUnownedTeam;
      ClearUnit(c.unit);
    }
  memset(w.teams, 0, sizeof w.teams);
  w.teams[kUnownedTeam].colour = 0xFFFFFF;
  w.teamCount = 0;
  memset(w.generals, 0, sizeof w.generals);
  w.generalCount = 0;
}

int AddTestTeam(int32_t country, uint32_t colour) {
  int t = g_world.teamCount++;
  TeamRecord& team = g_world.teams[t];
  memset(&team, 0, sizeof team);
  team.teamNumber = t;
  team.country = country;
  team.colour = colour;
  return t;
}
