#include "dialogs/dialogs.h"
#include "dialogs/form_win32.h"

#include <commctrl.h>

#include "dialogs/problems_dialog.h"
#include "dialogs/resource_ids.h"

namespace {

class ProblemsBinding final : public DialogBinding {
 public:
  ProblemsBinding(std::vector<ScenarioProblem> problems, ProblemFinder find)
      : logic_(std::move(problems), std::move(find)) {}
  const ScenarioProblem* chosen() const { return logic_.chosen(); }

 private:
  // The list is a one-column report view without header and without items of its own (the
  // form holds the rows), so that a list of every hex of the largest range opens at once.
  void OnInit() override {
    HWND list = form_.Control(IDC_PROBLEMS_LIST);
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    LVCOLUMNW column{};
    column.mask = LVCF_WIDTH;
    column.cx = 100;
    SendMessageW(list, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
    logic_.OnInit(form_);
  }

  void OnCommand(int id, Notice notice) override {
    logic_.OnCommand(form_, id, notice);
    if (logic_.finished()) End();
  }

  void OnNotify(const NMHDR& header) override {
    if (header.idFrom != IDC_PROBLEMS_LIST || header.code != NM_DBLCLK) return;
    logic_.OnRowDoubleClicked(form_, reinterpret_cast<const NMITEMACTIVATE&>(header).iItem);
    if (logic_.finished()) End();
  }

  ProblemsDialog logic_;
};

}  // namespace

bool ShowProblemsDialog(void* owner, std::vector<ScenarioProblem> problems, ScenarioProblem& chosen,
                        ProblemFinder find) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&controls);
  ProblemsBinding binding(std::move(problems), std::move(find));
  binding.Run(owner, L"PROBLEMS_DIALOG");
  if (!binding.chosen()) return false;
  chosen = *binding.chosen();
  return true;
}
