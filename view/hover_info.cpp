#include "view/hover_info.h"

#include <algorithm>

#include "base/text.h"
#include "catalogs/catalogs.h"
#include "catalogs/string_table.h"
#include "scenario/world_record.h"

namespace {

using Lines = std::vector<std::string>;

std::string Num(int64_t n) { return std::to_string(n); }

// A catalog or string-table name (GBK) as UTF-8.
std::string Name(const char* gbk) { return Utf8FromGbk(gbk ? gbk : ""); }

// "n:name" as the dialogs list numbered names, the number alone when there is no name.
std::string Numbered(int64_t n, const char* gbkName, const char* separator = ":") {
  std::string name = Name(gbkName);
  return name.empty() ? Num(n) : Num(n) + separator + name;
}

// The value names of the dialogs' fixed lists; a value past the list is shown as its number.
std::string ValueName(uint32_t value, const std::vector<const char*>& names) {
  return value < names.size() ? names[value] : Num(value);
}
const std::vector<const char*> kPolicies = {"无", "积极进攻", "保守", "防守", "撤退"};
const std::vector<const char*> kAntiAir = {"无", "防空机枪", "防空炮", "防空导弹"};

std::string OwnerText(uint8_t owner) {
  if (owner == kUnownedTeam) return "无归属";
  if (owner >= UsableTeamCount()) return Num(owner) + "（无此军团）";
  return Numbered(owner, CountryNameOf(g_world.teams[owner].country));
}

std::string GeneralText(const UnitRecord& u) {
  if (u.general == kNoGeneral) return "无";
  const GeneralEntry* g = AttachedGeneral(u);
  if (!g) return "第 " + Num(u.general) + " 项（无此将军）";
  std::string rank = g->rank ? Num(g->rank) : "无";
  return Numbered(g->commander, CommanderNameOf(g->commander)) + "，军衔 " + rank;
}

void AddUnit(const UnitRecord& u, Lines& lines) {
  std::string type = Name(ArmyNameOf(ArmyIdOf(u.unitClass, u.unitLevel)));
  if (type.empty())
    lines.push_back("兵种：未知兵种（类别 " + Num(u.unitClass) + "，等级 " + Num(u.unitLevel) +
                    "）");
  else
    lines.push_back("兵种：" + type + "，等级 " + Num(u.unitLevel));
  lines.push_back("当前血量/血量上限：" + Num(u.hp) + "/" + Num(u.maxHp));
  lines.push_back("将军：" + GeneralText(u));
  lines.push_back("前期方针：" + ValueName(u.earlyPolicy, kPolicies) + "，后期方针：" +
                  ValueName(u.latePolicy, kPolicies));
  lines.push_back("改变回合：" + Num(u.changeTurn));
}

// The facilities a city holds, by the building editor's labels, with their counts.
std::string Facilities(const BuildingRecord& b) {
  const struct {
    const char* label;
    uint8_t value;
  } facilities[] = {
      {"工业", b.industry}, {"机场", b.airport}, {"导弹", b.missile}, {"核弹", b.nuclear}};
  std::string text;
  for (const auto& f : facilities)
    if (f.value) text += (text.empty() ? "" : "，") + std::string(f.label) + " " + Num(f.value);
  return text;
}

void AddBuilding(const BuildingRecord& b, Lines& lines) {
  const uint16_t code = b.buildingCode;
  std::string building = "建筑：" + Numbered(code, BuildingNameOf(code), " ");
  if (code / 100 == 101) {  // a city; the map marks the last levels (last digit above 5)
    lines.push_back("城市：" + Numbered(b.cityName, CityNameOf(b.cityName), " "));
    lines.push_back(building + (code % 10 > 5 ? "（满级标记）" : ""));
    std::string facilities = Facilities(b);
    if (!facilities.empty()) lines.push_back("设施：" + facilities);
  } else {
    lines.push_back(building);
  }
  if (b.facilityType)
    lines.push_back("设施类型：" + ValueName(b.facilityType, kAntiAir) + "，设施等级 " +
                    Num(b.facilityLevel));
  if (b.defence) lines.push_back("防御：" + Num(b.defence));
}

}  // namespace

std::vector<std::string> HoverLines(int x, int y) {
  const Cell& c = g_world.grid[x][y];
  Lines lines;
  const int64_t globalX = int64_t(g_world.originX) + x, globalY = int64_t(g_world.originY) + y;
  lines.push_back("位置：局部 (" + Num(x) + ", " + Num(y) + ")，全局 (" + Num(globalX) + ", " +
                  Num(globalY) + ")");
  lines.push_back("地块ID：" + Num(GlobalIndex(x, y)));
  const uint8_t terrain = c.worldInfo.terrain;
  lines.push_back("地形类别：" + Num(terrain) + (terrain == 1 ? "（海）" : ""));
  lines.push_back("军团：" + OwnerText(c.owner));
  if (c.hasUnit) AddUnit(c.unit, lines);
  if (c.hasBuilding) AddBuilding(c.building, lines);
  return lines;
}

namespace {

int32_t Clamp(int32_t v, int32_t low, int32_t high) { return std::max(low, std::min(v, high)); }

}  // namespace

std::optional<Rect> PlaceHoverBox(int32_t width, int32_t height, int32_t px, int32_t py,
                                  PixelPoint hex, int32_t mapWidthPx, int32_t mapHeightPx) {
  // Along a side the box is centred on the pointer, then pushed back inside the map.
  const int32_t alongY = Clamp(py - height / 2, 0, mapHeightPx - height);
  const int32_t alongX = Clamp(px - width / 2, 0, mapWidthPx - width);
  const bool fitsAcross = height <= mapHeightPx, fitsDown = width <= mapWidthPx;
  const int32_t right = hex.x + cellSize + kHoverGap, left = hex.x - kHoverGap - width;
  const int32_t below = hex.y + cellSize + kHoverGap, above = hex.y - kHoverGap - height;
  if (fitsAcross && right + width <= mapWidthPx) return Rect{right, alongY, width, height};
  if (fitsAcross && left >= 0) return Rect{left, alongY, width, height};
  if (fitsDown && below + height <= mapHeightPx) return Rect{alongX, below, width, height};
  if (fitsDown && above >= 0) return Rect{alongX, above, width, height};
  return std::nullopt;
}
