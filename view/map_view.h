// The main view: every visible hex, the panels (command buttons, scroll bars, arrows,
// thumbs), the selection outline and, while the pointer rests on a hex, the information box
// about it, drawn into the off-screen surface and copied to the window in one step.
#pragma once

#include "drawing/surface.h"
#include "scenario/world_record.h"

extern Surface offscreenSurface;

// The layout step: view size from the configuration (as many columns and rows as fit when
// the window would not fit on the screen's work area), every rectangle, the off-screen
// surface at the window's size with the hex font.
void layout_screen();

// After the user resized the window: the layout for its new client area (at least
// minCols x minRows), the off-screen surface at that layout's size, the back buffer at the
// client's; the view scrolled as far back as the new limits need, the selection kept as
// scrolling keeps it.
void ResizeScreen(int32_t clientWidth, int32_t clientHeight, int32_t minCols, int32_t minRows);

// Runs the drawing steps of one cell on the current target.
void draw_cell(const Cell& cell);

// Redraws everything and shows it.
void draw_screen();
// The same into the off-screen surface only (for tests and screenshots).
void ComposeScreen();
