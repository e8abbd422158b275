#include "app/editor.h"

#include "platform/file_requests.h"
#include "platform/keys.h"
#include "app/pace.h"
#include "app/range_frame.h"
#include "view/view_state.h"
#include "catalogs/artwork.h"
#include "catalogs/catalogs.h"
#include "catalogs/scenario_problems.h"
#include "catalogs/string_table.h"
#include "dialogs/dialogs.h"
#include "drawing/mouse_queue.h"
#include "platform/prompts.h"
#include "drawing/window.h"
#include "base/files.h"
#include "view/layout.h"
#include "view/frame_change.h"
#include "view/map_view.h"

EditHistory g_history;

namespace {

const char kCloseQuestion[] = "当前战役有未保存的修改。\n\n关闭前是否保存？";

// Ends the user's current action: what it changed becomes one undo step.
void EndAction() { g_history.Record(g_world); }

// After a dialog or message box of the editor. Clicks that reached the window while it was
// open were meant for that box, not for the map or the buttons behind it; and the pointer
// may be anywhere now, so the information box waits until a new message places it.
void DropMouseMessages() {
  SharedMouseQueue().clear();
  ForgetPointer(g_view.pointer);
}

// Before a dialog or message box: the window shows the last frame for as long as the box is
// open, so when that frame holds the information box a frame without it goes there first.
void HideHoverBox() {
  if (!g_view.pointer.boxShown) return;
  g_view.pointer.boxShown = false;
  draw_screen();
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
  MapRange range = choose(offered, world, notice);
  s = CommitScenario(image, world, range);
  if (!s.ok()) return {s, LoadFailure::kBattleFile};
  g_history.Start(g_world);
  return {};
}

LoadFailureReport ReportLoadFailure(const LoadResult& r) {
  if (r.failure == LoadFailure::kGameData)
    return {"游戏数据不完整",
            r.message + "\n\n换一个战役文件也无济于事。请补全游戏的“数据”文件夹后再启动"
                        "编辑器；编辑器现在退出。",
            false};
  return {"无法打开战役文件", r.message + "\n\n请选择另一个战役文件。", true};
}

bool SaveScenario() {
  EndAction();
  HideHoverBox();
  std::string path;
  bool saved = false;
  if (AskSaveBattleFile(path) &&
      (!FileExists(path) || ShowMessage(window_handle(), "文件已经存在，是否替换？", "提示",
                                          kMbYesNo | kMbIconQuestion) == kIdYes)) {
    Status s = SaveScenarioTo(path);
    saved = s.ok();
    if (saved)
      g_history.MarkSaved(g_world);
    else
      ShowMessage(window_handle(), s.message, "保存失败", kMbOk | kMbIconWarning);
  }
  DropMouseMessages();
  return saved;
}

bool AnswerCloseRequest() {
  bool end = true;
  if (g_history.Unsaved(g_world)) {
    HideHoverBox();
    int answer = ShowMessage(window_handle(), kCloseQuestion, "提示",
                              kMbYesNoCancel | kMbIconWarning);
    end = answer == kIdYes ? SaveScenario() : answer == kIdNo;
  }
  // A second close while the question was up has been answered by this one, and the key
  // that answered it (Esc, Enter) is no command for the map.
  TakeCloseRequest();
  IgnoreHeldKeys();
  DropMouseMessages();
  return end;
}

void HandleLeftClick(int32_t x, int32_t y) {
  const Layout& l = g_layout;
  ViewState& v = g_view;
  if (x < l.mapWidthPx && y < l.mapHeightPx) {
    PickHex(v, l, g_world.originX, x, y);
    return;
  }
  if (v.hasSelection()) {
    int button = CommandButtonAt(l, x, y);
    Cell& c = g_world.grid[v.selX()][v.selY()];
    void* owner = window_handle();
    if (button != -1) {
      EndAction();  // a paste held so far is a step of its own
      HideHoverBox();
    }
    if (button == 0) ShowBuildingDialog(owner, c.building, GlobalIndex(v.selX(), v.selY()));
    if (button == 1) ShowUnitDialog(owner, c.unit);
    if (button == 2) ShowGeneralDialog(owner, c.hasUnit, c.unit);
    if (button == 3) ShowHexDialog(owner, v.selX(), v.selY());
    NormaliseCell(v.selX(), v.selY());
    EndAction();
    if (button != -1) {
      DropMouseMessages();
      return;
    }
  }
  if (ClickArrowButtons(v, l, x, y)) return;
  ClickTracks(v, l, g_world.rangeWidth, g_world.rangeHeight, x, y);
}

namespace {

bool g_pasting = false;  // a paste key has been down since the last step

// Esc and the arrows act once per press: wait for the release, then act.
bool Pressed(int key) {
  if (!KeyDown(key)) return false;
  WaitKeyRelease(key);
  return true;
}

void CommandKeys() {
  ViewState& v = g_view;
  const Layout& l = g_layout;
  if (Pressed(kKeyDown)) ScrollBy(v, l, 0, 1);
  if (Pressed(kKeyUp)) ScrollBy(v, l, 0, -1);
  if (Pressed(kKeyLeft)) ScrollBy(v, l, -1, 0);
  if (Pressed(kKeyRight)) ScrollBy(v, l, 1, 0);
  if (KeyDown(kKeyS)) SaveScenario();
  bool copy = KeyDown(kKeyC) && v.hasSelection();
  if (copy) CopySelected(v);
  else if (v.clipboardEmpty) return;
  if (!v.hasSelection()) return;
  bool unit = KeyDown(kKeyU), owner = KeyDown(kKeyT), building = KeyDown(kKeyB);
  if (unit || owner || building) g_pasting = true;
  PasteSelected(v, unit, owner, building);
}

// Everything a paste key changed while it stayed down is one step, ended by its release.
void EndPasteOnRelease() {
  if (!g_pasting || KeyDown(kKeyU) || KeyDown(kKeyT) || KeyDown(kKeyB)) return;
  g_pasting = false;
  EndAction();
}

// P: the problem report, or a word that there is none; a problem the user goes to has its
// hex centred and selected. Nothing in the scenario changes, so the undo history is left
// alone (a paste key still held goes on with the same step).
void ReportProblems() {
  std::vector<ScenarioProblem> problems = FindScenarioProblems();
  ScenarioProblem chosen;
  HideHoverBox();
  if (problems.empty())
    ShowMessage(window_handle(), "没有发现问题。", "问题检查", kMbOk | kMbIconInformation);
  else if (ShowProblemsDialog(window_handle(), std::move(problems), chosen))
    CentreAndSelect(g_view, g_layout, chosen.globalX - g_world.originX, chosen.globalY - g_world.originY);
  // The Esc or Enter that closed the box is no command for the map.
  IgnoreHeldKeys();
  DropMouseMessages();
}

void ShowStepHex(const StepFocus& f) {
  if (f.x >= 0) RevealAndSelect(g_view, g_layout, f.x, f.y);
}

// G: the go-to dialog; the hex it names is centred as far as the range allows and selected.
// Nothing of the scenario changes. G acts once per press, so that the key that opened the
// dialog types nothing into it; the Enter or Esc that closed it is no command for the map.
void GoToHex() {
  GridHex hex;
  HideHoverBox();
  if (ShowGoToDialog(window_handle(), CurrentRange(), g_world.worldWidth, hex))
    CentreAndSelect(g_view, g_layout, hex.x, hex.y);
  IgnoreHeldKeys();
  DropMouseMessages();
}

// Ctrl+Z undoes, Ctrl+Y and Ctrl+Shift+Z redo; once per press.
void UndoKeys() {
  if (!KeyDown(kKeyControl)) return;
  bool redo = KeyDown(kKeyShift);
  StepFocus focus;
  if (Pressed(kKeyZ)) {
    g_pasting = false;
    if (redo ? g_history.Redo(g_world, &focus) : g_history.Undo(g_world, &focus))
      ShowStepHex(focus);
  } else if (Pressed(kKeyY)) {
    g_pasting = false;
    if (g_history.Redo(g_world, &focus)) ShowStepHex(focus);
  }
}

}  // namespace

bool MainLoopPass() {
  while (mouse_pending()) {
    MouseMessage m = next_mouse_message();
    TrackPointer(g_view.pointer, m);
    if (m.code == kLeftButtonDown) HandleLeftClick(m.x, m.y);
  }
  if (Pressed(kKeyEscape)) g_view.commandKeysOff ^= 1;
  if (!g_view.commandKeysOff) CommandKeys();
  EndPasteOnRelease();
  if (KeyDown(kKeyJ)) {
    EndAction();
    HideHoverBox();
    ShowTeamDialog(window_handle());
    EndAction();
    DropMouseMessages();
  }
  if (Pressed(kKeyG)) GoToHex();
  if (KeyDown(kKeyP)) ReportProblems();
  UndoKeys();
  if (TakeCloseRequest() && AnswerCloseRequest()) return false;
  const ViewState& v = g_view;
  UpdateRest(g_view.pointer, g_layout, g_world.originX, v.scrollX, v.scrollY, ClockMs());
  if (FrameChanged()) draw_screen();
  return true;
}
