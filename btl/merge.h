// A three-way merge of battle files in the user's terms, for version control: each hex's
// owner, the building and the unit on each hex, each team and each general field by field,
// the header's fields and the tail. A change made on one side only is taken, the same change
// on both sides is taken once, and different changes to the same field of the same thing are
// a conflict, settled for the side `prefer` names and listed in the words diff uses.
//
// The three files must share their range. Buildings and units are matched by the hex they
// name: of several records on one hex, the last in file order is the one merged (the one a
// save keeps), and the merged records are written one a hex in position order, which is the
// order a save writes them. Files in the saved form therefore merge to the saved form. When
// two of the files are the same bytes the merge is the third's (or ours) bytes as they are.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/status.h"
#include "scenario/battle_read.h"

enum class MergeSide { kOurs, kTheirs };

struct MergeOptions {
  MergeSide prefer = MergeSide::kOurs;  // the side a conflicting field takes
  int32_t worldWidth = 0;               // > 0: hexes of records are also named by column and row
};

struct MergeResult {
  std::vector<uint8_t> bytes;          // the merged file
  std::vector<std::string> conflicts;  // one line each, UTF-8
};

// Fails (and leaves `out` empty) when the files cannot be combined: different ranges.
Status MergeBattleFiles(const BattleImage& base, const BattleImage& ours, const BattleImage& theirs,
                        const MergeOptions& options, MergeResult& out);
