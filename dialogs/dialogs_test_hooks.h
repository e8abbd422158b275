// For tests only: the native build has no dialogs, so a test may stand in for the user of
// the go-to and find dialogs. Native build alone.
#pragma once

#include <cstdint>
#include <vector>

#include "scenario/world_record.h"
#include "view/hex_address.h"

// Answers ShowGoToDialog as the user would: true and the hex for a hex named, false for a
// dialog closed without one. Null (the start) restores the answer "closed without one".
using GoToAnswer = bool (*)(const MapRange& range, int32_t worldWidth, GridHex& chosen);
void SetGoToAnswer(GoToAnswer answer);

// Answers ShowFindDialog: true and the hexes for a find the user took, false for a dialog
// closed without one. Null (the start) restores "closed without one".
using FindAnswer = bool (*)(std::vector<GridHex>& found);
void SetFindAnswer(FindAnswer answer);
