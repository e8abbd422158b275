#include "scenario/battle_read.h"

#include <cstring>

#include "base/files.h"

BuildingRecord BattleImage::building(int i) const {
  BuildingRecord r;
  memcpy(&r, bytes.data() + layout.buildingsAt + size_t(i) * sizeof r, sizeof r);
  return r;
}

UnitRecord BattleImage::unit(int i) const {
  UnitRecord r;
  memcpy(&r, bytes.data() + layout.unitsAt + size_t(i) * sizeof r, sizeof r);
  return r;
}

Status ParseBattleFile(std::vector<uint8_t> bytes, const std::string& name, BattleImage& out) {
  BattleImage image;
  Status s = LayOutBattleFile(bytes.data(), bytes.size(), name, image.layout);
  if (!s.ok()) return s;
  image.name = name;
  image.bytes = std::move(bytes);
  out = std::move(image);
  return Ok();
}

Status ReadBattleFile(const std::string& path, BattleImage& out) {
  std::vector<uint8_t> bytes;
  bool more = false;
  if (!ReadFilePrefix(path, kMaxBattleFileBytes, bytes, more)) return CannotReadBattleFile(path);
  if (more) return LargerThanAnyBattleFile(path);
  return ParseBattleFile(std::move(bytes), path, out);
}
