// The editor's entry point: the start-up notice, the open dialog, the game data, the
// scenario with its range, the main window and the main loop, which runs until the user
// closes the window (and, with unsaved edits, has answered whether to save first).
#include <windows.h>

#include <string>
#include <utility>

#include "app/editor.h"
#include "base/command_line.h"
#include "base/files.h"
#include "catalogs/data_folder.h"
#include "scenario/save_loss.h"
#include "platform/file_requests.h"
#include "app/pace.h"
#include "app/range_select.h"
#include "app/recovery.h"
#include "platform/prompts.h"
#include "drawing/window.h"
#include "view/layout.h"
#include "view/map_view.h"

namespace {

const char kNotice[] =
    "BTL 战役编辑器\n"
    "\n"
    "先选择要编辑的战役文件（.btl），再在世界地图上确认地图范围（左右键调整，X 确定）。\n"
    "\n"
    "鼠标：点击格子选中；下方四个按钮编辑选中格的建筑、兵种、将军和原始数据（16进制编辑）；\n"
    "箭头按钮、滚动条和鼠标滚轮（Shift + 滚轮：左右）移动视图；窗口可以改变大小和最大化。\n"
    "方向键：移动一格　　S：保存　　J：编辑军团\n"
    "C：复制选中格　　U / T / B：粘贴部队 / 归属 / 建筑　　Delete：删除部队和建筑\n"
    "Shift + 点击或拖动、Ctrl + 点击、Ctrl+A：选出区域，粘贴和 Delete 作用于区域每一格\n"
    "Esc：关闭或恢复以上按键（J 与鼠标始终可用）\n"
    "Ctrl+Z：撤销　　Ctrl+Y 或 Ctrl+Shift+Z：重做（始终可用）\n"
    "P：问题检查　　G：定位格子　　F：查找格子　　F3 / Shift+F3：区域里的下一格 / 上一格\n"
    "M：打开或关闭总览　　O：打开另一个文件（也可把文件拖到主窗口上）（以上始终可用）\n"
    "保存、撤销等操作后地图左下角显示提示\n"
    "鼠标停在格子上：显示格子信息";

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  // A file given on the command line (Explorer's Open with, a file association, a file
  // dropped on the program) is named relative to the folder the program was started in,
  // which the data folder may replace.
  std::string given = FileToOpen(ProcessCommandLine());
  if (!given.empty()) given = AbsolutePath(given);
  DataFolderChoice data = FindAndEnterDataFolder();
  if (!data.found) {
    ShowMessage(nullptr, data.message, kNoDataCaption, kMbOk | kMbIconWarning);
    return 1;
  }
  // The user who gave a file has chosen already: no notice and no open dialog for it.
  if (given.empty()) ShowMessage(nullptr, kNotice, "Halvorn3BTL编辑器 0422", kMbIconWarning);
  EnableRecovery(RecoveryFolder());
  bool dataLoaded = false;
  for (;;) {
    std::string path;
    if (!given.empty()) {
      path = std::exchange(given, std::string());
      ProposeSaveName(path);
    } else if (!AskOpenBattleFile(path))
      return 0;
    if (!dataLoaded) {
      LoadGameData();
      dataLoaded = true;
    }
    LoadResult loaded = LoadScenario(path, select_map_range);
    if (loaded.ok()) {
      if (!loaded.saveLossWarning.empty())
        ShowMessage(nullptr, loaded.saveLossWarning, kSaveLossCaption, kMbOk | kMbIconWarning);
      break;
    }
    LoadFailureReport report = ReportLoadFailure(loaded);
    ShowMessage(nullptr, report.text, report.caption, kMbOk | kMbIconWarning);
    if (!report.chooseAnotherFile) return 1;
  }
  if (!OpenMainWindow()) {
    ShowMessage(nullptr, "无法打开编辑器窗口。", "错误", kMbOk | kMbIconWarning);
    return 1;
  }
  while (MainLoopPass()) pace_frame(20);
  FinishRecovery();
  close_window();
  return 0;
}
