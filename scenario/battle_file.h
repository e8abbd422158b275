// The battle file (.btl): header (116 bytes), teams (116 each), ownership map (one byte per
// hex of the file's range, row by row), buildings (20 each), units (28 each), generals
// (4 each), then a tail kept verbatim. Little-endian, no padding, no magic number.
//
// Loading is split in three so that nothing of the world record changes until the file and
// the world map are known to be good and the user has confirmed the range:
//   ReadBattleFile  -> a checked image of the file's bytes
//   (the editor lets the user confirm the range, starting from InitialRange)
//   CommitScenario  -> places the image into the world record for that range.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/status.h"
#include "scenario/world_map.h"
#include "scenario/world_record.h"

constexpr size_t kHeaderBytes = sizeof(BtlHeader);

// The largest file every section of which fits the tables.
constexpr size_t kMaxBattleFileBytes = kHeaderBytes + kMaxTeams * kTeamFileBytes +
                                       size_t(kMaxGrid) * kMaxGrid +
                                       size_t(kMaxBuildings) * sizeof(BuildingRecord) +
                                       size_t(kMaxUnits) * sizeof(UnitRecord) +
                                       size_t(kMaxGenerals) * sizeof(GeneralEntry) + kMaxTail;

// Where each section of a battle file lies, worked out from its header and its size alone.
struct BattleLayout {
  BtlHeader header{};
  size_t size = 0;  // of the whole file
  size_t teamsAt = 0, ownersAt = 0, buildingsAt = 0, unitsAt = 0, generalsAt = 0, tailAt = 0;
};

// The checks every reader makes of a file before its sections are read: its size against the
// largest valid file, the header's counts against the capacities, each section against the
// file's length, the tail against its limit. `start` holds the file's first
// min(size, kHeaderBytes) bytes. Messages name the file as `name`.
Status LayOutBattleFile(const uint8_t* start, size_t size, const std::string& name,
                        BattleLayout& out);

// A battle file whose header counts have been checked against the capacities and whose
// sections have been checked against the file's length. Offsets index `bytes`.
struct BattleImage {
  std::string name;  // for messages
  std::vector<uint8_t> bytes;
  BtlHeader header{};
  size_t teamsAt = 0, ownersAt = 0, buildingsAt = 0, unitsAt = 0, generalsAt = 0, tailAt = 0;

  MapRange fileRange() const {
    return {header.originX, header.originY, header.rangeWidth, header.rangeHeight};
  }
  size_t tailSize() const { return bytes.size() - tailAt; }
  BuildingRecord building(int i) const;
  UnitRecord unit(int i) const;
  uint8_t owner(int column, int row) const {
    return bytes[ownersAt + size_t(row) * header.rangeWidth + column];
  }
};

Status ParseBattleFile(std::vector<uint8_t> bytes, const std::string& name, BattleImage& out);
Status ReadBattleFile(const std::string& path, BattleImage& out);

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

// What a summary of a battle file needs (btl info), read in file order through one small
// buffer instead of whole: the layout, the teams and the generals as the file holds them,
// and the positions the records name. The ownership map and the tail are not read. A file
// ReadBattleFile refuses is refused with the same status.
struct BattleSummary {
  std::string name;  // for messages
  BattleLayout layout;
  std::vector<uint8_t> teams;  // the team section's bytes
  std::vector<GeneralEntry> generals;
  OccupiedPositions occupied;

  MapRange fileRange() const {
    const BtlHeader& h = layout.header;
    return {h.originX, h.originY, h.rangeWidth, h.rangeHeight};
  }
  size_t tailSize() const { return layout.size - layout.tailAt; }
  TeamRecord team(int i) const;
};
Status SummariseBattleFile(const std::string& path, BattleSummary& out);

// Counts of the record as a save would write them.
int32_t CountBuildings();
int32_t CountUnits();

// The file as a save writes it now. Updates the record's header (range and counts) and the
// teams' colour bytes (alpha 255), as saving always has.
Status BuildBattleBytes(std::vector<uint8_t>& out);

// Writes the current record to `path` through the safe-save path: the old file stays as it
// was unless the whole new file has been written.
Status SaveScenarioTo(const std::string& path);
// The same through the given file operations (see scenario/safe_save.h).
class SaveOps;
Status SaveScenarioTo(const std::string& path, SaveOps& ops);
