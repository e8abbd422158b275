// What saving a scenario as it was placed would drop from its file or change in it without
// the user touching it, counted from the file's image and the range it was placed with: the
// warning the editor gives after the range selection, and the counts `btl check` gives for
// the same kinds (its titles are the ones below).
#pragma once

#include <cstdint>
#include <string>

#include "scenario/battle_read.h"

// The titles of these kinds, in the companion's words.
inline constexpr char kTitleRecordsOutsideRange[] = "地图范围之外的记录";
inline constexpr char kTitleRecordsSharingAHex[] = "同一格上的多条记录";
inline constexpr char kTitleHexesBeyondPositions[] = "16 位位置无法表示的格子";
inline constexpr char kTitleAlphaSetOnSave[] = "保存时设为 255 的颜色 alpha 字节";
inline constexpr char kTitleRecordsReorderedOnSave[] = "保存时按格的顺序重排之处";

struct SaveLoss {
  int buildingsOutside = 0, unitsOutside = 0;    // dropped: outside the range
  int buildingsReplaced = 0, unitsReplaced = 0;  // dropped: a later record on the same hex
  int64_t hexesBeyondPositions = 0;              // hexes of the range whose index is 65,536 or more
  int alphaBytes = 0;                            // teams whose colour alpha byte a save sets to 255
  int reordered = 0;  // kept records a save moves ahead of the one before

  int recordsOutside() const { return buildingsOutside + unitsOutside; }
  int recordsSharing() const { return buildingsReplaced + unitsReplaced; }
  bool none() const {
    return !recordsOutside() && !recordsSharing() && !hexesBeyondPositions && !alphaBytes &&
           !reordered;
  }
};

// The counts for `image` placed with `range` on a world `worldWidth` hexes wide. The record is
// not touched. A save writes the records it keeps in the order of their hexes, row by row,
// which for a range the 16-bit positions address is the order of their positions.
SaveLoss CountSaveLoss(const BattleImage& image, int32_t worldWidth, const MapRange& range);

// The warning's text (caption kSaveLossCaption) for the file named `fileName`: one line per
// kind found, with its count, and `btl check` for the list. Empty when there is nothing.
inline constexpr char kSaveLossCaption[] = "提示";
std::string SaveLossText(const SaveLoss& loss, const std::string& fileName);
