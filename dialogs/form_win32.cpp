#include "dialogs/form_win32.h"

#include <commctrl.h>

#include "platform/colour_chooser.h"
#include "platform/prompts.h"
#include "base/wide.h"

namespace {

std::wstring Wide(std::string_view utf8) { return WideFromUtf8(std::string(utf8)); }

Notice NoticeOf(WORD code) {
  // BN_CLICKED is 0 and CBN_SELCHANGE 1; the logic looks at the id first, so a code is only
  // ever taken for the kind of control that sends it.
  if (code == BN_CLICKED) return Notice::kClicked;
  if (code == CBN_SELCHANGE) return Notice::kSelectionChanged;
  return Notice::kOther;
}

}  // namespace

HWND Win32Form::Control(int id) const {
  auto found = bound_.find(id);
  if (found != bound_.end()) return found->second;
  return GetDlgItem(dialog_, id);
}

void Win32Form::SetText(int id, std::string_view utf8) {
  SetWindowTextW(Control(id), Wide(utf8).c_str());
}

std::string Win32Form::GetText(int id) {
  HWND control = Control(id);
  int length = GetWindowTextLengthW(control);
  std::wstring text(size_t(length) + 1, L'\0');
  int got = GetWindowTextW(control, text.data(), length + 1);
  text.resize(size_t(got > 0 ? got : 0));
  return Utf8FromWide(text);
}

void Win32Form::SetChecked(int id, bool checked) {
  SendMessageW(Control(id), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool Win32Form::IsChecked(int id) {
  return SendMessageW(Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Win32Form::ClearCombo(int id) { SendMessageW(Control(id), CB_RESETCONTENT, 0, 0); }

void Win32Form::AddComboItem(int id, std::string_view utf8) {
  std::wstring item = Wide(utf8);
  SendMessageW(Control(id), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
}

void Win32Form::SelectComboItem(int id, int index) {
  SendMessageW(Control(id), CB_SETCURSEL, WPARAM(index), 0);
}

int Win32Form::ComboSelection(int id) {
  LRESULT item = SendMessageW(Control(id), CB_GETCURSEL, 0, 0);
  return item == CB_ERR ? -1 : int(item);
}

int Win32Form::ComboCount(int id) {
  LRESULT count = SendMessageW(Control(id), CB_GETCOUNT, 0, 0);
  return count == CB_ERR ? 0 : int(count);
}

std::string Win32Form::ComboItemText(int id, int index) {
  HWND combo = Control(id);
  LRESULT length = SendMessageW(combo, CB_GETLBTEXTLEN, WPARAM(index), 0);
  if (length == CB_ERR) return {};
  std::wstring text(size_t(length) + 1, L'\0');
  LRESULT got =
      SendMessageW(combo, CB_GETLBTEXT, WPARAM(index), reinterpret_cast<LPARAM>(text.data()));
  text.resize(got == CB_ERR ? 0 : size_t(got));
  return Utf8FromWide(text);
}

void Win32Form::ClearList(int id) {
  rowTexts_.erase(id);
  SendMessageW(Control(id), LVM_DELETEALLITEMS, 0, 0);
}

void Win32Form::AppendListRow(int id, std::string_view utf8) {
  std::wstring text = Wide(utf8);
  LVITEMW item{};
  item.mask = LVIF_TEXT;
  item.iItem = ListCount(id);
  item.pszText = text.data();
  SendMessageW(Control(id), LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
}

void Win32Form::SetListRows(int id, std::vector<std::string> rows) {
  HWND list = Control(id);
  if (!(GetWindowLongW(list, GWL_STYLE) & LVS_OWNERDATA)) {
    ClearList(id);
    for (const std::string& row : rows) AppendListRow(id, row);
    return;
  }
  std::vector<std::wstring>& texts = rowTexts_[id];
  texts.clear();
  texts.reserve(rows.size());
  for (const std::string& row : rows) texts.push_back(Wide(row));
  SelectListRow(id, -1);
  SendMessageW(list, LVM_SETITEMCOUNT, WPARAM(texts.size()), 0);
  if ((GetWindowLongW(list, GWL_STYLE) & LVS_TYPEMASK) == LVS_REPORT) FitColumnToRows(list, texts);
  InvalidateRect(list, nullptr, TRUE);
}

namespace {

constexpr int kColumnMargin = 12;     // the list's own padding around a row's text
constexpr size_t kMeasuredSlack = 4;  // rows this many characters short of the longest
constexpr int kMeasuredRowsAtMost = 256;

}  // namespace

// Measuring every row of a long list takes seconds; the widest row is one of the longest, so
// only rows near the longest length are measured.
void Win32Form::FitColumnToRows(HWND list, const std::vector<std::wstring>& rows) {
  size_t longest = 0;
  for (const std::wstring& row : rows) longest = row.size() > longest ? row.size() : longest;
  int widest = 0, measured = 0;
  for (const std::wstring& row : rows) {
    if (row.size() + kMeasuredSlack < longest) continue;
    int width =
        int(SendMessageW(list, LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(row.c_str())));
    widest = width > widest ? width : widest;
    if (++measured == kMeasuredRowsAtMost) break;
  }
  RECT client;
  GetClientRect(list, &client);
  int width = widest + kColumnMargin > client.right ? widest + kColumnMargin : int(client.right);
  SendMessageW(list, LVM_SETCOLUMNWIDTH, 0, width);
}

bool Win32Form::AnswerRowText(const NMHDR& header) {
  if (header.code != LVN_GETDISPINFOW) return false;
  auto found = rowTexts_.find(int(header.idFrom));
  if (found == rowTexts_.end()) return false;
  LVITEMW& item = const_cast<NMLVDISPINFOW&>(reinterpret_cast<const NMLVDISPINFOW&>(header)).item;
  const std::vector<std::wstring>& rows = found->second;
  if (!(item.mask & LVIF_TEXT) || !item.pszText || item.cchTextMax <= 0) return true;
  const wchar_t* text =
      item.iItem >= 0 && size_t(item.iItem) < rows.size() ? rows[size_t(item.iItem)].c_str() : L"";
  lstrcpynW(item.pszText, text, item.cchTextMax);
  return true;
}

void Win32Form::DeleteListRow(int id, int row) {
  SendMessageW(Control(id), LVM_DELETEITEM, WPARAM(row), 0);
}

void Win32Form::SelectListRow(int id, int row) {
  // Item -1 applies the state to every row: with state 0 that clears them all.
  LVITEMW state{};
  state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  state.state = row < 0 ? 0 : LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageW(Control(id), LVM_SETITEMSTATE, WPARAM(row < 0 ? -1 : row),
               reinterpret_cast<LPARAM>(&state));
  SendMessageW(Control(id), LVM_SETSELECTIONMARK, 0, LPARAM(row));
}

int Win32Form::ListSelectionMark(int id) {
  return int(SendMessageW(Control(id), LVM_GETSELECTIONMARK, 0, 0));
}

int Win32Form::ListCount(int id) { return int(SendMessageW(Control(id), LVM_GETITEMCOUNT, 0, 0)); }

void Win32Form::Enable(int id, bool enabled) { EnableWindow(Control(id), enabled); }

void Win32Form::Repaint(int id) {
  // The whole dialog: its own drawing and every control over it.
  HWND window = id == 0 ? dialog_ : Control(id);
  UINT flags = RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | (id == 0 ? RDW_ALLCHILDREN : 0);
  RedrawWindow(window, nullptr, nullptr, flags);
}

void Win32Form::Warn(std::string_view utf8Text, std::string_view caption) {
  ShowMessage(dialog_, std::string(utf8Text), std::string(caption), kMbOk | kMbIconWarning);
}

bool Win32Form::ChooseColour(uint32_t& colour) { return AskColour(dialog_, colour); }

namespace {

// The run-time windows have pixel positions while the template is measured in dialog units,
// which depend on the dialog font's size on the system at hand; a dialog that comes out too
// small for them grows so that none is cut off.
void GrowToHold(HWND dialog, int right, int bottom) {
  RECT client;
  GetClientRect(dialog, &client);
  if (client.right >= right && client.bottom >= bottom) return;
  RECT wanted{0, 0, client.right > right ? client.right : right,
              client.bottom > bottom ? client.bottom : bottom};
  AdjustWindowRectEx(&wanted, DWORD(GetWindowLongW(dialog, GWL_STYLE)), FALSE,
                     DWORD(GetWindowLongW(dialog, GWL_EXSTYLE)));
  SetWindowPos(dialog, nullptr, 0, 0, wanted.right - wanted.left, wanted.bottom - wanted.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

constexpr int kChildMargin = 10;

}  // namespace

void CreateChildWindows(Win32Form& form, const std::vector<ChildWindow>& windows) {
  HWND dialog = form.dialog();
  HINSTANCE instance = GetModuleHandleW(nullptr);
  HFONT font = reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0));
  int right = 0, bottom = 0;
  for (const ChildWindow& w : windows) {
    if (w.x + w.width > right) right = w.x + w.width;
    if (w.y + w.height > bottom) bottom = w.y + w.height;
    bool edit = w.kind == ChildWindow::kEdit;
    DWORD style = WS_CHILD | WS_VISIBLE;
    if (edit) style |= WS_TABSTOP | ES_AUTOHSCROLL | (w.numberOnly ? ES_NUMBER : 0);
    HWND child = CreateWindowExW(0, edit ? L"EDIT" : L"STATIC", Wide(w.text).c_str(), style, w.x,
                                 w.y, w.width, w.height, dialog,
                                 reinterpret_cast<HMENU>(INT_PTR(w.id)), instance, nullptr);
    if (font) SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (edit) form.Bind(w.formId, child);
  }
  GrowToHold(dialog, right + kChildMargin, bottom + kChildMargin);
}

INT_PTR DialogBinding::Run(void* owner, const wchar_t* templateName) {
  // The list views of the team and problem dialogs need their window class registered; once
  // for the whole run, before the first dialog.
  [[maybe_unused]] static const bool controlsReady = [] {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
    return InitCommonControlsEx(&controls) != FALSE;
  }();
  return DialogBoxParamW(GetModuleHandleW(nullptr), templateName, static_cast<HWND>(owner),
                         Procedure, reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK DialogBinding::Procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrW(dialog, DWLP_USER, lParam);
    auto* binding = reinterpret_cast<DialogBinding*>(lParam);
    binding->form_.Attach(dialog);
    binding->OnInit();
    return TRUE;
  }
  auto* binding = reinterpret_cast<DialogBinding*>(GetWindowLongPtrW(dialog, DWLP_USER));
  if (!binding) return FALSE;
  switch (message) {
    case WM_COMMAND:
      // Enter and Esc arrive as IDOK and IDCANCEL without a control; the five editors have
      // no default button and no cancel.
      if (lParam == 0) {
        if (LOWORD(wParam) == IDCANCEL && binding->EndsOnEscape()) {
          binding->OnClose();
          EndDialog(dialog, 1);
        }
        return TRUE;
      }
      binding->OnCommand(LOWORD(wParam), NoticeOf(HIWORD(wParam)));
      return TRUE;
    case WM_NOTIFY:
      // Nothing here needs a result; the default handling answers the rest.
      binding->form_.AnswerRowText(*reinterpret_cast<const NMHDR*>(lParam));
      binding->OnNotify(*reinterpret_cast<const NMHDR*>(lParam));
      return FALSE;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(dialog, &paint);
      binding->OnPaint(dc);
      EndPaint(dialog, &paint);
      return TRUE;
    }
    case WM_DRAWITEM:
      return binding->OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)) ? TRUE : FALSE;
    case WM_CLOSE:
      binding->OnClose();
      EndDialog(dialog, 1);
      return TRUE;
  }
  return FALSE;
}
