// The five dialogs run for real from their templates on an owner window: a thread timer
// drives each modal dialog (set texts, pick items, press buttons with BM_CLICK) while its
// modal loop runs, then closes it with WM_CLOSE; the tests check the record bytes after.
// Needs a display (Xvfb).
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>

#include <gtest/gtest.h>

#include <cstring>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "catalogs/artwork.h"
#include "catalogs/catalogs.h"
#include "catalogs/string_table.h"
#include "base/text.h"
#include "problems/problems.h"
#include "dialogs/dialogs.h"
#include "dialogs/resource_ids.h"
#include "dialogs/team_dialog.h"
#include "base/wide.h"
#include "scenario/world_record.h"

namespace {

constexpr UINT kTickMs = 20;
constexpr int kStepTimeoutTicks = 250;  // 5 s for a window to appear or go away

// ---- the world and catalogs of these tests ----

void LoadCatalogs() {
  ResetCatalogs();
  ResetStringTable();
  auto army = [](int32_t id, const char* name, uint8_t category, uint8_t level, int32_t hp,
                 int32_t mobility) {
    int k = ArmySlotOf(id);
    FillSlot(g_catalogs.ArmyName[k], name);
    g_catalogs.ArmyType[k] = category;
    g_catalogs.ArmyLevel[k] = level;
    g_catalogs.ArmyHP[k] = hp;
    g_catalogs.ArmyMobility[k] = mobility;
    g_catalogs.ArmyIds[g_catalogs.ArmyCount++] = id;
    g_catalogs.ArmyByTypeLevel[category * 100 + level] = id;
  };
  army(100005, "步兵", 3, 2, 10, 4);
  army(100007, "坦克", 5, 1, 300, 6);
  g_catalogs.RankLife[1] = 50;
  g_catalogs.RankCount = 1;
  g_catalogs.CommanderSlot[7] = ++g_catalogs.CommanderSlotCount;
  g_catalogs.CommanderIds[g_catalogs.CommanderCount++] = 7;
  FillSlot(g_catalogs.CommanderName[1], "张三");
  const std::pair<int32_t, const char*> countries[] = {{86, "中国"}, {1, "美国"}, {44, "英国"}};
  for (const auto& [id, name] : countries) {
    g_catalogs.CountryIds[g_catalogs.CountryCount++] = id;
    FillSlot(g_strings.CountryName[id], name);
  }
  g_strings.CityIds[g_strings.CityCount++] = 12;
  FillSlot(g_strings.CityName[12], "北京");
  g_catalogs.BuildingIds[g_catalogs.BuildingCount++] = 10101;
  FillSlot(g_catalogs.BuildingName[10101], "城市");
}

void ResetWorld() {
  WorldRecord& w = g_world;
  w.worldWidth = 300;
  w.worldHeight = 220;
  w.originX = 10;
  w.originY = 198;
  w.rangeWidth = 4;
  w.rangeHeight = 3;
  for (int x = 0; x < 4; ++x)
    for (int y = 0; y < 3; ++y) {
      Cell& c = w.grid[x][y];
      memset(&c, 0, sizeof c);
      c.globalX = w.originX + x;
      c.globalY = w.originY + y;
      c.owner = kUnownedTeam;
      ClearUnit(c.unit);
    }
  memset(w.teams, 0, sizeof w.teams);
  w.teams[kUnownedTeam].colour = 0xFFFFFF;
  w.teamCount = 0;
  w.generalCount = 0;
}

void AddTeam(int32_t country, uint32_t colour, int32_t money) {
  TeamRecord& t = g_world.teams[g_world.teamCount];
  t.teamNumber = 40 + g_world.teamCount;  // out of step on purpose
  t.country = country;
  t.colour = colour;
  t.money = money;
  g_world.teamCount += 1;
}

// ---- windows ----

LRESULT CALLBACK OwnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(window, message, wParam, lParam);
}

HWND Owner() {
  static HWND owner = [] {
    WNDCLASSW c{};
    c.lpfnWndProc = OwnerProc;
    c.hInstance = GetModuleHandleW(nullptr);
    c.lpszClassName = L"btl_dialog_test_owner";
    c.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    RegisterClassW(&c);
    HWND w = CreateWindowExW(0, c.lpszClassName, L"dialog owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                             60, 50, 700, 560, nullptr, nullptr, c.hInstance, nullptr);
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    return w;
  }();
  return owner;
}

std::wstring ClassOf(HWND w) {
  wchar_t name[64] = {};
  GetClassNameW(w, name, 64);
  return name;
}

std::string TextOf(HWND w) {
  int n = GetWindowTextLengthW(w);
  std::wstring text(size_t(n) + 1, L'\0');
  GetWindowTextW(w, text.data(), n + 1);
  text.resize(size_t(n));
  return Utf8FromWide(text);
}

std::string ItemText(HWND dialog, int id) { return TextOf(GetDlgItem(dialog, id)); }

void SetItemText(HWND dialog, int id, const char* utf8) {
  SetDlgItemTextW(dialog, id, WideFromUtf8(utf8).c_str());
}

// Selects a combo item the way the user does: the selection, then the notification.
void PickItem(HWND dialog, int id, int index) {
  HWND combo = GetDlgItem(dialog, id);
  SendMessageW(combo, CB_SETCURSEL, WPARAM(index), 0);
  SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
}

void Click(HWND dialog, int id) { SendMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }
// For buttons that open a modal window of their own.
void PostClick(HWND dialog, int id) { PostMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

// Dialog-class windows of this thread.
std::vector<HWND> ThreadDialogs() {
  std::vector<HWND> found;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND w, LPARAM list) -> BOOL {
        if (ClassOf(w) == L"#32770" && IsWindowVisible(w))
          reinterpret_cast<std::vector<HWND>*>(list)->push_back(w);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

HWND DialogTitled(const char* caption) {
  for (HWND w : ThreadDialogs())
    if (TextOf(w) == caption) return w;
  return nullptr;
}

HWND PopupOwnedBy(HWND owner) {
  for (HWND w : ThreadDialogs())
    if (GetWindow(w, GW_OWNER) == owner) return w;
  return nullptr;
}

POINT ClientPosition(HWND child) {
  RECT r;
  GetWindowRect(child, &r);
  POINT p{r.left, r.top};
  ScreenToClient(GetParent(child), &p);
  return p;
}

// A run-time child window lies wholly inside its dialog's client area.
void ExpectInsideClient(HWND child) {
  RECT client, r;
  GetClientRect(GetParent(child), &client);
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
  EXPECT_LE(r.right, client.right) << "control " << GetDlgCtrlID(child);
  EXPECT_LE(r.bottom, client.bottom) << "control " << GetDlgCtrlID(child);
}

COLORREF PixelAt(HWND window, int x, int y) {
  HDC dc = GetDC(window);
  COLORREF c = GetPixel(dc, x, y);
  ReleaseDC(window, dc);
  return c;
}

// ---- the driver of modal windows ----

// Steps run one per timer tick, each once its window is there. Acting with SendMessage
// keeps a step synchronous; a button that opens another modal window is pressed with
// PostMessage so the next step can drive that window. When a window does not come (or
// does not go) in time the test fails and every dialog of the thread is ended, so nothing
// hangs.
class ModalDriver {
 public:
  using Finder = std::function<HWND()>;
  using Action = std::function<void(HWND)>;

  ModalDriver& Then(Finder find, Action act) {
    steps_.push_back({std::move(find), std::move(act)});
    return *this;
  }

  void Run(const std::function<void()>& show) {
    active_ = this;
    UINT_PTR timer = SetTimer(nullptr, 0, kTickMs, Tick);
    show();
    KillTimer(nullptr, timer);
    active_ = nullptr;
    EXPECT_TRUE(steps_.empty()) << steps_.size() << " steps never ran";
  }

 private:
  struct Step {
    Finder find;
    Action act;
  };

  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    ModalDriver* d = active_;
    if (!d || d->acting_) return;
    if (d->steps_.empty()) {
      // Everything ran; the dialog should be closing.
      if (++d->waited_ > kStepTimeoutTicks) d->Abandon("a dialog did not close");
      return;
    }
    HWND window = d->steps_.front().find();
    if (!window) {
      if (++d->waited_ > kStepTimeoutTicks) d->Abandon("a window did not appear");
      return;
    }
    d->waited_ = 0;
    Step step = std::move(d->steps_.front());
    d->steps_.pop_front();
    d->acting_ = true;
    step.act(window);
    d->acting_ = false;
  }

  void Abandon(const char* why) {
    ADD_FAILURE() << why;
    steps_.clear();
    waited_ = 0;
    for (HWND w : ThreadDialogs()) EndDialog(w, 0);
  }

  static inline ModalDriver* active_ = nullptr;
  std::deque<Step> steps_;
  int waited_ = 0;
  bool acting_ = false;
};

ModalDriver::Finder Titled(const char* caption) {
  return [caption] { return DialogTitled(caption); };
}

void Close(HWND dialog) { PostMessageW(dialog, WM_CLOSE, 0, 0); }

// ---- templates ----

INT_PTR CALLBACK SilentProc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

struct Expected {
  int id;
  const wchar_t* className;
  DWORD mustHave;  // style bits that must be set
  DWORD typeMask;  // with typeValue: (style & typeMask) == typeValue
  DWORD typeValue;
  const char* text;  // nullptr: not checked
};

constexpr DWORD kNoType = 0;

void CheckTemplate(const wchar_t* name, const char* caption, SIZE dialogUnits,
                   const std::vector<Expected>& controls) {
  SCOPED_TRACE(Utf8FromWide(name));
  HWND dialog = CreateDialogParamW(GetModuleHandleW(nullptr), name, Owner(), SilentProc, 0);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(TextOf(dialog), caption);
  LONG style = GetWindowLongW(dialog, GWL_STYLE);
  EXPECT_TRUE(style & WS_SYSMENU) << "close box";
  EXPECT_TRUE(style & WS_CAPTION);
  RECT size{0, 0, dialogUnits.cx, dialogUnits.cy};
  MapDialogRect(dialog, &size);
  RECT client;
  GetClientRect(dialog, &client);
  EXPECT_EQ(client.right, size.right);
  EXPECT_EQ(client.bottom, size.bottom);
  for (const Expected& e : controls) {
    SCOPED_TRACE(e.id);
    HWND control = GetDlgItem(dialog, e.id);
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(_wcsicmp(ClassOf(control).c_str(), e.className), 0) << Utf8FromWide(ClassOf(control));
    DWORD controlStyle = DWORD(GetWindowLongW(control, GWL_STYLE));
    EXPECT_EQ(controlStyle & e.mustHave, e.mustHave);
    if (e.typeMask != kNoType) {
      EXPECT_EQ(controlStyle & e.typeMask, e.typeValue);
    }
    if (e.text) {
      EXPECT_EQ(TextOf(control), e.text);
    }
  }
  DestroyWindow(dialog);
}

constexpr DWORD kComboType = 3;  // CBS_SIMPLE / CBS_DROPDOWN / CBS_DROPDOWNLIST

Expected Combo(int id) { return {id, L"ComboBox", 0, kComboType, CBS_DROPDOWN, nullptr}; }
Expected NumberEdit(int id) { return {id, L"Edit", ES_NUMBER, ES_READONLY, 0, nullptr}; }
Expected ReadOnlyNumber(int id) {
  return {id, L"Edit", ES_NUMBER | ES_READONLY, kNoType, 0, nullptr};
}
Expected Button(int id, const char* text) {
  return {id, L"Button", 0, BS_TYPEMASK, BS_PUSHBUTTON, text};
}

// Windows need a display: under Wine without one (no DISPLAY) these tests are skipped.
#define SKIP_WITHOUT_DISPLAY() \
  if (!Owner()) GTEST_SKIP() << "no window could be made: run with a display (Xvfb)"

class DialogTemplates : public ::testing::Test {
 protected:
  void SetUp() override { SKIP_WITHOUT_DISPLAY(); }
};

TEST_F(DialogTemplates, UnitData) {
  std::vector<Expected> c = {Combo(IDC_UNIT_TYPE),
                             Combo(IDC_UNIT_EARLYPOLICY),
                             Combo(IDC_UNIT_LATEPOLICY),
                             Combo(IDC_UNIT_ATTACK),
                             Combo(IDC_UNIT_DIRECTION),
                             ReadOnlyNumber(IDC_UNIT_MAXHP),
                             ReadOnlyNumber(IDC_UNIT_GENERAL),
                             Button(IDC_UNIT_APPLY, "确定")};
  for (int id : {IDC_UNIT_HP, IDC_UNIT_BUILDTIME, IDC_UNIT_MOVEMENT, IDC_UNIT_MORALE,
                 IDC_UNIT_CHANGETURN, IDC_UNIT_TARGET, IDC_UNIT_DIALOGUE})
    c.push_back(NumberEdit(id));
  CheckTemplate(L"UNIT_DATA", "兵种编辑", {140, 232}, c);
}

TEST_F(DialogTemplates, BuildingData) {
  std::vector<Expected> c = {Combo(IDC_BUILDING_CITYNAME), Combo(IDC_BUILDING_CODE),
                             Combo(IDC_BUILDING_FACILITYTYPE), ReadOnlyNumber(IDC_BUILDING_HEXID),
                             Button(IDC_BUILDING_APPLY, "确定")};
  for (int id = IDC_BUILDING_INDUSTRY; id <= IDC_BUILDING_FIRE; ++id) c.push_back(NumberEdit(id));
  c.push_back(NumberEdit(IDC_BUILDING_FACILITYLEVEL));
  c.push_back(NumberEdit(IDC_BUILDING_DEFENCE));
  CheckTemplate(L"BUILDING_DATA", "建筑编辑", {149, 193}, c);
}

TEST_F(DialogTemplates, GeneralDialog) {
  CheckTemplate(L"GENERAL_DIALOG", "将军编辑", {170, 141},
                {Combo(IDC_GENERAL_CURRENT),
                 Combo(IDC_GENERAL_COMMANDER),
                 Combo(IDC_GENERAL_RANK),
                 {IDC_GENERAL_RANKTEXT, L"Edit", ES_READONLY, kNoType, 0, nullptr},
                 Button(IDC_GENERAL_ATTACH, "确定"),
                 Button(IDC_GENERAL_ADD, "添加")});
}

TEST_F(DialogTemplates, HexDialog) {
  CheckTemplate(L"HEX_DIALOG", "16进制编辑", {187, 182},
                {Combo(IDC_HEX_OWNER), Button(IDC_HEX_APPLY, "确定")});
}

TEST_F(DialogTemplates, TeamDialog) {
  CheckTemplate(L"TEAM_DIALOG", "军团编辑", {251, 169},
                {{IDC_TEAM_LIST, WC_LISTVIEWW, 0, LVS_TYPEMASK, LVS_LIST, nullptr},
                 Combo(IDC_TEAM_COUNTRY),
                 Button(IDC_TEAM_ADD, "加入"),
                 Button(IDC_TEAM_DELETE, "删除"),
                 Button(IDC_TEAM_APPLY, "确定"),
                 {IDC_TEAM_SWATCH, L"Button", 0, BS_TYPEMASK, BS_OWNERDRAW, nullptr}});
}

TEST_F(DialogTemplates, GoToDialog) {
  CheckTemplate(
      L"GOTO_DIALOG", "定位格子", {150, 54},
      {{IDC_GOTO_TEXT, L"Edit", WS_TABSTOP, ES_NUMBER | ES_READONLY | ES_MULTILINE, 0, nullptr},
       {IDC_GOTO_APPLY, L"Button", 0, BS_TYPEMASK, BS_DEFPUSHBUTTON, "确定"}});
}

// ---- the dialogs at work ----

class DialogWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SKIP_WITHOUT_DISPLAY();
    LoadCatalogs();
    ResetWorld();
  }
};

// Template position (0, 0): the dialog's client area starts where the owner's does.
void ExpectAtOwnersClientOrigin(HWND dialog) {
  POINT origin{0, 0};
  ClientToScreen(Owner(), &origin);
  POINT own{0, 0};
  ClientToScreen(dialog, &own);
  EXPECT_EQ(own.x, origin.x);
  EXPECT_EQ(own.y, origin.y);
  EXPECT_EQ(GetWindow(dialog, GW_OWNER), Owner());
}

TEST_F(DialogWindowTest, UnitTypeChangeAndApplyWriteTheCell) {
  Cell& cell = g_world.grid[1][1];
  cell.unit.unitClass = 3;
  cell.unit.unitLevel = 2;
  cell.unit.hp = 8;
  cell.unit.maxHp = 10;
  cell.unit.position = 777;
  ModalDriver driver;
  driver.Then(Titled("兵种编辑"), [](HWND d) {
    ExpectAtOwnersClientOrigin(d);
    EXPECT_EQ(ItemText(d, IDC_UNIT_TYPE), "100005:步兵");
    EXPECT_EQ(ItemText(d, IDC_UNIT_HP), "8");
    EXPECT_EQ(ItemText(d, IDC_UNIT_GENERAL), "无");
    EXPECT_EQ(ItemText(d, IDC_UNIT_DIRECTION), "0:无");
    PickItem(d, IDC_UNIT_TYPE, 2);
    EXPECT_EQ(ItemText(d, IDC_UNIT_MOVEMENT), "6");
    EXPECT_EQ(ItemText(d, IDC_UNIT_HP), "300");
    SetItemText(d, IDC_UNIT_MOVEMENT, "300");
    SetItemText(d, IDC_UNIT_EARLYPOLICY, "3");
    SendMessageW(GetDlgItem(d, IDC_UNIT_DIRECTION), CB_SETCURSEL, 4, 0);
    Click(d, IDC_UNIT_APPLY);
    Close(d);
  });
  driver.Run([&] { ShowUnitDialog(Owner(), cell.unit); });
  EXPECT_EQ(cell.unit.unitClass, 5);
  EXPECT_EQ(cell.unit.unitLevel, 1);
  EXPECT_EQ(cell.unit.movement, 44);
  EXPECT_EQ(cell.unit.earlyPolicy, 3);
  EXPECT_EQ(cell.unit.direction, 4);
  EXPECT_EQ(cell.unit.maxHp, 300);
  EXPECT_EQ(cell.unit.hp, 300);
  EXPECT_EQ(cell.unit.position, 777);
}

TEST_F(DialogWindowTest, UnitWorkingCopyIsWrittenBackWithoutApply) {
  UnitRecord unit;
  ClearUnit(unit);
  unit.unitClass = 3;
  unit.unitLevel = 2;
  unit.hp = 8;
  unit.maxHp = 10;
  ModalDriver driver;
  driver.Then(Titled("兵种编辑"), [](HWND d) {
    PickItem(d, IDC_UNIT_TYPE, 2);
    SetItemText(d, IDC_UNIT_MORALE, "99");
    Close(d);
  });
  driver.Run([&] { ShowUnitDialog(Owner(), unit); });
  EXPECT_EQ(unit.unitClass, 3);  // the type bytes change only by 确定
  EXPECT_EQ(unit.maxHp, 300);    // the type change's hit points stay
  EXPECT_EQ(unit.hp, 300);
  EXPECT_EQ(unit.morale, 0);
}

TEST_F(DialogWindowTest, BuildingStoresTypedFacilityTypeAndShowsHexIndex) {
  Cell& cell = g_world.grid[2][2];
  cell.building.cityName = 12;
  ModalDriver driver;
  driver.Then(Titled("建筑编辑"), [](HWND d) {
    ExpectAtOwnersClientOrigin(d);
    EXPECT_EQ(ItemText(d, IDC_BUILDING_HEXID), std::to_string(GlobalIndex(2, 2)));
    EXPECT_EQ(ItemText(d, IDC_BUILDING_CITYNAME), "12 北京");
    SetItemText(d, IDC_BUILDING_FACILITYTYPE, "12");
    SetItemText(d, IDC_BUILDING_DEFENCE, "7");
    PickItem(d, IDC_BUILDING_CODE, 1);
    Click(d, IDC_BUILDING_APPLY);
    Close(d);
  });
  driver.Run([&] { ShowBuildingDialog(Owner(), cell.building, GlobalIndex(2, 2)); });
  EXPECT_EQ(cell.building.facilityType, 12);
  EXPECT_EQ(cell.building.defence, 7);
  EXPECT_EQ(cell.building.buildingCode, 10101);
  EXPECT_EQ(cell.building.cityName, 12);
}

TEST_F(DialogWindowTest, GeneralAttachesAndWarnsWithoutCommander) {
  g_world.generals[0] = {7, 1};
  g_world.generalCount = 1;
  UnitRecord unit;
  ClearUnit(unit);
  unit.unitClass = 3;
  HWND dialog = nullptr;
  ModalDriver driver;
  driver
      .Then(Titled("将军编辑"),
            [&](HWND d) {
              dialog = d;
              ExpectAtOwnersClientOrigin(d);
              EXPECT_EQ(ItemText(d, IDC_GENERAL_RANKTEXT), "无");
              UpdateWindow(d);
              // No portrait: white squares where the portraits go.
              EXPECT_EQ(PixelAt(d, 20 + 25, 35 + 25), RGB(255, 255, 255));
              EXPECT_EQ(PixelAt(d, 20 + 25, 165 + 25), RGB(255, 255, 255));
              PickItem(d, IDC_GENERAL_CURRENT, 1);
              EXPECT_EQ(ItemText(d, IDC_GENERAL_RANKTEXT), "1:50");
              Click(d, IDC_GENERAL_ATTACH);
              PostClick(d, IDC_GENERAL_ADD);
            })
      .Then([&] { return PopupOwnedBy(dialog); },
            [](HWND box) {
              EXPECT_EQ(TextOf(box), "提示");
              EXPECT_EQ(ItemText(box, 0xFFFF), "请选择要加入地图的将军！");
              PostMessageW(box, WM_COMMAND, IDOK, 0);
            })
      .Then([&] { return PopupOwnedBy(dialog) ? nullptr : dialog; }, [](HWND d) { Close(d); });
  driver.Run([&] { ShowGeneralDialog(Owner(), 1, unit); });
  EXPECT_EQ(unit.general, 0);
  EXPECT_EQ(g_world.generalCount, 1);
}

// A portrait of one flat colour (pixels 0x00RRGGBB).
void PaintPortrait(int slot, int width, int height, uint32_t pixel) {
  Surface& portrait = g_artwork.CommanderPortrait[slot];
  resize_surface(&portrait, width, height);
  uint32_t* pixels = surface_pixels(&portrait);
  for (int i = 0; i < width * height; ++i) pixels[i] = pixel;
}

TEST_F(DialogWindowTest, GeneralPortraitsAreDrawnAndRedrawn) {
  PaintPortrait(1, 50, 50, 0x00123456);  // 张三
  g_world.generals[0] = {7, 1};
  g_world.generalCount = 1;
  UnitRecord unit;
  ClearUnit(unit);
  unit.unitClass = 3;
  unit.general = 0;
  const COLORREF portrait = RGB(0x12, 0x34, 0x56);
  const COLORREF white = RGB(255, 255, 255);
  ModalDriver driver;
  driver.Then(Titled("将军编辑"), [&](HWND d) {
    UpdateWindow(d);
    EXPECT_EQ(PixelAt(d, 20 + 25, 35 + 25), portrait);
    EXPECT_EQ(PixelAt(d, 20 + 2, 35 + 47), portrait);  // clear of the labels
    EXPECT_EQ(PixelAt(d, 20 + 25, 165 + 25), white);
    PickItem(d, IDC_GENERAL_COMMANDER, 0);
    EXPECT_EQ(PixelAt(d, 20 + 25, 165 + 25), portrait);
    PickItem(d, IDC_GENERAL_CURRENT, 0);  // 无
    EXPECT_EQ(PixelAt(d, 20 + 25, 35 + 25), white);
    // Any repaint draws them again.
    InvalidateRect(d, nullptr, TRUE);
    UpdateWindow(d);
    EXPECT_EQ(PixelAt(d, 20 + 25, 165 + 25), portrait);
    EXPECT_EQ(PixelAt(d, 20 + 25, 35 + 25), white);
    Close(d);
  });
  driver.Run([&] { ShowGeneralDialog(Owner(), 1, unit); });
  EXPECT_EQ(unit.general, 0);  // nothing attached without 确定
  resize_surface(&g_artwork.CommanderPortrait[1], 1, 1);
}

TEST_F(DialogWindowTest, GeneralDoesNotOpenWithoutUnit) {
  UnitRecord unit;
  ClearUnit(unit);
  bool opened = false;
  ModalDriver driver;
  driver.Run([&] {
    ShowGeneralDialog(Owner(), 0, unit);
    opened = !ThreadDialogs().empty();
  });
  EXPECT_FALSE(opened);
  EXPECT_EQ(unit.general, kNoGeneral);
}

// The raw hex editor is given grid coordinates: one past either edge of the 4 x 3 range, or
// -1 (no selection), opens nothing.
TEST_F(DialogWindowTest, HexDoesNotOpenOutsideTheRange) {
  const int outside[][2] = {{4, 0}, {0, 3}, {-1, 0}, {0, -1}};
  for (const auto& p : outside) {
    bool opened = false;
    ModalDriver driver;
    driver.Run([&] {
      ShowHexDialog(Owner(), p[0], p[1]);
      opened = !ThreadDialogs().empty();
    });
    EXPECT_FALSE(opened) << p[0] << "," << p[1];
  }
}

TEST_F(DialogWindowTest, HexBoxesSitOnTheirGridsAndParseHex) {
  AddTeam(86, 0x0000FF, 0);
  Cell& cell = g_world.grid[3][1];
  cell.unit.unitClass = 3;
  cell.hasUnit = 1;
  ModalDriver driver;
  driver.Then(Titled("16进制编辑"), [](HWND d) {
    ExpectAtOwnersClientOrigin(d);
    int unitBoxes = 0, buildingBoxes = 0;
    for (HWND child = GetWindow(d, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
      if (_wcsicmp(ClassOf(child).c_str(), L"Edit") != 0) continue;
      int i = GetDlgCtrlID(child);
      POINT p = ClientPosition(child);
      ExpectInsideClient(child);
      EXPECT_FALSE(GetWindowLongW(child, GWL_STYLE) & ES_NUMBER);
      if (p.y < 145) {
        ++unitBoxes;
        EXPECT_EQ(p.x, 40 * (i % 8 + 1)) << "unit byte " << i;
        EXPECT_EQ(p.y, 20 * (i / 8 + 2)) << "unit byte " << i;
        if (i == 2) {
          EXPECT_EQ(TextOf(child), "03");
        }
        if (i == 12) {
          EXPECT_EQ(TextOf(child), "FF");
        }
        if (i == 13) SetWindowTextW(child, L"g7");
        if (i == 14) SetWindowTextW(child, L"7g");
        if (i == 16) SetWindowTextW(child, L"abc");
      } else {
        ++buildingBoxes;
        EXPECT_EQ(p.x, 40 * (i % 8 + 1)) << "building byte " << i;
        EXPECT_EQ(p.y, 165 + 20 * (i / 8)) << "building byte " << i;
        if (i == 13) SetWindowTextW(child, L"05");  // defence
      }
    }
    EXPECT_EQ(unitBoxes, 28);
    EXPECT_EQ(buildingBoxes, 20);
    EXPECT_EQ(ItemText(d, IDC_HEX_OWNER), "255:无");
    PickItem(d, IDC_HEX_OWNER, 1);
    Click(d, IDC_HEX_APPLY);
    Close(d);
  });
  driver.Run([] { ShowHexDialog(Owner(), 3, 1); });
  EXPECT_EQ(cell.unit.movement, 0x00);
  EXPECT_EQ(cell.unit.morale, 0x07);
  EXPECT_EQ(cell.unit.earlyPolicy, 0xBC);
  EXPECT_EQ(cell.building.defence, 5);
  EXPECT_EQ(cell.hasBuilding, 1);
  EXPECT_EQ(cell.hasUnit, 1);
  EXPECT_EQ(cell.owner, 0);
}

void SelectRow(HWND dialog, int row) {
  LVITEMW state{};
  state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  state.state = LVIS_SELECTED | LVIS_FOCUSED;
  HWND list = GetDlgItem(dialog, IDC_TEAM_LIST);
  SendMessageW(list, LVM_SETITEMSTATE, WPARAM(row), reinterpret_cast<LPARAM>(&state));
  SendMessageW(list, LVM_SETSELECTIONMARK, 0, LPARAM(row));
}

// Control ids of the system colour chooser's red, green and blue boxes.
constexpr int kChooserRed = 706, kChooserGreen = 707, kChooserBlue = 708;

int ListRows(HWND dialog) {
  return int(SendMessageW(GetDlgItem(dialog, IDC_TEAM_LIST), LVM_GETITEMCOUNT, 0, 0));
}

COLORREF SwatchPixel(HWND dialog) {
  HWND swatch = GetDlgItem(dialog, IDC_TEAM_SWATCH);
  UpdateWindow(swatch);
  RECT r;
  GetClientRect(swatch, &r);
  return PixelAt(swatch, r.right / 2, r.bottom / 2);
}

TEST_F(DialogWindowTest, TeamShowApplyColourDeleteAndRenumber) {
  AddTeam(86, RGB(200, 0, 0), 100);
  AddTeam(1, RGB(0, 200, 0), 200);
  AddTeam(44, RGB(0, 0, 200), 300);
  const COLORREF chosen = RGB(0x12, 0x34, 0x56);
  HWND dialog = nullptr;
  ModalDriver driver;
  driver
      .Then(Titled("军团编辑"),
            [&](HWND d) {
              dialog = d;
              ExpectAtOwnersClientOrigin(d);
              EXPECT_EQ(ListRows(d), 3);
              EXPECT_EQ(ItemText(d, 1), "0");  // nothing shown yet
              for (int id : {1, 2, 3, 4, 5, 6, 7, 8, 10, 15, 16, 21, 22, 24}) {
                HWND edit = GetDlgItem(d, id);
                ASSERT_NE(edit, nullptr) << id;
                ExpectInsideClient(edit);
                bool numberOnly = GetWindowLongW(edit, GWL_STYLE) & ES_NUMBER;
                EXPECT_EQ(numberOnly, id != 7 && id != 8) << id;
              }
              EXPECT_EQ(ClientPosition(GetDlgItem(d, 21)).x, 390);
              EXPECT_EQ(ClientPosition(GetDlgItem(d, 21)).y, 110);
              SelectRow(d, 1);
              EXPECT_EQ(ItemText(d, 1), "200");
              EXPECT_EQ(ItemText(d, IDC_TEAM_COUNTRY), "美国");
              EXPECT_EQ(ItemText(d, 8), "0.000000");
              EXPECT_EQ(SwatchPixel(d), RGB(0, 200, 0));
              SetItemText(d, 1, "777");
              SetItemText(d, 8, "0.5abc");
              Click(d, IDC_TEAM_APPLY);
              EXPECT_EQ(g_world.teams[1].money, 777);
              EXPECT_EQ(g_world.teams[1].taxRate, 0.5f);
              PostClick(d, IDC_TEAM_SWATCH);
            })
      .Then([&] { return PopupOwnedBy(dialog); },
            [&](HWND chooser) {
              // The chooser's red, green and blue boxes, as a user types them.
              SetDlgItemInt(chooser, kChooserRed, GetRValue(chosen), FALSE);
              SetDlgItemInt(chooser, kChooserGreen, GetGValue(chosen), FALSE);
              SetDlgItemInt(chooser, kChooserBlue, GetBValue(chosen), FALSE);
              PostMessageW(GetDlgItem(chooser, IDOK), BM_CLICK, 0, 0);
            })
      .Then([&] { return PopupOwnedBy(dialog) ? nullptr : dialog; },
            [&](HWND d) {
              EXPECT_EQ(g_world.teams[1].colour, chosen);  // at once, without 确定
              EXPECT_EQ(SwatchPixel(d), chosen);
              SelectRow(d, 0);
              Click(d, IDC_TEAM_DELETE);
              EXPECT_EQ(g_world.teamCount, 2);
              EXPECT_EQ(ListRows(d), 2);
              Close(d);
            });
  driver.Run([] { ShowTeamDialog(Owner()); });
  ASSERT_EQ(g_world.teamCount, 2);
  EXPECT_EQ(g_world.teams[0].country, 1);
  EXPECT_EQ(g_world.teams[0].colour, chosen);
  EXPECT_EQ(g_world.teams[0].teamNumber, 0);
  EXPECT_EQ(g_world.teams[1].teamNumber, 1);
}

// The list view keeps its selection mark on a deleted row's index, where it names the next
// team. After 删除 nothing is marked or shown, so 确定 and 删除 leave the teams as they are.
TEST_F(DialogWindowTest, TeamApplyAndDeleteAfterDeleteTouchNoTeam) {
  AddTeam(86, RGB(200, 0, 0), 100);
  AddTeam(1, RGB(0, 200, 0), 200);
  AddTeam(44, RGB(0, 0, 200), 300);
  g_world.teams[2].techLevels[3] = 9;
  TeamRecord left[2];
  ModalDriver driver;
  driver.Then(Titled("军团编辑"), [&](HWND d) {
    HWND list = GetDlgItem(d, IDC_TEAM_LIST);
    SelectRow(d, 2);
    EXPECT_EQ(ItemText(d, IDC_TEAM_COUNTRY), "英国");
    Click(d, IDC_TEAM_DELETE);
    ASSERT_EQ(g_world.teamCount, 2);
    EXPECT_EQ(ListRows(d), 2);
    EXPECT_EQ(SendMessageW(list, LVM_GETSELECTIONMARK, 0, 0), -1);
    EXPECT_EQ(SendMessageW(list, LVM_GETSELECTEDCOUNT, 0, 0), 0);
    EXPECT_EQ(ItemText(d, IDC_TEAM_COUNTRY), "");
    EXPECT_EQ(ItemText(d, kTeamMoney), "0");
    EXPECT_EQ(ItemText(d, kTeamTechFirst + 3), "0");
    memcpy(left, g_world.teams, sizeof left);
    Click(d, IDC_TEAM_APPLY);
    EXPECT_EQ(memcmp(left, g_world.teams, sizeof left), 0) << "确定 wrote into a team";
    Click(d, IDC_TEAM_DELETE);
    EXPECT_EQ(g_world.teamCount, 2) << "删除 removed a team nobody picked";
    EXPECT_EQ(ListRows(d), 2);
    Close(d);
  });
  driver.Run([] { ShowTeamDialog(Owner()); });
  ASSERT_EQ(g_world.teamCount, 2);
  for (int t = 0; t < 2; ++t) left[t].teamNumber = t;  // closing renumbers
  EXPECT_EQ(memcmp(left, g_world.teams, sizeof left), 0);
  EXPECT_EQ(g_world.teams[1].country, 1);
  EXPECT_EQ(g_world.teams[1].money, 200);
}

// ---- the go-to dialog ----

class GoToDialogWindowTest : public DialogWindowTest {
 protected:
  // Runs the go-to dialog with the driver's steps; the grid must come out unchanged.
  bool Run(ModalDriver& driver, GridHex& chosen) {
    std::vector<Cell> before(&g_world.grid[0][0],
                             &g_world.grid[0][0] + 4 * kMaxGrid);  // the range's columns
    bool named = false;
    driver.Run(
        [&] { named = ShowGoToDialog(Owner(), CurrentRange(), g_world.worldWidth, chosen); });
    EXPECT_EQ(memcmp(before.data(), &g_world.grid[0][0], before.size() * sizeof(Cell)), 0);
    return named;
  }
  void Key(HWND d, WPARAM key) { PostMessageW(GetDlgItem(d, IDC_GOTO_TEXT), WM_KEYDOWN, key, 0); }
};

// A refused text brings the message box owned by the dialog, which stays with the text; a
// hex of the range then ends it with that hex.
TEST_F(GoToDialogWindowTest, RefusesWithAMessageThenEndsWithTheHexNamed) {
  HWND dialog = nullptr;
  ModalDriver driver;
  driver
      .Then(Titled("定位格子"),
            [&](HWND d) {
              dialog = d;
              ExpectAtOwnersClientOrigin(d);
              EXPECT_EQ(GetFocus(), GetDlgItem(d, IDC_GOTO_TEXT)) << "typing goes to the edit";
              EXPECT_EQ(ItemText(d, IDC_GOTO_TEXT), "");
              SetItemText(d, IDC_GOTO_TEXT, "9,198");
              PostClick(d, IDC_GOTO_APPLY);
            })
      .Then([&] { return PopupOwnedBy(dialog); },
            [](HWND box) {
              EXPECT_EQ(TextOf(box), "定位格子");
              EXPECT_EQ(ItemText(box, 0xFFFF), "该格子不在地图范围内。");
              PostMessageW(box, WM_COMMAND, IDOK, 0);
            })
      .Then([&] { return PopupOwnedBy(dialog) ? nullptr : dialog; },
            [](HWND d) {
              EXPECT_TRUE(IsWindowVisible(d)) << "the dialog stays open";
              EXPECT_EQ(ItemText(d, IDC_GOTO_TEXT), "9,198");
              SetItemText(d, IDC_GOTO_TEXT, " 11 ，199 ");
              Click(d, IDC_GOTO_APPLY);
            });
  GridHex chosen{-1, -1};
  EXPECT_TRUE(Run(driver, chosen));
  EXPECT_EQ(chosen, (GridHex{1, 1}));
}

// Enter in the edit is 确定 (the default button); Esc and the close box end the dialog
// without a hex.
TEST_F(GoToDialogWindowTest, EnterConfirmsAndEscOrTheCloseBoxEndWithout) {
  ModalDriver enter;
  enter.Then(Titled("定位格子"), [&](HWND d) {
    SetItemText(d, IDC_GOTO_TEXT, std::to_string(GlobalIndex(3, 2)).c_str());
    Key(d, VK_RETURN);
  });
  GridHex chosen{-1, -1};
  EXPECT_TRUE(Run(enter, chosen));
  EXPECT_EQ(chosen, (GridHex{3, 2}));

  ModalDriver escape;
  escape.Then(Titled("定位格子"), [&](HWND d) {
    SetItemText(d, IDC_GOTO_TEXT, "10,198");
    Key(d, VK_ESCAPE);
  });
  chosen = {-1, -1};
  EXPECT_FALSE(Run(escape, chosen));
  EXPECT_EQ(chosen, (GridHex{-1, -1}));

  ModalDriver closeBox;
  closeBox.Then(Titled("定位格子"), [&](HWND d) {
    SetItemText(d, IDC_GOTO_TEXT, "10,198");
    Close(d);
  });
  EXPECT_FALSE(Run(closeBox, chosen));
  EXPECT_EQ(chosen, (GridHex{-1, -1}));
}

// ---- the problem report ----

TEST_F(DialogTemplates, ProblemsDialog) {
  CheckTemplate(
      L"PROBLEMS_DIALOG", "问题检查", {280, 190},
      {{IDC_PROBLEMS_LIST, WC_LISTVIEWW, LVS_OWNERDATA | LVS_NOCOLUMNHEADER | LVS_SINGLESEL,
        LVS_TYPEMASK, LVS_REPORT, nullptr},
       {IDC_PROBLEMS_COUNT, L"Static", 0, kNoType, 0, ""},
       {IDC_PROBLEMS_LOCATE, L"Button", 0, BS_TYPEMASK, BS_DEFPUSHBUTTON, "定位"},
       Button(IDC_PROBLEMS_REFRESH, "刷新"),
       Button(IDC_PROBLEMS_CLOSE, "关闭")});
}

std::vector<std::string> ProblemRows(HWND dialog) {
  HWND list = GetDlgItem(dialog, IDC_PROBLEMS_LIST);
  std::vector<std::string> rows;
  int count = int(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  for (int row = 0; row < count; ++row) {
    wchar_t text[256] = {};
    LVITEMW item{};
    item.pszText = text;
    item.cchTextMax = 256;
    SendMessageW(list, LVM_GETITEMTEXTW, WPARAM(row), reinterpret_cast<LPARAM>(&item));
    rows.push_back(Utf8FromWide(text));
  }
  return rows;
}

void PickProblemRow(HWND dialog, int row) {
  LVITEMW state{};
  state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  state.state = LVIS_SELECTED | LVIS_FOCUSED;
  HWND list = GetDlgItem(dialog, IDC_PROBLEMS_LIST);
  SendMessageW(list, LVM_SETITEMSTATE, WPARAM(row), reinterpret_cast<LPARAM>(&state));
  SendMessageW(list, LVM_SETSELECTIONMARK, 0, LPARAM(row));
}

// A double-click of the left button in the middle of the row, as the list view gets it.
void DoubleClickProblemRow(HWND dialog, int row) {
  HWND list = GetDlgItem(dialog, IDC_PROBLEMS_LIST);
  RECT r{};
  r.left = LVIR_BOUNDS;
  ASSERT_TRUE(SendMessageW(list, LVM_GETITEMRECT, WPARAM(row), reinterpret_cast<LPARAM>(&r)));
  PostMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON,
               MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2));
}

void PressKey(HWND dialog, WPARAM key) {
  PostMessageW(GetDlgItem(dialog, IDC_PROBLEMS_LIST), WM_KEYDOWN, key, 0);
  PostMessageW(GetDlgItem(dialog, IDC_PROBLEMS_LIST), WM_KEYUP, key, 0);
}

// The test world with an owner naming no team on (3, 0) and a unit of class 0 on (1, 2).
class ProblemsWindowTest : public DialogWindowTest {
 protected:
  void SetUp() override {
    DialogWindowTest::SetUp();
    if (IsSkipped()) return;
    AddTeam(86, RGB(200, 0, 0), 100);
    g_world.grid[3][0].owner = 7;
    g_world.grid[1][2].hasUnit = 1;
    g_world.grid[1][2].unit.position = uint16_t(GlobalIndex(1, 2));
  }
  // Runs the report over the problems found now.
  bool Show(ModalDriver& driver, ScenarioProblem& chosen) {
    bool located = false;
    std::vector<ScenarioProblem> problems = FindScenarioProblems();
    driver.Run([&] { located = ShowProblemsDialog(Owner(), problems, chosen); });
    return located;
  }
};

constexpr char kOwnerRow[] = "全局 (13, 198) 编号 59413：归属 7 不是任何军团（共 1 个军团）";
constexpr char kClassZeroRow[] =
    "全局 (11, 200) 编号 60011：部队的兵种类别为 0，下次规范化时会被删除";

TEST_F(ProblemsWindowTest, ListsRowsRefreshesAndLocatesThePickedRow) {
  ModalDriver driver;
  driver.Then(Titled("问题检查"), [](HWND d) {
    ExpectAtOwnersClientOrigin(d);
    EXPECT_EQ(ItemText(d, IDC_PROBLEMS_COUNT), "共 2 个问题");
    EXPECT_EQ(ProblemRows(d), (std::vector<std::string>{kOwnerRow, kClassZeroRow}));
    // Rows are never cut: the column is as wide as the longest row.
    HWND list = GetDlgItem(d, IDC_PROBLEMS_LIST);
    int needed = int(SendMessageW(list, LVM_GETSTRINGWIDTHW, 0,
                                  reinterpret_cast<LPARAM>(WideFromUtf8(kClassZeroRow).c_str())));
    EXPECT_GE(SendMessageW(list, LVM_GETCOLUMNWIDTH, 0, 0), needed);

    Cell& c = g_world.grid[0][1];
    c.hasBuilding = 1;
    c.building.facilityType = 9;
    c.building.position = uint16_t(GlobalIndex(0, 1));
    Click(d, IDC_PROBLEMS_REFRESH);
    EXPECT_EQ(ItemText(d, IDC_PROBLEMS_COUNT), "共 3 个问题");
    EXPECT_EQ(ProblemRows(d),
              (std::vector<std::string>{kOwnerRow, "全局 (10, 199) 编号 59710：防空类型 9 大于 3",
                                        kClassZeroRow}));
    PickProblemRow(d, 1);
    Click(d, IDC_PROBLEMS_LOCATE);
  });
  ScenarioProblem chosen;
  EXPECT_TRUE(Show(driver, chosen));
  EXPECT_EQ(chosen.kind, ProblemKind::kAntiAirType);
  EXPECT_EQ(chosen.hexIndex, GlobalIndex(0, 1));
  EXPECT_TRUE(ThreadDialogs().empty());
}

TEST_F(ProblemsWindowTest, DoubleClickAndEnterLocateEscClosesWithNothingChosen) {
  ModalDriver byDoubleClick;
  byDoubleClick.Then(Titled("问题检查"), [](HWND d) { DoubleClickProblemRow(d, 1); });
  ScenarioProblem chosen;
  EXPECT_TRUE(Show(byDoubleClick, chosen));
  EXPECT_EQ(chosen.kind, ProblemKind::kUnitClassZero);
  EXPECT_EQ(chosen.globalX, 11);
  EXPECT_EQ(chosen.globalY, 200);

  ModalDriver byEnter;
  byEnter.Then(Titled("问题检查"), [](HWND d) {
    PickProblemRow(d, 0);
    PressKey(d, VK_RETURN);
  });
  EXPECT_TRUE(Show(byEnter, chosen));
  EXPECT_EQ(chosen.hexIndex, GlobalIndex(3, 0));

  ModalDriver byEsc;
  byEsc.Then(Titled("问题检查"), [](HWND d) {
    PickProblemRow(d, 0);
    PressKey(d, VK_ESCAPE);
  });
  ScenarioProblem untouched;
  EXPECT_FALSE(Show(byEsc, untouched));
  EXPECT_EQ(untouched.hexIndex, kNoHex);
}

// A problem on every hex of the largest range: the list holds no item per row (it asks the
// form for the texts it shows), so it opens in a moment; inserting 65,536 list items takes
// Wine's list view tens of seconds.
TEST_F(ProblemsWindowTest, EveryHexOfTheLargestRangeOpensAtOnce) {
  std::vector<ScenarioProblem> every;
  for (int i = 0; i < 65536; ++i)
    every.push_back({ProblemKind::kUnknownUnitType, i % 256, i / 256, i,
                     "兵种目录中没有类别 3、等级 9 的兵种"});
  const DWORD start = GetTickCount();
  DWORD opened = 0;
  ModalDriver driver;
  driver.Then(Titled("问题检查"), [&](HWND d) {
    opened = GetTickCount();
    EXPECT_EQ(ItemText(d, IDC_PROBLEMS_COUNT), "共 65536 个问题");
    HWND list = GetDlgItem(d, IDC_PROBLEMS_LIST);
    EXPECT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 65536);
    wchar_t text[128] = {};
    LVITEMW item{};
    item.pszText = text;
    item.cchTextMax = 128;
    SendMessageW(list, LVM_GETITEMTEXTW, 65535, reinterpret_cast<LPARAM>(&item));
    EXPECT_EQ(Utf8FromWide(text),
              "全局 (255, 255) 编号 65535：兵种目录中没有类别 3、等级 9 的兵种");
    Close(d);
  });
  ScenarioProblem chosen;
  driver.Run([&] { ShowProblemsDialog(Owner(), every, chosen); });
  EXPECT_LT(opened - start, 5000u);
}
}  // namespace
