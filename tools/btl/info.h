// `btl info`: the header, range, counts (as stored and as a save would write them), teams,
// generals and tail of a battle file, as text or as one JSON document with the same content.
// Countries of teams and commanders of generals are named when the catalogs and the string
// table are loaded (LoadGameTables); numbers alone otherwise.
#pragma once

#include <string>

#include "scenario/battle_file.h"

std::string InfoText(const BattleImage& image, const WorldImage& world, const std::string& path);
std::string InfoJson(const BattleImage& image, const WorldImage& world, const std::string& path);
