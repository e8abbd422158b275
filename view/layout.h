// The main window's layout: the map area of viewCols x viewRows hexes, a vertical scroll bar
// on its right, a horizontal one under it and four command buttons at the bottom. Computed
// once after loading, before the window opens.
#pragma once

#include <cstdint>

struct Rect {
  int32_t x, y, w, h;
  bool operator==(const Rect&) const = default;
};

// Half-open on both axes.
inline bool point_in_rect(int32_t px, int32_t py, const Rect& r) {
  return r.x <= px && px < r.x + r.w && r.y <= py && py < r.y + r.h;
}

constexpr int32_t cellSize = 50;
constexpr int32_t halfCell = 25;
constexpr int32_t kLabelTop = 30;
constexpr int32_t kBarThickness = 30;

// The largest client width or height the editor asks of a window (the range selection's and
// the main one): every window is backed by 32-bit surfaces of its size (64 MB at this side),
// which stay well within what a device-independent section and a window can take, and its
// mouse coordinates within 16 bits.
constexpr int32_t kMaxWindowSide = 4096;

struct Layout {
  int32_t viewCols, viewRows;
  int32_t mapWidthPx, mapHeightPx;
  int32_t windowWidth, windowHeight;
  int32_t maxScrollX, maxScrollY;
  Rect arrowButtons[4];  // left, right, up, down
  Rect hTrack, vTrack;
  int32_t hThumbLength, vThumbLength;
  Rect commandButtons[4];  // building, unit, general, raw hex
};

extern Layout g_layout;

// The layout for a configured view size (keys 窗口长 / 窗口宽) and a map range. The configured
// values are compared unsigned, so a negative one gives the whole range; either way the view
// is then cut so that the window stays within kMaxWindowSide.
Layout ComputeLayout(int32_t configCols, int32_t configRows, int32_t rangeWidth,
                     int32_t rangeHeight);

// The first layout when the window's client area can be at most maxClientWidth x
// maxClientHeight (what the screen's work area holds): ComputeLayout's, with as many columns
// and rows as fit when the configured view would not (never fewer than one of each).
Layout ComputeLayoutWithin(int32_t configCols, int32_t configRows, int32_t rangeWidth,
                           int32_t rangeHeight, int32_t maxClientWidth, int32_t maxClientHeight);

// The smallest view a resized window keeps, so that the four command buttons stay apart and
// the tracks keep a length: fewer only when the first view (or the range) had fewer.
constexpr int32_t kMinViewCols = 5;
constexpr int32_t kMinViewRows = 2;

// Whole hexes a client area holds (the bars and the button strip taken off), at least 0.
int32_t ColumnsFitting(int32_t clientWidth);
int32_t RowsFitting(int32_t clientHeight);

// The layout after the user resized the window to a client area of clientWidth x
// clientHeight: the hexes it holds, at least minCols x minRows, cut to the range and to
// kMaxWindowSide as ComputeLayout cuts them.
Layout LayoutForClient(int32_t clientWidth, int32_t clientHeight, int32_t rangeWidth,
                       int32_t rangeHeight, int32_t minCols, int32_t minRows);

// Left edges of the two thumbs for a scroll position.
int32_t HorizontalThumbX(const Layout& l, int32_t scrollX, int32_t rangeWidth);
int32_t VerticalThumbY(const Layout& l, int32_t scrollY, int32_t rangeHeight);
