// The form over a real dialog's controls, and the one dialog procedure the dialogs
// share (each dialog's logic is bound to it in dialogs/dialogs_win32.cpp). Windows build only.
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
  // On a list view with LVS_OWNERDATA the rows are kept here and the list asks for their
  // text (AnswerRowText); a report view's column is then sized to the widest row. Any other
  // list view gets an item per row.
  void SetListRows(int id, std::vector<std::string> rows) override;
  void DeleteListRow(int id, int row) override;
  void SelectListRow(int id, int row) override;
  int ListSelectionMark(int id) override;
  int ListCount(int id) override;
  void SetChecked(int id, bool checked) override;
  bool IsChecked(int id) override;
  void Enable(int id, bool enabled) override;
  void Repaint(int id) override;
  void Warn(std::string_view utf8Text, std::string_view caption) override;
  using Form::Warn;
  bool ChooseColour(uint32_t& colour) override;

  // Answers an owner-data list's request for a row's text; false for any other notice.
  bool AnswerRowText(const NMHDR& header);

 private:
  void FitColumnToRows(HWND list, const std::vector<std::wstring>& rows);

  HWND dialog_ = nullptr;
  std::map<int, HWND> bound_;
  std::map<int, std::vector<std::wstring>> rowTexts_;  // owner-data lists' rows by id
};

// Makes the run-time child windows of a dialog in the dialog's font and binds each edit to
// its form id.
void CreateChildWindows(Win32Form& form, const std::vector<ChildWindow>& windows);

// A dialog template run modally with a procedure that hands its messages to the virtual
// functions below. The first run registers the common controls' list view class. The dialog ends
// through its close command (result 1) or End; Esc ends it too where EndsOnEscape says so.
// Otherwise Esc and Enter do nothing unless the template has controls with the ids IDCANCEL and
// IDOK, whose clicks they then are.
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
  // Ends the dialog (result 1) once the message at hand has been handled.
  void End() { EndDialog(form_.dialog(), 1); }

  Win32Form form_;

 private:
  static INT_PTR CALLBACK Procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
};
