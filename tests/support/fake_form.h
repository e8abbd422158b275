// An in-memory form for the dialogs' logic, with the user's actions (typing, picking an
// item, clicking a list row) and scripted answers for the warning box and colour chooser;
// plus the small catalogs and world the dialog tests share.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "dialogs/form.h"

class FakeForm : public Form {
 public:
  struct Control {
    std::string text;
    std::vector<std::string> items;  // combo items
    int selection = -1;              // combo selection
    std::vector<std::string> rows;   // list rows
    int mark = -1;                   // list selection mark
    bool enabled = true;
    bool checked = false;  // check boxes
    int repaints = 0;
  };

  // Form
  void SetText(int id, std::string_view utf8) override;
  std::string GetText(int id) override;
  void ClearCombo(int id) override;
  void AddComboItem(int id, std::string_view utf8) override;
  void SelectComboItem(int id, int index) override;
  int ComboSelection(int id) override;
  int ComboCount(int id) override;
  std::string ComboItemText(int id, int index) override;
  void ClearList(int id) override;
  void AppendListRow(int id, std::string_view utf8) override;
  void SetListRows(int id, std::vector<std::string> rows) override;
  void DeleteListRow(int id, int row) override;
  void SelectListRow(int id, int row) override;
  int ListSelectionMark(int id) override;
  int ListCount(int id) override;
  void SetChecked(int id, bool checked) override { controls[id].checked = checked; }
  bool IsChecked(int id) override { return controls[id].checked; }
  void Enable(int id, bool enabled) override;
  void Repaint(int id) override;
  void Warn(std::string_view utf8Text, std::string_view caption) override;
  using Form::Warn;
  bool ChooseColour(uint32_t& colour) override;

  // The user types into an edit or a combo's edit field (a combo loses its selection).
  void Type(int id, const std::string& text);
  // The user picks combo item index (the caller then reports the selection change).
  void Pick(int id, int index);
  // The user clicks list row (it becomes the selection mark).
  void ClickRow(int id, int row);

  Control& at(int id) { return controls[id]; }
  const std::string& text(int id) { return controls[id].text; }

  std::map<int, Control> controls;
  // Called like the list view's change notification: for a row that gains or loses the
  // selection, also while rows are being removed. Deleting the marked row leaves the mark on
  // its index, as the list view does.
  std::function<void(int row)> onListChange;
  std::vector<std::string> warnings;
  std::vector<std::string> warningCaptions;  // beside warnings
  std::optional<uint32_t> colourAnswer;      // nullopt: the user cancels the chooser
  std::vector<uint32_t> colourRequests;      // starting colour of each request
};

// Catalogs of the tests:
//   armies  100005 步兵 (category 3, level 2, HP 10, mobility 4),
//           100007 坦克 (category 5, level 1, HP 300, mobility 6),
//           100009 巨炮 (category 6, level 0, HP 65530, mobility 1);
//   ranks   0 → 5, 1 → 50, 2 → 20;
//   commanders 7 张三 (slot 1), 3 李四 (slot 2);
//   countries 86 中国, 1 美国, 44 英国; cities 12 北京, 30 上海;
//   buildings 10101 城市, 200 工厂.
void LoadTestCatalogs();

// A 300-column world with a 4 x 3 range at global (10, 198), every hex unowned and empty,
// no teams and no generals.
void ResetTestWorld();
// Appends a team playing country with a recognisable colour.
int AddTestTeam(int32_t country, uint32_t colour);
