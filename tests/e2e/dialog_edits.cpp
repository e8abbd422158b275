// The core's side of the dialogs' end-to-end test (tests/e2e/dialogs_e2e.sh drives the
// running editor; this program says what it must do and what the saved file must hold).
//
//   dialog_edits FILE.btl EXPECTED.btl
//
// writes EXPECTED.btl, the file as a save must write it after the script's edits (computed on
// the records with the core), and prints shell assignments: the hexes to edit (picked from
// the file's records inside the first 12 x 10 view) with their click points, the texts to
// type, the combo keys to press, the values each edited field must then hold, where the saved
// file holds those records, and team 0's colour.
//
// Run it in the folder that holds 数据 (the world map and the commander catalog). The
// expected values follow the dialogs' documented behaviour field by field; they are not
// produced by running the dialogs' own logic.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/editor.h"
#include "catalogs/catalogs.h"
#include "scenario/battle_format.h"
#include "scenario/battle_write.h"
#include "scenario/safe_save.h"

namespace {

// What the script types. Each number is what the field must hold afterwards.
constexpr char kMovementTyped[] = "300";  // 移动能力 is one byte: 300 wraps to 44
constexpr uint8_t kMovementStored = 44;
constexpr uint8_t kMorale = 77;
constexpr uint16_t kChangeTurn = 1234;
constexpr uint8_t kEarlyPolicyTyped = 3;  // typed into the 前期方针 combo's edit field
constexpr uint8_t kIndustry = 3, kFire = 200, kDefence = 9;
constexpr char kHexByte8Typed[] = "ab";  // unit byte 8 (kept verbatim by the other editors)
constexpr uint8_t kHexByte8 = 0xAB;
constexpr char kHexByte15Typed[] = "15A";  // unit byte 15: of "15A" only the last two digits count
constexpr uint8_t kHexByte15 = 0x5A;
constexpr int32_t kMoney = 123456, kInfantryTech = 9, kNuclearBombs = 7;
constexpr char kTaxTyped[] = "0.5";
constexpr uint8_t kColourRed = 10, kColourGreen = 200, kColourBlue = 30;  // typed into the chooser
constexpr int kViewCols = 12, kViewRows = 10;                             // the default view

struct Hex {
  int x = -1, y = -1;  // grid column and row; the view starts at (0, 0)
  bool found() const { return x >= 0; }
};

// The combo key that moves the selection from item `item` to a neighbour, and the item
// it lands on: Down when there is a next item, else Up.
struct ComboStep {
  const char* key;
  int item;
};
ComboStep StepFrom(int item, int count) {
  if (item + 1 < count) return {"Down", item + 1};
  return {"Up", item - 1};
}

struct Plan {
  Hex unit, building, general, raw;
  Hex team0;  // a plain hex of team 0: nothing on it but its colour
  ComboStep attack{}, facility{}, owner{};
  uint8_t ownerAfter = 0;
  uint8_t generalAfter = 0;
};

bool Taken(const Plan& p, int x, int y) {
  for (const Hex* h : {&p.unit, &p.building, &p.general, &p.raw, &p.team0})
    if (h->x == x && h->y == y) return true;
  return false;
}

template <typename Pred>
Hex FindHex(const Plan& p, Pred wanted) {
  int cols = g_world.rangeWidth < kViewCols ? g_world.rangeWidth : kViewCols;
  int rows = g_world.rangeHeight < kViewRows ? g_world.rangeHeight : kViewRows;
  for (int y = 0; y < rows; ++y)
    for (int x = 0; x < cols; ++x)
      if (!Taken(p, x, y) && wanted(g_world.grid[x][y])) return {x, y};
  return {};
}

// Owner combo of the raw editor: item 0 is "255:无", item t + 1 team t.
int OwnerItem(uint8_t owner) { return owner == kUnownedTeam ? 0 : owner + 1; }
uint8_t OwnerOfItem(int item) { return item == 0 ? uint8_t(kUnownedTeam) : uint8_t(item - 1); }

Plan MakePlan() {
  Plan p;
  auto unitWithout = [](const Cell& c) {
    return c.hasUnit && c.unit.unitClass && c.unit.general == kNoGeneral && !c.hasBuilding &&
           c.unit.attack <= 1;
  };
  p.unit = FindHex(p, unitWithout);
  p.building = FindHex(
      p, [](const Cell& c) { return c.hasBuilding && !c.hasUnit && c.building.facilityType <= 3; });
  p.general = FindHex(p, [](const Cell& c) {
    return c.hasUnit && c.unit.unitClass && c.unit.general < g_world.generalCount &&
           c.unit.general < kNoGeneral - 1;
  });
  if (!p.general.found()) p.general = FindHex(p, unitWithout);
  p.raw = FindHex(
      p, [](const Cell& c) { return c.hasUnit && c.unit.unitClass && c.owner != kUnownedTeam; });
  p.team0 = FindHex(p, [](const Cell& c) {
    return c.owner == 0 && !c.hasUnit && !c.hasBuilding && c.worldInfo.terrain != 1;
  });
  if (!p.unit.found() || !p.building.found() || !p.general.found() || !p.raw.found()) return p;

  const Cell& u = g_world.grid[p.unit.x][p.unit.y];
  p.attack = StepFrom(u.unit.attack, 2);
  const Cell& b = g_world.grid[p.building.x][p.building.y];
  p.facility = StepFrom(b.building.facilityType, 4);
  const Cell& r = g_world.grid[p.raw.x][p.raw.y];
  p.owner = StepFrom(OwnerItem(r.owner), g_world.teamCount + 1);
  p.ownerAfter = OwnerOfItem(p.owner.item);
  // 名字 of 当前将军: item 0 is "无", item k + 1 general k; Down moves to the next entry,
  // which after 添加 always exists.
  const Cell& g = g_world.grid[p.general.x][p.general.y];
  p.generalAfter = g.unit.general == kNoGeneral ? 0 : uint8_t(g.unit.general + 1);
  return p;
}

MapRange KeepOfferedRange(const MapRange& offered, const WorldImage&, const std::string&) {
  return offered;
}

Status Load(const std::string& path) { return LoadScenario(path, KeepOfferedRange); }

// The unit editor on p.unit: typed fields, the attack combo stepped, the opening clamp of hp
// and 确定's rule that a zero hp means full strength.
void ApplyUnitEdits(const Plan& p) {
  UnitRecord& u = g_world.grid[p.unit.x][p.unit.y].unit;
  uint16_t hp = u.hp >= u.maxHp ? u.maxHp : u.hp;
  u.hp = hp == 0 ? u.maxHp : hp;
  u.movement = kMovementStored;
  u.morale = kMorale;
  u.changeTurn = kChangeTurn;
  u.earlyPolicy = kEarlyPolicyTyped;
  u.attack = uint8_t(p.attack.item);
  NormaliseCell(p.unit.x, p.unit.y);
}

void ApplyBuildingEdits(const Plan& p) {
  BuildingRecord& b = g_world.grid[p.building.x][p.building.y].building;
  b.industry = kIndustry;
  b.fire = kFire;
  b.defence = kDefence;
  b.facilityType = uint8_t(p.facility.item);
  NormaliseCell(p.building.x, p.building.y);
}

// 添加 with the first commander and the first rank (rank 1), then the next entry of 名字
// attached.
void ApplyGeneralEdits(const Plan& p) {
  g_world.generals[g_world.generalCount] = {uint16_t(g_catalogs.CommanderIds[0]), 1};
  ++g_world.generalCount;
  g_world.grid[p.general.x][p.general.y].unit.general = p.generalAfter;
  NormaliseCell(p.general.x, p.general.y);
}

// The raw editor's 确定 rewrites the flags from the bytes; the edits keep the unit's class,
// so they stay as they were.
void ApplyRawEdits(const Plan& p) {
  Cell& c = g_world.grid[p.raw.x][p.raw.y];
  reinterpret_cast<uint8_t*>(&c.unit)[8] = kHexByte8;
  reinterpret_cast<uint8_t*>(&c.unit)[15] = kHexByte15;
  c.owner = p.ownerAfter;
  NormaliseCell(p.raw.x, p.raw.y);
}

// Team 0 through 确定: every field goes through the form, so the floats come back as their
// "%f" text reads; closing numbers every team by its slot.
void ApplyTeamEdits() {
  TeamRecord& t = g_world.teams[0];
  t.money = kMoney;
  t.techLevels[0] = kInfantryTech;
  t.bombStocks[0] = kNuclearBombs;
  t.taxRate = strtof(kTaxTyped, nullptr);
  char shown[64];
  snprintf(shown, sizeof shown, "%f", double(t.unitBonus));
  t.unitBonus = strtof(shown, nullptr);
  // The colour chooser writes the shown team's colour at once.
  t.colour = uint32_t(kColourRed) | uint32_t(kColourGreen) << 8 | uint32_t(kColourBlue) << 16;
  for (int i = 0; i < g_world.teamCount; ++i) g_world.teams[i].teamNumber = i;
}

// Where the saved file holds a hex's records and owner byte: sections in file order, records
// in row-major map order (rows outer), as saving writes them.
struct Offsets {
  size_t teams, owners, buildings, units, generals;
};

Offsets SectionOffsets() {
  Offsets o{};
  o.teams = kHeaderBytes;
  o.owners = o.teams + size_t(g_world.teamCount) * kTeamFileBytes;
  o.buildings = o.owners + size_t(g_world.rangeWidth) * g_world.rangeHeight;
  o.units = o.buildings + size_t(CountBuildings()) * sizeof(BuildingRecord);
  o.generals = o.units + size_t(CountUnits()) * sizeof(UnitRecord);
  return o;
}

// Index of hex h among the hexes before it (row-major) that hold a unit (or a building).
int RecordIndex(const Hex& h, bool units) {
  int n = 0;
  for (int y = 0; y < g_world.rangeHeight; ++y)
    for (int x = 0; x < g_world.rangeWidth; ++x) {
      if (x == h.x && y == h.y) return n;
      const Cell& c = g_world.grid[x][y];
      n += units ? c.hasUnit : c.hasBuilding;
    }
  return -1;
}

// The main window's client point at the middle of grid hex h (odd global columns sit half a
// hex lower).
void PrintHex(const char* name, const Hex& h) {
  int shift = ((g_world.originX + h.x) & 1) * 25;
  printf("%s_x=%d\n%s_y=%d\n", name, h.x * 50 + 25, name, h.y * 50 + 25 + shift);
}

void PrintPlan(const Plan& p, uint8_t rawMovement, bool generalHadOne,
               const std::string& oldColour) {
  PrintHex("unit", p.unit);
  PrintHex("building", p.building);
  PrintHex("general", p.general);
  PrintHex("raw", p.raw);
  printf("general_has_one=%d\n", generalHadOne ? 1 : 0);
  printf("movement_typed=%s\nmovement_stored=%u\nmorale_typed=%u\nchange_turn_typed=%u\n",
         kMovementTyped, kMovementStored, kMorale, kChangeTurn);
  printf("early_policy_typed=%u\nattack_key=%s\nattack_after=%d\n", kEarlyPolicyTyped, p.attack.key,
         p.attack.item);
  printf("industry_typed=%u\nfire_typed=%u\ndefence_typed=%u\nfacility_key=%s\nfacility_after=%d\n",
         kIndustry, kFire, kDefence, p.facility.key, p.facility.item);
  printf("general_after=%u\ncommander_added=%d\ngeneral_count_after=%d\n", p.generalAfter,
         g_catalogs.CommanderIds[0], g_world.generalCount);
  printf("hex_byte8_typed=%s\nhex_byte8=%u\nhex_byte15_typed=%s\nhex_byte15=%u\n", kHexByte8Typed,
         kHexByte8, kHexByte15Typed, kHexByte15);
  printf("owner_key=%s\nowner_after=%u\nraw_movement=%u\n", p.owner.key, p.ownerAfter, rawMovement);
  printf("money_typed=%d\ntax_typed=%s\ninfantry_tech_typed=%d\nnuclear_bombs_typed=%d\n", kMoney,
         kTaxTyped, kInfantryTech, kNuclearBombs);
  printf("team0_colour=%s\nteam0_colour_typed='%u %u %u'\nteam0_colour_after=%u,%u,%u\n",
         oldColour.c_str(), kColourRed, kColourGreen, kColourBlue, kColourRed, kColourGreen,
         kColourBlue);
  PrintHex("team0_hex", p.team0);

  Offsets o = SectionOffsets();
  printf("team0_at=%zu\n", o.teams);
  printf("unit_at=%zu\n", o.units + size_t(RecordIndex(p.unit, true)) * sizeof(UnitRecord));
  printf("building_at=%zu\n",
         o.buildings + size_t(RecordIndex(p.building, false)) * sizeof(BuildingRecord));
  printf("general_unit_at=%zu\n",
         o.units + size_t(RecordIndex(p.general, true)) * sizeof(UnitRecord));
  printf("raw_unit_at=%zu\n", o.units + size_t(RecordIndex(p.raw, true)) * sizeof(UnitRecord));
  printf("raw_owner_at=%zu\n", o.owners + size_t(p.raw.y) * g_world.rangeWidth + p.raw.x);
  printf("new_general_at=%zu\n",
         o.generals + size_t(g_world.generalCount - 1) * sizeof(GeneralEntry));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    fprintf(stderr, "usage: dialog_edits FILE.btl EXPECTED.btl\n");
    return 2;
  }
  Status s = Load(argv[1]);
  if (!s.ok()) {
    fprintf(stderr, "%s\n", s.message.c_str());
    return 1;
  }
  if (!LoadCommanderCatalog(nullptr).parsed || g_catalogs.CommanderCount == 0) {
    fprintf(stderr, "the commander catalog did not load\n");
    return 1;
  }
  Plan p = MakePlan();
  if (!p.unit.found() || !p.building.found() || !p.general.found() || !p.raw.found() ||
      !p.team0.found()) {
    fprintf(stderr,
            "the first view lacks a unit, a building, a second unit, a raw-edit hex or a plain hex "
            "of team 0\n");
    return 1;
  }
  uint8_t rawMovement = g_world.grid[p.raw.x][p.raw.y].unit.movement;
  bool generalHadOne = g_world.grid[p.general.x][p.general.y].unit.general != kNoGeneral;
  uint32_t c = g_world.teams[0].colour;
  std::string oldColour = std::to_string(c & 0xFF) + "," + std::to_string((c >> 8) & 0xFF) + "," +
                          std::to_string((c >> 16) & 0xFF);
  ApplyUnitEdits(p);
  ApplyBuildingEdits(p);
  ApplyGeneralEdits(p);
  ApplyRawEdits(p);
  ApplyTeamEdits();
  std::vector<uint8_t> bytes;
  s = BuildBattleBytes(bytes);
  if (s.ok()) s = SafeSave(argv[2], bytes.data(), bytes.size());
  if (!s.ok()) {
    fprintf(stderr, "%s\n", s.message.c_str());
    return 1;
  }
  PrintPlan(p, rawMovement, generalHadOne, oldColour);
  return 0;
}
