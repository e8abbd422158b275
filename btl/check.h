// `btl check`: what is worth knowing about a battle file that loads, kind by kind, as the
// problem checker (problems/problems.h) finds it: the file's own kinds and its save's, then,
// with the catalogs in the data folder, the scenario's kinds on the file placed with its own
// range (owners of no team are then the finder's, named by global hex). A kind that a
// missing, broken or empty data file decides (every unit type "unknown" without the army
// catalog) is left out and the file is named instead.
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
#include "problems/problems.h"

struct CheckReport {
  bool problemReportChecked = false;  // the catalogs were there and the range could be placed
  bool saveChecked = false;           // the file's own range can be placed and saved
  BoundedLines kinds[kProblemKinds];
  bool leftOut[kProblemKinds] = {};  // a kind of the problem report a data file decides
                                     // that is missing, broken or empty
  GameData data;                     // the data folder's files, as the check found them

  const BoundedLines& operator[](ProblemKind k) const { return kinds[int(k)]; }
  BoundedLines& operator[](ProblemKind k) { return kinds[int(k)]; }
  int64_t total() const;
  int exitStatus() const;  // kExitOk without findings, kExitFindings with
};

// The data files whose tables decide whether a finding of `kind` is one (none for the kinds
// the file alone decides).
std::vector<DataFile> DataFilesDeciding(ProblemKind kind);

// Checks a loaded file against the world map. `data`: what LoadGameTables loaded; with at
// least one catalog the problem report's kinds are looked for, but for those a file that
// could not be used decides, and records are named. `all`: keep every line. Uses the world
// record as a scratch area for the placement.
CheckReport CheckBattleFile(const BattleImage& image, const WorldImage& world, const GameData& data,
                            bool all);

// The report as text: a verdict, a count per kind, then each kind's lines.
std::string CheckText(const CheckReport& report, const std::string& path);
// The same as one JSON document; every kind is there under its key, with count 0 when none.
std::string CheckJson(const CheckReport& report, const std::string& path);
// The JSON document of a file that cannot be loaded (exit status 2).
std::string CheckRefusalJson(const std::string& path, const std::string& message);
