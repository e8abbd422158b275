// For tests only: the native build does not rasterise text, it records each text drawn, with
// its target, place and colour. The Windows build draws text with GDI and records nothing, so
// these exist in the native build alone.
#pragma once

#include <cstdint>

#include "drawing/surface.h"

struct DrawnText {
  Surface* target;
  int32_t x, y;
  uint32_t colour;
  bool inRect;
  char text[128];
};
int DrawnTextCount();
const DrawnText& DrawnTextAt(int i);
void ForgetDrawnText();
// Drawing operations run on any surface (clears, rectangles, texts, copies, window flushes)
// since the process started: a pass that draws nothing leaves it as it was.
long DrawingOperations();
