#include "app/range_frame.h"

RangeFrame FrameAround(const MapRange& r) {
  return {r.originX - 1, r.originX + r.width, r.originY - 1, r.originY + r.height};
}

int32_t UsableCellPx(int32_t configured) { return configured < 1 ? 1 : configured; }

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
