// What is wrong with the scenario held in g_world, judged against the catalogs and the string
// table: one list that the editor's problem report (key P) shows and the companion's check
// can print, so that both always agree.
//
// The finder walks the hexes of the range in row-major order (row by row, each from its
// first column), then the scenario-wide tables: the generals, then the teams. Within a hex
// come the unit's problems, the owner's, then the building's. Values that mean "none" are no
// problem:
// owner 255 (unowned), general 255, building code 0 and city name 0 (the building editor's
// "无" items).
//
// "Listed" means what the editors' combos offer: an army whose own category and level are
// the unit's (ArmyIdOf), a commander with a catalog slot, and the Ids of BuildingIds,
// CityIds and CountryIds.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

enum class ProblemKind : uint8_t {
  kUnitClassZero,     // a present unit with unitClass 0: the next normalisation deletes it
  kUnknownUnitType,   // no listed army has the unit's category and level
  kMissingGeneral,    // the unit's general names no entry of the generals table
  kBadGeneral,        // a general's commander is not listed, or its rank is above RankCount
  kWrongPosition,     // a present unit or building record whose position is not its hex's
                      // global index (low 16 bits)
  kOwnerNamesNoTeam,  // an owner byte that is neither 255 nor a counted team
  kUnknownBuilding,   // a present building (HasBuilding) whose code is not listed
  kUnknownCityName,   // a city (code 10100..10199) whose name number is not listed
  kAntiAirType,       // a present building's facilityType above 3
  kUnknownCountry,    // a counted team whose country is not listed
};

constexpr int32_t kNoHex = -1;

struct ScenarioProblem {
  ProblemKind kind = ProblemKind::kUnitClassZero;
  int32_t globalX = kNoHex, globalY = kNoHex;  // the hex's global column and row
  int32_t hexIndex = kNoHex;                   // its global index; kNoHex when scenario-wide
  std::string text;                            // what is wrong, UTF-8

  bool onHex() const { return hexIndex != kNoHex; }
};

// Every problem of g_world as it is now.
std::vector<ScenarioProblem> FindScenarioProblems();
// The same problems in the same order, each handed to `visit` as it is found, for callers
// that count or keep only some of them: nothing is held beyond the one being visited.
void VisitScenarioProblems(const std::function<void(const ScenarioProblem&)>& visit);

// The problem as one line: "全局 (列, 行) 编号 N：描述" for a hex, the description alone
// otherwise.
std::string ProblemRow(const ScenarioProblem& problem);
