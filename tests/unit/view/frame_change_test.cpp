// Drawing only when the frame changes: after each kind of change the frame shown is the
// frame a full redraw gives, pixel for pixel (and, natively, where text is recorded rather
// than drawn, text for text). Runs in both builds: under Wine the text is real pixels.
#include "view/frame_change.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "catalogs/artwork.h"
#include "drawing/surface.h"
#include "tests/support/battle_fixture.h"
#include "view/hex_geometry.h"
#include "view/layout.h"
#include "view/map_view.h"
#include "view/view_state.h"
#ifndef _WIN32
#include "drawing/surface_test_hooks.h"
#endif

namespace {

using Pixels = std::vector<uint32_t>;

Pixels PixelsOf(Surface* s) {
  const uint32_t* p = surface_pixels(s);
  return Pixels(p, p + size_t(s->width) * s->height);
}

// Texts drawn since the last ForgetDrawnText, as "x,y,colour,text" (none in the Windows build).
std::vector<std::string> TextsDrawn() {
  std::vector<std::string> texts;
#ifndef _WIN32
  for (int i = 0; i < DrawnTextCount(); ++i) {
    const DrawnText& d = DrawnTextAt(i);
    texts.push_back(std::to_string(d.x) + "," + std::to_string(d.y) + "," +
                    std::to_string(d.colour) + "," + d.text);
  }
  ForgetDrawnText();
#endif
  return texts;
}

// Artwork with something in it for every blit the demo scenario's hexes ask for: a pattern
// with transparent pixels, different for each picture. Emptied again at the end.
struct PatternArtwork {
  std::vector<Surface*> filled;
  void Fill(Surface& s, int w, int h, uint32_t seed) {
    resize_surface(&s, w, h);
    for (int i = 0; i < w * h; ++i)
      s.pixels[i] = i % 3 ? (seed * 2654435761u + uint32_t(i)) & 0xFFFFFF : 0;
    filled.push_back(&s);
  }
  PatternArtwork() {
    for (int i = 0; i < 200; ++i) Fill(g_artwork.FlagSurface[i], 20, 13, uint32_t(i + 1));
    for (int i = 0; i < 5; ++i) Fill(g_artwork.FacilitySurface[i], 16, 16, uint32_t(300 + i));
    for (int i = 1; i <= 3; ++i) Fill(g_artwork.AntiAirSurface[i], 12, 12, uint32_t(400 + i));
    Fill(g_artwork.LevelMaxSurface, 9, 9, 500);
  }
  ~PatternArtwork() {
    for (Surface* s : filled) DestroySurface(s);
  }
};

Cell& Visible(ViewHex h) { return g_world.grid[g_view.scrollX + h.col][g_view.scrollY + h.row]; }

TEST(FrameChange, AfterEachKindOfChangeTheFrameShownIsAFullRedraw) {
  LoadForTest(DemoBattleBytes("demo_large"), DemoWorldImage());
  LoadDemoCatalogs();
  PatternArtwork art;
  g_view = ViewState{};
  layout_screen();
  resize_surface(BackBuffer(), g_layout.windowWidth, g_layout.windowHeight);
  std::vector<std::string> shownTexts;  // of the last frame drawn

  // A unit owned by a team, and a hex with nothing on it, in view.
  const ViewHex unitHex{1, 1}, plainHex{3, 2};
  Visible(unitHex).hasUnit = 1;
  Visible(unitHex).unit.unitLevel = 3;
  Visible(unitHex).owner = 0;
  Visible(plainHex).hasUnit = Visible(plainHex).hasBuilding = 0;
  Visible(plainHex).worldInfo.terrain = 0;  // land
  TextsDrawn();                             // forgets what tests before this one drew
  draw_screen();
  shownTexts = TextsDrawn();
  const uint8_t unitOwner = Visible(unitHex).owner;
  ASSERT_LT(unitOwner, g_world.teamCount);
  const PixelPoint unitPx = HexTopLeft(unitHex.col, unitHex.row, g_world.originX, g_view.scrollX);

  const struct {
    const char* what;
    std::function<void()> change;
    bool shows;  // the frame differs from the one before
  } changes[] = {
      {"nothing", [] {}, false},
      {"a unit's level, edited in place", [&] { Visible(unitHex).unit.unitLevel++; }, true},
      {"a hex's owner",
       [&] {
         Visible(plainHex).owner = uint8_t((Visible(plainHex).owner + 1) % g_world.teamCount);
       },
       true},
      {"a hex turned to sea", [&] { Visible(plainHex).worldInfo.terrain = 1; }, true},
      {"a city with a factory built",
       [&] {
         Cell& c = Visible(plainHex);
         c.hasBuilding = 1;
         c.building.buildingCode = 10107;
         c.building.industry = 1;
       },
       true},
      {"a team's colour", [&] { g_world.teams[unitOwner].colour ^= 0x00FF00; }, true},
      {"a team's flag",
       [&] { g_world.teams[unitOwner].country = (g_world.teams[unitOwner].country + 7) % 200; },
       true},
      {"a hex out of view",
       [] { g_world.grid[g_view.scrollX + g_layout.viewCols][g_view.scrollY].owner ^= 1; }, false},
      {"a hex selected",
       [&] {
         g_view.selCol = unitHex.col;
         g_view.selRow = unitHex.row;
       },
       true},
      {"a scroll to the right", [] { scroll_by(g_view, g_layout, 1, 0); }, true},
      {"a scroll down", [] { scroll_by(g_view, g_layout, 0, 1); }, true},
      {"a scroll back", [] { scroll_by(g_view, g_layout, -1, -1); }, true},
      {"the information box",
       [&] {
         PointerRest& p = g_view.pointer;
         p.inWindow = true;
         p.x = unitPx.x + 20;
         p.y = unitPx.y + 30;
         p.restX = g_view.scrollX + unitHex.col;
         p.restY = g_view.scrollY + unitHex.row;
         p.boxShown = true;
       },
       true},
      {"the pointer moved within the hex", [] { g_view.pointer.y -= 15; }, true},
      {"the hex under the box edited", [&] { Visible(unitHex).unit.unitLevel++; }, true},
      {"the box gone", [] { g_view.pointer.boxShown = false; }, true},
      {"the selection cleared", [] { g_view.selCol = g_view.selRow = -1; }, true},
      {"every hex in the area", [] { SelectWholeRange(g_view); }, true},
      {"a hex out of view leaves the area",
       [] { g_view.area.Toggle(g_view.scrollX + g_layout.viewCols, g_view.scrollY); }, false},
      {"a visible hex leaves the area", [] { g_view.area.Toggle(g_view.scrollX, g_view.scrollY); },
       true},
      {"the area emptied", [] { g_view.area.Clear(); }, true},
      {"nothing again", [] {}, false},
  };
  for (const auto& c : changes) {
    SCOPED_TRACE(c.what);
    const Pixels before = PixelsOf(BackBuffer());
    c.change();
    const bool changed = FrameChanged();
    if (changed) {
      draw_screen();
      shownTexts = TextsDrawn();
    }
    const Pixels shown = PixelsOf(BackBuffer());
    ComposeScreen();  // the full redraw, into the off-screen surface
    EXPECT_EQ(shown, PixelsOf(&offscreenSurface));
    EXPECT_EQ(shownTexts, TextsDrawn());
    EXPECT_EQ(changed, c.shows);
    if (!c.shows) {
      EXPECT_EQ(shown, before);
    }
    EXPECT_FALSE(FrameChanged());  // once drawn, the same frame is not drawn again
  }
  set_target(nullptr);
}

}  // namespace
