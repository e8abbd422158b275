// Pixel work shared by both builds' surfaces: fills, outlines and copies on pixel buffers,
// always clipped to the destination.
#pragma once

#include <cstdint>

#include "drawing/surface.h"

void FillPixels(Surface& s, int32_t left, int32_t top, int32_t right, int32_t bottom,
                uint32_t pixel);
// The outline of the Windows rectangle (left, top)-(right, bottom): one pixel wide.
void OutlinePixels(Surface& s, int32_t left, int32_t top, int32_t right, int32_t bottom,
                   uint32_t pixel);
// The filled Windows rectangle (left, top)-(right, bottom) with its one-pixel outline, row
// by row in one pass.
void FilledRectPixels(Surface& s, int32_t left, int32_t top, int32_t right, int32_t bottom,
                      uint32_t line, uint32_t fill);
void CopyPixels(Surface& to, int32_t x, int32_t y, const Surface& from);
// The rectangle left..right-1, top..bottom-1 of `from` to the same place of `to`.
void CopyRectPixels(Surface& to, const Surface& from, int32_t left, int32_t top, int32_t right,
                    int32_t bottom);
// Copies the overlap of two pixel buffers of different sizes.
void CopyOverlap(uint32_t* to, int32_t toW, int32_t toH, const uint32_t* from, int32_t fromW,
                 int32_t fromH);
