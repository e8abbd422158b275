#include "app/range_select.h"

#include "base/config.h"
#include "platform/keys.h"
#include "app/pace.h"
#include "app/range_frame.h"
#include "drawing/mouse_queue.h"
#include "platform/prompts.h"
#include "drawing/window.h"
#include "scenario/battle_place.h"

Surface rangeSurface;

namespace {

constexpr uint32_t kBorder = 0x000000;
constexpr uint32_t kFrame = 0x0000AA;  // (170, 0, 0)

// The world and its black ring, drawn once; each frame starts from a copy of it.
Surface g_worldPicture;

void FillHex(int32_t cellPx, int32_t i, int32_t j) {
  fill_rect((i + 1) * cellPx, (j + 1) * cellPx, (i + 2) * cellPx, (j + 2) * cellPx);
}

bool SameFrame(const RangeFrame& a, const RangeFrame& b) {
  return a.left == b.left && a.right == b.right && a.top == b.top && a.bottom == b.bottom;
}

RangeFrame g_drawnFrame;    // the frame rangeSurface holds over the world picture
bool g_frameDrawn = false;  // false: rangeSurface does not hold the world picture yet

// The hexes of the frame's bound columns and rows, each as the rectangle of pixels it covers.
template <class Hex>
void ForEachFrameHex(const RangeFrame& f, Hex hex) {
  for (int32_t i = f.left; i <= f.right; ++i) {
    hex(i, f.top);
    hex(i, f.bottom);
  }
  for (int32_t j = f.top; j <= f.bottom; ++j) {
    hex(f.left, j);
    hex(f.right, j);
  }
}

}  // namespace

void DrawRangeWorld(const WorldImage& world, int32_t cellPx) {
  resize_surface(&g_worldPicture, rangeSurface.width, rangeSurface.height);
  set_target(&g_worldPicture);
  // The line colour stays the default, white.
  for (int32_t i = -1; i <= world.width; ++i)
    for (int32_t j = -1; j <= world.height; ++j) {
      bool inside = i >= 0 && i < world.width && j >= 0 && j < world.height;
      set_fill_colour(inside ? TerrainColour(world.at(i, j).terrain) : kBorder);
      FillHex(cellPx, i, j);
    }
  g_frameDrawn = false;
}

// Every hex covers its own square of pixels, so a frame moved is the world picture again
// where the old frame was and the new frame's hexes filled.
void DrawRangeFrame(const RangeFrame& f, int32_t cellPx) {
  set_target(&rangeSurface);
  if (!g_frameDrawn) {
    put_surface(0, 0, g_worldPicture);
  } else {
    // The old frame's two rows and two columns of hexes, each one strip of pixels.
    const RangeFrame& o = g_drawnFrame;
    auto strip = [&](int32_t i0, int32_t j0, int32_t i1, int32_t j1) {  // hexes i0..i1, j0..j1
      CopyRect(g_worldPicture, (i0 + 1) * cellPx, (j0 + 1) * cellPx, (i1 + 2) * cellPx,
               (j1 + 2) * cellPx);
    };
    strip(o.left, o.top, o.right, o.top);
    strip(o.left, o.bottom, o.right, o.bottom);
    strip(o.left, o.top, o.left, o.bottom);
    strip(o.right, o.top, o.right, o.bottom);
  }
  set_fill_colour(kFrame);
  ForEachFrameHex(f, [&](int32_t i, int32_t j) { FillHex(cellPx, i, j); });
  g_drawnFrame = f;
  g_frameDrawn = true;
  set_target(nullptr);
  put_surface(0, 0, rangeSurface);
}

uint32_t TerrainColour(uint8_t c) {
  if (c == 0) return 0x00AA00;
  if (c == 1) return 0xAA0000;
  if (c == 2) return 0x55FFFF;
  if (c <= 5) return 0xFFFFFF;
  if (c <= 8) return 0xAAAAAA;
  if (c <= 19) return 0x55FF55;
  return 0x555555;
}

namespace {

MapRange RunRangeSelection(const MapRange& initial, const WorldImage& world,
                           const std::string& notice, bool cancellable) {
  const PixelSize most = LargestClientArea(0);
  const int32_t cellPx = FittingCellPx(ConfigInt(kConfigHexSide, 3), world.width, world.height,
                                       most.width, most.height);
  resize_surface(&rangeSurface, cellPx * (world.width + 2), cellPx * (world.height + 2));
  RangeFrame frame = FrameAround(initial);
  open_window(rangeSurface.width, rangeSurface.height, 0);
  KeepCloseRequests(cancellable);
  DrawRangeWorld(world, cellPx);
  DrawRangeFrame(frame, cellPx);
  RangeFrame shown = frame;  // what the window shows
  std::string instructions = "请用鼠标左右键指定地图范围。\n确定地图范围后,请按X。";
  if (!notice.empty()) instructions += "\n\n" + notice;
  ShowMessage(nullptr, instructions, "操作提示", kMbOk);
  // Clicks that came while a box was up were not meant for the frame.
  SharedMouseQueue().clear();
  for (;;) {
    while (mouse_pending()) {
      MouseMessage m = next_mouse_message();
      const GlobalHex at = HexAtPixel(cellPx, m.x, m.y);
      if (m.code == kLeftButtonDown) LeftClickFrame(frame, at.x, at.y);
      if (m.code == kRightButtonDown) RightClickFrame(frame, at.x, at.y);
    }
    if (cancellable && TakeCloseRequest()) {
      close_window();
      return MapRange{initial.originX, initial.originY, 0, 0};
    }
    if (KeyDown(kKeyX)) {
      if (!FrameHoldsARange(frame)) {
        ShowMessage(window_handle(), "范围非法！", "提示", kMbIconWarning);
      } else {
        Status s = CheckRange(RangeInside(frame), world.width, world.height);
        if (s.ok()) break;
        ShowMessage(window_handle(), s.message, "提示", kMbIconWarning);
      }
      SharedMouseQueue().clear();
    }
    // The world picture is drawn once; the view only when the frame has moved.
    if (!SameFrame(frame, shown)) {
      DrawRangeFrame(frame, cellPx);
      shown = frame;
    }
    pace_frame(20);
  }
  close_window();
  return RangeInside(frame);
}

}  // namespace

MapRange select_map_range(const MapRange& initial, const WorldImage& world,
                          const std::string& notice) {
  return RunRangeSelection(initial, world, notice, false);
}

MapRange SelectMapRangeOrCancel(const MapRange& initial, const WorldImage& world,
                                const std::string& notice) {
  return RunRangeSelection(initial, world, notice, true);
}
