// The information box: its lines for each kind of hex, and its place beside the hovered hex.
#include "view/hover_info.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <ostream>

#include "base/text.h"
#include "catalogs/catalogs.h"
#include "catalogs/string_table.h"
#include "scenario/world_record.h"

static void PrintTo(const Rect& r, std::ostream* os) {
  *os << "(" << r.x << ", " << r.y << ", " << r.w << " x " << r.h << ")";
}

namespace {

void SetName(char* slot, const char* utf8) { strcpy(slot, GbkFromUtf8(utf8).c_str()); }

// A world 40 columns wide, range origin (5, 4); two teams (countries 7 and 8, the second
// unnamed); army 100005 is category 3, level 2, 步兵; commander 1234 is 张三; rank 3; city
// name 12 is 东江城; building 3 is 要塞, 10106 城市7级, 10103 城市4级.
struct HoverLinesTest : ::testing::Test {
  void SetUp() override {
    memset(&g_world, 0, sizeof g_world);
    ResetCatalogs();
    ResetStringTable();
    g_world.worldWidth = 40;
    g_world.worldHeight = 30;
    g_world.originX = 5;
    g_world.originY = 4;
    g_world.rangeWidth = 6;
    g_world.rangeHeight = 5;
    g_world.teamCount = 2;
    g_world.teams[0].country = 7;
    g_world.teams[1].country = 8;
    SetName(g_strings.CountryName[7], "德国");
    g_catalogs.ArmyByTypeLevel[302] = 100005;
    g_catalogs.ArmyType[4] = 3;
    g_catalogs.ArmyLevel[4] = 2;
    SetName(g_catalogs.ArmyName[4], "步兵");
    g_catalogs.CommanderSlot[1234] = 1;
    SetName(g_catalogs.CommanderName[1], "张三");
    g_world.generals[0] = {1234, 3};
    g_world.generals[1] = {999, 0};
    g_world.generalCount = 2;
    SetName(g_strings.CityName[12], "东江城");
    SetName(g_catalogs.BuildingName[3], "要塞");
    SetName(g_catalogs.BuildingName[10106], "城市7级");
    SetName(g_catalogs.BuildingName[10103], "城市4级");
  }
};

// Hex (2, 3) of the range: global (7, 7), index 7 * 40 + 7 = 287.
const std::vector<std::string> kWhere = {"位置：局部 (2, 3)，全局 (7, 7)", "地块ID：287"};

struct LinesRow {
  const char* name;
  std::function<void(Cell&)> make;
  std::vector<std::string> facts;  // after the two lines of kWhere
};

void Unit(Cell& c, uint8_t unitClass, uint8_t level) {
  c.hasUnit = 1;
  c.unit.unitClass = unitClass;
  c.unit.unitLevel = level;
  c.unit.general = kNoGeneral;
}

void Building(Cell& c, uint16_t code) {
  c.hasBuilding = 1;
  c.building.buildingCode = code;
}

const LinesRow kLinesRows[] = {
    {"an empty unowned land hex: where, terrain and owner only",
     [](Cell& c) {
       c.owner = kUnownedTeam;
       c.worldInfo.terrain = 3;
     },
     {"地形类别：3", "军团：无归属"}},
    {"a sea hex of a team: the sea named, the team with its country",
     [](Cell& c) {
       c.owner = 0;
       c.worldInfo.terrain = 1;
     },
     {"地形类别：1（海）", "军团：0:德国"}},
    {"a team whose country has no name in the string table: its number alone",
     [](Cell& c) { c.owner = 1; },
     {"地形类别：0", "军团：1"}},
    {"an owner byte that names no counted team",
     [](Cell& c) { c.owner = 2; },
     {"地形类别：0", "军团：2（无此军团）"}},
    {"a unit of a known type with a general: type and level, hit points, general and rank, "
     "policies, change turn",
     [](Cell& c) {
       c.owner = 0;
       Unit(c, 3, 2);
       c.unit.hp = 80;
       c.unit.maxHp = 100;
       c.unit.general = 0;
       c.unit.earlyPolicy = 1;
       c.unit.latePolicy = 3;
       c.unit.changeTurn = 12;
     },
     {"地形类别：0", "军团：0:德国", "兵种：步兵，等级 2", "当前血量/血量上限：80/100",
      "将军：1234:张三，军衔 3", "前期方针：积极进攻，后期方针：防守", "改变回合：12"}},
    {"a unit of a type the catalog lacks, without general, with a policy past the list",
     [](Cell& c) {
       c.owner = kUnownedTeam;
       Unit(c, 9, 17);
       c.unit.hp = 5;
       c.unit.earlyPolicy = 7;
       c.unit.latePolicy = 4;
     },
     {"地形类别：0", "军团：无归属", "兵种：未知兵种（类别 9，等级 17）", "当前血量/血量上限：5/0",
      "将军：无", "前期方针：7，后期方针：撤退", "改变回合：0"}},
    {"a general of a commander the catalog lacks, without rank",
     [](Cell& c) {
       c.owner = kUnownedTeam;
       Unit(c, 3, 2);
       c.unit.general = 1;
     },
     {"地形类别：0", "军团：无归属", "兵种：步兵，等级 2", "当前血量/血量上限：0/0",
      "将军：999，军衔 无", "前期方针：无，后期方针：无", "改变回合：0"}},
    {"a general index past the scenario's list of generals",
     [](Cell& c) {
       c.owner = kUnownedTeam;
       Unit(c, 3, 2);
       c.unit.general = 5;
     },
     {"地形类别：0", "军团：无归属", "兵种：步兵，等级 2", "当前血量/血量上限：0/0",
      "将军：第 5 项（无此将军）", "前期方针：无，后期方针：无", "改变回合：0"}},
    {"a city at the last levels with facilities, anti-air and 防御",
     [](Cell& c) {
       c.owner = 0;
       Building(c, 10106);
       c.building.cityName = 12;
       c.building.industry = 2;
       c.building.nuclear = 1;
       c.building.facilityType = 2;
       c.building.facilityLevel = 3;
       c.building.defence = 1;
     },
     {"地形类别：0", "军团：0:德国", "城市：12 东江城", "建筑：10106 城市7级（满级标记）",
      "设施：工业 2，核弹 1", "设施类型：防空炮，设施等级 3", "防御：1"}},
    {"a city of a lower level without facilities, its name missing from the string table",
     [](Cell& c) {
       c.owner = kUnownedTeam;
       Building(c, 10103);
       c.building.cityName = 77;
       c.building.airport = 1;
       c.building.missile = 4;
     },
     {"地形类别：0", "军团：无归属", "城市：77", "建筑：10103 城市4级", "设施：机场 1，导弹 4"}},
    {"another building: name and code; facility bytes of a non-city are not listed",
     [](Cell& c) {
       c.owner = kUnownedTeam;
       Building(c, 3);
       c.building.industry = 5;
     },
     {"地形类别：0", "军团：无归属", "建筑：3 要塞"}},
    {"a building code the catalog lacks, an anti-air type past the list",
     [](Cell& c) {
       c.owner = kUnownedTeam;
       Building(c, 555);
       c.building.facilityType = 12;
       c.building.facilityLevel = 1;
     },
     {"地形类别：0", "军团：无归属", "建筑：555", "设施类型：12，设施等级 1"}},
    {"defence alone makes a building of code 0",
     [](Cell& c) {
       c.owner = kUnownedTeam;
       Building(c, 0);
       c.building.defence = 2;
     },
     {"地形类别：0", "军团：无归属", "建筑：0", "防御：2"}},
    {"a unit and a city on one hex: the unit's lines, then the city's",
     [](Cell& c) {
       c.owner = 0;
       Unit(c, 3, 2);
       c.unit.hp = 100;
       c.unit.maxHp = 100;
       Building(c, 10106);
       c.building.cityName = 12;
     },
     {"地形类别：0", "军团：0:德国", "兵种：步兵，等级 2", "当前血量/血量上限：100/100", "将军：无",
      "前期方针：无，后期方针：无", "改变回合：0", "城市：12 东江城",
      "建筑：10106 城市7级（满级标记）"}},
};

TEST_F(HoverLinesTest, EachKindOfHexHasTheLinesThatApply) {
  for (const LinesRow& r : kLinesRows) {
    SCOPED_TRACE(r.name);
    Cell& c = g_world.grid[2][3];
    c = Cell{};
    c.globalX = 7;
    c.globalY = 7;
    ClearUnit(c.unit);
    r.make(c);
    std::vector<std::string> want = kWhere;
    want.insert(want.end(), r.facts.begin(), r.facts.end());
    EXPECT_EQ(HoverLines(2, 3), want);
  }
}

TEST_F(HoverLinesTest, WhereAndIndexFollowTheRangeOrigin) {
  g_world.originX = 0;
  g_world.originY = 0;
  g_world.grid[0][0].owner = kUnownedTeam;
  EXPECT_EQ(HoverLines(0, 0)[0], "位置：局部 (0, 0)，全局 (0, 0)");
  EXPECT_EQ(HoverLines(0, 0)[1], "地块ID：0");
  g_world.originX = 33;
  g_world.originY = 20;
  g_world.grid[5][4].owner = kUnownedTeam;
  EXPECT_EQ(HoverLines(5, 4)[0], "位置：局部 (5, 4)，全局 (38, 24)");
  EXPECT_EQ(HoverLines(5, 4)[1], "地块ID：" + std::to_string(24 * 40 + 38));
}

// ---- Placement -------------------------------------------------------------------------

bool Overlaps(const Rect& a, const Rect& b) {
  return a.x < b.x + b.w && b.x < a.x + a.w && a.y < b.y + b.h && b.y < a.y + a.h;
}

struct PlaceRow {
  const char* name;
  int32_t cols, rows;   // the view; the map area is cols * 50 x rows * 50 + 25
  int32_t firstColumn;  // global column of view column 0: its parity sets the stagger
  int32_t col, row;     // the hovered hex
  int32_t w, h;         // the box
  std::optional<Rect> want;
};

// Pointer at the hovered hex's centre. A 12 x 10 view: the map area is 600 x 525.
const PlaceRow kPlaceRows[] = {
    {"top-left hex, even column: on its right, pushed down to the map's top", 12, 10, 0, 0, 0, 150,
     100, Rect{53, 0, 150, 100}},
    {"top-left hex, odd column: on its right, centred on the pointer", 12, 10, 1, 0, 0, 150, 40,
     Rect{53, 30, 150, 40}},
    {"top-right hex (odd column): no room on the right, so on its left", 12, 10, 0, 11, 0, 150, 100,
     Rect{397, 0, 150, 100}},
    {"bottom-right hex (odd column): on its left, pushed up to the map's bottom", 12, 10, 0, 11, 9,
     150, 100, Rect{397, 425, 150, 100}},
    {"bottom-left hex (even column): on its right, pushed up", 12, 10, 0, 0, 9, 150, 100,
     Rect{53, 425, 150, 100}},
    {"left edge, middle row: on its right, centred", 12, 10, 0, 0, 5, 150, 100,
     Rect{53, 225, 150, 100}},
    {"right edge (even column with an odd first column): on its left", 12, 10, 1, 11, 4, 150, 100,
     Rect{397, 175, 150, 100}},
    {"a box too wide for either side: below the hex, centred on the pointer", 12, 10, 0, 6, 2, 300,
     100, Rect{175, 153, 300, 100}},
    {"too wide, bottom row of an odd column: above the hex", 12, 10, 0, 5, 9, 300, 100,
     Rect{125, 372, 300, 100}},
    {"too wide, left edge: below, pushed right to the map's edge", 12, 10, 0, 0, 2, 560, 100,
     Rect{0, 153, 560, 100}},
    {"a box taller than the map fits on no side", 12, 10, 0, 3, 3, 100, 530, std::nullopt},
    {"one hex, even column: only below has room", 1, 1, 0, 0, 0, 40, 20, Rect{5, 53, 40, 20}},
    {"one hex, odd column: only above has room", 1, 1, 1, 0, 0, 40, 20, Rect{5, 2, 40, 20}},
    {"one hex and a box larger than the space around it: none", 1, 1, 0, 0, 0, 60, 30,
     std::nullopt},
};

TEST(HoverPlacement, CornersEdgesAndBothStaggers) {
  for (const PlaceRow& r : kPlaceRows) {
    SCOPED_TRACE(r.name);
    PixelPoint hex = HexTopLeft(r.col, r.row, r.firstColumn, 0);
    EXPECT_EQ(PlaceHoverBox(r.w, r.h, hex.x + 25, hex.y + 25, hex, r.cols * cellSize,
                            r.rows * cellSize + halfCell),
              r.want);
  }
}

// Over every hex of several views, both staggers, pointers at the hex's corners and centre
// and boxes of several sizes: the box lies in the map area, clear of the hovered hex, right
// beside it (kHoverGap away on one side) and level with the pointer along that side.
TEST(HoverPlacement, NeverOverTheHexAlwaysInsideTheMapBesideThePointer) {
  const int32_t views[][2] = {{12, 10}, {38, 20}, {3, 2}, {5, 1}, {1, 4}};
  const int32_t boxes[][2] = {{150, 100}, {240, 232}, {40, 20}, {400, 60}, {90, 480}};
  int placed = 0;
  for (const auto& view : views)
    for (int32_t first = 0; first < 2; ++first)
      for (int32_t col = 0; col < view[0]; ++col)
        for (int32_t row = 0; row < view[1]; ++row)
          for (const auto& box : boxes)
            for (int32_t dx : {0, 25, 49})
              for (int32_t dy : {0, 25, 49}) {
                const int32_t mapW = view[0] * cellSize, mapH = view[1] * cellSize + halfCell;
                const PixelPoint hex = HexTopLeft(col, row, first, 0);
                const int32_t px = hex.x + dx, py = hex.y + dy;
                std::optional<Rect> r = PlaceHoverBox(box[0], box[1], px, py, hex, mapW, mapH);
                if (!r) continue;
                ++placed;
                SCOPED_TRACE(testing::Message() << "view " << view[0] << "x" << view[1] << " first "
                                                << first << " hex " << col << "," << row);
                EXPECT_EQ(r->w, box[0]);
                EXPECT_EQ(r->h, box[1]);
                EXPECT_GE(r->x, 0);
                EXPECT_GE(r->y, 0);
                EXPECT_LE(r->x + r->w, mapW);
                EXPECT_LE(r->y + r->h, mapH);
                EXPECT_FALSE(Overlaps(*r, Rect{hex.x, hex.y, cellSize, cellSize}));
                const bool beside =
                    r->x == hex.x + cellSize + kHoverGap || r->x + r->w == hex.x - kHoverGap;
                const bool over =
                    r->y == hex.y + cellSize + kHoverGap || r->y + r->h == hex.y - kHoverGap;
                EXPECT_TRUE(beside || over);
                if (beside)
                  EXPECT_TRUE(r->y <= py && py < r->y + r->h);
                else
                  EXPECT_TRUE(r->x <= px && px < r->x + r->w);
              }
  EXPECT_GT(placed, 10000);
}

}  // namespace
