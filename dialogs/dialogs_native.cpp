// The native build has no dialog templates and no windows: the editor itself is a Windows
// program. These return at once so that portable callers link; they change nothing.
#include "dialogs/dialogs.h"

void ShowBuildingDialog(void*, BuildingRecord&, int32_t) {}
void ShowUnitDialog(void*, UnitRecord&) {}
void ShowGeneralDialog(void*, uint8_t, UnitRecord&) {}
void ShowHexDialog(void*, int, int) {}
void ShowTeamDialog(void*) {}
bool ShowProblemsDialog(void*, std::vector<ScenarioProblem>, ScenarioProblem&) { return false; }
