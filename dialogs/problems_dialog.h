// The problem report ("问题检查", template "PROBLEMS_DIALOG"): every problem found
// (problems/problems.h), one list row each, with the count above. 定位, or a double-click on
// a row, chooses the row's hex and ends the dialog; 刷新 looks for the problems again with
// the same finder; 关闭 (also Esc) and the close box end it with nothing chosen. The dialog
// changes nothing in the scenario.
//
// A problem that belongs to no hex (a general, a team) cannot be gone to: choosing it warns
// and the dialog stays open, as it does for 定位 with no row picked.
#pragma once

#include <functional>
#include <vector>

#include "problems/problems.h"
#include "dialogs/form.h"

// What the report looks for again on 刷新.
using ProblemFinder = std::function<std::vector<ScenarioProblem>()>;

class ProblemsDialog {
 public:
  // The problems as found when the report was asked for, and how to find them again.
  explicit ProblemsDialog(std::vector<ScenarioProblem> problems,
                          ProblemFinder find = FindScenarioProblems)
      : problems_(std::move(problems)), find_(std::move(find)) {}

  void OnInit(Form& form);
  void OnCommand(Form& form, int id, Notice notice);
  // A double-click in the list on row `row`, or on no row (-1).
  void OnRowDoubleClicked(Form& form, int row);

  // True once the dialog is to end.
  bool finished() const { return finished_; }
  // The problem whose hex the user chose, or null.
  const ScenarioProblem* chosen() const {
    return chosen_ < 0 ? nullptr : &problems_[size_t(chosen_)];
  }

 private:
  void Fill(Form& form);
  void Choose(Form& form, int row);

  std::vector<ScenarioProblem> problems_;
  ProblemFinder find_;
  int chosen_ = -1;
  bool finished_ = false;
};
