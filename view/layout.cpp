#include "view/layout.h"

#include <algorithm>

Layout g_layout;

namespace {

// Hexes shown along one side: the configured count if it is below the range's (compared
// unsigned), else the range's; at most what keeps the window side (the hexes plus `extraPx`)
// within kMaxWindowSide.
int32_t ViewCount(int32_t configured, int32_t rangeSize, int32_t extraPx) {
  int64_t n = uint32_t(configured) < uint32_t(rangeSize) ? configured : rangeSize;
  const int64_t fit = (int64_t(kMaxWindowSide) - extraPx) / cellSize;
  return int32_t(std::clamp<int64_t>(n, 0, fit));
}

}  // namespace

Layout ComputeLayout(int32_t configCols, int32_t configRows, int32_t rangeWidth,
                     int32_t rangeHeight) {
  Layout l{};
  l.viewCols = ViewCount(configCols, rangeWidth, kBarThickness);
  l.viewRows = ViewCount(configRows, rangeHeight, halfCell + 100);
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

int32_t ColumnsFitting(int32_t clientWidth) {
  return std::max<int32_t>((clientWidth - kBarThickness) / cellSize, 0);
}

int32_t RowsFitting(int32_t clientHeight) {
  return std::max<int32_t>((clientHeight - halfCell - 100) / cellSize, 0);
}

Layout ComputeLayoutWithin(int32_t configCols, int32_t configRows, int32_t rangeWidth,
                           int32_t rangeHeight, int32_t maxClientWidth, int32_t maxClientHeight) {
  Layout l = ComputeLayout(configCols, configRows, rangeWidth, rangeHeight);
  if (l.windowWidth <= maxClientWidth && l.windowHeight <= maxClientHeight) return l;
  const int32_t cols = std::clamp(ColumnsFitting(maxClientWidth), 1, std::max(l.viewCols, 1));
  const int32_t rows = std::clamp(RowsFitting(maxClientHeight), 1, std::max(l.viewRows, 1));
  return ComputeLayout(std::min(cols, l.viewCols), std::min(rows, l.viewRows), rangeWidth,
                       rangeHeight);
}

Layout LayoutForClient(int32_t clientWidth, int32_t clientHeight, int32_t rangeWidth,
                       int32_t rangeHeight, int32_t minCols, int32_t minRows) {
  const int32_t cols = std::max(ColumnsFitting(clientWidth), minCols);
  const int32_t rows = std::max(RowsFitting(clientHeight), minRows);
  return ComputeLayout(cols, rows, rangeWidth, rangeHeight);
}

int32_t HorizontalThumbX(const Layout& l, int32_t scrollX, int32_t rangeWidth) {
  return l.hTrack.x + (rangeWidth ? l.hTrack.w * scrollX / rangeWidth : 0);
}

int32_t VerticalThumbY(const Layout& l, int32_t scrollY, int32_t rangeHeight) {
  return l.vTrack.y + (rangeHeight ? l.vTrack.h * scrollY / rangeHeight : 0);
}
