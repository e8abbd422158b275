// Placing a battle image onto the world record's grid for a confirmed range, and what a range
// keeps and loses of the file, worked out without placing anything.
#pragma once

#include <cstdint>
#include <vector>

#include "base/status.h"
#include "scenario/battle_read.h"
#include "scenario/world_map.h"
#include "scenario/world_record.h"

// The range first offered to the user: the file's own range, cut to the world map. A file
// range that lies wholly outside the world gives the whole world.
MapRange InitialRange(const MapRange& fileRange, const WorldImage& world);

// Whether a range can be placed and saved: inside the world map, at most 500 x 500, at least
// one hex each way, and every hex addressable by a 16-bit position.
Status CheckRange(const MapRange& range, int32_t worldWidth, int32_t worldHeight);

// What placing the file into a range leaves behind: records that fall outside the range or
// on a hex a later record takes, and ownership bytes that name no team.
struct PlacementReport {
  int ownersOutside = 0;
  int buildingsOutside = 0;
  int unitsOutside = 0;
  int buildingsReplaced = 0;
  int unitsReplaced = 0;
  int ownersNamingNoTeam = 0;
};

// Fills the world record from the world map and the battle image for the confirmed range
// (which must pass CheckRange): coordinates and world info of every hex, the ownership map
// mapped by position, buildings and units by their position (a later record on the same hex
// wins), generals, header and tail.
Status CommitScenario(const BattleImage& image, const WorldImage& world, const MapRange& range,
                      PlacementReport* report = nullptr);

// What confirming `offered` instead of the file's own range leaves out of the scenario:
// the owner bytes of file hexes outside `offered`, and the buildings and units that the
// file's own range would keep (the last record on each of its hexes) but `offered` does not
// hold. Records the file's range drops anyway (outside it, or taken over by a later record
// on the same hex) are not counted. The world record is not touched.
struct RangeLoss {
  int64_t owners = 0;
  int buildings = 0;
  int units = 0;

  bool none() const { return owners == 0 && buildings == 0 && units == 0; }
};
RangeLoss LossOfRange(const BattleImage& image, int32_t worldWidth, const MapRange& offered);

// How many buildings and units placing the file into `range` keeps (the last record on each
// hex of the range), without placing anything: the same counts CountBuildings and CountUnits
// give after CommitScenario. The range must pass CheckRange.
struct KeptRecords {
  int32_t buildings = 0;
  int32_t units = 0;
};
KeptRecords CountKeptRecords(const BattleImage& image, int32_t worldWidth, const MapRange& range);

// Each 16-bit position that at least one building record, and one unit record, names. The
// counts placing keeps depend on nothing else: the last record on a hex is kept, so each
// position inside the range keeps one record, whichever.
struct OccupiedPositions {
  std::vector<uint8_t> buildings = std::vector<uint8_t>(kPositionLimit);
  std::vector<uint8_t> units = std::vector<uint8_t>(kPositionLimit);
};
// Flags the positions of `count` records of `size` bytes at `records`, each record starting
// with its position.
void MarkPositions(const uint8_t* records, size_t count, size_t size, std::vector<uint8_t>& flags);
KeptRecords CountKeptRecords(const OccupiedPositions& occupied, int32_t worldWidth,
                             const MapRange& range);
