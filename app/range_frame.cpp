#include "app/range_frame.h"

#include <algorithm>

#include "view/layout.h"

RangeFrame FrameAround(const MapRange& r) {
  return {r.originX - 1, r.originX + r.width, r.originY - 1, r.originY + r.height};
}

int32_t UsableCellPx(int32_t configured) { return configured < 1 ? 1 : configured; }

int32_t FittingCellPx(int32_t configured, int32_t worldWidth, int32_t worldHeight) {
  const int64_t hexes = std::max<int64_t>(int64_t(worldWidth), worldHeight) + 2;
  const int64_t fit = std::max<int64_t>(kMaxWindowSide / std::max<int64_t>(hexes, 1), 1);
  return int32_t(std::min<int64_t>(UsableCellPx(configured), fit));
}

void HexAtPixel(int32_t cellPx, int32_t x, int32_t y, int32_t& gx, int32_t& gy) {
  cellPx = UsableCellPx(cellPx);
  gx = x / cellPx - 1;
  gy = y / cellPx - 1;
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
