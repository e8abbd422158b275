// Reading a battle file whole (its layout in scenario/battle_format.h).
//
// Loading is split in three so that nothing of the world record changes until the file and
// the world map are known to be good and the user has confirmed the range:
//   ReadBattleFile  -> a checked image of the file's bytes (this module)
//   (the editor lets the user confirm the range, starting from InitialRange)
//   CommitScenario  -> places the image into the world record for that range
//                      (scenario/battle_place.h).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/status.h"
#include "scenario/battle_format.h"
#include "scenario/world_record.h"

// A battle file whose header counts have been checked against the capacities and whose
// sections have been checked against the file's length. The layout's offsets index `bytes`.
struct BattleImage {
  std::string name;  // for messages
  std::vector<uint8_t> bytes;
  BattleLayout layout;

  MapRange fileRange() const { return layout.fileRange(); }
  size_t tailSize() const { return layout.tailSize(); }
  BuildingRecord building(int i) const;
  UnitRecord unit(int i) const;
  uint8_t owner(int column, int row) const {
    return bytes[layout.ownersAt + size_t(row) * layout.header.rangeWidth + column];
  }
};

// Checks `bytes` as a battle file named `name` and keeps them in `out`; `out` is left as it
// was when the file is refused.
Status ParseBattleFile(std::vector<uint8_t> bytes, const std::string& name, BattleImage& out);
Status ReadBattleFile(const std::string& path, BattleImage& out);
