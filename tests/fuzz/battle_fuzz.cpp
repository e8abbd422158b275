// Fuzz target: the battle file reader with a world map, and the round trip of whatever it
// accepts (load, save, load again: the same record, so the same bytes).
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "scenario/battle_read.h"
#include "scenario/battle_place.h"
#include "scenario/battle_write.h"

namespace {

// A fixed 60 x 40 world: positions of every 16-bit value land somewhere or outside.
const WorldImage& World() {
  static WorldImage w = [] {
    WorldImage image;
    image.width = 60;
    image.height = 40;
    image.records.resize(60 * 40);
    for (size_t i = 0; i < image.records.size(); ++i) image.records[i].terrain = uint8_t(i % 20);
    return image;
  }();
  return w;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  BattleImage image;
  if (!ParseBattleFile(std::vector<uint8_t>(data, data + size), "fuzz.btl", image).ok()) return 0;
  MapRange range = InitialRange(image.fileRange(), World());
  if (!CommitScenario(image, World(), range).ok()) return 0;
  std::vector<uint8_t> saved;
  if (!BuildBattleBytes(saved).ok()) return 0;

  BattleImage again;
  if (!ParseBattleFile(saved, "saved.btl", again).ok()) abort();
  if (!CommitScenario(again, World(), range).ok()) abort();
  std::vector<uint8_t> resaved;
  if (!BuildBattleBytes(resaved).ok() || resaved != saved) abort();
  return 0;
}
