// The demo game data: a world map, the five JSON catalogs, the string table, the
// configuration file, every picture the editor loads and three battle files, all made by
// code from fixed seeds, so the same bytes come out on every run and in both builds.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "scenario/world_record.h"

// ---- World map ----------------------------------------------------------------------------

constexpr int kDemoWorldWidth = 200;
constexpr int kDemoWorldHeight = 120;

// Terrain classes of the world map's byte 0.
enum DemoTerrain : uint8_t {
  kPlains = 0,
  kSea = 1,
  kBeach = 2,
  kSnowFirst = 3,      // 3..5
  kMountainFirst = 6,  // 6..8
  kForestFirst = 9,    // 9..19
  kForestLast = 19,
};

struct DemoWorld {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> terrain;    // [row * width + column]
  std::vector<uint8_t> elevation;  // 0..255, carried in record byte 1

  uint8_t at(int x, int y) const { return terrain[size_t(y) * width + x]; }
  bool is_land(int x, int y) const { return at(x, y) != kSea; }
  // True when one of the six neighbours (odd columns sit half a hex lower) is sea.
  bool touches_sea(int x, int y) const;
};

DemoWorld MakeDemoWorld();
// The world.bin bytes: 8 fixed bytes, width, height, then 12-byte records row by row.
std::string EncodeWorldMap(const DemoWorld& world);

// ---- Catalogs ----------------------------------------------------------------------------

struct DemoRank {
  int id;
  int life;
  std::string name;
};

struct DemoCountry {
  int id;  // 1..199, the flag picture's number
  std::string name;
};

struct DemoArmy {
  int id;        // from 100001
  int category;  // "Army", 1..8
  int level;     // 1..5
  int hp;
  int mobility;
  int attack;
  int cost;
  std::string name;  // its first character names the category
};

struct DemoCommander {
  int id;
  std::string photo;  // ASCII picture name under 图片/smallheads, without ".png"
  std::string name;
};

struct DemoBuilding {
  int id;  // 10100..10109 are cities
  std::string name;
};

struct DemoCity {
  int id;  // the string table's city_cityname_ number
  std::string name;
};

struct DemoCatalogs {
  std::vector<DemoRank> ranks;
  std::vector<DemoCountry> countries;
  std::vector<DemoArmy> armies;
  std::vector<DemoCommander> commanders;
  std::vector<DemoBuilding> buildings;
  std::vector<DemoCity> cities;
};

constexpr int kFirstCityCode = 10100;
constexpr int kCityLevels = 10;  // codes 10100..10109

DemoCatalogs MakeDemoCatalogs();

// ---- Battle files -------------------------------------------------------------------------

// A battle file's sections before encoding. EncodeScenario fills the header's four record
// counts from the vectors; everything else is written as given.
struct DemoScenario {
  BtlHeader header{};
  std::vector<TeamRecord> teams;  // the first kTeamFileBytes of each are written
  std::vector<uint8_t> owners;    // rangeWidth * rangeHeight bytes, row by row
  std::vector<BuildingRecord> buildings;
  std::vector<UnitRecord> units;
  std::vector<GeneralEntry> generals;
  std::string tail;
};

std::string EncodeScenario(const DemoScenario& scenario);

// About 16 x 14 hexes, 3 teams, a dozen units and buildings, two cities, two generals, no
// tail: records in row-major order, one per hex, all inside the range.
DemoScenario MakeSmallScenario(const DemoWorld& world, const DemoCatalogs& catalogs);
// 120 x 80 hexes at (10, 5), 12 teams, about 2000 units, 600 buildings, 200 generals and a
// tail of a few KiB, laid out as cleanly as the small one.
DemoScenario MakeLargeScenario(const DemoWorld& world, const DemoCatalogs& catalogs);
// A small file with the faults a checker must find: records out of order, two units on one
// hex, a building outside the range, a unit of class 0, team alpha bytes other than 255, an
// owner byte naming no team and a unit whose general index names no entry.
DemoScenario MakeMessyScenario(const DemoWorld& world, const DemoCatalogs& catalogs);

// ---- The whole folder --------------------------------------------------------------------

struct DemoFile {
  std::string path;  // relative to the output folder, built with JoinPath
  std::string bytes;
};

// The five JSON catalogs, stringtable_cn.ini and 配置.ini (GBK), appended as files of 数据.
// Returns an error sentence, empty when all went well.
std::string MakeCatalogFiles(const DemoCatalogs& catalogs, std::vector<DemoFile>& files);
// Every picture of 图片 as PNG: flags, facilities, anti-air, level mark, buttons, arrows and
// one portrait per commander under smallheads.
void MakePictureFiles(const DemoCatalogs& catalogs, std::vector<DemoFile>& files);

// Every file of the demo data folder, in memory, in a fixed order. Returns an error sentence,
// empty when all went well.
std::string MakeDemoFiles(std::vector<DemoFile>& files);

// Writes the data folder into out_dir (created if missing; its parent must exist):
// 数据/ with world.bin, the catalogs, the string table and 配置.ini, 图片/ with the
// pictures, and the three .btl files at the top. Returns an error sentence, empty when all
// went well.
std::string WriteDemoData(const std::string& out_dir);
