// The map-range selection: the whole world map in a window of its own with the scenario's
// range framed in red. The left button moves the frame's near corner, the right button its
// far corner, X confirms.
#pragma once

#include <string>

#include "app/range_frame.h"
#include "drawing/surface.h"
#include "scenario/world_map.h"

extern Surface rangeSurface;

// Runs the mode until a usable range is confirmed; closes its window before returning.
// `notice`, when not empty, is shown after the instructions (see RangeOfferNotice).
MapRange select_map_range(const MapRange& initial, const WorldImage& world,
                          const std::string& notice);
// The same for another file while a scenario is open: the user's close of the window (its
// close box, Alt+F4) cancels, giving an empty range (width 0), instead of ending the program.
MapRange SelectMapRangeOrCancel(const MapRange& initial, const WorldImage& world,
                                const std::string& notice);

// Terrain class colours of the view (0x00BBGGRR); classes above 19 are grey.
uint32_t TerrainColour(uint8_t terrainClass);

// The view's two drawing steps (the benchmark times them): the world and its ring into the
// world picture, once a window; a frame of the view around the red frame, shown.
void DrawRangeWorld(const WorldImage& world, int32_t cellPx);
void DrawRangeFrame(const RangeFrame& f, int32_t cellPx);
