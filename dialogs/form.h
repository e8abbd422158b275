// The form seam: what the dialogs' logic does to the controls of an open dialog. Controls are
// named by id; texts are UTF-8 (GBK names from the catalogs are converted before they get
// here). The Windows build implements it over the real controls (dialogs/form_win32.cpp);
// the unit tests use an in-memory fake.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// What a control reported, as far as the dialogs care.
enum class Notice {
  kClicked,           // a button was pressed
  kSelectionChanged,  // the user picked another item of a combo box
  kOther,             // any other notification (edit changes, focus, ...)
};

class Form {
 public:
  virtual ~Form() = default;

  // Text of an edit or static control, or the edit field of a combo box.
  virtual void SetText(int id, std::string_view utf8) = 0;
  virtual std::string GetText(int id) = 0;

  // Combo boxes: items are kept in the order added (the combos are unsorted).
  virtual void ClearCombo(int id) = 0;
  virtual void AddComboItem(int id, std::string_view utf8) = 0;
  // Selects item index, showing its text; -1 leaves no item selected and the text empty.
  virtual void SelectComboItem(int id, int index) = 0;
  virtual int ComboSelection(int id) = 0;  // -1 when none
  virtual int ComboCount(int id) = 0;
  virtual std::string ComboItemText(int id, int index) = 0;

  // List views of one column: rows of text.
  virtual void ClearList(int id) = 0;
  virtual void AppendListRow(int id, std::string_view utf8) = 0;
  // Replaces every row at once, leaving none selected: for lists that may be long, which
  // the Windows form then shows without making a list item of each row.
  virtual void SetListRows(int id, std::vector<std::string> rows) = 0;
  // Whether the selection mark stays on the index of a deleted row (it may then name the
  // next row) is the control's business; callers that care set it afterwards.
  virtual void DeleteListRow(int id, int row) = 0;
  // Selects row (with the focus and the selection mark); -1 leaves no row selected and no mark.
  virtual void SelectListRow(int id, int row) = 0;
  virtual int ListSelectionMark(int id) = 0;  // -1 when none
  virtual int ListCount(int id) = 0;

  // Check boxes.
  virtual void SetChecked(int id, bool checked) = 0;
  virtual bool IsChecked(int id) = 0;

  virtual void Enable(int id, bool enabled) = 0;
  // Asks for the control (0: the whole dialog) to be painted again now.
  virtual void Repaint(int id) = 0;

  // A warning box owned by the dialog, with the given caption.
  virtual void Warn(std::string_view utf8Text, std::string_view caption) = 0;
  // The editing dialogs' warnings, captioned "提示".
  void Warn(std::string_view utf8Text) { Warn(utf8Text, "提示"); }
  // The system colour chooser owned by the dialog, starting at colour (0x00BBGGRR). True and
  // the chosen colour when the user confirms.
  virtual bool ChooseColour(uint32_t& colour) = 0;
};

// One window a dialog makes at run time inside its client area, in pixels.
struct ChildWindow {
  enum Kind { kLabel, kEdit };
  Kind kind;
  int id;            // control id; -1 for labels
  int formId;        // id the logic uses for it (differs from id where ids repeat)
  std::string text;  // initial text, UTF-8
  int x, y, width, height;
  bool numberOnly;  // edits: digits only
};

// Fills a combo with items in order.
void FillCombo(Form& form, int id, const std::vector<std::string>& items);
