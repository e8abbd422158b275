// A bare in-memory form for the fuzz targets that drive dialog logic: texts and combo items
// by id, no lists, no prompts (a warning or a colour request is remembered, never answered).
#pragma once

#include <map>
#include <string>
#include <vector>

#include "dialogs/form.h"

class FuzzForm : public Form {
 public:
  struct Control {
    std::string text;
    std::vector<std::string> items;
    int selection = -1;
  };

  void SetText(int id, std::string_view utf8) override { controls[id].text = std::string(utf8); }
  std::string GetText(int id) override { return controls[id].text; }
  void ClearCombo(int id) override { controls[id] = Control{}; }
  void AddComboItem(int id, std::string_view utf8) override {
    controls[id].items.emplace_back(utf8);
  }
  // Like a drop-down combo: selecting an item shows its text, -1 clears the edit field.
  void SelectComboItem(int id, int index) override {
    Control& c = controls[id];
    c.selection = index >= 0 && index < int(c.items.size()) ? index : -1;
    c.text = c.selection >= 0 ? c.items[size_t(c.selection)] : std::string();
  }
  int ComboSelection(int id) override { return controls[id].selection; }
  int ComboCount(int id) override { return int(controls[id].items.size()); }
  std::string ComboItemText(int id, int index) override {
    Control& c = controls[id];
    return index >= 0 && index < int(c.items.size()) ? c.items[size_t(index)] : std::string();
  }
  void ClearList(int) override {}
  void AppendListRow(int, std::string_view) override {}
  void SetListRows(int, std::vector<std::string>) override {}
  void DeleteListRow(int, int) override {}
  void SelectListRow(int, int) override {}
  int ListSelectionMark(int) override { return -1; }
  int ListCount(int) override { return 0; }
  void SetChecked(int, bool) override {}
  bool IsChecked(int) override { return false; }
  void Enable(int, bool) override {}
  void Repaint(int) override {}
  void Warn(std::string_view, std::string_view) override { ++warnings; }
  using Form::Warn;
  bool ChooseColour(uint32_t&) override { return false; }

  std::map<int, Control> controls;
  int warnings = 0;
};

// Splits fuzz input into texts at '\n': each piece is one control's text.
inline std::vector<std::string> SplitLines(const uint8_t* data, size_t size) {
  std::vector<std::string> lines(1);
  for (size_t i = 0; i < size; ++i) {
    if (data[i] == '\n')
      lines.emplace_back();
    else
      lines.back() += char(data[i]);
  }
  return lines;
}
