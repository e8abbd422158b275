// The red frame of the map-range selection, in global hexes. The four bounds are exclusive:
// the range is the columns strictly between left and right and the rows strictly between
// top and bottom; the bound columns and rows carry the frame. Clicks on the one-hex black
// ring around the world give bounds of -1 or the world's size.
#pragma once

#include <cstdint>
#include <string>

#include "scenario/battle_place.h"
#include "scenario/world_record.h"
#include "view/layout.h"

struct RangeFrame {
  int32_t left, right, top, bottom;
};

RangeFrame FrameAround(const MapRange& range);

// The world hex under a pixel of the selection view (the ring is -1 / the world's size).
// Side lengths below 1 are taken as 1.
GlobalHex HexAtPixel(int32_t cellPx, int32_t x, int32_t y);

// Left button: moves the near corner; a click beyond the far bound makes the far bound the
// near one. Right button: the same for the far corner.
void LeftClickFrame(RangeFrame& f, int32_t gx, int32_t gy);
void RightClickFrame(RangeFrame& f, int32_t gx, int32_t gy);

// At least one column and one row inside the frame.
bool FrameHoldsARange(const RangeFrame& f);
MapRange RangeInside(const RangeFrame& f);

// "格子边长" as used: the configured side, with 0 or less taken as 1 so that neither the
// surface nor the mouse rules break.
int32_t UsableCellPx(int32_t configured);

// "格子边长" as the selection view can take it: as UsableCellPx, then the largest side that
// keeps the view of the world and its ring (cellPx x (world + 2) each way) within
// kMaxWindowSide and within a client area of maxWidth x maxHeight (what the screen's work
// area holds), and at least 1. Computed in 64 bits.
int32_t FittingCellPx(int32_t configured, int32_t worldWidth, int32_t worldHeight,
                      int32_t maxWidth = kMaxWindowSide, int32_t maxHeight = kMaxWindowSide);

// What the range selection says beside its instructions when the range it offers is not the
// file's own (cut to the world map, or the whole world for an empty range or one wholly
// outside it): both ranges and what confirming the offered one leaves out. Empty when the
// two ranges are the same.
std::string RangeOfferNotice(const MapRange& fileRange, const MapRange& offered, int32_t worldWidth,
                             int32_t worldHeight, const RangeLoss& loss);
