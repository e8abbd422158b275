// The battle file (.btl): header (116 bytes), teams (116 each), ownership map (one byte per
// hex of the file's range, row by row), buildings (20 each), units (28 each), generals
// (4 each), then a tail kept verbatim. Little-endian, no padding, no magic number.
//
// This module states where each section lies and makes the checks every reader makes before
// it reads a section; the readers are scenario/battle_read.h (the whole file) and
// scenario/battle_summary.h (what a summary needs, through a small buffer).
#pragma once

#include <cstdint>
#include <string>

#include "base/status.h"
#include "scenario/world_record.h"

constexpr size_t kHeaderBytes = sizeof(BtlHeader);

// The largest file every section of which fits the tables.
constexpr size_t kMaxBattleFileBytes =
    kHeaderBytes + kMaxTeams * kTeamFileBytes + size_t(kMaxGrid) * kMaxGrid +
    size_t(kMaxBuildings) * sizeof(BuildingRecord) + size_t(kMaxUnits) * sizeof(UnitRecord) +
    size_t(kMaxGenerals) * sizeof(GeneralEntry) + kMaxTail;

// Where each section of a battle file lies, worked out from its header and its size alone.
// Offsets count from the file's first byte.
struct BattleLayout {
  BtlHeader header{};
  size_t size = 0;  // of the whole file
  size_t teamsAt = 0, ownersAt = 0, buildingsAt = 0, unitsAt = 0, generalsAt = 0, tailAt = 0;

  MapRange fileRange() const {
    return {header.originX, header.originY, header.rangeWidth, header.rangeHeight};
  }
  size_t tailSize() const { return size - tailAt; }
};

// The checks every reader makes of a file before its sections are read: its size against the
// largest valid file, the header's counts against the capacities, each section against the
// file's length, the tail against its limit. `start` holds the file's first
// min(size, kHeaderBytes) bytes. Messages name the file as `name`.
Status LayOutBattleFile(const uint8_t* start, size_t size, const std::string& name,
                        BattleLayout& out);

// What every reader says of a file it cannot open or read, and of one larger than
// kMaxBattleFileBytes (found before its size is known to the layout).
Status CannotReadBattleFile(const std::string& path);
Status LargerThanAnyBattleFile(const std::string& path);
