#include "view/layout.h"

Layout g_layout;

Layout ComputeLayout(int32_t configCols, int32_t configRows, int32_t rangeWidth,
                     int32_t rangeHeight) {
  Layout l{};
  l.viewCols = uint32_t(configCols) < uint32_t(rangeWidth) ? configCols : rangeWidth;
  l.viewRows = uint32_t(configRows) < uint32_t(rangeHeight) ? configRows : rangeHeight;
  l.mapWidthPx = l.viewCols * cellSize;
  l.mapHeightPx = l.viewRows * cellSize + halfCell;
  l.windowWidth = l.mapWidthPx + kBarThickness;
  l.windowHeight = l.mapHeightPx + 100;

  const int32_t t = kBarThickness;
  l.arrowButtons[0] = {0, l.mapHeightPx, t, t};
  l.arrowButtons[1] = {l.mapWidthPx - t, l.mapHeightPx, t, t};
  l.arrowButtons[2] = {l.mapWidthPx, 0, t, t};
  l.arrowButtons[3] = {l.mapWidthPx, l.mapHeightPx - t, t, t};
  l.hTrack = {t, l.mapHeightPx, l.mapWidthPx - 2 * t, t};
  l.vTrack = {l.mapWidthPx, t, t, l.mapHeightPx - 2 * t};
  // Product first, then the division; a range of 0 cannot pass loading, but guard anyway.
  l.hThumbLength = rangeWidth ? l.hTrack.w * l.viewCols / rangeWidth : 0;
  l.vThumbLength = rangeHeight ? l.vTrack.h * l.viewRows / rangeHeight : 0;

  l.maxScrollX = rangeWidth - l.viewCols;
  l.maxScrollY = rangeHeight - l.viewRows;
  for (int i = 0; i < 4; ++i)
    l.commandButtons[i] = {i * (l.windowWidth / 4), l.windowHeight - 65, 70, 65};
  return l;
}

int32_t HorizontalThumbX(const Layout& l, int32_t scrollX, int32_t rangeWidth) {
  return l.hTrack.x + (rangeWidth ? l.hTrack.w * scrollX / rangeWidth : 0);
}

int32_t VerticalThumbY(const Layout& l, int32_t scrollY, int32_t rangeHeight) {
  return l.vTrack.y + (rangeHeight ? l.vTrack.h * scrollY / rangeHeight : 0);
}
