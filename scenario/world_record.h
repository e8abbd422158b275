// The scenario held by the editor: one process-wide world record with the map grid of the
// chosen range, the world map, the teams, the generals and the loaded file's header and tail.
// The record layouts below are the battle file's own bytes (little-endian, no padding).
#pragma once

#include <cstddef>
#include <cstdint>

// Capacities of the static tables.
constexpr int kMaxGrid = 500;      // grid and world map, each direction
constexpr int kMaxTeams = 255;     // usable team slots 0..254
constexpr int kUnownedTeam = 255;  // owner byte of a hex nobody owns
constexpr int kNoGeneral = 255;    // unit.general of a unit without general
constexpr int kMaxGenerals = 100000;
constexpr int kMaxBuildings = 100000;  // building records in one file
constexpr int kMaxUnits = 1000000;     // unit records in one file
constexpr int kMaxTail = 10000000;     // bytes after the generals section
constexpr int kPositionLimit = 65536;  // a record's position is 16 bits

#pragma pack(push, 1)

struct UnitRecord {
  uint16_t position;  // global hex index, low 16 bits
  uint8_t unitClass;  // army category; 0 = no unit
  uint8_t unitLevel;
  uint16_t hp;
  uint16_t maxHp;
  uint8_t keep8[2];
  uint16_t buildTime;
  uint8_t general;  // index into generals; 255 = none
  uint8_t movement;
  uint8_t morale;
  uint8_t keep15;
  uint8_t earlyPolicy;  // 0 none, 1 attack, 2 conservative, 3 defend, 4 retreat
  uint8_t latePolicy;
  uint16_t changeTurn;  // turn at which latePolicy replaces earlyPolicy
  uint8_t target;
  uint8_t keep21;
  uint8_t direction;  // 0 none, 1 left, 2 up, 3 right, 4 down
  uint8_t attack;     // 0 holds fire, 1 attacks
  uint8_t keep24[2];
  uint8_t dialogue;
  uint8_t keep27;
};
static_assert(sizeof(UnitRecord) == 28);
static_assert(offsetof(UnitRecord, unitClass) == 2);
static_assert(offsetof(UnitRecord, hp) == 4);
static_assert(offsetof(UnitRecord, maxHp) == 6);
static_assert(offsetof(UnitRecord, buildTime) == 10);
static_assert(offsetof(UnitRecord, general) == 12);
static_assert(offsetof(UnitRecord, earlyPolicy) == 16);
static_assert(offsetof(UnitRecord, changeTurn) == 18);
static_assert(offsetof(UnitRecord, target) == 20);
static_assert(offsetof(UnitRecord, direction) == 22);
static_assert(offsetof(UnitRecord, dialogue) == 26);

struct BuildingRecord {
  uint16_t position;     // global hex index, low 16 bits
  uint16_t cityName;     // number of the string table's city name
  uint8_t facilityType;  // 0 none, 1 AA machine gun, 2 AA gun, 3 AA missile
  uint8_t facilityLevel;
  uint16_t buildingCode;  // building catalog Id; 10100..10199 are cities
  uint8_t appearance;
  uint8_t industry;
  uint8_t airport;
  uint8_t missile;
  uint8_t nuclear;
  uint8_t defence;
  uint8_t keep14[2];
  uint8_t flag;
  uint8_t target;
  uint8_t dialogue;
  uint8_t fire;
};
static_assert(sizeof(BuildingRecord) == 20);
static_assert(offsetof(BuildingRecord, facilityType) == 4);
static_assert(offsetof(BuildingRecord, buildingCode) == 6);
static_assert(offsetof(BuildingRecord, appearance) == 8);
static_assert(offsetof(BuildingRecord, defence) == 13);
static_assert(offsetof(BuildingRecord, flag) == 16);
static_assert(offsetof(BuildingRecord, fire) == 19);

// One hex of the world map file; byte 0 is the terrain class (1 = sea).
struct WorldInfo {
  uint8_t terrain;
  uint8_t keep[11];
};
static_assert(sizeof(WorldInfo) == 12);

// The first 116 bytes are the file's team record; colour is kept in memory only.
struct TeamRecord {
  int32_t teamNumber;
  int32_t country;
  int32_t money;
  int32_t steel;
  int32_t oil;
  int32_t control;
  int32_t camp;
  int32_t victoryCondition;
  float unitBonus;
  float taxRate;
  uint8_t fileColour[4];  // red, green, blue, alpha
  int32_t techLevels[12];
  int32_t bombStocks[3];
  uint8_t keep104[12];
  uint32_t colour;  // 0x00BBGGRR
};
constexpr size_t kTeamFileBytes = 116;
static_assert(offsetof(TeamRecord, unitBonus) == 32);
static_assert(offsetof(TeamRecord, fileColour) == 40);
static_assert(offsetof(TeamRecord, techLevels) == 44);
static_assert(offsetof(TeamRecord, bombStocks) == 92);
static_assert(offsetof(TeamRecord, keep104) == 104);
static_assert(offsetof(TeamRecord, colour) == kTeamFileBytes);
static_assert(sizeof(TeamRecord) == 120);

struct GeneralEntry {
  uint16_t commander;  // commander catalog Id
  uint16_t rank;       // rank catalog Id; 0 = no rank
};
static_assert(sizeof(GeneralEntry) == 4);

struct BtlHeader {
  uint8_t keep0[8];
  int32_t originX;
  int32_t originY;
  int32_t rangeWidth;
  int32_t rangeHeight;
  int32_t teamCount;
  int32_t buildingCount;
  int32_t unitCount;
  uint8_t keep36[4];
  int32_t generalCount;
  uint8_t keep44[72];
};
static_assert(sizeof(BtlHeader) == 116);
static_assert(offsetof(BtlHeader, originX) == 8);
static_assert(offsetof(BtlHeader, teamCount) == 24);
static_assert(offsetof(BtlHeader, unitCount) == 32);
static_assert(offsetof(BtlHeader, generalCount) == 40);
static_assert(offsetof(BtlHeader, keep44) == 44);

#pragma pack(pop)

struct Cell {
  int32_t globalX;
  int32_t globalY;
  uint8_t owner;        // team slot, or 255
  uint8_t hasBuilding;  // 0 or 1
  uint8_t hasUnit;      // 0 or 1
  uint8_t align_;       // keeps the records below at even offsets
  UnitRecord unit;
  BuildingRecord building;
  WorldInfo worldInfo;  // copy of world[globalX][globalY]
};

static_assert(offsetof(Cell, unit) % 4 == 0 && offsetof(Cell, building) % 4 == 0);

// A hex of the world map by global column and row.
struct GlobalHex {
  int32_t x = 0, y = 0;
  bool operator==(const GlobalHex&) const = default;
};

// A rectangle of the world map in global hexes.
struct MapRange {
  int32_t originX;
  int32_t originY;
  int32_t width;
  int32_t height;
};

struct WorldRecord {
  Cell grid[kMaxGrid][kMaxGrid];        // [local column][local row]
  WorldInfo world[kMaxGrid][kMaxGrid];  // [global column][global row]
  int32_t worldWidth;
  int32_t worldHeight;
  int32_t originX;
  int32_t originY;
  int32_t rangeWidth;
  int32_t rangeHeight;
  TeamRecord teams[256];
  int32_t teamCount;
  GeneralEntry generals[kMaxGenerals];
  int32_t generalCount;
  BtlHeader header;
  int32_t fileSize;
  int32_t tailOffset;
  uint8_t tail[kMaxTail];
};

// The one scenario of the process; zero until a file is loaded.
extern WorldRecord g_world;

MapRange CurrentRange();

// Global hex index of local hex (x, y) of the current range, in 32 bits.
int32_t GlobalIndex(int x, int y);

// True when every hex of the range has a global index below 65,536, so that the 16-bit
// position of the file's records names each hex of the range unambiguously.
bool RangeFitsPositions(const MapRange& range, int32_t worldWidth);

// A building record stands for a building when its type, code or defence is set; the other
// bytes (a city name, facilities) alone do not make one.
bool HasBuilding(const BuildingRecord& building);
// Building codes 10100..10199 are cities.
inline bool IsCityCode(int32_t buildingCode) { return buildingCode / 100 == 101; }

// Recomputes hasUnit / hasBuilding of local hex (x, y) from its records, clears absent
// records (a unit keeps general 255) and stamps present ones with the hex's index.
void NormaliseCell(int x, int y);

// Removes team k: its hexes become unowned and lose their unit and building, owners above
// k move down by one, and teams above k move down one slot. Nothing when there are no
// teams or k is -1.
void RemoveTeam(int k);

// The empty state of a cell's records.
void ClearUnit(UnitRecord& unit);
void ClearBuilding(BuildingRecord& building);

// The generals entry a unit names, or null for 255 and for an index past the list.
const GeneralEntry* AttachedGeneral(const UnitRecord& unit);

// teamCount limited to the usable slots 0..254.
int UsableTeamCount();
