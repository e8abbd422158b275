// Writes the seed corpora of the fuzz targets: battle files with every section at counts 0
// and 1 and at the capacities where that stays small, world maps of a few sizes. The demo
// data's own files are added by the fuzz script.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "scenario/battle_file.h"

namespace {

namespace fs = std::filesystem;

void Put(std::vector<uint8_t>& out, const void* p, size_t n) {
  size_t at = out.size();
  out.resize(at + n);
  memcpy(out.data() + at, p, n);
}

void Save(const fs::path& path, const std::vector<uint8_t>& bytes) {
  FILE* f = fopen(path.string().c_str(), "wb");
  if (!f) return;
  fwrite(bytes.data(), 1, bytes.size(), f);
  fclose(f);
}

// A battle file on a 60-wide world: range (2, 3) w x h, n records of each kind.
std::vector<uint8_t> Battle(int w, int h, int teams, int buildings, int units, int generals,
                            int tail) {
  BtlHeader hd{};
  hd.originX = 2;
  hd.originY = 3;
  hd.rangeWidth = w;
  hd.rangeHeight = h;
  hd.teamCount = teams;
  hd.buildingCount = buildings;
  hd.unitCount = units;
  hd.generalCount = generals;
  std::vector<uint8_t> out;
  Put(out, &hd, sizeof hd);
  for (int i = 0; i < teams; ++i) {
    TeamRecord t{};
    t.country = i;
    t.fileColour[0] = uint8_t(i * 40);
    t.fileColour[3] = uint8_t(i);
    Put(out, &t, kTeamFileBytes);
  }
  for (int i = 0; i < w * h; ++i) out.push_back(uint8_t(i % 3 == 0 ? 255 : i % (teams + 2)));
  for (int i = 0; i < buildings; ++i) {
    BuildingRecord b{};
    b.position = uint16_t((3 + i / w % (h + 1)) * 60 + 2 + i % w);
    b.buildingCode = uint16_t(i % 2 ? 10100 + i % 10 : i);
    b.defence = uint8_t(i & 1);
    Put(out, &b, sizeof b);
  }
  for (int i = 0; i < units; ++i) {
    UnitRecord u{};
    u.position = uint16_t((3 + i / w % (h + 1)) * 60 + 2 + (i * 7) % (w + 1));
    u.unitClass = uint8_t(i % 5);
    u.general = uint8_t(i % 3 ? 255 : i);
    Put(out, &u, sizeof u);
  }
  for (int i = 0; i < generals; ++i) {
    GeneralEntry g{uint16_t(i), uint16_t(i % 11)};
    Put(out, &g, sizeof g);
  }
  for (int i = 0; i < tail; ++i) out.push_back(uint8_t(i * 17));
  return out;
}

std::vector<uint8_t> World(int w, int h) {
  std::vector<uint8_t> out(8, 0);
  Put(out, &w, 4);
  Put(out, &h, 4);
  for (int i = 0; i < w * h; ++i) {
    WorldInfo info{};
    info.terrain = uint8_t(i % 21);
    Put(out, &info, sizeof info);
  }
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    fprintf(stderr, "usage: make_seeds FOLDER\n");
    return 2;
  }
  fs::path root = argv[1];
  fs::create_directories(root / "battle_fuzz");
  fs::create_directories(root / "world_fuzz");
  int n = 0;
  auto battle = [&](std::vector<uint8_t> bytes) {
    Save(root / "battle_fuzz" / ("seed" + std::to_string(n++) + ".btl"), bytes);
  };
  battle(Battle(0, 0, 0, 0, 0, 0, 0));
  battle(Battle(1, 1, 1, 1, 1, 1, 1));
  battle(Battle(5, 4, 3, 6, 9, 2, 16));
  battle(Battle(20, 10, 255, 30, 40, 300, 64));  // teams at their capacity
  std::vector<uint8_t> over = Battle(2, 2, 1, 0, 0, 0, 0);
  int32_t huge = -1;
  memcpy(over.data() + offsetof(BtlHeader, unitCount), &huge, 4);
  battle(over);

  int k = 0;
  for (auto [w, h] : {std::pair{1, 1}, {2, 3}, {60, 40}, {500, 1}})
    Save(root / "world_fuzz" / ("seed" + std::to_string(k++) + ".bin"), World(w, h));
  return 0;
}
