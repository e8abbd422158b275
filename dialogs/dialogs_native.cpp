// The native build has no dialog templates and no windows: the editor itself is a Windows
// program. These return at once so that portable callers link; they change nothing. The
// go-to dialog answers what a test has set (dialogs/dialogs_test_hooks.h).
#include "dialogs/dialogs.h"
#include "dialogs/dialogs_test_hooks.h"

namespace {

GoToAnswer g_goToAnswer = nullptr;
FindAnswer g_findAnswer = nullptr;

}  // namespace

void ShowBuildingDialog(void*, BuildingRecord&, int32_t) {}
void ShowUnitDialog(void*, UnitRecord&) {}
void ShowGeneralDialog(void*, uint8_t, UnitRecord&) {}
void ShowHexDialog(void*, int, int) {}
void ShowTeamDialog(void*) {}

void SetGoToAnswer(GoToAnswer answer) { g_goToAnswer = answer; }

bool ShowGoToDialog(void*, const MapRange& range, int32_t worldWidth, GridHex& chosen) {
  return g_goToAnswer && g_goToAnswer(range, worldWidth, chosen);
}

void SetFindAnswer(FindAnswer answer) { g_findAnswer = answer; }

bool ShowFindDialog(void*, std::vector<GridHex>& found) {
  found.clear();
  return g_findAnswer && g_findAnswer(found) && !found.empty();
}

bool ShowProblemsDialog(void*, std::vector<ScenarioProblem>, ScenarioProblem&, ProblemFinder) {
  return false;
}
