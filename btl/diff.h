// What differs between two battle files, in the user's words rather than bytes: header fields
// and range, teams by index and field, owners by hex, buildings and units by hex (changed,
// added, removed), generals by index, the tail. Both files are taken as they are, in file
// order, so files of different ranges compare too. With the catalogs and the string table
// loaded (LoadGameTables), teams, buildings, units and generals are also named.
#pragma once

#include <cstdint>
#include <string>

#include "scenario/battle_read.h"
#include "btl/bounded_lines.h"
#include "scenario/record_fields.h"

struct DiffOptions {
  bool all = false;        // every line; otherwise at most kDiffLinesPerKind of each kind
  int32_t worldWidth = 0;  // > 0: hexes are also named by global column and row
};

constexpr int kDiffLinesPerKind = kLinesPerKind;

// Appends the differences of `b` from `a` to `out`; false when the files are the same bytes.
bool DiffBattleFiles(const BattleImage& a, const BattleImage& b, const DiffOptions& options,
                     std::string& out);

// An owner byte in the user's words: "军团 n", "无" (255), "范围外" (negative: no such hex).
std::string OwnerText(int owner);
