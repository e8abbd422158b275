// Battle files and world maps built in memory by tests, section by section.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "scenario/battle_place.h"
#include "scenario/world_map.h"
#include "scenario/world_record.h"

struct BattleFixture {
  BtlHeader header{};  // counts are taken from the vectors below
  std::vector<TeamRecord> teams;
  std::vector<uint8_t> owners;  // header.rangeWidth * header.rangeHeight bytes
  std::vector<BuildingRecord> buildings;
  std::vector<UnitRecord> units;
  std::vector<GeneralEntry> generals;
  std::vector<uint8_t> tail;

  std::vector<uint8_t> bytes() const;
};

// A world of the given size with a recognisable terrain byte per hex.
WorldImage MakeWorld(int width, int height);
std::vector<uint8_t> WorldFileBytes(const WorldImage& world);

// The 40 x 30 world CleanScenario lies on, made once.
const WorldImage& World40x30();
// The 16-bit position of global hex (gx, gy) on a world `worldWidth` wide.
inline uint16_t Pos(int gx, int gy, int worldWidth = 40) { return uint16_t(gy * worldWidth + gx); }

TeamRecord MakeTeam(int country, uint8_t r, uint8_t g, uint8_t b, uint8_t alpha = 255);
UnitRecord MakeUnit(uint16_t position, uint8_t unitClass, uint8_t level, uint8_t general = 255);
BuildingRecord MakeBuilding(uint16_t position, uint16_t code);

// A small, clean scenario on a 40 x 30 world: range (5, 4) 6 x 5, three teams, records in
// row-major order one per hex, two generals and a tail. Saving it unchanged gives its bytes.
BattleFixture CleanScenario();

// The demo data generator's world map and its battle files "demo_small", "demo_large" and
// "demo_messy", made once.
const WorldImage& DemoWorldImage();
const std::vector<uint8_t>& DemoBattleBytes(const std::string& name);
// The demo data generator's five catalogs and string table, loaded from memory into
// g_catalogs and g_strings.
void LoadDemoCatalogs();

// Parses bytes and commits them with the given range (the file's own when none). Fails the
// calling test on error.
void LoadForTest(const std::vector<uint8_t>& bytes, const WorldImage& world,
                 const MapRange* range = nullptr, PlacementReport* report = nullptr);

std::vector<uint8_t> SaveForTest();

// What the user edits in the world record, as bytes: the range, the teams (without the
// file colour bytes, which every save rewrites from the colour), every hex of the range,
// the generals and the tail. Equal snapshots mean the same scenario.
std::vector<uint8_t> RecordSnapshot();

void WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes);
std::vector<uint8_t> ReadFileBytes(const std::string& path);
