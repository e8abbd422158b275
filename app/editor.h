// The editor's spine: loading the game data and a scenario, the save command, and one pass
// of the main loop (mouse, keys, drawing, pacing).
#pragma once

#include <string>

#include "scenario/world_map.h"
#include "scenario/edit_history.h"
#include "view/view_state.h"

// The undo history of the scenario being edited; started by LoadScenario.
extern EditHistory g_history;

// The catalogs, the string table and every picture, in start-up order.
void LoadGameData();

// Offered the range to start from, the world map and a notice (empty, or what the offered
// range leaves out when it is not the file's own, see RangeOfferNotice); gives the confirmed
// range.
using RangeChooser = MapRange (*)(const MapRange& initial, const WorldImage& world,
                                  const std::string& notice);

// Which side a failed load lies on: the battle file the user chose, which another file can
// replace, or the game's data folder (the world map), which no battle file can mend.
// kCancelled: the user closed the range window of another file; nothing was loaded.
enum class LoadFailure { kNone, kBattleFile, kGameData, kCancelled };

// A Status that also says which side a failure lies on.
struct LoadResult : Status {
  LoadFailure failure = LoadFailure::kNone;
  // After a load: what saving the scenario as placed would drop or change without the user
  // touching it (scenario/save_loss.h), for a box captioned kSaveLossCaption; empty when
  // nothing.
  std::string saveLossWarning;
};

// Reads the world map and the battle file, lets `choose` confirm the range (the range
// selection window in the editor) and fills the world record. Nothing of the record changes
// when the files cannot be read.
LoadResult LoadScenario(const std::string& path, RangeChooser choose);

// How start-up reports a failed load: the message box, and whether the user is asked for
// another battle file or the editor ends.
struct LoadFailureReport {
  std::string caption;
  std::string text;
  bool chooseAnotherFile = false;
};
LoadFailureReport ReportLoadFailure(const LoadResult& result);

// S: the save dialog, the replace question, the safe save, a message on failure. True when
// the file was written.
bool SaveScenario();

// A left click at client (x, y) of the main window, with the modifiers of the mouse message.
void HandleLeftClick(int32_t x, int32_t y, ClickMods mods = ClickMods::kPlain);

// Lays out the scenario's view and opens the main window for it, resizable, taking files
// dropped from the shell, keeping the user's closes for the question; draws its first frame.
// False when no window can be made.
bool OpenMainWindow();

// O, and a file dropped on the main window (`path`; empty: ask with the open dialog): with
// unsaved edits first the question about saving, then the file loaded with its range
// confirmed in place of the current scenario. Anything cancelled or failing on the way keeps
// the current scenario as it was, with its undo history. On success the history and the area
// start afresh, the view opens on the range's first hex and the save dialog proposes the new
// file's name. True when another file was opened.
bool OpenAnotherFile(std::string path);
// The range chooser O and a drop use (the range window, cancellable); tests give another.
void SetAnotherFileRangeChooser(RangeChooser choose);

// One pass of the main loop without the pacing. False when the user has closed the window
// and the editor is to end (after the question about unsaved edits, if there were any).
bool MainLoopPass();

// The user's close of the main window: ends at once without unsaved edits; otherwise asks
// whether to save first. True when the editor is to end.
bool AnswerCloseRequest();
