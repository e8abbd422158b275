#include "app/range_frame.h"

#include <algorithm>

#include "view/layout.h"

RangeFrame FrameAround(const MapRange& r) {
  return {r.originX - 1, r.originX + r.width, r.originY - 1, r.originY + r.height};
}

int32_t UsableCellPx(int32_t configured) { return configured < 1 ? 1 : configured; }

int32_t FittingCellPx(int32_t configured, int32_t worldWidth, int32_t worldHeight, int32_t maxWidth,
                      int32_t maxHeight) {
  const int64_t across = std::max<int64_t>(int64_t(worldWidth) + 2, 1);
  const int64_t down = std::max<int64_t>(int64_t(worldHeight) + 2, 1);
  const int64_t fit = std::min(std::min<int64_t>(maxWidth, kMaxWindowSide) / across,
                               std::min<int64_t>(maxHeight, kMaxWindowSide) / down);
  return int32_t(std::min<int64_t>(UsableCellPx(configured), std::max<int64_t>(fit, 1)));
}

GlobalHex HexAtPixel(int32_t cellPx, int32_t x, int32_t y) {
  cellPx = UsableCellPx(cellPx);
  return {x / cellPx - 1, y / cellPx - 1};
}

void LeftClickFrame(RangeFrame& f, int32_t gx, int32_t gy) {
  if (gx > f.right) {
    f.left = f.right;
    f.right = gx;
  } else {
    f.left = gx;
  }
  if (gy > f.bottom) {
    f.top = f.bottom;
    f.bottom = gy;
  } else {
    f.top = gy;
  }
}

void RightClickFrame(RangeFrame& f, int32_t gx, int32_t gy) {
  if (gx < f.left) {
    f.right = f.left;
    f.left = gx;
  } else {
    f.right = gx;
  }
  if (gy < f.top) {
    f.bottom = f.top;
    f.top = gy;
  } else {
    f.bottom = gy;
  }
}

bool FrameHoldsARange(const RangeFrame& f) {
  return f.right >= f.left + 2 && f.bottom >= f.top + 2;
}

MapRange RangeInside(const RangeFrame& f) {
  return {f.left + 1, f.top + 1, f.right - f.left - 1, f.bottom - f.top - 1};
}

namespace {

std::string N(int64_t v) { return std::to_string(v); }

std::string Describe(const MapRange& r) {
  return "起点 (" + N(r.originX) + ", " + N(r.originY) + ")，" + N(r.width) + " × " + N(r.height) +
         " 格";
}

bool SameRange(const MapRange& a, const MapRange& b) {
  return a.originX == b.originX && a.originY == b.originY && a.width == b.width &&
         a.height == b.height;
}

bool TouchesWorld(const MapRange& r, int32_t worldWidth, int32_t worldHeight) {
  return r.width > 0 && r.height > 0 && r.originX < worldWidth && r.originY < worldHeight &&
         int64_t(r.originX) + r.width > 0 && int64_t(r.originY) + r.height > 0;
}

}  // namespace

std::string RangeOfferNotice(const MapRange& fileRange, const MapRange& offered, int32_t worldWidth,
                             int32_t worldHeight, const RangeLoss& loss) {
  if (SameRange(fileRange, offered)) return "";
  const std::string world = "世界地图（" + N(worldWidth) + " × " + N(worldHeight) + " 格）";
  std::string why = "超出了" + world + "，现在框出的是其中位于世界地图内的部分";
  if (fileRange.width < 1 || fileRange.height < 1)
    why = "是空的，现在框出的是整个世界地图";
  else if (!TouchesWorld(fileRange, worldWidth, worldHeight))
    why = "完全在" + world + "之外，现在框出的是整个世界地图";
  std::string text = "注意：战役文件自己的地图范围（" + Describe(fileRange) + "）" + why + "（" +
                     Describe(offered) + "）。\n";
  if (loss.none()) return text + "直接按X确定不会舍弃任何格子归属、建筑或部队。";
  return text + "直接按X确定将舍弃 " + N(loss.owners) + " 个格子的归属、" + N(loss.buildings) +
         " 个建筑和 " + N(loss.units) + " 个部队。";
}
