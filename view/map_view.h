// The main view: every visible hex, the panels (command buttons, scroll bars, arrows,
// thumbs), the selection outline and, while the pointer rests on a hex, the information box
// about it, drawn into the off-screen surface and copied to the window in one step.
#pragma once

#include "drawing/surface.h"
#include "scenario/world_record.h"

extern Surface offscreenSurface;

// The layout step: view size from the configuration, every rectangle, the off-screen
// surface at the window's size with the hex font.
void layout_screen();

// Runs the drawing steps of one cell on the current target.
void draw_cell(const Cell& cell);

// Redraws everything and shows it.
void draw_screen();
// The same into the off-screen surface only (for tests and screenshots).
void ComposeScreen();
