#include "app/editor.h"

#include "app/file_requests.h"
#include "app/keys.h"
#include "app/range_frame.h"
#include "app/view_state.h"
#include "catalogs/artwork.h"
#include "catalogs/catalogs.h"
#include "catalogs/string_table.h"
#include "dialogs/dialogs.h"
#include "drawing/mouse_queue.h"
#include "drawing/prompts.h"
#include "drawing/window.h"
#include "scenario/files.h"
#include "view/layout.h"
#include "view/map_view.h"

void LoadGameData() {
  LoadRankCatalog();
  LoadArmyCatalog();
  LoadBuildingCatalog();
  start_pictures();
  LoadCommanderCatalog(load_commander_portrait);
  LoadCountryCatalog();
  load_string_table();
  load_artwork_list();
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

void SaveScenario() {
  std::string path;
  if (!ask_save_battle_file(path)) return;
  if (file_exists(path) &&
      show_message(window_handle(), "文件已经存在，是否替换？", "提示",
                   kMbYesNo | kMbIconQuestion) != kIdYes)
    return;
  Status s = SaveScenarioTo(path);
  if (!s.ok()) show_message(window_handle(), s.message, "保存失败", kMbOk | kMbIconWarning);
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
    if (button == 0) ShowBuildingDialog(owner, c.building);
    if (button == 1) ShowUnitDialog(owner, c.unit);
    if (button == 2) ShowGeneralDialog(owner, c.hasUnit, c.unit);
    if (button == 3) ShowHexDialog(owner);
    NormaliseCell(v.selX(), v.selY());
    if (button != -1) return;
  }
  if (ClickArrowButtons(v, l, x, y)) return;
  ClickTracks(v, l, g_world.rangeWidth, g_world.rangeHeight, x, y);
}

namespace {

// Esc and the arrows act once per press: wait for the release, then act.
bool Pressed(int key) {
  if (!key_down(key)) return false;
  wait_key_release(key);
  return true;
}

void CommandKeys() {
  ViewState& v = g_view;
  const Layout& l = g_layout;
  if (Pressed(kKeyDown)) ScrollBy(v, l, 0, 1);
  if (Pressed(kKeyUp)) ScrollBy(v, l, 0, -1);
  if (Pressed(kKeyLeft)) ScrollBy(v, l, -1, 0);
  if (Pressed(kKeyRight)) ScrollBy(v, l, 1, 0);
  if (key_down(kKeyS)) SaveScenario();
  bool copy = key_down(kKeyC) && v.hasSelection();
  if (copy) CopySelected(v);
  else if (v.clipboardEmpty) return;
  if (!v.hasSelection()) return;
  bool unit = key_down(kKeyU), owner = key_down(kKeyT), building = key_down(kKeyB);
  PasteSelected(v, unit, owner, building);
}

}  // namespace

void MainLoopPass() {
  while (mouse_pending()) {
    MouseMessage m = next_mouse_message();
    if (m.code == kLeftButtonDown) HandleLeftClick(m.x, m.y);
  }
  if (Pressed(kKeyEscape)) g_view.commandKeysOff ^= 1;
  if (!g_view.commandKeysOff) CommandKeys();
  if (key_down(kKeyJ)) ShowTeamDialog(window_handle());
  draw_screen();
}
