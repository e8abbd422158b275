// The form over a real dialog's controls, and the one dialog procedure the five dialogs
// share. Windows build only.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "dialogs/form.h"

class Win32Form final : public Form {
 public:
  void Attach(HWND dialog) { dialog_ = dialog; }
  HWND dialog() const { return dialog_; }
  // Names a control by a form id of its own (for controls whose ids repeat).
  void Bind(int formId, HWND control) { bound_[formId] = control; }
  HWND Control(int id) const;

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
  void DeleteListRow(int id, int row) override;
  void SelectListRow(int id, int row) override;
  int ListSelectionMark(int id) override;
  int ListCount(int id) override;
  void Enable(int id, bool enabled) override;
  void Repaint(int id) override;
  void Warn(std::string_view utf8Text, std::string_view caption) override;
  using Form::Warn;
  bool ChooseColour(uint32_t& colour) override;

 private:
  HWND dialog_ = nullptr;
  std::map<int, HWND> bound_;
};

// Makes the run-time child windows of a dialog in the dialog's font and binds each edit to
// its form id.
void CreateChildWindows(Win32Form& form, const std::vector<ChildWindow>& windows);

// A dialog template run modally with a procedure that hands its messages to the virtual
// functions below. The dialog ends through its close command (result 1); Esc ends it too
// where EndsOnEscape says so, else Esc and Enter without a default button do nothing.
class DialogBinding {
 public:
  virtual ~DialogBinding() = default;
  INT_PTR Run(void* owner, const wchar_t* templateName);

 protected:
  virtual void OnInit() = 0;
  virtual void OnCommand(int id, Notice notice) = 0;
  virtual void OnNotify(const NMHDR&) {}
  virtual void OnPaint(HDC) {}
  virtual bool OnDrawItem(const DRAWITEMSTRUCT&) { return false; }
  virtual void OnClose() {}
  virtual bool EndsOnEscape() const { return false; }

  Win32Form form_;

 private:
  static INT_PTR CALLBACK Procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
};
