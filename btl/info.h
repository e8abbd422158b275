// `btl info`: the header, range, counts (as stored and as a save would write them), teams,
// generals and tail of a battle file, as text or as one JSON document with the same content.
// Countries of teams and commanders of generals are named when the catalogs and the string
// table are loaded (LoadGameTables); numbers alone otherwise. The world map is needed only for
// the counts a save would write: an empty `world` (width 0, none read) leaves them out and says so.
#pragma once

#include <string>

#include "scenario/battle_summary.h"

// The text form is appended to `out`: for 100,000 generals it is megabytes.
void AddInfoText(const BattleSummary& summary, const WorldImage& world, const std::string& path,
                 std::string& out);
std::string InfoJson(const BattleSummary& summary, const WorldImage& world,
                     const std::string& path);
