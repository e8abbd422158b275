// The five editing dialogs, the problem report and the go-to dialog as the main loop opens
// them. Each runs its template modally, placed at (0, 0) of the owner's client area and
// owned by it (owner: the main window's handle). The editors end only through their close box.
//
// Windows only: the native build has no dialogs, and its versions of these return at once
// without touching anything (dialogs/dialogs_native.cpp).
#pragma once

#include <cstdint>
#include <vector>

#include "dialogs/problems_dialog.h"
#include "problems/problems.h"
#include "scenario/world_record.h"
#include "view/hex_address.h"

// Edits the building in place; 地块ID shows hexIndex, the global index of its hex.
void ShowBuildingDialog(void* owner, BuildingRecord& building, int32_t hexIndex);
// Edits a working copy of the unit that is written back when the dialog ends, always.
void ShowUnitDialog(void* owner, UnitRecord& unit);
// Does nothing when hasUnit is 0.
void ShowGeneralDialog(void* owner, uint8_t hasUnit, UnitRecord& unit);
// The raw bytes and owner of the hex at grid (x, y); nothing when it lies outside the range.
void ShowHexDialog(void* owner, int x, int y);
// The team table.
void ShowTeamDialog(void* owner);

// The go-to dialog (dialogs/goto_dialog.h), placed and owned like the others. It ends through
// its close box, on Esc, and on 确定 with a hex of the range: then true, with that hex.
bool ShowGoToDialog(void* owner, const MapRange& range, int32_t worldWidth, GridHex& chosen);

// The find dialog (dialogs/find_dialog.h), placed and owned like the others. It ends through
// its close box, on Esc, and on 全选 with matching hexes: then true, with those hexes in
// row-major order.
bool ShowFindDialog(void* owner, std::vector<GridHex>& found);

// The problem report over the problems found when it was asked for (see
// dialogs/problems_dialog.h); 刷新 asks `find` again. True, with the problem, when the user
// chose a hex to go to.
bool ShowProblemsDialog(void* owner, std::vector<ScenarioProblem> problems, ScenarioProblem& chosen,
                        ProblemFinder find = FindScenarioProblems);
