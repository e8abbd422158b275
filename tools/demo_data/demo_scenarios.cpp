#include <algorithm>
#include <cstring>

#include "tools/demo_data/demo_data.h"
#include "tools/demo_data/noise.h"

namespace {

// A rectangle of the world with the world's width for global indices.
struct Area {
  const DemoWorld& world;
  int ox, oy, w, h;

  int gx(int x) const { return ox + x; }
  int gy(int y) const { return oy + y; }
  uint16_t position(int x, int y) const { return uint16_t(gy(y) * world.width + gx(x)); }
  bool land(int x, int y) const { return world.is_land(gx(x), gy(y)); }
  uint8_t terrain(int x, int y) const { return world.at(gx(x), gy(y)); }
  bool coast(int x, int y) const { return land(x, y) && world.touches_sea(gx(x), gy(y)); }
  int local(int x, int y) const { return y * w + x; }  // row-major order = ascending position
};

// Fisher-Yates with our own generator.
template <typename T>
void shuffle(std::vector<T>& v, DemoRng& rng) {
  for (size_t i = v.size(); i > 1; --i) std::swap(v[i - 1], v[size_t(rng.below(int(i)))]);
}

void FillBytes(uint8_t* p, size_t n, DemoRng& rng, int below) {
  for (size_t i = 0; i < n; ++i) p[i] = uint8_t(rng.below(below));
}

BtlHeader MakeHeader(int ox, int oy, int w, int h, int turns, DemoRng& rng) {
  BtlHeader hd{};
  // Not interpreted by the editor: a file tag with a version, the turn limit and the game's
  // scenario settings.
  const uint8_t lead[8] = {'B', 'T', 'L', 0, 3, 0, 1, 0};
  memcpy(hd.keep0, lead, 8);
  hd.originX = ox;
  hd.originY = oy;
  hd.rangeWidth = w;
  hd.rangeHeight = h;
  int32_t limit = turns;
  memcpy(hd.keep36, &limit, 4);
  FillBytes(hd.keep44, sizeof hd.keep44, rng, 16);
  return hd;
}

struct Rgb {
  uint8_t r, g, b;
};

// Twelve team colours apart from each other, from white (no owner) and from the sea's blue.
const Rgb kTeamColours[] = {{220, 40, 40},  {250, 150, 30}, {240, 220, 40},  {120, 200, 40},
                            {30, 140, 60},  {40, 200, 200}, {90, 150, 250},  {140, 70, 200},
                            {230, 90, 190}, {150, 90, 40},  {250, 170, 170}, {120, 120, 120}};

TeamRecord MakeTeam(int slot, int country, Rgb colour, int camp, DemoRng& rng) {
  TeamRecord t{};
  t.teamNumber = slot;
  t.country = country;
  t.money = 5000 + 500 * rng.below(90);
  t.steel = 1000 + 100 * rng.below(80);
  t.oil = 800 + 100 * rng.below(60);
  t.control = slot == 0 ? 1 : 0;  // the first team is the player's
  t.camp = camp;
  t.victoryCondition = rng.below(3);
  t.unitBonus = 1.0f + 0.125f * float(rng.below(4));  // exact binary fractions
  t.taxRate = 0.125f + 0.0625f * float(rng.below(3));
  t.fileColour[0] = colour.r;
  t.fileColour[1] = colour.g;
  t.fileColour[2] = colour.b;
  t.fileColour[3] = 255;
  for (int32_t& level : t.techLevels) level = rng.between(1, 5);
  t.bombStocks[0] = rng.below(4);
  t.bombStocks[1] = rng.below(2);
  t.bombStocks[2] = rng.below(100) < 10 ? 1 : 0;
  FillBytes(t.keep104, sizeof t.keep104, rng, 8);
  t.colour = uint32_t(colour.r) | uint32_t(colour.g) << 8 | uint32_t(colour.b) << 16;
  return t;
}

const DemoArmy& ArmyOf(const DemoCatalogs& c, int category, int level) {
  return c.armies[size_t((category - 1) * 5 + (level - 1))];
}

UnitRecord MakeUnit(uint16_t position, const DemoArmy& a, DemoRng& rng) {
  UnitRecord u{};
  u.position = position;
  u.unitClass = uint8_t(a.category);
  u.unitLevel = uint8_t(a.level);
  u.maxHp = uint16_t(a.hp);
  u.hp = uint16_t(rng.chance(70) ? a.hp : a.hp * rng.between(30, 99) / 100);
  FillBytes(u.keep8, 2, rng, 4);
  u.buildTime = uint16_t(rng.chance(80) ? 0 : rng.between(1, 6));
  u.general = kNoGeneral;
  u.movement = uint8_t(a.mobility);
  u.morale = uint8_t(rng.between(60, 100));
  u.keep15 = uint8_t(rng.below(3));
  u.earlyPolicy = uint8_t(rng.below(5));
  u.latePolicy = uint8_t(rng.below(5));
  u.changeTurn = uint16_t(u.earlyPolicy == u.latePolicy ? 0 : rng.between(5, 40));
  u.target = uint8_t(rng.chance(85) ? 0 : rng.between(1, 11));
  u.direction = uint8_t(rng.below(5));
  u.attack = uint8_t(rng.chance(80) ? 1 : 0);
  FillBytes(u.keep24, 2, rng, 2);
  u.dialogue = uint8_t(rng.chance(95) ? 0 : rng.between(1, 20));
  u.keep27 = 0;
  return u;
}

// A unit type for a land hex, most often infantry, tanks and artillery.
int LandCategory(DemoRng& rng) {
  static const int kWeights[8] = {34, 16, 18, 0, 8, 5, 12, 7};  // ships never on land
  int roll = rng.below(100);
  for (int c = 0; c < 8; ++c) {
    if (roll < kWeights[c]) return c + 1;
    roll -= kWeights[c];
  }
  return 1;
}

// Lower levels are more common.
int PickLevel(DemoRng& rng) { return 1 + std::min(rng.below(5), rng.below(5)); }

BuildingRecord MakeBuilding(uint16_t position, int code, DemoRng& rng) {
  BuildingRecord b{};
  b.position = position;
  b.buildingCode = uint16_t(code);
  b.appearance = uint8_t(rng.below(4));
  FillBytes(b.keep14, 2, rng, 3);
  b.target = uint8_t(rng.chance(90) ? 0 : rng.between(1, 11));
  b.dialogue = uint8_t(rng.chance(95) ? 0 : rng.between(1, 20));
  b.fire = uint8_t(rng.chance(95) ? 0 : 1);
  return b;
}

// City: its name from the string table and its facility bytes.
BuildingRecord MakeCity(uint16_t position, int level, int name, bool capital, DemoRng& rng) {
  BuildingRecord b = MakeBuilding(position, kFirstCityCode + level, rng);
  b.cityName = uint16_t(name);
  b.industry = uint8_t(capital || rng.chance(60) ? rng.between(1, 5) : 0);
  b.airport = uint8_t(capital || rng.chance(35) ? rng.between(1, 3) : 0);
  b.missile = uint8_t(rng.chance(capital ? 60 : 18) ? rng.between(1, 3) : 0);
  b.nuclear = uint8_t(rng.chance(capital ? 40 : 6) ? 1 : 0);
  b.flag = capital ? 1 : 0;
  return b;
}

// Records by local hex; encoded in row-major order, which is ascending position.
struct Placed {
  std::vector<int> unit_at;      // index into units, or -1
  std::vector<int> building_at;  // index into buildings, or -1
  std::vector<UnitRecord> units;
  std::vector<BuildingRecord> buildings;

  explicit Placed(size_t hexes) : unit_at(hexes, -1), building_at(hexes, -1) {}
  void unit(int hex, const UnitRecord& u) {
    unit_at[size_t(hex)] = int(units.size());
    units.push_back(u);
  }
  void building(int hex, const BuildingRecord& b) {
    building_at[size_t(hex)] = int(buildings.size());
    buildings.push_back(b);
  }
  void write_sorted(DemoScenario& s) const {
    for (int i : building_at)
      if (i >= 0) s.buildings.push_back(buildings[size_t(i)]);
    for (int i : unit_at)
      if (i >= 0) s.units.push_back(units[size_t(i)]);
  }
};

int64_t dist2(int ax, int ay, int bx, int by) {
  int64_t dx = ax - bx, dy = ay - by;
  return dx * dx + dy * dy;
}

// The first origin, scanning rows then columns in steps, whose w x h window has between
// lo and hi percent land and some sea.
void FindWindow(const DemoWorld& world, int w, int h, int x0, int y0, int lo, int hi, int& ox,
                int& oy) {
  ox = x0;
  oy = y0;
  for (int y = y0; y + h <= world.height - 2; y += 3)
    for (int x = x0; x + w <= world.width - 2; x += 3) {
      int land = 0;
      for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i) land += world.is_land(x + i, y + j);
      int percent = land * 100 / (w * h);
      if (percent >= lo && percent <= hi) {
        ox = x;
        oy = y;
        return;
      }
    }
}

// ---- The large scenario -----------------------------------------------------------------

// Capitals spread over the range: the first near the centre, each next one on the good land
// farthest from all chosen so far.
std::vector<int> ChooseCapitals(const Area& a, int count) {
  std::vector<int> good;
  for (int y = 2; y < a.h - 2; ++y)
    for (int x = 2; x < a.w - 2; ++x) {
      uint8_t t = a.terrain(x, y);
      if (t == kPlains || t >= kForestFirst) good.push_back(a.local(x, y));
    }
  std::vector<int> caps;
  if (good.empty()) return caps;
  int best = good[0];
  for (int hex : good)
    if (dist2(hex % a.w, hex / a.w, a.w / 2, a.h / 2) <
        dist2(best % a.w, best / a.w, a.w / 2, a.h / 2))
      best = hex;
  caps.push_back(best);
  while (int(caps.size()) < count) {
    int64_t far = -1;
    for (int hex : good) {
      int64_t nearest = INT64_MAX;
      for (int c : caps) nearest = std::min(nearest, dist2(hex % a.w, hex / a.w, c % a.w, c / a.w));
      if (nearest > far) {
        far = nearest;
        best = hex;
      }
    }
    caps.push_back(best);
  }
  return caps;
}

// Each land hex goes to the capital that is nearest after a smooth per-capital stretch, so
// borders wander; far land and a few noisy patches stay unowned; the sea is never owned.
std::vector<uint8_t> AssignOwners(const Area& a, const std::vector<int>& caps, uint32_t seed) {
  std::vector<uint8_t> owners(size_t(a.w) * a.h, kUnownedTeam);
  for (int y = 0; y < a.h; ++y)
    for (int x = 0; x < a.w; ++x) {
      if (!a.land(x, y)) continue;
      if (ValueNoise(a.gx(x), a.gy(y), 6, seed + 99) > 57000) continue;  // no man's land
      int64_t best = INT64_MAX, best_d2 = 0;
      int owner = kUnownedTeam;
      for (size_t k = 0; k < caps.size(); ++k) {
        int64_t d2 = dist2(x, y, caps[k] % a.w, caps[k] / a.w);
        int64_t stretch = 70 + ValueNoise(a.gx(x), a.gy(y), 9, seed + uint32_t(k)) * 60 / 65536;
        int64_t score = d2 * 100 / stretch;
        if (score < best) {
          best = score;
          best_d2 = d2;
          owner = int(k);
        }
      }
      if (best_d2 <= 24 * 24) owners[size_t(a.local(x, y))] = uint8_t(owner);
    }
  return owners;
}

void PlaceCities(const Area& a, const std::vector<int>& caps, const std::vector<uint8_t>& owners,
                 const DemoCatalogs& c, DemoRng& rng, Placed& placed) {
  size_t next_name = 0;
  std::vector<int> cities;
  for (int hex : caps) {
    placed.building(hex, MakeCity(a.position(hex % a.w, hex / a.w), kCityLevels - 1,
                                  c.cities[next_name++].id, true, rng));
    cities.push_back(hex);
  }
  std::vector<int> land;
  for (int hex = 0; hex < a.w * a.h; ++hex)
    if (a.land(hex % a.w, hex / a.w)) land.push_back(hex);
  shuffle(land, rng);
  int neutral = 0;
  for (int hex : land) {
    if (cities.size() >= 160 || next_name >= c.cities.size()) break;
    bool unowned = owners[size_t(hex)] == kUnownedTeam;
    if (unowned && neutral >= 8) continue;
    bool spaced = true;
    for (int other : cities)
      if (dist2(hex % a.w, hex / a.w, other % a.w, other / a.w) < 16) spaced = false;
    if (!spaced) continue;
    int level = std::min(rng.below(kCityLevels), rng.below(kCityLevels));
    placed.building(hex, MakeCity(a.position(hex % a.w, hex / a.w), level, c.cities[next_name++].id,
                                  false, rng));
    cities.push_back(hex);
    neutral += unowned;
  }
}

// Building codes 1..20 by where they may stand: harbours, docks and shipyards on the coast.
int PickOtherCode(bool coast, DemoRng& rng) {
  static const int kCoastal[] = {2, 13, 18};
  static const int kInland[] = {1,  3,  4, 5,  6,  7,  8,  9,  10, 11, 12,
                                14, 14, 3, 15, 16, 17, 19, 20, 4,  10};
  if (coast && rng.chance(45)) return kCoastal[rng.below(3)];
  return kInland[rng.below(int(std::size(kInland)))];
}

void PlaceOtherBuildings(const Area& a, const std::vector<uint8_t>& owners, DemoRng& rng,
                         Placed& placed, int wanted) {
  std::vector<int> land;
  for (int hex = 0; hex < a.w * a.h; ++hex)
    if (a.land(hex % a.w, hex / a.w) && placed.building_at[size_t(hex)] < 0) land.push_back(hex);
  shuffle(land, rng);
  for (int hex : land) {
    if (wanted <= 0) break;
    if (owners[size_t(hex)] == kUnownedTeam && !rng.chance(10)) continue;
    int x = hex % a.w, y = hex / a.w;
    placed.building(hex, MakeBuilding(a.position(x, y), PickOtherCode(a.coast(x, y), rng), rng));
    --wanted;
  }
}

// Anti-air and minefields on a share of every kind of building.
void ArmBuildings(Placed& placed, DemoRng& rng) {
  for (BuildingRecord& b : placed.buildings) {
    if (rng.chance(25)) {
      b.facilityType = uint8_t(rng.between(1, 3));
      b.facilityLevel = uint8_t(rng.between(1, 3));
    }
    if (rng.chance(20)) b.defence = uint8_t(rng.between(1, 5));
  }
}

// Sea with land beside it in one of the four straight directions: where ships patrol.
bool inshore(const Area& a, int x, int y) {
  if (a.land(x, y)) return false;
  return (x > 0 && a.land(x - 1, y)) || (x + 1 < a.w && a.land(x + 1, y)) ||
         (y > 0 && a.land(x, y - 1)) || (y + 1 < a.h && a.land(x, y + 1));
}

void PlaceUnits(const Area& a, const std::vector<uint8_t>& owners, const DemoCatalogs& c,
                DemoRng& rng, Placed& placed, int land_wanted, int ships_wanted) {
  int owned_land = 0, coastal_sea = 0;
  for (int y = 0; y < a.h; ++y)
    for (int x = 0; x < a.w; ++x) {
      if (owners[size_t(a.local(x, y))] != kUnownedTeam) ++owned_land;
      coastal_sea += inshore(a, x, y);
    }
  // Chances in 1/65536, so the counts come out near what is wanted.
  int64_t land_p = owned_land ? int64_t(land_wanted) * 65536 / owned_land : 0;
  int64_t sea_p = coastal_sea ? int64_t(ships_wanted) * 65536 / coastal_sea : 0;
  for (int y = 0; y < a.h; ++y)
    for (int x = 0; x < a.w; ++x) {
      int hex = a.local(x, y);
      if (owners[size_t(hex)] != kUnownedTeam) {
        if (rng.below(65536) >= land_p) continue;
        placed.unit(hex,
                    MakeUnit(a.position(x, y), ArmyOf(c, LandCategory(rng), PickLevel(rng)), rng));
      } else if (inshore(a, x, y)) {
        if (rng.below(65536) >= sea_p) continue;
        placed.unit(hex, MakeUnit(a.position(x, y), ArmyOf(c, 4, PickLevel(rng)), rng));
      }
    }
}

std::vector<GeneralEntry> MakeGenerals(const DemoCatalogs& c, int count, DemoRng& rng) {
  std::vector<int> order(c.commanders.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = int(i);
  shuffle(order, rng);
  std::vector<GeneralEntry> generals;
  for (int i = 0; i < count && i < int(order.size()); ++i) {
    int rank = 1 + std::min(rng.below(10), rng.below(10));
    generals.push_back({uint16_t(c.commanders[size_t(order[size_t(i)])].id), uint16_t(rank)});
  }
  return generals;
}

// Gives the first `attached` generals to distinct units picked at random.
void AttachGenerals(std::vector<UnitRecord>& units, int attached, DemoRng& rng) {
  std::vector<int> order(units.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = int(i);
  shuffle(order, rng);
  for (int g = 0; g < attached && g < int(order.size()); ++g)
    units[size_t(order[size_t(g)])].general = uint8_t(g);
}

std::vector<TeamRecord> MakeTeams(const DemoCatalogs& c, int count, int camps, DemoRng& rng) {
  std::vector<int> order(c.countries.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = int(i);
  shuffle(order, rng);
  std::vector<TeamRecord> teams;
  for (int k = 0; k < count; ++k)
    teams.push_back(MakeTeam(k, c.countries[size_t(order[size_t(k)])].id, kTeamColours[k % 12],
                             k % camps, rng));
  return teams;
}

// The game's trigger and event tables, which the editor keeps without reading: records of
// 16 bytes with small numbers.
std::string MakeTail(int records, DemoRng& rng) {
  std::string tail;
  int32_t n = records;
  tail.append(reinterpret_cast<const char*>(&n), 4);
  for (int i = 0; i < records; ++i) {
    uint8_t r[16];
    r[0] = uint8_t(i & 0xFF);
    r[1] = uint8_t(i >> 8);
    r[2] = uint8_t(rng.below(12));  // event kind
    r[3] = uint8_t(rng.below(12));  // team
    FillBytes(r + 4, 12, rng, 64);
    tail.append(reinterpret_cast<const char*>(r), sizeof r);
  }
  return tail;
}

}  // namespace

std::string EncodeScenario(const DemoScenario& s) {
  BtlHeader header = s.header;
  header.teamCount = int32_t(s.teams.size());
  header.buildingCount = int32_t(s.buildings.size());
  header.unitCount = int32_t(s.units.size());
  header.generalCount = int32_t(s.generals.size());
  std::string out;
  auto put = [&out](const void* p, size_t n) { out.append(static_cast<const char*>(p), n); };
  put(&header, sizeof header);
  for (const TeamRecord& t : s.teams) put(&t, kTeamFileBytes);
  put(s.owners.data(), s.owners.size());
  put(s.buildings.data(), s.buildings.size() * sizeof(BuildingRecord));
  put(s.units.data(), s.units.size() * sizeof(UnitRecord));
  put(s.generals.data(), s.generals.size() * sizeof(GeneralEntry));
  out += s.tail;
  return out;
}

DemoScenario MakeLargeScenario(const DemoWorld& world, const DemoCatalogs& c) {
  DemoRng rng(0x1A26E5CE7A210ull);
  Area a{world, 10, 5, 120, 80};
  DemoScenario s;
  s.header = MakeHeader(a.ox, a.oy, a.w, a.h, 120, rng);
  s.teams = MakeTeams(c, 12, 4, rng);
  std::vector<int> caps = ChooseCapitals(a, 12);
  s.owners = AssignOwners(a, caps, 0x0A1E5u);
  Placed placed(s.owners.size());
  PlaceCities(a, caps, s.owners, c, rng, placed);
  PlaceOtherBuildings(a, s.owners, rng, placed, 600 - int(placed.buildings.size()));
  ArmBuildings(placed, rng);
  PlaceUnits(a, s.owners, c, rng, placed, 1920, 80);
  s.generals = MakeGenerals(c, 200, rng);
  AttachGenerals(placed.units, 180, rng);
  placed.write_sorted(s);
  s.tail = MakeTail(300, rng);
  return s;
}

DemoScenario MakeSmallScenario(const DemoWorld& world, const DemoCatalogs& c) {
  DemoRng rng(0x5A11ull);
  int ox, oy;
  FindWindow(world, 16, 14, 132, 24, 55, 80, ox, oy);
  Area a{world, ox, oy, 16, 14};
  DemoScenario s;
  s.header = MakeHeader(ox, oy, a.w, a.h, 30, rng);
  s.teams = MakeTeams(c, 3, 2, rng);
  // Three teams in bands from west to east with ragged borders; the sea stays unowned.
  s.owners.assign(size_t(a.w) * a.h, kUnownedTeam);
  for (int y = 0; y < a.h; ++y)
    for (int x = 0; x < a.w; ++x)
      if (a.land(x, y)) {
        int shifted = x * 3 + ValueNoise(a.gx(x), a.gy(y), 4, 77) * 6 / 65536 - 3;
        s.owners[size_t(a.local(x, y))] = uint8_t(std::clamp(shifted / a.w, 0, 2));
      }
  std::vector<int> land;
  for (int hex = 0; hex < a.w * a.h; ++hex)
    if (s.owners[size_t(hex)] != kUnownedTeam) land.push_back(hex);
  shuffle(land, rng);
  Placed placed(s.owners.size());
  // Two cities, eight other buildings, twelve units (some sharing a hex with a building).
  for (size_t i = 0; i < land.size() && placed.buildings.size() < 10; ++i) {
    int hex = land[i], x = hex % a.w, y = hex / a.w;
    if (placed.buildings.size() < 2)
      placed.building(
          hex, MakeCity(a.position(x, y), placed.buildings.empty() ? 7 : 2,
                        c.cities[placed.buildings.size()].id, placed.buildings.empty(), rng));
    else
      placed.building(hex, MakeBuilding(a.position(x, y), PickOtherCode(a.coast(x, y), rng), rng));
  }
  ArmBuildings(placed, rng);
  if (placed.buildings.size() >= 4) {  // at least one anti-air mark and one minefield
    placed.buildings[2].facilityType = 2;
    placed.buildings[2].facilityLevel = 1;
    placed.buildings[3].defence = 2;
  }
  for (size_t i = 5; i < land.size() && placed.units.size() < 12; ++i) {
    int hex = land[i];
    placed.unit(hex, MakeUnit(a.position(hex % a.w, hex / a.w),
                              ArmyOf(c, LandCategory(rng), PickLevel(rng)), rng));
  }
  s.generals = MakeGenerals(c, 2, rng);
  AttachGenerals(placed.units, 2, rng);
  placed.write_sorted(s);
  return s;
}

DemoScenario MakeMessyScenario(const DemoWorld& world, const DemoCatalogs& c) {
  DemoRng rng(0xBADF11Eull);
  int ox, oy;
  FindWindow(world, 10, 8, 20, 10, 70, 100, ox, oy);
  Area a{world, ox, oy, 10, 8};
  DemoScenario s;
  s.header = MakeHeader(ox, oy, a.w, a.h, 20, rng);
  s.teams = MakeTeams(c, 2, 2, rng);
  s.teams[0].fileColour[3] = 0;  // alpha bytes the editor replaces with 255
  s.teams[1].fileColour[3] = 128;
  s.owners.assign(size_t(a.w) * a.h, kUnownedTeam);
  for (int y = 0; y < a.h; ++y)
    for (int x = 0; x < a.w; ++x)
      if (a.land(x, y)) s.owners[size_t(a.local(x, y))] = uint8_t(x < a.w / 2 ? 0 : 1);
  s.owners[size_t(a.local(a.w - 1, a.h - 1))] = 7;  // names no team
  s.generals = MakeGenerals(c, 1, rng);

  // Units written in descending position order, with two of them on one hex, one of
  // class 0 and one pointing at a general that does not exist.
  const int spots[][2] = {{8, 6}, {6, 5}, {3, 4}, {3, 4}, {2, 2}, {1, 1}};
  for (const auto& p : spots)
    s.units.push_back(MakeUnit(a.position(p[0], p[1]), ArmyOf(c, 1, 2), rng));
  s.units[3] = MakeUnit(a.position(3, 4), ArmyOf(c, 3, 1), rng);  // the second unit on (3, 4)
  s.units[1].general = 0;
  s.units[4].unitClass = 0;  // no unit type, but hit points and the rest still set
  s.units[5].general = 5;    // only general 0 exists

  // Buildings out of order too, and one outside the range (the row below it).
  s.buildings.push_back(MakeCity(a.position(5, 3), 4, c.cities[0].id, false, rng));
  s.buildings.push_back(MakeBuilding(a.position(1, 2), 3, rng));
  s.buildings.push_back(MakeBuilding(uint16_t((oy + a.h) * world.width + ox + 2), 4, rng));
  s.buildings.push_back(MakeBuilding(a.position(7, 6), 14, rng));
  return s;
}
