// What is wrong with a battle file and the scenario made of it, kind by kind: one checker
// that the editor's problem report (key P) shows and the companion's check prints, so that
// both always agree. The module owns the kinds, their stable keys (the companion's JSON keys)
// and their titles in the user's words.
//
// Three groups of kinds, in the order of ProblemKind:
//   - the file itself, judged with its own range: records outside it, two records on one
//     hex, range hexes a 16-bit position cannot name, owners naming no team, a range the
//     world cannot hold;
//   - what saving the file with its own range would change (the save always sets alpha
//     bytes to 255, puts records into hex order and drops what placement drops): only when
//     that range can be placed;
//   - the scenario held in g_world, judged against the catalogs and the string table.
//
// The scenario's finder walks the hexes of the range in row-major order (row by row, each
// from its first column), then the scenario-wide tables: the generals, then the teams. Within
// a hex come the unit's problems, the owner's, then the building's. Values that mean "none"
// are no problem: owner 255 (unowned), general 255, building code 0 and city name 0 (the
// building editor's "无" items).
//
// "Listed" means what the editors' combos offer: an army whose own category and level are
// the unit's (ArmyIdOf), a commander with a catalog slot, and the Ids of BuildingIds,
// CityIds and CountryIds.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "scenario/battle_read.h"
#include "scenario/world_map.h"

enum class ProblemKind : uint8_t {
  // The file itself.
  kRecordsOutsideRange,
  kRecordsSharingAHex,
  kHexesBeyond16BitPositions,
  kOwnersNamingNoTeam,  // an owner byte that is neither 255 nor a counted team
  kRangeOutsideWorld,   // also an empty range: neither can be placed as it is
  // Its save.
  kAlphaSetOnSave,
  kRecordsReorderedOnSave,
  kRecordsDroppedOnSave,
  // The scenario against the catalogs.
  kUnitClassZero,    // a present unit with unitClass 0: the next normalisation deletes it
  kUnknownUnitType,  // no listed army has the unit's category and level
  kMissingGeneral,   // the unit's general names no entry of the generals table
  kBadGeneral,       // a general's commander is not listed, or its rank is above RankCount
  kWrongPosition,    // a present unit or building record whose position is not its hex's
                     // global index (low 16 bits)
  kUnknownBuilding,  // a present building (HasBuilding) whose code is not listed
  kUnknownCityName,  // a city (code 10100..10199) whose name number is not listed
  kAntiAirType,      // a present building's facilityType above 3
  kUnknownCountry,   // a counted team whose country is not listed
};
constexpr int kProblemKinds = int(ProblemKind::kUnknownCountry) + 1;

// The kind's stable JSON key ("recordsOutsideRange") and its title in the user's words.
const char* ProblemKindKey(ProblemKind kind);
const char* ProblemKindTitle(ProblemKind kind);
// Whether the scenario's finder looks for the kind (the catalogs' group, and owners).
bool FoundInScenario(ProblemKind kind);

constexpr int32_t kNoHex = -1;

struct ScenarioProblem {
  ProblemKind kind = ProblemKind::kUnitClassZero;
  int32_t globalX = kNoHex, globalY = kNoHex;  // the hex's global column and row
  int32_t hexIndex = kNoHex;                   // its global index; kNoHex when scenario-wide
  std::string text;                            // what is wrong, UTF-8
  int64_t count = 1;                           // findings it tells: a save's dropped records
                                               // come as one line for each section

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

// The names the file's findings give records beside their numbers ("建筑记录 #3（油井）"):
// each gives "" for none; a null one names nothing.
struct RecordNames {
  std::string (*building)(const uint8_t* record) = nullptr;
  std::string (*unit)(const uint8_t* record) = nullptr;
  std::string (*team)(const uint8_t* record) = nullptr;
};

// Whether the file's own range can be placed and saved, so that its save's kinds are looked
// for.
bool SaveCheckable(const BattleImage& file, const WorldImage& world);

// The file's and its save's kinds, found on `file` with its own range on a world of
// `world`'s size (its records are not read). Owners come from the file's ownership map only
// with `owners`: the scenario's finder names them by hex otherwise. A hex-bound finding of a
// hex inside the file's range names it. The world record is not touched.
void VisitFileProblems(const BattleImage& file, const WorldImage& world, const RecordNames& names,
                       bool owners, const std::function<void(const ScenarioProblem&)>& visit);

// What the editor's report lists: the kinds of `file` (the battle file as opened or last
// saved; none while no file has bytes) on g_world's world map, each kind's findings together in the
// order of ProblemKind, then the problems of g_world as it is now in the finder's order. A file
// finding on a hex outside g_world's range is kept but cannot be gone to.
std::vector<ScenarioProblem> FindProblems(const BattleImage& file);
