#include "view/cell_plan.h"

#include "catalogs/catalogs.h"
#include "view/hex_geometry.h"
#include "view/layout.h"

namespace {

const char kUnknownType[] = "\xA3\xBF";  // "？" in GBK
const char kGeneralMark[] = "\xBD\xAB";  // "将"
const char kMineMark[] = "\xC0\xD7";     // "雷"

int32_t At(double factor, int32_t base) { return int32_t(cellSize * factor + base); }

CellStep Blit(Art art, int32_t x, int32_t y, int index = 0) {
  CellStep s{CellStep::kBlit};
  s.art = art;
  s.x = x;
  s.y = y;
  s.index = index;
  return s;
}

CellStep Text(int32_t x, int32_t y, std::string text) {
  CellStep s{CellStep::kText};
  s.x = x;
  s.y = y;
  s.text = std::move(text);
  return s;
}

}  // namespace

const TeamRecord& TeamOfOwner(uint8_t owner) {
  if (owner < g_world.teamCount) return g_world.teams[owner];
  return g_world.teams[kUnownedTeam];
}

std::string UnitLabel(const UnitRecord& unit) {
  const char* name = ArmyNameOf(ArmyIdOf(unit.unitClass, unit.unitLevel));
  std::string label;
  unsigned char lead = name[0];
  if (lead == 0)
    label = kUnknownType;
  else if (lead >= 0x81 && name[1])
    label.assign(name, 2);  // one double-byte character
  else
    label.assign(name, 1);
  return label + std::to_string(unit.unitLevel);
}

PixelPoint CellScreenPosition(const Cell& c, int32_t scrollX, int32_t scrollY) {
  // The hex's view column has the parity of its global column, which decides the shift.
  return HexTopLeft(c.globalX - g_world.originX - scrollX, c.globalY - g_world.originY - scrollY,
                    g_world.originX, scrollX);
}

std::vector<CellStep> PlanCell(const Cell& c, int32_t px, int32_t py) {
  std::vector<CellStep> steps;
  steps.reserve(8);
  const TeamRecord& team = TeamOfOwner(c.owner);
  CellStep fill{CellStep::kFill};
  fill.x = px;
  fill.y = py;
  fill.right = px + cellSize;
  fill.bottom = py + cellSize;
  fill.colour = c.worldInfo.terrain == 1 ? kSeaColour : team.colour;
  steps.push_back(fill);

  const int32_t textY = py + kLabelTop + 5;
  if (c.hasUnit) {
    steps.push_back(Text(At(0.35, px), textY, UnitLabel(c.unit)));
    if (c.unit.general != kNoGeneral) steps.push_back(Text(At(0.75, px), textY, kGeneralMark));
  }
  if (c.hasBuilding) {
    const BuildingRecord& b = c.building;
    uint16_t code = b.buildingCode;
    if (code / 100 == 101) {
      steps.push_back(Blit(Art::kCity, px, py));
      if (code % 10 > 5) steps.push_back(Blit(Art::kLevelMax, px + 4, py + 7));
      const int32_t slots[4][2] = {{px + 20, py}, {px + 36, py}, {px, py + 20}, {px + 16, py + 20}};
      const struct {
        uint8_t value;
        Art art;
      } facilities[4] = {{b.industry, Art::kFactory},
                         {b.airport, Art::kAirport},
                         {b.missile, Art::kLaunch},
                         {b.nuclear, Art::kNuclear}};
      int next = 0;
      for (const auto& f : facilities)
        if (f.value) {
          steps.push_back(Blit(f.art, slots[next][0], slots[next][1]));
          ++next;
        }
    } else {
      CellStep name{CellStep::kTextInRect};
      name.x = px + 2;
      name.y = py + 2;
      name.right = px + cellSize;
      name.bottom = py + halfCell;
      name.text = BuildingNameOf(code);
      steps.push_back(name);
    }
    // Anti-air pictures exist for types 1 to 3 only; larger values show nothing.
    if (b.facilityType >= 1 && b.facilityType <= 3)
      steps.push_back(Blit(Art::kAntiAir, At(0.7, px), py + cellSize / 3, b.facilityType));
    if (b.defence) steps.push_back(Text(At(0.8, px), py + cellSize / 3, kMineMark));
  }
  if (c.hasUnit || c.hasBuilding) steps.push_back(Blit(Art::kFlag, px - 1, textY, team.country));
  return steps;
}
