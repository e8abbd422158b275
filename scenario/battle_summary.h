// What a summary of a battle file needs (btl info), read in file order through one small
// buffer instead of whole.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/status.h"
#include "scenario/battle_format.h"
#include "scenario/battle_place.h"
#include "scenario/battle_read.h"
#include "scenario/world_record.h"

// The layout, the teams and the generals as the file holds them, and the positions the
// records name. The ownership map and the tail are not read. A file ReadBattleFile refuses
// is refused with the same status.
struct BattleSummary {
  std::string name;  // for messages
  BattleLayout layout;
  std::vector<uint8_t> teams;  // the team section's bytes
  std::vector<GeneralEntry> generals;
  OccupiedPositions occupied;

  MapRange fileRange() const { return layout.fileRange(); }
  size_t tailSize() const { return layout.tailSize(); }
  TeamRecord team(int i) const;
};
Status SummariseBattleFile(const std::string& path, BattleSummary& out);

// The same summary of a file already read whole.
void SummariseBattleImage(const BattleImage& image, BattleSummary& out);
