// Fuzz target: importing a JSON document. A refusal names a line; a document that is accepted
// gives a battle file that loads, and exporting and importing that again gives the same bytes.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "scenario/battle_read.h"
#include "btl/export_json.h"
#include "btl/import_json.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  std::vector<uint8_t> bytes;
  Status s = BattleBytesFromJson(text, "fuzz.json", bytes);
  if (!s.ok()) {
    if (s.message.find(" 行") == std::string::npos) abort();
    return 0;
  }
  BattleImage image;
  if (!ParseBattleFile(bytes, "imported.btl", image).ok()) abort();
  std::vector<uint8_t> again;
  if (!BattleBytesFromJson(ExportJson(image, 60), "again.json", again).ok() || again != bytes)
    abort();
  return 0;
}
