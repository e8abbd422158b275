#include "app/editor.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "platform/file_requests.h"
#include "platform/keys.h"
#include "app/overview_window.h"
#include "app/pace.h"
#include "app/range_select.h"
#include "app/recovery.h"
#include "app/range_frame.h"
#include "view/view_state.h"
#include "catalogs/artwork.h"
#include "catalogs/catalogs.h"
#include "problems/problems.h"
#include "catalogs/string_table.h"
#include "dialogs/dialogs.h"
#include "drawing/mouse_queue.h"
#include "platform/prompts.h"
#include "drawing/window.h"
#include "base/files.h"
#include "scenario/battle_place.h"
#include "scenario/battle_read.h"
#include "scenario/battle_write.h"
#include "scenario/save_loss.h"
#include "scenario/step_words.h"
#include "view/layout.h"
#include "view/frame_change.h"
#include "view/map_view.h"
#include "view/notice.h"

EditHistory g_history;

namespace {

// Set by whatever may have changed the record or the view on this pass: the overview is
// drawn again after it.
bool g_actionRan = false;

void Notify(std::string text) { ShowNotice(g_view.notice, std::move(text), ClockMs()); }

// The battle file as opened or last saved: the problem report judges the file's own kinds
// and its save's on it, as the companion's check does.
BattleImage g_fileOnDisk;

const char kCloseQuestion[] = "当前战役有未保存的修改。\n\n关闭前是否保存？";

// Ends the user's current action: what it changed becomes one undo step.
void EndAction() { g_history.Record(g_world); }

// After a dialog or message box of the editor. Clicks that reached the window while it was
// open were meant for that box, not for the map or the buttons behind it; and the pointer
// may be anywhere now, so the information box waits until a new message places it.
void DropMouseMessages() {
  SharedMouseQueue().clear();
  ForgetPointer(g_view.pointer);
  g_view.dragging = false;
}

// Before a dialog or message box: the window shows the last frame for as long as the box is
// open, so when that frame holds the information box a frame without it goes there first.
void HideHoverBox() {
  if (!g_view.pointer.boxShown) return;
  g_view.pointer.boxShown = false;
  draw_screen();
}

// What must happen around a modal box besides hiding the information box and dropping the
// clicks meant for the box.
enum ModalRule : unsigned {
  kEndActionFirst = 1,  // what was done before it is a step of its own
  kEndActionAfter = 2,  // what the box changed is one step
  kIgnoreHeldKeys = 4,  // the key that opened it, or the Enter or Esc that closed it, is no command
};

// Runs a modal box (a dialog, a message box, a file request) with the rules around it.
template <class Box>
void RunModal(unsigned rules, Box box) {
  if (rules & kEndActionFirst) EndAction();
  HideHoverBox();
  box();
  g_actionRan = true;
  if (rules & kEndActionAfter) EndAction();
  if (rules & kIgnoreHeldKeys) IgnoreHeldKeys();
  DropMouseMessages();
}

}  // namespace

void LoadGameData() {
  LoadRankCatalog();
  LoadArmyCatalog();
  LoadBuildingCatalog();
  start_pictures();
  LoadCommanderCatalog(LoadCommanderPortrait);
  LoadCountryCatalog();
  load_string_table();
  LoadArtworkList();
}

LoadResult LoadScenario(const std::string& path, RangeChooser choose) {
  // The world map first: when the data folder is broken no battle file can be opened, and
  // the user should hear that before choosing another one.
  WorldImage world;
  Status s = ReadWorldMapFile(WorldMapPath(), world);
  if (!s.ok()) return {s, LoadFailure::kGameData};
  BattleImage image;
  s = ReadBattleFile(path, image);
  if (!s.ok()) return {s, LoadFailure::kBattleFile};
  const MapRange fileRange = image.fileRange();
  const MapRange offered = InitialRange(fileRange, world);
  const std::string notice = RangeOfferNotice(fileRange, offered, world.width, world.height,
                                              LossOfRange(image, world.width, offered));
  // Edits kept from a run that ended without saving come back with the range they were made
  // in, so the range is not asked again.
  const std::string absolute = AbsolutePath(path);
  RecoveryData recovered;
  const bool recovering = OfferRecovery(absolute, image.bytes, recovered);
  MapRange range = recovering ? recovered.range : choose(offered, world, notice);
  if (range.width <= 0 || range.height <= 0) return {Status(), LoadFailure::kCancelled};
  const SaveLoss loss = CountSaveLoss(image, world.width, range);
  s = CommitScenario(image, world, range);
  if (!s.ok()) return {s, LoadFailure::kBattleFile};
  g_history.Start(g_world);
  if (recovering && !ReplayRecovery(std::move(recovered), g_world, g_history).ok())
    g_history.Start(g_world);  // steps that do not fit this record are not applied
  ResetArea(g_view);
  WatchScenario(KeyOfScenarioFile(absolute, image.bytes.data(), image.bytes.size()), range);
  g_fileOnDisk = std::move(image);
  LoadResult loaded;
  loaded.saveLossWarning = SaveLossText(loss, FileNameOf(path));
  return loaded;
}

LoadFailureReport ReportLoadFailure(const LoadResult& r) {
  if (r.failure == LoadFailure::kGameData)
    return {"游戏数据不完整",
            r.message +
                "\n\n换一个战役文件也无济于事。请补全游戏的“数据”文件夹后再启动"
                "编辑器；编辑器现在退出。",
            false};
  return {"无法打开战役文件", r.message + "\n\n请选择另一个战役文件。", true};
}

namespace {

// The recovery file follows the file just saved: its name, size and checksum; so does the
// problem report's file.
void WatchSavedFile(const std::string& path) {
  std::string bytes;
  if (!ReadWholeFile(path, bytes)) return;
  WatchScenario(KeyOfScenarioFile(AbsolutePath(path),
                                  reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()),
                CurrentRange());
  BattleImage saved;
  if (ParseBattleFile(std::vector<uint8_t>(bytes.begin(), bytes.end()), path, saved).ok())
    g_fileOnDisk = std::move(saved);
}

// The size of the file just saved, for the notice; 0 when it cannot be told.
uint64_t SavedBytes(const std::string& path) {
  uint64_t size = 0;
  if (FILE* f = OpenFile(path, "rb")) {
    if (!OpenFileSize(f, size)) size = 0;
    fclose(f);
  }
  return size;
}

}  // namespace

bool SaveScenario() {
  bool saved = false;
  RunModal(kEndActionFirst, [&] {
    std::string path;
    if (!AskSaveBattleFile(path) ||
        (FileExists(path) && ShowMessage(window_handle(), "文件已经存在，是否替换？", "提示",
                                         kMbYesNo | kMbIconQuestion) != kIdYes))
      return;
    Status s = SaveScenarioTo(path);
    saved = s.ok();
    if (saved) {
      g_history.MarkSaved(g_world);
      WatchSavedFile(path);
      Notify(SavedNotice(FileNameOf(path), SavedBytes(path)));
    } else
      ShowMessage(window_handle(), s.message, "保存失败", kMbOk | kMbIconWarning);
  });
  return saved;
}

bool AnswerCloseRequest() {
  bool end = true;
  if (g_history.Unsaved(g_world)) {
    RunModal(0, [&] {
      int answer =
          ShowMessage(window_handle(), kCloseQuestion, "提示", kMbYesNoCancel | kMbIconWarning);
      end = answer == kIdYes ? SaveScenario() : answer == kIdNo;
      if (answer == kIdNo) DropRecoveryFile();
    });
  }
  // A second close while the question was up has been answered by this one, and the key
  // that answered it (Esc, Enter) is no command for the map.
  TakeCloseRequest();
  IgnoreHeldKeys();
  DropMouseMessages();
  return end;
}

namespace {

// The four command buttons below the map, in the layout's order.
enum CommandButton { kBuildingButton, kUnitButton, kGeneralButton, kHexButton, kNoButton = -1 };

void OpenEditor(int button, Cell& c) {
  const ViewState& v = g_view;
  void* owner = window_handle();
  switch (button) {
    case kBuildingButton:
      ShowBuildingDialog(owner, c.building, GlobalIndex(v.selX(), v.selY()));
      break;
    case kUnitButton: ShowUnitDialog(owner, c.unit); break;
    case kGeneralButton: ShowGeneralDialog(owner, c.hasUnit, c.unit); break;
    case kHexButton: ShowHexDialog(owner, v.selX(), v.selY()); break;
  }
}

ClickMods ModsOf(const MouseMessage& m) {
  return m.ctrl ? ClickMods::kCtrl : m.shift ? ClickMods::kShift : ClickMods::kPlain;
}

}  // namespace

void HandleLeftClick(int32_t x, int32_t y, ClickMods mods) {
  const Layout& l = g_layout;
  ViewState& v = g_view;
  if (x < l.mapWidthPx && y < l.mapHeightPx) {
    ClickMapHex(v, l, g_world.originX, x, y, mods);
    return;
  }
  if (v.hasSelection()) {
    int button = CommandButtonAt(l, x, y);
    Cell& c = g_world.grid[v.selX()][v.selY()];
    if (button != kNoButton) {
      // A paste held so far is a step of its own; what the editor changed is the next.
      RunModal(kEndActionFirst | kEndActionAfter, [&] {
        OpenEditor(button, c);
        NormaliseCell(v.selX(), v.selY());
      });
      return;
    }
    NormaliseCell(v.selX(), v.selY());
    EndAction();
  }
  if (ClickArrowButtons(v, l, x, y)) return;
  ClickTracks(v, l, g_world.rangeWidth, g_world.rangeHeight, x, y);
}

namespace {

bool g_pasting = false;  // a paste key has been down since the last step

// ---- What the keys do ----

// While the keys are off their notice stands (NoticeText); their return has a word of its own.
void ToggleCommandKeys(bool) {
  g_view.commandKeysOff ^= 1;
  if (!g_view.commandKeysOff) Notify(kKeysBackNotice);
}
void ScrollDown(bool) { scroll_by(g_view, g_layout, 0, 1); }
void ScrollUp(bool) { scroll_by(g_view, g_layout, 0, -1); }
void ScrollLeft(bool) { scroll_by(g_view, g_layout, -1, 0); }
void ScrollRight(bool) { scroll_by(g_view, g_layout, 1, 0); }
void Save(bool) { SaveScenario(); }

// C, U, T and B are read together: a copy comes before the pastes of the same pass, and
// without a copy there is nothing to paste.
void CopyAndPaste(bool) {
  ViewState& v = g_view;
  if (KeyDown(kKeyC) && v.hasSelection())
    CopySelected(v);
  else if (v.clipboardEmpty)
    return;
  bool unit = KeyDown(kKeyU), owner = KeyDown(kKeyT), building = KeyDown(kKeyB);
  const size_t pasted = PasteOnto(v, unit, owner, building);
  if (pasted == 0) return;
  g_pasting = true;
  g_actionRan = true;
  if (!v.area.empty())
    Notify(PastedNotice(pasted));
  else
    EndNotice(v.notice);
}

// Everything a paste key changed while it stayed down is one step, ended by its release.
void EndPasteOnRelease(bool) {
  if (!g_pasting || KeyDown(kKeyU) || KeyDown(kKeyT) || KeyDown(kKeyB)) return;
  g_pasting = false;
  EndAction();
}

void DeleteHexContents(bool) {
  EndAction();  // a paste held so far is a step of its own
  const size_t cleared = DeleteUnitsAndBuildings(g_view);
  if (cleared == 0) return;
  EndAction();
  if (!g_view.area.empty()) Notify(DeletedNotice(cleared));
}

void EditTeams(bool) {
  RunModal(kEndActionFirst | kEndActionAfter, [] { ShowTeamDialog(window_handle()); });
}

// G: the go-to dialog; the hex it names is centred as far as the range allows and selected.
// Nothing of the scenario changes.
void GoToHex(bool) {
  RunModal(kIgnoreHeldKeys, [] {
    GridHex hex;
    if (ShowGoToDialog(window_handle(), CurrentRange(), g_world.worldWidth, hex))
      CentreAndSelect(g_view, g_layout, hex.x, hex.y);
  });
}

// P: the problem report, or a word that there is none; a problem the user goes to has its
// hex centred and selected. The report holds the kinds of the file as opened or last saved,
// then the scenario's as it is now (problems/problems.h): the same kinds the companion's
// check finds on that file. Nothing in the scenario changes, so the undo history is left
// alone (a paste key still held goes on with the same step).
void ReportProblems(bool) {
  std::vector<ScenarioProblem> problems = FindProblems(g_fileOnDisk);
  RunModal(kIgnoreHeldKeys, [&] {
    ScenarioProblem chosen;
    if (problems.empty())
      ShowMessage(window_handle(), "没有发现问题。", "问题检查", kMbOk | kMbIconInformation);
    else if (ShowProblemsDialog(window_handle(), std::move(problems), chosen,
                                [] { return FindProblems(g_fileOnDisk); }))
      CentreAndSelect(g_view, g_layout, chosen.globalX - g_world.originX,
                      chosen.globalY - g_world.originY);
  });
}

// F: the find dialog; what it finds becomes the area, its first hex selected and centred.
// Nothing of the scenario changes and no step is made.
void FindHexes(bool) {
  RunModal(kIgnoreHeldKeys, [] {
    std::vector<GridHex> found;
    if (ShowFindDialog(window_handle(), found)) SelectFoundHexes(g_view, g_layout, found);
  });
}

void ShowOrHideOverview(bool) { ToggleOverview(); }
void OpenOtherFile(bool) { OpenAnotherFile(std::string()); }

void NextInArea(bool shift) { StepThroughArea(g_view, g_layout, !shift); }
void SelectAll(bool) { SelectWholeRange(g_view); }

void ShowStepHex(const StepFocus& f) {
  if (f.x >= 0) RevealAndSelect(g_view, g_layout, f.x, f.y);
}
// What a step changed, for the notice after its undo or redo.
std::string StepWords(const EditStep* step) {
  return step ? DescribeStep(*step, g_world.originX, g_world.originY) : std::string();
}
void Undo() {
  StepFocus focus;
  g_pasting = false;
  EndAction();  // edits not yet a step become the step undone
  const std::string words = StepWords(g_history.LastStep());
  if (!g_history.Undo(g_world, &focus)) return;
  ShowStepHex(focus);
  Notify(UndoneNotice(words));
}
void Redo(bool) {
  StepFocus focus;
  g_pasting = false;
  EndAction();  // an edit not yet a step drops what could be redone
  const std::string words = StepWords(g_history.NextStep());
  if (!g_history.Redo(g_world, &focus)) return;
  ShowStepHex(focus);
  Notify(RedoneNotice(words));
}
void UndoOrRedo(bool shift) {
  if (shift)
    Redo(shift);
  else
    Undo();
}

// ---- The key table ----

enum class KeyRead {
  kOncePerPress,  // waits, polling, for the release, then acts once
  kWhileHeld,     // acts on every pass that finds the key down
};
enum class KeyState {
  kCommandKeysOn,  // Esc turns it off with the other command keys
  kBothStates,
};
enum class KeyMods {
  kAny,       // whatever else is held
  kCtrlHeld,  // only with Ctrl
};

struct KeyCommand {
  int key;  // 0: the row runs on every pass and reads its keys itself
  KeyRead read;
  KeyState state;
  KeyMods mods;
  void (*action)(bool shiftHeld);  // whether Shift was down when the key was found down
};

// In the order a pass reads them.
constexpr KeyCommand kKeyCommands[] = {
    {kKeyEscape, KeyRead::kOncePerPress, KeyState::kBothStates, KeyMods::kAny, ToggleCommandKeys},
    {kKeyDown, KeyRead::kOncePerPress, KeyState::kCommandKeysOn, KeyMods::kAny, ScrollDown},
    {kKeyUp, KeyRead::kOncePerPress, KeyState::kCommandKeysOn, KeyMods::kAny, ScrollUp},
    {kKeyLeft, KeyRead::kOncePerPress, KeyState::kCommandKeysOn, KeyMods::kAny, ScrollLeft},
    {kKeyRight, KeyRead::kOncePerPress, KeyState::kCommandKeysOn, KeyMods::kAny, ScrollRight},
    {kKeyS, KeyRead::kWhileHeld, KeyState::kCommandKeysOn, KeyMods::kAny, Save},
    // C, U, T, B
    {0, KeyRead::kWhileHeld, KeyState::kCommandKeysOn, KeyMods::kAny, CopyAndPaste},
    {kKeyDelete, KeyRead::kOncePerPress, KeyState::kCommandKeysOn, KeyMods::kAny,
     DeleteHexContents},
    {0, KeyRead::kWhileHeld, KeyState::kBothStates, KeyMods::kAny, EndPasteOnRelease},
    {kKeyJ, KeyRead::kWhileHeld, KeyState::kBothStates, KeyMods::kAny, EditTeams},
    {kKeyG, KeyRead::kOncePerPress, KeyState::kBothStates, KeyMods::kAny, GoToHex},
    {kKeyP, KeyRead::kWhileHeld, KeyState::kBothStates, KeyMods::kAny, ReportProblems},
    {kKeyF, KeyRead::kOncePerPress, KeyState::kBothStates, KeyMods::kAny, FindHexes},
    {kKeyO, KeyRead::kOncePerPress, KeyState::kBothStates, KeyMods::kAny, OpenOtherFile},
    {kKeyM, KeyRead::kOncePerPress, KeyState::kBothStates, KeyMods::kAny, ShowOrHideOverview},
    {kKeyF3, KeyRead::kOncePerPress, KeyState::kBothStates, KeyMods::kAny, NextInArea},
    {kKeyA, KeyRead::kOncePerPress, KeyState::kBothStates, KeyMods::kCtrlHeld, SelectAll},
    // Ctrl+Z undoes, Ctrl+Shift+Z and Ctrl+Y redo.
    {kKeyZ, KeyRead::kOncePerPress, KeyState::kBothStates, KeyMods::kCtrlHeld, UndoOrRedo},
    {kKeyY, KeyRead::kOncePerPress, KeyState::kBothStates, KeyMods::kCtrlHeld, Redo},
};

bool Wanted(const KeyCommand& k) {
  if (k.state == KeyState::kCommandKeysOn && g_view.commandKeysOff) return false;
  if (k.mods == KeyMods::kCtrlHeld && !KeyDown(kKeyControl)) return false;
  return k.key == 0 || KeyDown(k.key);
}

void ReadKeys() {
  for (const KeyCommand& k : kKeyCommands) {
    if (!Wanted(k)) continue;
    const bool shift = k.key != 0 && KeyDown(kKeyShift);
    if (k.key != 0 && k.read == KeyRead::kOncePerPress) WaitKeyRelease(k.key);
    if (k.key != 0) {  // an action of its own: the notice of the one before goes
      EndNotice(g_view.notice);
      g_actionRan = true;
    }
    k.action(shift);
  }
}

}  // namespace

namespace {

int32_t g_minCols = kMinViewCols, g_minRows = kMinViewRows;

void TakeMouse() {
  while (mouse_pending()) {
    MouseMessage m = next_mouse_message();
    TrackPointer(g_view.pointer, m);
    if (m.code == kLeftButtonDown) {
      EndNotice(g_view.notice);
      HandleLeftClick(m.x, m.y, ModsOf(m));
      g_actionRan = true;
    }
    if (m.code == kMouseMove && m.left) {
      DragMapHex(g_view, g_layout, g_world.originX, m.x, m.y, true);
      g_actionRan = true;
    }
    if (m.code == kMouseMove && !m.left)
      DragMapHex(g_view, g_layout, g_world.originX, m.x, m.y, false);
    if (m.code == kLeftButtonUp) g_view.dragging = false;
    if (m.code == kMouseWheel && m.x >= 0 && m.y >= 0 && m.x < g_layout.mapWidthPx &&
        m.y < g_layout.mapHeightPx) {
      TurnWheel(g_view, g_layout, m.wheel, m.shift != 0);
      g_actionRan = true;
    }
  }
}

void TakeResizes() {
  const std::optional<PixelSize> size = TakeResize();
  if (!size) return;
  ResizeScreen(size->width, size->height, g_minCols, g_minRows);
  ForgetPointer(g_view.pointer);  // the box is placed for the old layout
  g_actionRan = true;
}

}  // namespace

void TakeDroppedFiles() {
  std::string path;
  if (TakeDroppedFile(path)) OpenAnotherFile(path);
}

void SetResizeLimits() {
  g_minCols = std::min(kMinViewCols, g_layout.viewCols);
  g_minRows = std::min(kMinViewRows, g_layout.viewRows);
  const Layout smallest =
      ComputeLayout(g_minCols, g_minRows, g_world.rangeWidth, g_world.rangeHeight);
  SetMinimumClientSize(smallest.windowWidth, smallest.windowHeight);
}

namespace {

const char kOpenQuestion[] = "当前战役有未保存的修改。\n\n打开其他文件前是否保存？";
RangeChooser g_anotherFileRange = SelectMapRangeOrCancel;

}  // namespace

void SetAnotherFileRangeChooser(RangeChooser choose) {
  g_anotherFileRange = choose ? choose : SelectMapRangeOrCancel;
}

bool OpenMainWindow() {
  layout_screen();
  if (!open_window(g_layout.windowWidth, g_layout.windowHeight,
                   kWindowResizable | kWindowTakesFiles))
    return false;
  KeepCloseRequests(true);
  SetResizeLimits();
  draw_screen();
  return true;
}

bool OpenAnotherFile(std::string path) {
  bool opened = false;
  RunModal(kEndActionFirst | kIgnoreHeldKeys, [&] {
    if (g_history.Unsaved(g_world)) {
      const int answer =
          ShowMessage(window_handle(), kOpenQuestion, "提示", kMbYesNoCancel | kMbIconWarning);
      if (answer == kIdCancel || (answer == kIdYes && !SaveScenario())) return;
    }
    if (path.empty() && !AskOpenBattleFile(path)) return;
    const bool overview = OverviewOpen();
    CloseOverview();
    const unsigned windows = WindowsOpened();
    LoadResult loaded = LoadScenario(path, g_anotherFileRange);
    opened = loaded.ok() && loaded.failure == LoadFailure::kNone;
    if (opened) {
      const ViewState before = g_view;
      g_view = ViewState{};                         // the first hex, nothing selected, no area
      g_view.clipboardCell = before.clipboardCell;  // a copy may go from one file to another
      g_view.clipboardEmpty = before.clipboardEmpty;
      g_view.commandKeysOff = before.commandKeysOff;
      ResetArea(g_view);
      ProposeSaveName(path);
    }
    // The range window took the drawing window's place: the main window comes back.
    if (WindowsOpened() != windows) OpenMainWindow();
    if (overview) ToggleOverview();
    if (opened && !loaded.saveLossWarning.empty())
      ShowMessage(window_handle(), loaded.saveLossWarning, kSaveLossCaption,
                  kMbOk | kMbIconWarning);
    if (!loaded.ok()) {
      const LoadFailureReport report = ReportLoadFailure(loaded);
      ShowMessage(window_handle(), report.text, report.caption, kMbOk | kMbIconWarning);
    }
  });
  return opened;
}

bool MainLoopPass() {
  g_actionRan = false;
  TakeResizes();
  TakeDroppedFiles();
  TakeMouse();
  ReadKeys();
  if (TakeCloseRequest() && AnswerCloseRequest()) return false;
  ViewState& v = g_view;
  const int64_t now = ClockMs();
  UpdateRest(v.pointer, g_layout, g_world.originX, v.scrollX, v.scrollY, now);
  const std::string recoveryFailure = KeepRecoveryFile(now);
  if (!recoveryFailure.empty()) ShowNotice(v.notice, recoveryFailure, now);
  v.noticeShown = NoticeText(v.notice, v.commandKeysOff, now);
  RunOverview(g_actionRan);
  if (FrameChanged()) draw_screen();
  return true;
}
