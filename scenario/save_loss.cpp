#include "scenario/save_loss.h"

#include <algorithm>
#include <cstddef>
#include <vector>

namespace {

std::string N(int64_t v) { return std::to_string(v); }

bool Inside(uint16_t p, int32_t worldWidth, const MapRange& r) {
  const int64_t x = p % worldWidth - int64_t(r.originX), y = p / worldWidth - int64_t(r.originY);
  return x >= 0 && y >= 0 && x < r.width && y < r.height;
}

struct Counts {
  int outside = 0, replaced = 0, reordered = 0;
};

// One section of records, each starting with its 16-bit position, in file order.
Counts CountSection(const uint8_t* records, int32_t count, size_t size, int32_t worldWidth,
                    const MapRange& range) {
  Counts c;
  auto position = [&](int32_t i) {
    const uint8_t* r = records + size_t(i) * size;
    return uint16_t(r[0] | r[1] << 8);
  };
  std::vector<int32_t> lastAt(kPositionLimit, -1);  // the record placement keeps on each
  for (int32_t i = 0; i < count; ++i) {
    const uint16_t p = position(i);
    if (!Inside(p, worldWidth, range)) {
      ++c.outside;
      continue;
    }
    if (lastAt[p] >= 0) ++c.replaced;
    lastAt[p] = i;
  }
  int32_t previous = -1;
  for (int32_t i = 0; i < count; ++i) {
    const uint16_t p = position(i);
    if (!Inside(p, worldWidth, range) || lastAt[p] != i) continue;
    if (previous >= 0 && p < position(previous)) ++c.reordered;
    previous = i;
  }
  return c;
}

}  // namespace

SaveLoss CountSaveLoss(const BattleImage& image, int32_t worldWidth, const MapRange& range) {
  SaveLoss loss;
  const BtlHeader& h = image.layout.header;
  for (int64_t y = 0; y < range.height; ++y) {
    const int64_t rowStart = (range.originY + y) * int64_t(worldWidth) + range.originX;
    const int64_t first = std::max<int64_t>(rowStart, kPositionLimit);
    loss.hexesBeyondPositions += std::max<int64_t>(0, rowStart + range.width - first);
  }
  constexpr size_t kAlpha = offsetof(TeamRecord, fileColour) + 3;
  for (int32_t t = 0; t < h.teamCount; ++t)
    loss.alphaBytes +=
        image.bytes[image.layout.teamsAt + size_t(t) * kTeamFileBytes + kAlpha] != 255;
  if (worldWidth < 1) return loss;
  const Counts b = CountSection(image.bytes.data() + image.layout.buildingsAt, h.buildingCount,
                                sizeof(BuildingRecord), worldWidth, range);
  const Counts u = CountSection(image.bytes.data() + image.layout.unitsAt, h.unitCount,
                                sizeof(UnitRecord), worldWidth, range);
  loss.buildingsOutside = b.outside;
  loss.unitsOutside = u.outside;
  loss.buildingsReplaced = b.replaced;
  loss.unitsReplaced = u.replaced;
  loss.reordered = b.reordered + u.reordered;
  return loss;
}

std::string SaveLossText(const SaveLoss& loss, const std::string& fileName) {
  if (loss.none()) return {};
  auto records = [](int buildings, int units) {
    return "（建筑 " + N(buildings) + " 条，部队 " + N(units) + " 条）";
  };
  std::string text = "按现在的地图范围保存时，会删去或改变文件中没有编辑过的内容：\n";
  if (loss.recordsOutside())
    text += std::string("  ") + kTitleRecordsOutsideRange + ": " + N(loss.recordsOutside()) +
            records(loss.buildingsOutside, loss.unitsOutside) + "，保存时删去\n";
  if (loss.recordsSharing())
    text += std::string("  ") + kTitleRecordsSharingAHex + ": " + N(loss.recordsSharing()) +
            records(loss.buildingsReplaced, loss.unitsReplaced) + "，只保留每格最后一条\n";
  if (loss.hexesBeyondPositions)
    text +=
        std::string("  ") + kTitleHexesBeyondPositions + ": " + N(loss.hexesBeyondPositions) + "\n";
  if (loss.alphaBytes)
    text += std::string("  ") + kTitleAlphaSetOnSave + ": " + N(loss.alphaBytes) + "\n";
  if (loss.reordered)
    text += std::string("  ") + kTitleRecordsReorderedOnSave + ": " + N(loss.reordered) + "\n";
  text += "\n用命令行工具 btl check \"" + fileName + "\" 可以列出每一处。";
  return text;
}
