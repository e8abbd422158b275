#include "view/map_view.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "base/config.h"
#include "drawing/window.h"
#include "view/view_state.h"
#include "catalogs/artwork.h"
#include "view/cell_plan.h"
#include "base/text.h"
#include "view/hex_geometry.h"
#include "view/frame_change.h"
#include "view/hover_info.h"
#include "view/layout.h"

Surface offscreenSurface;

namespace {

constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kBlack = 0x000000;
constexpr uint32_t kThumbColour = 0xAAAAAA;

const Surface* ArtFor(const CellStep& s) {
  switch (s.art) {
    case Art::kCity: return &g_artwork.FacilitySurface[0];
    case Art::kFactory: return &g_artwork.FacilitySurface[1];
    case Art::kAirport: return &g_artwork.FacilitySurface[2];
    case Art::kLaunch: return &g_artwork.FacilitySurface[3];
    case Art::kNuclear: return &g_artwork.FacilitySurface[4];
    case Art::kLevelMax: return &g_artwork.LevelMaxSurface;
    case Art::kAntiAir:
      return s.index >= 1 && s.index <= 3 ? &g_artwork.AntiAirSurface[s.index] : nullptr;
    case Art::kFlag:
      return s.index >= 0 && s.index < 200 ? &g_artwork.FlagSurface[s.index] : nullptr;
  }
  return nullptr;
}

void DrawPanels() {
  const Layout& l = g_layout;
  for (int i = 0; i < 4; ++i)
    blit_keyed(l.commandButtons[i].x, l.commandButtons[i].y, g_artwork.ButtonSurface[i + 1]);
  set_fill_colour(kWhite);
  fill_rect(30, l.mapHeightPx, l.mapWidthPx - 30, l.mapHeightPx + 29);
  put_surface(0, l.mapHeightPx, g_artwork.DirButtonSurface[0]);
  put_surface(l.mapWidthPx - 30, l.mapHeightPx, g_artwork.DirButtonSurface[1]);
  fill_rect(l.mapWidthPx, 30, l.windowWidth, l.mapHeightPx - 29);
  put_surface(l.mapWidthPx, 0, g_artwork.DirButtonSurface[2]);
  put_surface(l.mapWidthPx, l.mapHeightPx - 30, g_artwork.DirButtonSurface[3]);

  set_fill_colour(kThumbColour);
  int32_t tx = HorizontalThumbX(l, g_view.scrollX, g_world.rangeWidth);
  fill_rect(tx, l.hTrack.y, tx + l.hThumbLength - 1, l.hTrack.y + 30 - 1);
  int32_t ty = VerticalThumbY(l, g_view.scrollY, g_world.rangeHeight);
  fill_rect(l.vTrack.x, ty, l.vTrack.x + 30 - 1, ty + l.vThumbLength - 1);
}

// Every visible hex of the area gets a ring two pixels wide just inside its edge, black
// outside and magenta inside: one of the two stands out on any owner colour, and neither is
// the selection's red or the white of the hex outlines. The rings are written straight into
// the frame's pixels: a whole view of them costs a small share of the frame.
void MarkHexPixels(Surface& s, int32_t left, int32_t top, uint32_t outer, uint32_t inner) {
  const int32_t a = left + 1, b = left + 2, c = left + cellSize - 3, d = left + cellSize - 2;
  if (a < 0 || d >= s.width) return;
  for (int32_t r = 1; r <= cellSize - 2; ++r) {
    const int32_t y = top + r;
    if (y < 0 || y >= s.height) continue;
    uint32_t* row = s.pixels + size_t(y) * size_t(s.width);
    if (r == 1 || r == cellSize - 2) {
      std::fill(row + a, row + d + 1, outer);
    } else if (r == 2 || r == cellSize - 3) {
      row[a] = row[d] = outer;
      std::fill(row + b, row + c + 1, inner);
    } else {
      row[a] = row[d] = outer;
      row[b] = row[c] = inner;
    }
  }
}

void DrawAreaMarks() {
  const HexArea& area = g_view.area;
  if (area.empty()) return;
  Surface& s = offscreenSurface;
  if (!surface_pixels(&s)) return;  // also lets the system finish what it has drawn so far
  const uint32_t outer = PixelFromColour(kAreaMarkOuter), inner = PixelFromColour(kAreaMarkInner);
  const Layout& l = g_layout;
  for (int col = 0; col < l.viewCols; ++col)
    for (int row = 0; row < l.viewRows; ++row) {
      if (!area.Contains(g_view.scrollX + col, g_view.scrollY + row)) continue;
      PixelPoint p = HexTopLeft(col, row, g_world.originX, g_view.scrollX);
      MarkHexPixels(s, p.x, p.y, outer, inner);
    }
}

// The information box about the hex the pointer rests on, beside that hex.
void DrawHoverBox() {
  const PointerRest& p = g_view.pointer;
  const Layout& l = g_layout;
  const int32_t col = p.restX - g_view.scrollX, row = p.restY - g_view.scrollY;
  if (col < 0 || col >= l.viewCols || row < 0 || row >= l.viewRows) return;  // not in view
  std::vector<std::string> lines;
  for (const std::string& line : HoverLines(p.restX, p.restY)) lines.push_back(GbkFromUtf8(line));
  int32_t textWidth = 0;
  for (const std::string& line : lines) textWidth = std::max(textWidth, TextWidth(line.c_str()));
  PixelPoint hex = HexTopLeft(col, row, g_world.originX, g_view.scrollX);
  const int32_t width = HoverBoxWidth(textWidth), height = HoverBoxHeight(int32_t(lines.size()));
  std::optional<Rect> box =
      PlaceHoverBox(width, height, p.x, p.y, hex, l.mapWidthPx, l.mapHeightPx);
  if (!box) return;
  set_line_colour(kBlack);
  set_fill_colour(kWhite);
  fill_rect(box->x, box->y, box->x + box->w, box->y + box->h);
  set_text_colour(kBlack);
  for (size_t i = 0; i < lines.size(); ++i)
    text_at(box->x + kHoverPad, box->y + kHoverPad + int32_t(i) * kHoverLineStep, lines[i].c_str());
}

// The notice over the bottom-left corner of the map area, in the information box's style.
void DrawNotice() {
  const Layout& l = g_layout;
  const std::string text = GbkFromUtf8(g_view.noticeShown);
  const int32_t width = std::min(HoverBoxWidth(TextWidth(text.c_str())), l.mapWidthPx);
  const int32_t height = HoverBoxHeight(1);
  const int32_t top = l.mapHeightPx - height;
  set_line_colour(kBlack);
  set_fill_colour(kWhite);
  fill_rect(0, top, width, l.mapHeightPx);
  set_text_colour(kBlack);
  text_at(kHoverPad, top + kHoverPad, text.c_str());
}

void ApplyLayout(const Layout& l) {
  g_layout = l;
  resize_surface(&offscreenSurface, g_layout.windowWidth, g_layout.windowHeight);
  set_target(&offscreenSurface);
  set_text_style(12, 0, "宋体");
  set_back_mode(kBackTransparent);
  set_target(nullptr);
}

}  // namespace

void layout_screen() {
  const PixelSize most = LargestClientArea(kWindowResizable);
  ApplyLayout(ComputeLayoutWithin(ConfigInt(kConfigViewCols, 12), ConfigInt(kConfigViewRows, 10),
                                  g_world.rangeWidth, g_world.rangeHeight, most.width,
                                  most.height));
}

void ResizeScreen(int32_t clientWidth, int32_t clientHeight, int32_t minCols, int32_t minRows) {
  ApplyLayout(LayoutForClient(clientWidth, clientHeight, g_world.rangeWidth, g_world.rangeHeight,
                              minCols, minRows));
  ResizeBackBuffer(clientWidth, clientHeight);
  scroll_by(g_view, g_layout, 0, 0);
}

void draw_cell(const Cell& cell) {
  const PixelPoint at = CellScreenPosition(cell, g_view.scrollX, g_view.scrollY);
  for (const CellStep& s : PlanCell(cell, at.x, at.y)) {
    switch (s.kind) {
      case CellStep::kFill:
        // The hex's colour goes to this rectangle alone: a frame of hexes chooses no brush
        // per hex. Its texts are black.
        if (CurrentTarget()->textColour != 0x000000) set_text_colour(0x000000);
        FillRectIn(s.x, s.y, s.right, s.bottom, CurrentTarget()->lineColour, s.colour);
        break;
      case CellStep::kText: text_at(s.x, s.y, s.text.c_str()); break;
      case CellStep::kTextInRect:
        text_in_rect(s.text.c_str(), s.x, s.y, s.right, s.bottom, kWordBreak);
        break;
      case CellStep::kBlit:
        if (const Surface* art = ArtFor(s)) blit_keyed(s.x, s.y, *art);
        break;
    }
  }
}

namespace {

// The frame's background, where no hex will be: each hex's fill covers its whole square, so
// clearing under the hexes first would only write those pixels twice. Each view column's
// hexes lie one under the other; what is left is above and below them in each column and
// right of the last. Should a hex not sit where the column puts it, everything is cleared.
void ClearAroundHexes() {
  const Layout& l = g_layout;
  for (int col = 0; col < l.viewCols; ++col)
    for (int row = 0; row < l.viewRows; ++row) {
      PixelPoint p = HexTopLeft(col, row, g_world.originX, g_view.scrollX);
      if (CellScreenPosition(g_world.grid[g_view.scrollX + col][g_view.scrollY + row],
                             g_view.scrollX, g_view.scrollY) != p) {
        clear_target();
        return;
      }
    }
  const int32_t height = offscreenSurface.height;
  for (int col = 0; col < l.viewCols; ++col) {
    PixelPoint top = HexTopLeft(col, 0, g_world.originX, g_view.scrollX);
    ClearRect(top.x, 0, top.x + cellSize, top.y);
    ClearRect(top.x, top.y + l.viewRows * cellSize, top.x + cellSize, height);
  }
  ClearRect(l.viewCols * cellSize, 0, offscreenSurface.width, height);
}

}  // namespace

void ComposeScreen() {
  const Layout& l = g_layout;
  set_target(&offscreenSurface);
  ClearAroundHexes();
  set_line_colour(kWhite);
  for (int col = 0; col < l.viewCols; ++col)
    for (int row = 0; row < l.viewRows; ++row)
      draw_cell(g_world.grid[g_view.scrollX + col][g_view.scrollY + row]);
  DrawAreaMarks();
  DrawPanels();
  if (g_view.hasSelection()) {
    set_line_colour(kSelectionColour);
    PixelPoint p = HexTopLeft(g_view.selCol, g_view.selRow, g_world.originX, g_view.scrollX);
    draw_rect(p.x, p.y, p.x + cellSize, p.y + cellSize);
  }
  if (!g_view.noticeShown.empty()) DrawNotice();
  if (g_view.pointer.boxShown) DrawHoverBox();
}

void draw_screen() {
  ComposeScreen();
  set_target(nullptr);
  put_surface(0, 0, offscreenSurface);
  RememberDrawnFrame();
}
