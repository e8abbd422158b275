#include "dialogs/problems_dialog.h"

#include <string>

#include "dialogs/resource_ids.h"

namespace {

constexpr char kPickFirst[] = "请先在列表中选择一个问题。";
constexpr char kNotOnAHex[] = "这个问题不属于某一格，无法定位。";

}  // namespace

void ProblemsDialog::OnInit(Form& form) { Fill(form); }

void ProblemsDialog::OnCommand(Form& form, int id, Notice notice) {
  if (notice != Notice::kClicked) return;
  if (id == IDC_PROBLEMS_LOCATE) {
    int row = form.ListSelectionMark(IDC_PROBLEMS_LIST);
    if (row < 0 || row >= int(problems_.size()))
      form.Warn(kPickFirst);
    else
      Choose(form, row);
  }
  if (id == IDC_PROBLEMS_REFRESH) {
    problems_ = find_();
    Fill(form);
  }
  if (id == IDC_PROBLEMS_CLOSE) finished_ = true;
}

void ProblemsDialog::OnRowDoubleClicked(Form& form, int row) {
  if (row >= 0 && row < int(problems_.size())) Choose(form, row);
}

void ProblemsDialog::Fill(Form& form) {
  form.SetText(IDC_PROBLEMS_COUNT, "共 " + std::to_string(problems_.size()) + " 个问题");
  std::vector<std::string> rows;
  rows.reserve(problems_.size());
  for (const ScenarioProblem& p : problems_) rows.push_back(ProblemRow(p));
  form.SetListRows(IDC_PROBLEMS_LIST, std::move(rows));
}

void ProblemsDialog::Choose(Form& form, int row) {
  if (!problems_[size_t(row)].onHex()) {
    form.Warn(kNotOnAHex);
    return;
  }
  chosen_ = row;
  finished_ = true;
}
