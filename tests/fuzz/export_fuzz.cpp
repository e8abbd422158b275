// Fuzz target: the JSON form of every battle file the reader accepts reads back to the same
// bytes, with and without the world's width.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "scenario/battle_read.h"
#include "btl/export_json.h"
#include "btl/import_json.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<uint8_t> bytes(data, data + size);
  BattleImage image;
  if (!ParseBattleFile(bytes, "fuzz.btl", image).ok()) return 0;
  for (int32_t worldWidth : {60, 0}) {
    std::vector<uint8_t> back;
    if (!BattleBytesFromJson(ExportJson(image, worldWidth), "fuzz.json", back).ok() ||
        back != bytes)
      abort();
  }
  return 0;
}
