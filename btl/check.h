// `btl check`: what is worth knowing about a battle file that loads, kind by kind.
//
// Three groups of kinds, in this order:
//   - the file itself: records outside its range, two records on one hex, range hexes a
//     16-bit position cannot name, owners naming no team, a range the world cannot hold;
//   - what saving the file with its own range would change, found by running the save's
//     own placement and byte building in memory (nothing is written): alpha bytes set to
//     255, records put into hex order, records dropped;
//   - with the catalogs in the data folder, the kinds of the editor's problem report, from
//     the same finder (owners of no team are then the finder's, named by global hex). A kind
//     that a missing, broken or empty data file decides (every unit type "unknown" without
//     the army catalog) is left out and the file is named instead.
// Each kind counts every finding and keeps at most kLinesPerKind lines unless all are
// wanted, so memory stays bounded whatever the file holds.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "scenario/battle_read.h"
#include "scenario/world_map.h"
#include "btl/bounded_lines.h"
#include "btl/names.h"

enum class CheckKind : uint8_t {
  kRecordsOutsideRange,
  kRecordsSharingAHex,
  kHexesBeyond16BitPositions,
  kOwnersNamingNoTeam,
  kRangeOutsideWorld,  // also an empty range: neither can be placed as it is
  kAlphaSetOnSave,
  kRecordsReorderedOnSave,
  kRecordsDroppedOnSave,
  kUnitClassZero,
  kUnknownUnitType,
  kMissingGeneral,
  kBadGeneral,
  kWrongPosition,
  kUnknownBuilding,
  kUnknownCityName,
  kAntiAirType,
  kUnknownCountry,
};
constexpr int kCheckKinds = int(CheckKind::kUnknownCountry) + 1;

// The kind's stable JSON key ("recordsOutsideRange") and its title in the user's words.
const char* CheckKindKey(CheckKind kind);
const char* CheckKindTitle(CheckKind kind);

struct CheckReport {
  bool problemReportChecked = false;  // the catalogs were there and the range could be placed
  bool saveChecked = false;           // the file's own range can be placed and saved
  BoundedLines kinds[kCheckKinds];
  bool leftOut[kCheckKinds] = {};     // a kind of the problem report a data file decides
                                      // that is missing, broken or empty
  GameData data;                      // the data folder's files, as the check found them

  const BoundedLines& operator[](CheckKind k) const { return kinds[int(k)]; }
  BoundedLines& operator[](CheckKind k) { return kinds[int(k)]; }
  int64_t total() const;
  int exitStatus() const;  // kExitOk without findings, kExitFindings with
};

// The data files whose tables decide whether a finding of `kind` is one (none for the kinds
// the file alone decides).
std::vector<DataFile> DataFilesDeciding(CheckKind kind);

// Checks a loaded file against the world map. `data`: what LoadGameTables loaded; with at
// least one catalog the problem report's kinds are looked for, but for those a file that
// could not be used decides, and records are named. `all`: keep every line. Uses the world
// record as a scratch area for the placement.
CheckReport CheckBattleFile(const BattleImage& image, const WorldImage& world,
                            const GameData& data, bool all);

// The report as text: a verdict, a count per kind, then each kind's lines.
std::string CheckText(const CheckReport& report, const std::string& path);
// The same as one JSON document; every kind is there under its key, with count 0 when none.
std::string CheckJson(const CheckReport& report, const std::string& path);
// The JSON document of a file that cannot be loaded (exit status 2).
std::string CheckRefusalJson(const std::string& path, const std::string& message);
