#include "problems/problems.h"
#include "scenario/battle_place.h"
#include "scenario/battle_write.h"

#include <algorithm>
#include <bitset>
#include <cstdarg>
#include <cstdio>
#include <memory>

#include "catalogs/catalogs.h"
#include "catalogs/string_table.h"
#include "scenario/save_loss.h"
#include "scenario/world_record.h"

namespace {

constexpr int kLastAntiAirType = 3;

struct KindText {
  const char* key;
  const char* title;
};

// In the order of ProblemKind. The kinds a save drops or changes take the titles of the
// editor's warning before a save (scenario/save_loss.h), so both say the same.
const KindText kKindTexts[kProblemKinds] = {
    {"recordsOutsideRange", kTitleRecordsOutsideRange},
    {"recordsSharingAHex", kTitleRecordsSharingAHex},
    {"hexesBeyond16BitPositions", kTitleHexesBeyondPositions},
    {"ownersNamingNoTeam", "不属于任何军团的归属"},
    {"rangeOutsideWorld", "超出世界地图或为空的地图范围"},
    {"alphaSetOnSave", kTitleAlphaSetOnSave},
    {"recordsReorderedOnSave", kTitleRecordsReorderedOnSave},
    {"recordsDroppedOnSave", "保存时删去的记录"},
    {"unitClassZero", "兵种类别为 0 的部队"},
    {"unknownUnitType", "兵种目录中没有的兵种"},
    {"missingGeneral", "没有对应将军的部队"},
    {"badGeneral", "统帅或军衔无效的将军"},
    {"wrongPosition", "位置与所在格不符的记录"},
    {"unknownBuilding", "建筑目录中没有的建筑"},
    {"unknownCityName", "语言文件中没有的城市名"},
    {"antiAirType", "防空类型大于 3 的建筑"},
    {"unknownCountry", "国家目录中没有的国家"},
};

template <size_t N>
void Mark(std::bitset<N>& set, int32_t id) {
  if (id >= 0 && size_t(id) < N) set.set(size_t(id));
}

template <size_t N>
bool Has(const std::bitset<N>& set, int64_t id) {
  return id >= 0 && uint64_t(id) < N && set.test(size_t(id));
}

// The Ids the editors' combos offer, gathered once per search so that each hex costs a bit
// test rather than a scan of a list.
struct Listed {
  std::bitset<kBuildingNameSlots> buildings;
  std::bitset<kCityNameSlots> cities;
  std::bitset<kCountryIdLimit> countries;

  Listed() {
    for (int i = 0, n = std::clamp(g_catalogs.BuildingCount, 0, kBuildingIdSlots); i < n; ++i)
      Mark(buildings, g_catalogs.BuildingIds[i]);
    for (int i = 0, n = std::clamp(g_strings.CityCount, 0, kCityIdSlots); i < n; ++i)
      Mark(cities, g_strings.CityIds[i]);
    for (int i = 0, n = std::clamp(g_catalogs.CountryCount, 0, kCountryIdSlots); i < n; ++i)
      Mark(countries, g_catalogs.CountryIds[i]);
  }
};

using Visit = std::function<void(const ScenarioProblem&)>;

class Finder {
 public:
  explicit Finder(const Visit& visit) : visit_(visit) {}
  void Run();

 private:
  void AtHex(int x, int y);
  void AtNoHex();
  // Descriptions hold numbers only, formatted straight into the problem's text: one
  // allocation per problem however long the list grows.
  void Add(ProblemKind kind, const char* format, ...) __attribute__((format(printf, 3, 4)));

  void CheckCell(int x, int y);
  void CheckUnit(const UnitRecord& u, uint16_t position);
  void CheckBuilding(const BuildingRecord& b, uint16_t position);
  void CheckGenerals();
  void CheckTeams();

  Listed listed_;
  int teams_ = UsableTeamCount();
  int generals_ = std::clamp(g_world.generalCount, 0, kMaxGenerals);
  int32_t gx_ = kNoHex, gy_ = kNoHex, index_ = kNoHex;
  const Visit& visit_;
};

void Finder::Run() {
  const int width = std::clamp(g_world.rangeWidth, 0, kMaxGrid);
  const int height = std::clamp(g_world.rangeHeight, 0, kMaxGrid);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) CheckCell(x, y);
  AtNoHex();
  CheckGenerals();
  CheckTeams();
}

void Finder::AtHex(int x, int y) {
  gx_ = g_world.originX + x;
  gy_ = g_world.originY + y;
  index_ = GlobalIndex(x, y);
}

void Finder::AtNoHex() { gx_ = gy_ = index_ = kNoHex; }

void Finder::Add(ProblemKind kind, const char* format, ...) {
  char text[256];
  va_list args;
  va_start(args, format);
  int n = vsnprintf(text, sizeof text, format, args);
  va_end(args);
  n = std::clamp(n, 0, int(sizeof text) - 1);
  visit_({kind, gx_, gy_, index_, std::string(text, size_t(n))});
}

void Finder::CheckCell(int x, int y) {
  const Cell& c = g_world.grid[x][y];
  if (!c.hasUnit && !c.hasBuilding && (c.owner == kUnownedTeam || c.owner < teams_)) return;
  AtHex(x, y);
  const uint16_t position = uint16_t(index_);
  if (c.hasUnit) CheckUnit(c.unit, position);
  if (c.owner != kUnownedTeam && c.owner >= teams_)
    Add(ProblemKind::kOwnersNamingNoTeam, "归属 %u 不是任何军团（共 %d 个军团）", c.owner, teams_);
  if (c.hasBuilding) CheckBuilding(c.building, position);
}

void Finder::CheckUnit(const UnitRecord& u, uint16_t position) {
  if (u.unitClass == 0) {
    // Whatever else the record holds goes with it at the next normalisation.
    Add(ProblemKind::kUnitClassZero, "部队的兵种类别为 0，下次规范化时会被删除");
    return;
  }
  if (ArmyIdOf(u.unitClass, u.unitLevel) == 0)
    Add(ProblemKind::kUnknownUnitType, "兵种目录中没有类别 %u、等级 %u 的兵种", u.unitClass,
        u.unitLevel);
  if (u.general != kNoGeneral && !AttachedGeneral(u))
    Add(ProblemKind::kMissingGeneral, "部队的将军编号 %u 没有对应的将军（共 %d 名将军）", u.general,
        generals_);
  if (u.position != position)
    Add(ProblemKind::kWrongPosition, "部队记录的位置为 %u，不是本格的编号 %u", u.position,
        position);
}

// A record with hasBuilding set that HasBuilding does not call a building has code 0 and
// no anti-air type, so only its position can be wrong.
void Finder::CheckBuilding(const BuildingRecord& b, uint16_t position) {
  if (b.position != position)
    Add(ProblemKind::kWrongPosition, "建筑记录的位置为 %u，不是本格的编号 %u", b.position,
        position);
  if (b.buildingCode != 0 && !Has(listed_.buildings, b.buildingCode))
    Add(ProblemKind::kUnknownBuilding, "建筑代码 %u 不在建筑目录中", b.buildingCode);
  if (IsCityCode(b.buildingCode) && b.cityName != 0 && !Has(listed_.cities, b.cityName))
    Add(ProblemKind::kUnknownCityName, "城市名编号 %u 在语言文件中没有条目", b.cityName);
  if (b.facilityType > kLastAntiAirType)
    Add(ProblemKind::kAntiAirType, "防空类型 %u 大于 %d", b.facilityType, kLastAntiAirType);
}

void Finder::CheckGenerals() {
  const int ranks = g_catalogs.RankCount;
  for (int i = 0; i < generals_; ++i) {
    const GeneralEntry& g = g_world.generals[i];
    bool noCommander = PortraitSlotOf(g.commander) == 0;
    bool rankTooHigh = g.rank > ranks;
    if (noCommander && rankTooHigh)
      Add(ProblemKind::kBadGeneral, "将军 #%d：统帅 %u 不在将军目录中，军衔 %u 超过军衔数 %d", i,
          g.commander, g.rank, ranks);
    else if (noCommander)
      Add(ProblemKind::kBadGeneral, "将军 #%d：统帅 %u 不在将军目录中", i, g.commander);
    else if (rankTooHigh)
      Add(ProblemKind::kBadGeneral, "将军 #%d：军衔 %u 超过军衔数 %d", i, g.rank, ranks);
  }
}

void Finder::CheckTeams() {
  for (int t = 0; t < teams_; ++t) {
    int32_t country = g_world.teams[t].country;
    if (!Has(listed_.countries, country))
      Add(ProblemKind::kUnknownCountry, "军团 %d：国家 %d 不在国家目录中", t, country);
  }
}

}  // namespace

const char* ProblemKindKey(ProblemKind kind) { return kKindTexts[int(kind)].key; }
const char* ProblemKindTitle(ProblemKind kind) { return kKindTexts[int(kind)].title; }

bool FoundInScenario(ProblemKind kind) {
  return kind == ProblemKind::kOwnersNamingNoTeam || kind >= ProblemKind::kUnitClassZero;
}

std::vector<ScenarioProblem> FindScenarioProblems() {
  std::vector<ScenarioProblem> found;
  VisitScenarioProblems([&found](const ScenarioProblem& p) { found.push_back(p); });
  return found;
}

void VisitScenarioProblems(const Visit& visit) {
  // About 15 KB of bit sets: kept off the stack of whatever thread asks.
  auto finder = std::make_unique<Finder>(visit);
  finder->Run();
}

std::string ProblemRow(const ScenarioProblem& p) {
  if (!p.onHex()) return p.text;
  char head[96];
  int n = snprintf(head, sizeof head, "全局 (%d, %d) 编号 %d：", p.globalX, p.globalY, p.hexIndex);
  std::string row(head, size_t(std::clamp(n, 0, int(sizeof head) - 1)));
  row += p.text;
  return row;
}
