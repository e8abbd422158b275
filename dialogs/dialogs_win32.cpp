// The dialogs' Windows side: every template runs through one binding of its portable logic
// (Bound below), and the few things some dialogs do beyond the form (run-time windows, a list
// view's set-up and notices, the portraits, the colour swatch) are named per dialog as Extras.
#include "dialogs/dialogs.h"

#include <windows.h>
#include <commctrl.h>

#include <concepts>
#include <utility>

#include "catalogs/artwork.h"
#include "dialogs/building_dialog.h"
#include "dialogs/find_dialog.h"
#include "dialogs/form_win32.h"
#include "dialogs/general_dialog.h"
#include "dialogs/goto_dialog.h"
#include "dialogs/hex_dialog.h"
#include "dialogs/problems_dialog.h"
#include "dialogs/resource_ids.h"
#include "dialogs/team_dialog.h"
#include "dialogs/unit_dialog.h"

namespace {

// What a dialog's Windows side adds to its logic; a null hook does nothing.
template <class Logic>
struct Extras {
  bool endsOnEscape = false;
  void (*prepare)(Win32Form&) = nullptr;  // before the logic first fills the form
  void (*notify)(Logic&, Win32Form&, const NMHDR&) = nullptr;
  void (*paint)(const Logic&, HDC) = nullptr;
  bool (*drawItem)(const Logic&, const DRAWITEMSTRUCT&) = nullptr;  // true when it drew the item
};

// One dialog's logic bound to its running template. The logic's own shape says the rest: an
// OnCommand that answers true ends the dialog, as does finished() once it holds after a
// command or notice; OnClose, where the logic has it, hears the close box (and Esc).
template <class Logic>
class Bound final : public DialogBinding {
 public:
  template <class... Args>
  explicit Bound(Extras<Logic> extras, Args&&... args)
      : extras_(extras), logic_(std::forward<Args>(args)...) {}
  const Logic& logic() const { return logic_; }

 private:
  void OnInit() override {
    if (extras_.prepare) extras_.prepare(form_);
    logic_.OnInit(form_);
  }

  void OnCommand(int id, Notice notice) override {
    if constexpr (requires(Logic & l, Form & f, Notice n) {
                    { l.OnCommand(f, 0, n) } -> std::same_as<bool>;
                  }) {
      if (logic_.OnCommand(form_, id, notice)) End();
    } else {
      logic_.OnCommand(form_, id, notice);
    }
    EndIfFinished();
  }

  void OnNotify(const NMHDR& header) override {
    if (!extras_.notify) return;
    extras_.notify(logic_, form_, header);
    EndIfFinished();
  }

  void OnPaint(HDC dc) override {
    if (extras_.paint) extras_.paint(logic_, dc);
  }

  bool OnDrawItem(const DRAWITEMSTRUCT& item) override {
    return extras_.drawItem && extras_.drawItem(logic_, item);
  }

  void OnClose() override {
    if constexpr (requires(Logic & l) { l.OnClose(); }) logic_.OnClose();
  }

  bool EndsOnEscape() const override { return extras_.endsOnEscape; }

  void EndIfFinished() {
    if constexpr (requires(const Logic& l) {
                    { l.finished() } -> std::same_as<bool>;
                  }) {
      if (logic_.finished()) End();
    }
  }

  Extras<Logic> extras_;
  Logic logic_;
};

// ---- the general dialog: two portraits drawn over the dialog ----

constexpr int kPortraitSlots =
    sizeof g_artwork.CommanderPortrait / sizeof g_artwork.CommanderPortrait[0];

// A commander's portrait copied whole at its own size; a white square where there is none
// (no commander, a commander without portrait slot, or a picture that did not load).
void DrawPortrait(HDC dc, int x, int y, int slot) {
  Surface* portrait =
      slot > 0 && slot < kPortraitSlots ? &g_artwork.CommanderPortrait[slot] : nullptr;
  if (portrait) DecodeDeferred(*portrait);  // portraits are decoded when first shown
  HDC source = portrait && portrait->width > 0 && portrait->height > 0
                   ? static_cast<HDC>(surface_dc(portrait))
                   : nullptr;
  if (source) {
    BitBlt(dc, x, y, portrait->width, portrait->height, source, 0, 0, SRCCOPY);
    return;
  }
  RECT square{x, y, x + kEmptyPortraitSide, y + kEmptyPortraitSide};
  FillRect(dc, &square, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
}

// Every repaint draws both portraits again.
void PaintPortraits(const GeneralDialog& logic, HDC dc) {
  DrawPortrait(dc, kCurrentPortraitX, kCurrentPortraitY, logic.currentPortrait());
  DrawPortrait(dc, kCandidatePortraitX, kCandidatePortraitY, logic.candidatePortrait());
}

// ---- the team dialog: run-time edits, the list's selection, the colour swatch ----

void MakeTeamWindows(Win32Form& form) { CreateChildWindows(form, TeamChildWindows()); }

void HearTeamList(TeamDialog& logic, Win32Form& form, const NMHDR& header) {
  if (header.idFrom != IDC_TEAM_LIST || header.code != LVN_ITEMCHANGED) return;
  const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
  UINT moved = (change.uNewState ^ change.uOldState) & (LVIS_SELECTED | LVIS_FOCUSED);
  if ((change.uChanged & LVIF_STATE) && moved) logic.OnListItemChanged(form, change.iItem);
}

// The swatch: the shown team's colour, the button face while no team is shown.
bool DrawSwatch(const TeamDialog& logic, const DRAWITEMSTRUCT& item) {
  if (item.CtlID != IDC_TEAM_SWATCH) return false;
  uint32_t colour;
  if (logic.SwatchColour(colour)) {
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(item.hDC, &item.rcItem, brush);
    DeleteObject(brush);
  } else {
    FillRect(item.hDC, &item.rcItem, GetSysColorBrush(COLOR_BTNFACE));
  }
  return true;
}

// ---- the problem report: a list view of rows the form holds ----

// The list is a one-column report view without header and without items of its own (the
// form holds the rows), so that a list of every hex of the largest range opens at once.
void SetUpProblemList(Win32Form& form) {
  HWND list = form.Control(IDC_PROBLEMS_LIST);
  SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
  LVCOLUMNW column{};
  column.mask = LVCF_WIDTH;
  column.cx = 100;
  SendMessageW(list, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
}

void HearProblemList(ProblemsDialog& logic, Win32Form& form, const NMHDR& header) {
  if (header.idFrom != IDC_PROBLEMS_LIST || header.code != NM_DBLCLK) return;
  logic.OnRowDoubleClicked(form, reinterpret_cast<const NMITEMACTIVATE&>(header).iItem);
}

// ---- the hex dialog: run-time edits ----

void MakeHexWindows(Win32Form& form) { CreateChildWindows(form, HexChildWindows()); }

}  // namespace

void ShowBuildingDialog(void* owner, BuildingRecord& building, int32_t hexIndex) {
  Bound<BuildingDialog> dialog({}, building, hexIndex);
  dialog.Run(owner, L"BUILDING_DATA");
}

void ShowUnitDialog(void* owner, UnitRecord& unit) {
  // The record the dialog edits; the cell's unit goes in before and comes back after.
  UnitRecord working = unit;
  Bound<UnitDialog> dialog({}, working);
  dialog.Run(owner, L"UNIT_DATA");
  unit = working;
}

void ShowGeneralDialog(void* owner, uint8_t hasUnit, UnitRecord& unit) {
  if (!hasUnit) return;
  Bound<GeneralDialog> dialog({.paint = PaintPortraits}, unit);
  dialog.Run(owner, L"GENERAL_DIALOG");
}

void ShowHexDialog(void* owner, int x, int y) {
  if (x < 0 || y < 0 || x >= g_world.rangeWidth || y >= g_world.rangeHeight || x >= kMaxGrid ||
      y >= kMaxGrid)
    return;
  Bound<HexDialog> dialog({.prepare = MakeHexWindows}, x, y);
  dialog.Run(owner, L"HEX_DIALOG");
}

void ShowTeamDialog(void* owner) {
  Bound<TeamDialog> dialog(
      {.prepare = MakeTeamWindows, .notify = HearTeamList, .drawItem = DrawSwatch});
  dialog.Run(owner, L"TEAM_DIALOG");
}

bool ShowGoToDialog(void* owner, const MapRange& range, int32_t worldWidth, GridHex& chosen) {
  Bound<GoToDialog> dialog({.endsOnEscape = true}, range, worldWidth);
  dialog.Run(owner, L"GOTO_DIALOG");
  const std::optional<GridHex>& hex = dialog.logic().chosen();
  if (hex) chosen = *hex;
  return hex.has_value();
}

bool ShowFindDialog(void* owner, std::vector<GridHex>& found) {
  Bound<FindDialog> dialog({.endsOnEscape = true});
  dialog.Run(owner, L"FIND_DIALOG");
  found = dialog.logic().matches();
  return !found.empty();
}

bool ShowProblemsDialog(void* owner, std::vector<ScenarioProblem> problems, ScenarioProblem& chosen,
                        ProblemFinder find) {
  Bound<ProblemsDialog> dialog({.prepare = SetUpProblemList, .notify = HearProblemList},
                               std::move(problems), std::move(find));
  dialog.Run(owner, L"PROBLEMS_DIALOG");
  if (!dialog.logic().chosen()) return false;
  chosen = *dialog.logic().chosen();
  return true;
}
