// The main loop driven natively: keys through the key seam, answers through the prompt and
// file-request seams, the user's close as the window reports it.
#include "app/editor.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "dialogs/dialogs_test_hooks.h"
#include "dialogs/find_dialog.h"
#include "dialogs/goto_dialog.h"
#include "dialogs/resource_ids.h"
#include "app/pace.h"
#include "base/text.h"
#include "drawing/surface.h"
#include "platform/file_requests.h"
#include "platform/keys.h"
#include "view/view_state.h"
#include "drawing/mouse_queue.h"
#include "platform/prompts.h"
#include "drawing/window.h"
#include "drawing/window_test_hooks.h"
#include "tests/support/battle_fixture.h"
#include "tests/support/fake_form.h"
#include "tests/support/temp_folder.h"
#include "view/hex_geometry.h"
#include "view/hover_info.h"
#include "view/layout.h"
#include "view/map_view.h"
#ifndef _WIN32
#include "drawing/side_window.h"
#include "drawing/side_window_test_hooks.h"
#include "drawing/surface_test_hooks.h"
#endif
#include "app/recovery.h"
#include "view/notice.h"
#include "view/overview.h"

namespace {

std::set<int> g_held;
int g_reads[256];  // reads of each key since the keys were last set
bool g_front = true;

// A held key is let go once the editor has read it many times over: it is waiting, polling,
// for its release (Esc, the arrows, Ctrl+Z).
bool HeldKey(int key) {
  if (key <= 0 || key >= 256 || !g_held.count(key)) return false;
  return ++g_reads[key] < 50;
}
void HoldKeys(std::set<int> keys) {
  g_held = std::move(keys);
  for (int& n : g_reads) n = 0;
}
bool InFront() { return g_front; }

TEST(KeyGate, KeysCountOnlyInFrontAndAfterARelease) {
  SetKeySource(HeldKey);
  SetForegroundSource(InFront);
  HoldKeys({kKeyT});
  g_front = false;
  EXPECT_FALSE(KeyDown(kKeyT));  // typed into another program
  g_front = true;
  EXPECT_FALSE(KeyDown(kKeyT));  // still held when the editor came to the front
  g_held.insert(kKeyS);          // pressed after it came to the front
  EXPECT_TRUE(KeyDown(kKeyS));
  g_held.erase(kKeyT);
  EXPECT_FALSE(KeyDown(kKeyT));
  g_held.insert(kKeyT);
  EXPECT_TRUE(KeyDown(kKeyT));  // a new press acts
  g_front = false;
  EXPECT_FALSE(KeyDown(kKeyT));
  EXPECT_FALSE(KeyDown(kKeyS));
  g_front = true;
  g_held = {kKeyEscape};
  EXPECT_FALSE(KeyDown(kKeyEscape));
  g_held.clear();
  g_held.insert(kKeyJ);
  IgnoreHeldKeys();
  EXPECT_FALSE(KeyDown(kKeyJ));
  g_held.clear();
  EXPECT_FALSE(KeyDown(kKeyJ));
  g_held.insert(kKeyJ);
  EXPECT_TRUE(KeyDown(kKeyJ));
  SetKeySource(nullptr);
  SetForegroundSource(nullptr);
}

// Which window is in front is a round trip to the window system: while the editor is in
// front, keys that are up do not ask it, so an idle pass asks nothing; a key down asks, and
// so does every read once the editor was found behind, until it is in front again.
int g_frontAsked = 0;
bool CountedInFront() {
  ++g_frontAsked;
  return g_front;
}

TEST(KeyGate, TheForegroundIsAskedOnlyForAKeyDownOrWhileBehind) {
  SetKeySource(HeldKey);
  SetForegroundSource(CountedInFront);
  g_front = true;
  HoldKeys({});
  EXPECT_FALSE(KeyDown(kKeyS));  // the first read asks: nothing is known yet
  g_frontAsked = 0;
  for (int key : {kKeyS, kKeyEscape, kKeyDown, kKeyControl, kKeyZ}) EXPECT_FALSE(KeyDown(key));
  EXPECT_EQ(g_frontAsked, 0);
  HoldKeys({kKeyS});
  EXPECT_TRUE(KeyDown(kKeyS));
  EXPECT_EQ(g_frontAsked, 1);
  g_front = false;
  EXPECT_FALSE(KeyDown(kKeyS));  // held, behind: asked, refused
  HoldKeys({});
  g_frontAsked = 0;
  EXPECT_FALSE(KeyDown(kKeyT));
  EXPECT_FALSE(KeyDown(kKeyU));
  EXPECT_EQ(g_frontAsked, 2);  // behind: every read asks
  g_front = true;
  EXPECT_FALSE(KeyDown(kKeyT));  // in front again, nothing held
  HoldKeys({kKeyT});
  EXPECT_TRUE(KeyDown(kKeyT));  // the first press after coming back acts
  HoldKeys({});
  g_frontAsked = 0;
  EXPECT_FALSE(KeyDown(kKeyT));
  EXPECT_EQ(g_frontAsked, 0);
  SetKeySource(nullptr);
  SetForegroundSource(nullptr);
}

// The loop itself runs natively only: the Windows build would open a real window. The
// end-to-end tests drive it under Wine.
#ifndef _WIN32

std::vector<std::string> g_prompts;  // caption + "|" + text of each message box
unsigned g_promptStyle = 0;
int g_answer = kIdCancel;
int g_fileRequests = 0;
std::string g_savePath;  // empty: the save dialog is cancelled
int64_t g_now = 0;       // the loop's clock, in ms

using Pixels = std::vector<uint32_t>;
// What the window shows: the back buffer.
Pixels WindowPixels() {
  const Surface* back = BackBuffer();
  return Pixels(back->pixels, back->pixels + size_t(back->width) * back->height);
}
Pixels g_shownAtLastBox;  // what the window showed while the last box or dialog was open

int Answer(void*, const std::string& text, const std::string& caption, unsigned style) {
  g_prompts.push_back(caption + "|" + text);
  g_promptStyle = style;
  g_shownAtLastBox = WindowPixels();
  return g_answer;
}
bool AnswerFileRequest(bool save, std::string& path) {
  ++g_fileRequests;
  g_shownAtLastBox = WindowPixels();
  if (!save || g_savePath.empty()) return false;
  path = g_savePath;
  return true;
}

// The user of the go-to dialog: types g_goToText and presses 确定 (the dialog's logic over
// an in-memory form); a refused text is followed by Esc, still held as the dialog goes.
int g_goToOpened = 0;
std::string g_goToText;
bool AnswerGoTo(const MapRange& range, int32_t worldWidth, GridHex& chosen) {
  ++g_goToOpened;
  g_shownAtLastBox = WindowPixels();
  FakeForm form;
  GoToDialog dialog(range, worldWidth);
  dialog.OnInit(form);
  form.Type(IDC_GOTO_TEXT, g_goToText);
  if (!dialog.OnCommand(form, IDC_GOTO_APPLY, Notice::kClicked)) {
    EXPECT_EQ(form.warnings, std::vector<std::string>{"该格子不在地图范围内。"});
    HoldKeys({kKeyEscape});
    return false;
  }
  chosen = *dialog.chosen();
  return true;
}

void FindTwoOwners(int& a, int& b);

class EditorLoopTest : public ::testing::Test {
 protected:
  void SetUp() override {
    HoldKeys({});
    g_front = true;
    g_prompts.clear();
    g_answer = kIdCancel;
    g_fileRequests = 0;
    g_savePath.clear();
    SetKeySource(HeldKey);
    SetForegroundSource(InFront);
    SetPromptHandler(Answer);
    SetFileRequestHandler(AnswerFileRequest);
    g_goToOpened = 0;
    SetGoToAnswer(AnswerGoTo);
    g_now = 0;
    SetClockSource([] { return g_now; });
    LoadForTest(DemoBattleBytes("demo_small"), DemoWorldImage());
    g_history.Start(g_world);
    g_view = ViewState{};
    layout_screen();
    open_window(g_layout.windowWidth, g_layout.windowHeight, 0);
    KeepCloseRequests(true);
    unedited = SaveForTest();
    Pass();  // the editor comes to the front with no key held
  }
  void TearDown() override {
    close_window();
    SetKeySource(nullptr);
    SetForegroundSource(nullptr);
    SetPromptHandler(nullptr);
    SetFileRequestHandler(nullptr);
    SetGoToAnswer(nullptr);
    SetClockSource(nullptr);
  }
  // A pass with these keys held (and released afterwards). A pass that draws nothing leaves
  // the last frame drawn shown; one that draws tells whether its frame holds the information
  // box (its first line, drawn in the off-screen frame).
  bool Pass(std::set<int> keys = {}) {
    HoldKeys(std::move(keys));
    ForgetDrawnText();
    const long drawn = DrawingOperations();
    bool goOn = MainLoopPass();
    HoldKeys({});
    if (DrawingOperations() != drawn) {
      const std::string where = GbkFromUtf8("位置：");
      shownWithBox = false;
      for (int i = 0; i < DrawnTextCount(); ++i)
        if (std::string(DrawnTextAt(i).text).rfind(where, 0) == 0) shownWithBox = true;
    }
    return goOn;
  }
  bool shownWithBox = false;
  // Clicks inside visible hex (col, row); odd global columns sit half a hex lower. keyState:
  // the mouse message's key flags (1 the left button, 4 Shift, 8 Ctrl).
  void ClickHex(int col, int row, uint32_t keyState = 1) {
    bool odd = (g_world.originX + g_view.scrollX + col) & 1;
    int y = row * cellSize + (odd ? halfCell : 0) + 10;
    SharedMouseQueue().put(
        MakeMouseMessage(kLeftButtonDown, keyState, int16_t(col * cellSize + 10), int16_t(y)));
  }
  Cell& Selected() { return g_world.grid[g_view.selX()][g_view.selY()]; }
  // Mouse messages as the window queues them; keys: the buttons held.
  void PointerTo(int32_t x, int32_t y, uint32_t keys = 0, uint32_t code = 0x200) {
    SharedMouseQueue().put(MakeMouseMessage(code, keys, int16_t(x), int16_t(y)));
  }
  // A point inside visible hex (col, row), away from its edges.
  PixelPoint InHex(int32_t col, int32_t row) {
    PixelPoint p = HexTopLeft(col, row, g_world.originX, g_view.scrollX);
    return {p.x + 20, p.y + 30};
  }
  // A pass `ms` after the last one: true when the frame it leaves shown holds the box.
  bool PassAfter(int64_t ms) {
    g_now += ms;
    Pass();
    return shownWithBox;
  }

  // One step: the owner of visible hex (a, 1) copied and pasted with T onto (b, 1), two
  // hexes of different owners; gives b.
  int PasteOneOwner(int& a) {
    int b;
    FindTwoOwners(a, b);
    EXPECT_GE(b, 0);
    ClickHex(a, 1);
    Pass({'C'});
    ClickHex(b, 1);
    Pass({'T'});
    Pass();
    return b;
  }

  std::vector<uint8_t> unedited;
};

// Two visible hexes whose owners differ, in even global columns.
void FindTwoOwners(int& a, int& b) {
  a = b = -1;
  for (int col = 0; col < g_layout.viewCols; ++col) {
    if (a < 0)
      a = col;
    else if (g_world.grid[col][1].owner != g_world.grid[a][1].owner) {
      b = col;
      return;
    }
  }
}

// The loop draws (any drawing operation, on any surface) only in passes after which the
// frame shows something else, and then the frame is what drawing every pass gave.
TEST_F(EditorLoopTest, TheLoopDrawsOnlyWhenTheFrameChanges) {
  auto drawsIn = [&](int passes, std::set<int> keys = {}) {
    const long before = DrawingOperations();
    for (int i = 0; i < passes; ++i) {
      g_now += 20;
      Pass(i == 0 ? keys : std::set<int>{});
    }
    return DrawingOperations() != before;
  };
  auto redrawn = [] {
    ComposeScreen();
    const Surface& off = offscreenSurface;
    return Pixels(off.pixels, off.pixels + size_t(off.width) * off.height);
  };
  EXPECT_FALSE(drawsIn(100));  // idle, the pointer outside
  // An edit in place, as the dialogs make them, shows at the next pass.
  g_world.grid[g_view.scrollX + 1][g_view.scrollY + 1].owner ^= 1;
  EXPECT_TRUE(drawsIn(1));
  EXPECT_EQ(WindowPixels(), redrawn());
  EXPECT_FALSE(drawsIn(50));
  // The pointer moving over the map shows nothing until it has rested; then the box, once.
  PixelPoint a = InHex(2, 1);
  PointerTo(a.x, a.y);
  EXPECT_FALSE(drawsIn(1));
  EXPECT_FALSE(drawsIn(5));
  EXPECT_TRUE(drawsIn(20));
  EXPECT_TRUE(g_view.pointer.boxShown);
  EXPECT_EQ(WindowPixels(), redrawn());
  EXPECT_FALSE(drawsIn(50));
  PostPointerLeft();
  EXPECT_TRUE(drawsIn(1));
  EXPECT_EQ(WindowPixels(), redrawn());
  // A scroll key, a click that selects: drawn once each.
  EXPECT_TRUE(drawsIn(1, {kKeyRight}));
  EXPECT_EQ(WindowPixels(), redrawn());
  EXPECT_FALSE(drawsIn(10));
  ClickHex(1, 1);
  EXPECT_TRUE(drawsIn(1));
  EXPECT_TRUE(g_view.hasSelection());
  EXPECT_EQ(WindowPixels(), redrawn());
  EXPECT_FALSE(drawsIn(10));
}

TEST_F(EditorLoopTest, KeysTypedIntoAnotherProgramChangeNothing) {
  int a, b;
  FindTwoOwners(a, b);
  ASSERT_GE(b, 0);
  ClickHex(a, 1);
  Pass({'C'});
  ASSERT_EQ(g_view.clipboardEmpty, 0);
  ClickHex(b, 1);
  Pass();
  ASSERT_NE(Selected().owner, g_world.grid[a][1].owner);
  g_front = false;
  for (int key : {int('U'), int('T'), int('B'), int('S'), int('J'), int('C'), kKeyEscape, kKeyLeft})
    Pass({key});
  Pass({kKeyControl, 'Z'});
  EXPECT_EQ(SaveForTest(), unedited);
  EXPECT_EQ(g_fileRequests, 0);
  EXPECT_EQ(g_view.commandKeysOff, 0);
  // Back in front with T still held from the other program: nothing until a new press.
  g_front = true;
  Pass({'T'});
  EXPECT_EQ(SaveForTest(), unedited);
  Pass();
  Pass({'T'});
  EXPECT_EQ(Selected().owner, g_world.grid[a][1].owner);
}

TEST_F(EditorLoopTest, PaintingWithTHeldIsOneStepThatCtrlZUndoesAndCtrlYRedoes) {
  int a, b;
  FindTwoOwners(a, b);
  ASSERT_GE(b, 0);
  ClickHex(a, 1);
  Pass({'C'});
  // T stays down while the user clicks two more hexes.
  ClickHex(b, 1);
  Pass({'T'});
  ClickHex(b, 3);
  Pass({'T'});
  EXPECT_EQ(g_history.UndoCount(), 0u);  // still the same stroke
  Pass();                                // released
  ASSERT_EQ(g_history.UndoCount(), 1u);
  const std::vector<uint8_t> painted = SaveForTest();
  EXPECT_NE(painted, unedited);
  EXPECT_EQ(g_history.LastStep()->hexes.size(),
            g_world.grid[b][3].owner == g_world.grid[b][1].owner ? 2u : 1u);

  Pass({kKeyControl, 'Z'});
  EXPECT_EQ(SaveForTest(), unedited);
  EXPECT_FALSE(g_history.Unsaved(g_world));
  Pass({kKeyControl, 'Y'});
  EXPECT_EQ(SaveForTest(), painted);
  Pass({kKeyControl, 'Z'});
  Pass({kKeyControl, kKeyShift, 'Z'});
  EXPECT_EQ(SaveForTest(), painted);
  // Z without Ctrl is no command.
  Pass({'Z'});
  EXPECT_EQ(SaveForTest(), painted);
}

TEST_F(EditorLoopTest, UndoShowsAndSelectsTheOneHexItChanged) {
  ClickHex(1, 1);
  Pass();
  const int32_t gx = g_view.selX(), gy = g_view.selY();
  g_world.grid[gx][gy].owner ^= 1;  // as a dialog would, ended by a click outside the map
  SharedMouseQueue().put(MakeMouseMessage(kLeftButtonDown, 1, int16_t(g_layout.windowWidth - 1),
                                          int16_t(g_layout.windowHeight - 1)));
  Pass();
  ASSERT_EQ(g_history.UndoCount(), 1u);
  // Scroll it out of view: undo brings it back and selects it.
  for (int i = 0; i < 20; ++i) Pass({kKeyRight});
  ASSERT_FALSE(g_view.hasSelection());
  Pass({kKeyControl, 'Z'});
  EXPECT_EQ(SaveForTest(), unedited);
  ASSERT_TRUE(g_view.hasSelection());
  EXPECT_EQ(g_view.selX(), gx);
  EXPECT_EQ(g_view.selY(), gy);
}

TEST_F(EditorLoopTest, ClosingWithoutEditsEndsWithoutAQuestion) {
  EXPECT_TRUE(Pass());
  PostUserClose();
  EXPECT_FALSE(Pass());
  EXPECT_TRUE(g_prompts.empty());
}

TEST_F(EditorLoopTest, ClosingWithUnsavedEditsAsksAndFollowsTheAnswer) {
  g_world.grid[0][0].owner ^= 1;
  PostUserClose();
  g_answer = kIdCancel;
  EXPECT_TRUE(Pass());
  ASSERT_EQ(g_prompts.size(), 1u);
  EXPECT_EQ(g_prompts[0], "提示|当前战役有未保存的修改。\n\n关闭前是否保存？");
  EXPECT_EQ(g_promptStyle, kMbYesNoCancel | kMbIconWarning);
  EXPECT_TRUE(Pass());  // asked once per close
  EXPECT_EQ(g_prompts.size(), 1u);

  // 是, then the save dialog cancelled: the editor stays.
  PostUserClose();
  g_answer = kIdYes;
  EXPECT_TRUE(Pass());
  EXPECT_EQ(g_fileRequests, 1);

  // 是 and a save that succeeds: the file holds the edit and the editor ends.
  TempFolder dir{"btl_test_close_save"};
  std::string folder = dir.Utf8();
  g_savePath = folder + "/saved.btl";
  PostUserClose();
  EXPECT_FALSE(Pass());
  EXPECT_EQ(ReadFileBytes(g_savePath), SaveForTest());
  EXPECT_NE(ReadFileBytes(g_savePath), unedited);

  // 否 ends without saving.
  g_world.grid[0][0].owner ^= 1;
  PostUserClose();
  g_answer = kIdNo;
  int requests = g_fileRequests;
  EXPECT_FALSE(Pass());
  EXPECT_EQ(g_fileRequests, requests);
}

TEST_F(EditorLoopTest, AnEditUndoneLeavesNothingToAskAbout) {
  g_world.grid[0][0].owner ^= 1;
  Pass({kKeyControl, 'Z'});
  EXPECT_EQ(SaveForTest(), unedited);
  PostUserClose();
  EXPECT_FALSE(Pass());
  EXPECT_TRUE(g_prompts.empty());
}

TEST_F(EditorLoopTest, ClicksQueuedWhileADialogWasOpenOrBeforeTheWindowAreDropped) {
  ClickHex(1, 1);
  Pass();
  const int32_t gx = g_view.selX(), gy = g_view.selY();
  const Rect& unitButton = g_layout.commandButtons[1];
  SharedMouseQueue().put(
      MakeMouseMessage(kLeftButtonDown, 1, int16_t(unitButton.x + 5), int16_t(unitButton.y + 5)));
  ClickHex(3, 3);  // reached the window while the unit editor was open
  Pass();
  EXPECT_EQ(g_view.selX(), gx);
  EXPECT_EQ(g_view.selY(), gy);

  ClickHex(3, 3);  // left over from the range selection's window
  open_window(g_layout.windowWidth, g_layout.windowHeight, 0);
  EXPECT_FALSE(mouse_pending());
}

// G, in both states of the command keys, opens the go-to dialog once per press; the hex
// named is centred as far as the range allows and selected; nothing of the scenario changes
// and no undo step is made; the Esc that closed a refused dialog is no command.
TEST_F(EditorLoopTest, GoToSelectsTheNamedHexAndChangesNothing) {
  const Layout& l = g_layout;
  ASSERT_GT(l.maxScrollX, 0) << "the demo's range must be wider than the view";
  ASSERT_GT(l.maxScrollY, 0);
  // By index: the hex one column and row in from the range's bottom-right corner.
  const int32_t x = g_world.rangeWidth - 2, y = g_world.rangeHeight - 2;
  g_goToText = std::to_string(GlobalIndex(x, y));
  HoldKeys({kKeyG});
  for (int pass = 0; pass < 3; ++pass) MainLoopPass();  // held all the while
  HoldKeys({});
  EXPECT_EQ(g_goToOpened, 1);
  ASSERT_TRUE(g_view.hasSelection());
  EXPECT_EQ(g_view.selX(), x);
  EXPECT_EQ(g_view.selY(), y);
  EXPECT_EQ(g_view.scrollX, l.maxScrollX);  // as far as the range allows
  EXPECT_EQ(g_view.scrollY, l.maxScrollY);

  // By global column and row, with the command keys off: the middle of the view.
  g_view.commandKeysOff = 1;
  const int32_t mx = l.viewCols / 2 + 1, my = l.viewRows / 2 + 1;
  g_goToText = std::to_string(g_world.originX + mx) + "，" + std::to_string(g_world.originY + my);
  Pass({kKeyG});
  EXPECT_EQ(g_goToOpened, 2);
  EXPECT_EQ(g_view.selX(), mx);
  EXPECT_EQ(g_view.selY(), my);
  EXPECT_EQ(g_view.scrollX, 1);
  EXPECT_EQ(g_view.scrollY, 1);
  EXPECT_EQ(g_view.selCol, l.viewCols / 2);
  EXPECT_EQ(g_view.selRow, l.viewRows / 2);
  EXPECT_EQ(g_view.commandKeysOff, 1);

  // Refused, then closed with Esc: the view, the selection and the key state stay.
  g_view.commandKeysOff = 0;
  g_goToText = std::to_string(g_world.originX - 1) + "," + std::to_string(g_world.originY);
  const ViewState before = g_view;
  HoldKeys({kKeyG});
  MainLoopPass();  // the dialog leaves Esc held
  MainLoopPass();  // Esc still down, then released
  HoldKeys({});
  MainLoopPass();
  EXPECT_EQ(g_goToOpened, 3);
  EXPECT_EQ(g_view.commandKeysOff, 0);
  EXPECT_EQ(g_view.scrollX, before.scrollX);
  EXPECT_EQ(g_view.selX(), before.selX());
  EXPECT_EQ(g_view.selY(), before.selY());

  // G typed into another program opens nothing.
  g_front = false;
  Pass({kKeyG});
  g_front = true;
  EXPECT_EQ(g_goToOpened, 3);

  EXPECT_EQ(SaveForTest(), unedited);
  EXPECT_EQ(g_history.UndoCount(), 0u);
  EXPECT_FALSE(g_history.Unsaved(g_world));
  EXPECT_TRUE(g_prompts.empty());
}

// P in both states of the command keys: with nothing wrong a message says so; the report
// changes no byte and records no undo step, not even for an edit still pending.
TEST_F(EditorLoopTest, PWithoutProblemsSaysSoInBothKeyStatesAndRecordsNothing) {
  LoadDemoCatalogs();
  ClickHex(2, 3);
  Pass();
  const ViewState view = g_view;
  uint8_t& owner = g_world.grid[0][0].owner;
  owner = owner == 1 ? 2 : 1;  // an edit no action has ended yet
  const std::vector<uint8_t> before = SaveForTest();
  Pass({kKeyP});
  EXPECT_EQ(g_prompts, (std::vector<std::string>{"问题检查|没有发现问题。"}));
  Pass({kKeyEscape});  // command keys off
  ASSERT_EQ(g_view.commandKeysOff, 1);
  Pass({kKeyP});
  EXPECT_EQ(g_prompts.size(), 2u);
  EXPECT_EQ(SaveForTest(), before);
  EXPECT_EQ(g_history.UndoCount(), 0u);
  EXPECT_EQ(g_view.selX(), view.selX());
  EXPECT_EQ(g_view.selY(), view.selY());
}

// The Esc that dismisses the report's box may still be down when the loop runs again: it
// must not switch the command keys off.
TEST_F(EditorLoopTest, TheKeyThatClosedTheReportIsNoCommand) {
  LoadDemoCatalogs();
  SetPromptHandler([](void*, const std::string& text, const std::string& caption, unsigned) {
    g_prompts.push_back(caption + "|" + text);
    g_held = {kKeyEscape};  // the user answers with Esc
    return kIdOk;
  });
  HoldKeys({kKeyP});
  MainLoopPass();
  ASSERT_EQ(g_prompts.size(), 1u);
  MainLoopPass();  // Esc still held
  EXPECT_EQ(g_view.commandKeysOff, 0);
  HoldKeys({});
  Pass();
  Pass({kKeyEscape});
  EXPECT_EQ(g_view.commandKeysOff, 1);
}

// With problems the report is a dialog (none in the native build): no message, no change.
TEST_F(EditorLoopTest, PWithAProblemOpensNoMessageAndChangesNothing) {
  LoadDemoCatalogs();
  g_world.grid[3][3].owner = 200;
  const std::vector<uint8_t> before = SaveForTest();
  Pass({kKeyP});
  EXPECT_TRUE(g_prompts.empty());
  EXPECT_EQ(SaveForTest(), before);
  EXPECT_EQ(g_history.UndoCount(), 0u);
}

// ---- The information box ----------------------------------------------------------------

// The bounding box of the pixels where two frames of the window differ, or none.
std::optional<Rect> Difference(const Pixels& a, const Pixels& b) {
  const int32_t w = BackBuffer()->width;
  int32_t left = INT32_MAX, top = INT32_MAX, right = -1, bottom = -1;
  for (size_t i = 0; i < a.size(); ++i)
    if (a[i] != b[i]) {
      int32_t x = int32_t(i) % w, y = int32_t(i) / w;
      left = std::min(left, x), right = std::max(right, x);
      top = std::min(top, y), bottom = std::max(bottom, y);
    }
  if (right < 0) return std::nullopt;
  return Rect{left, top, right - left + 1, bottom - top + 1};
}

TEST_F(EditorLoopTest, WithThePointerOffTheMapTheFrameIsTheFrameAsBefore) {
  const Pixels plain = WindowPixels();
  const int32_t mapW = g_layout.mapWidthPx, mapH = g_layout.mapHeightPx;
  // On the vertical bar, on the bottom strip, in a column's empty half-cell band, and gone
  // out of the window after resting on a hex: long rests change nothing.
  const PixelPoint band = g_world.originX & 1 ? PixelPoint{10, 10} : PixelPoint{60, 10};
  for (PixelPoint at : {PixelPoint{mapW + 10, 100}, PixelPoint{100, mapH + 40}, band}) {
    SCOPED_TRACE(testing::Message() << "pointer at " << at.x << "," << at.y);
    PointerTo(at.x, at.y);
    EXPECT_FALSE(PassAfter(20));
    EXPECT_FALSE(PassAfter(2000));
    EXPECT_EQ(WindowPixels(), plain);
  }
  const PixelPoint at = InHex(2, 1);
  PointerTo(at.x, at.y);
  PassAfter(20);
  ASSERT_TRUE(PassAfter(400));
  // The box is a white rectangle outlined in black, inside the map area and clear of the
  // hovered hex; nothing else of the frame changed.
  std::optional<Rect> box = Difference(WindowPixels(), plain);
  ASSERT_TRUE(box);
  const Pixels shown = WindowPixels();
  const int32_t w = BackBuffer()->width;
  for (int32_t y = box->y; y < box->y + box->h; ++y)
    for (int32_t x = box->x; x < box->x + box->w; ++x) {
      bool edge =
          x == box->x || y == box->y || x == box->x + box->w - 1 || y == box->y + box->h - 1;
      ASSERT_EQ(shown[size_t(y) * w + x], edge ? 0x000000u : 0xFFFFFFu) << x << "," << y;
    }
  EXPECT_LE(box->x + box->w, mapW);
  EXPECT_LE(box->y + box->h, mapH);
  const PixelPoint hex = HexTopLeft(2, 1, g_world.originX, g_view.scrollX);
  EXPECT_TRUE(box->x >= hex.x + cellSize || box->x + box->w <= hex.x ||
              box->y >= hex.y + cellSize || box->y + box->h <= hex.y);
  EXPECT_EQ(box->h,
            HoverBoxHeight(int32_t(HoverLines(g_view.scrollX + 2, g_view.scrollY + 1).size())));

  PostPointerLeft();  // out of the window in one jump
  EXPECT_FALSE(PassAfter(20));
  EXPECT_EQ(WindowPixels(), plain);
}

TEST_F(EditorLoopTest, TheBoxComesAfterARestOf400MsAndGoesOnAnotherHexAButtonOrALeave) {
  PixelPoint a = InHex(2, 1), b = InHex(3, 1);
  PointerTo(a.x, a.y);
  EXPECT_FALSE(PassAfter(20));
  EXPECT_FALSE(PassAfter(399));
  EXPECT_TRUE(PassAfter(1));  // 400 ms after the pass that found it there
  EXPECT_TRUE(PassAfter(20));
  PointerTo(b.x, b.y);
  EXPECT_FALSE(PassAfter(20));
  EXPECT_FALSE(PassAfter(380));
  EXPECT_TRUE(PassAfter(20));
  // A click selects the hex and hides the box until 400 ms after the release.
  PointerTo(b.x, b.y, 0x01, kLeftButtonDown);
  EXPECT_FALSE(PassAfter(20));
  EXPECT_TRUE(g_view.hasSelection());
  EXPECT_FALSE(PassAfter(1000));  // still held
  PointerTo(b.x, b.y, 0x00, 0x202);
  EXPECT_FALSE(PassAfter(20));
  EXPECT_FALSE(PassAfter(380));
  EXPECT_TRUE(PassAfter(20));
  PostPointerLeft();
  EXPECT_FALSE(PassAfter(20));
  EXPECT_FALSE(PassAfter(2000));
}

TEST_F(EditorLoopTest, NoBoxIsShownWhileADialogOrMessageBoxIsOpenNorRightAfterIt) {
  g_world.grid[0][0].owner ^= 1;  // an unsaved edit, so that a close asks
  PassAfter(20);
  const Pixels plain = WindowPixels();
  PixelPoint a = InHex(2, 1);
  PointerTo(a.x, a.y);
  PassAfter(20);
  ASSERT_TRUE(PassAfter(400));
  ASSERT_NE(WindowPixels(), plain);

  // The question before closing: the window shows the frame without the box.
  PostUserClose();
  g_answer = kIdCancel;
  EXPECT_FALSE(PassAfter(20));
  ASSERT_EQ(g_prompts.size(), 1u);
  EXPECT_EQ(g_shownAtLastBox, plain);
  // After it, the pointer may be anywhere: no box until a message places it again.
  EXPECT_FALSE(PassAfter(1000));
  PointerTo(a.x, a.y);
  EXPECT_FALSE(PassAfter(20));
  EXPECT_TRUE(PassAfter(400));

  // The save dialog (S) likewise.
  Pass({'S'});
  EXPECT_EQ(g_fileRequests, 1);
  EXPECT_EQ(g_shownAtLastBox, plain);
  EXPECT_FALSE(PassAfter(1000));
  EXPECT_EQ(WindowPixels(), plain);

  // The problem report's message (P: with the game's catalogs and the edit undone nothing is
  // wrong) and the go-to dialog (G) likewise.
  LoadDemoCatalogs();
  g_world.grid[0][0].owner ^= 1;
  EXPECT_FALSE(PassAfter(20));
  const Pixels plainNow = WindowPixels();
  const struct {
    int key;
    const char* what;
  } keys[] = {{kKeyP, "P"}, {kKeyG, "G"}};
  for (const auto& k : keys) {
    PointerTo(a.x + 1, a.y);
    EXPECT_FALSE(PassAfter(20)) << k.what;
    ASSERT_TRUE(PassAfter(400)) << k.what;
    g_shownAtLastBox.clear();
    g_goToText = "";
    Pass({k.key});
    HoldKeys({});
    MainLoopPass();
    EXPECT_EQ(g_shownAtLastBox, plainNow) << k.what;
    EXPECT_FALSE(PassAfter(1000)) << k.what;
  }
}

// ---- The area: paste, delete and find over many hexes ----

constexpr uint32_t kWithShift = 1 | 4, kWithCtrl = 1 | 8;

// A plain model of the record: edits written straight into a copy of the world record, then
// saved, to compare with what the loop's edits save.
WorldRecord g_model;
std::vector<uint8_t> SaveOfModel() {
  static WorldRecord edited;
  edited = g_world;
  g_world = g_model;
  std::vector<uint8_t> bytes = SaveForTest();
  g_world = edited;
  return bytes;
}
// Runs `edit` on the model's hex (x, y), with the model standing in for the record so that
// NormaliseCell works on it.
template <class Edit>
void EditModel(int x, int y, Edit edit) {
  static WorldRecord edited;
  edited = g_world;
  g_world = g_model;
  edit(g_world.grid[x][y], x, y);
  g_model = g_world;
  g_world = edited;
}

// What Delete does to the model's hexes: no unit and no building, the owner kept.
void ClearInModel(const std::vector<GridHex>& hexes) {
  for (GridHex h : hexes)
    EditModel(h.x, h.y, [](Cell& c, int, int) {
      c.hasUnit = c.hasBuilding = 0;
      ClearUnit(c.unit);
      ClearBuilding(c.building);
    });
}

// A visible hex holding a unit and one holding a building, searched from the top-left.
bool FindVisible(bool unit, int& col, int& row) {
  for (col = 0; col < g_layout.viewCols; ++col)
    for (row = 0; row < g_layout.viewRows; ++row) {
      const Cell& c = g_world.grid[col][row];
      if (unit ? c.hasUnit : c.hasBuilding) return true;
    }
  return false;
}

TEST_F(EditorLoopTest, PastesOverAnAreaAreOneStepEachAndSaveWhatAPlainModelSaves) {
  // The source: a visible unit outside the hexes pasted onto, of another owner than the
  // rectangle's first hex, so that every paste below changes something.
  int uc = -1, ur = -1, bc, br;
  for (int col = 0; col < g_layout.viewCols && uc < 0; ++col)
    for (int row = 0; row < g_layout.viewRows && uc < 0; ++row) {
      const Cell& c = g_world.grid[col][row];
      const bool pasted = (col >= 1 && col <= 4 && row >= 2 && row <= 5) || (col == 7 && row == 1);
      if (!pasted && c.hasUnit && c.owner != g_world.grid[1][2].owner) uc = col, ur = row;
    }
  ASSERT_GE(uc, 0);
  ASSERT_TRUE(FindVisible(false, bc, br));
  ClickHex(uc, ur);
  Pass({'C'});
  const Cell source = g_world.grid[uc][ur];
  g_model = g_world;
  // Shift + click a rectangle from the anchor, T; Ctrl + click one more hex, T again.
  ClickHex(1, 2);
  Pass();
  ClickHex(4, 5, kWithShift);
  Pass();
  ASSERT_EQ(g_view.area.count(), 4u * 4u);
  EXPECT_EQ(g_view.selX(), 4);
  Pass({'T'});
  Pass({'T'});  // held: the same step
  Pass();
  EXPECT_EQ(g_history.UndoCount(), 1u);
  ClickHex(7, 1, kWithCtrl);
  Pass();
  Pass({'T'});
  Pass();
  EXPECT_EQ(g_history.UndoCount(), 2u);
  for (int x = 1; x <= 4; ++x)
    for (int y = 2; y <= 5; ++y) g_model.grid[x][y].owner = source.owner;
  g_model.grid[7][1].owner = source.owner;
  const std::vector<uint8_t> owners = SaveForTest();
  EXPECT_EQ(owners, SaveOfModel());
  EXPECT_NE(owners, unedited);

  // U and B together over the same area: the unit, then the building, each normalised.
  ClickHex(bc, br, kWithCtrl);  // the building's hex joins the area too
  Pass();
  const std::vector<GridHex> area = g_view.area.Hexes();
  Pass({'U', 'B'});
  Pass();
  for (GridHex h : area)
    EditModel(h.x, h.y, [&](Cell& c, int x, int y) {
      c.owner = g_model.grid[x][y].owner;
      c.unit = source.unit;
      c.hasUnit = source.hasUnit;
      NormaliseCell(x, y);
      c.hasBuilding = source.hasBuilding;
      c.building = source.building;
      NormaliseCell(x, y);
    });
  const std::vector<uint8_t> pasted = SaveForTest();
  EXPECT_EQ(pasted, SaveOfModel());
  ASSERT_EQ(g_history.UndoCount(), 3u);

  // Delete clears units and buildings of the whole area and keeps the owners.
  Pass({kKeyDelete});
  ClearInModel(area);
  const std::vector<uint8_t> deleted = SaveForTest();
  EXPECT_EQ(deleted, SaveOfModel());
  ASSERT_EQ(g_history.UndoCount(), 4u);
  Pass({kKeyDelete});  // nothing left to delete: no step
  EXPECT_EQ(g_history.UndoCount(), 4u);

  // Each step undone and redone byte for byte.
  Pass({kKeyControl, 'Z'});
  EXPECT_EQ(SaveForTest(), pasted);
  Pass({kKeyControl, 'Z'});
  EXPECT_EQ(SaveForTest(), owners);
  Pass({kKeyControl, 'Y'});
  EXPECT_EQ(SaveForTest(), pasted);
  Pass({kKeyControl, 'Y'});
  EXPECT_EQ(SaveForTest(), deleted);
  for (int i = 0; i < 4; ++i) Pass({kKeyControl, 'Z'});
  EXPECT_EQ(SaveForTest(), unedited);

  // With the command keys off, neither the pastes nor Delete act; Ctrl+A still makes the area.
  Pass({kKeyEscape});
  Pass({kKeyControl, 'A'});
  EXPECT_EQ(g_view.area.count(), size_t(g_world.rangeWidth) * size_t(g_world.rangeHeight));
  Pass({'T'});
  Pass({kKeyDelete});
  Pass();
  EXPECT_EQ(SaveForTest(), unedited);
  // A plain click empties it; scrolling had kept it.
  Pass({kKeyEscape});
  Pass({kKeyRight});
  EXPECT_FALSE(g_view.area.empty());
  ClickHex(0, 0);
  Pass();
  EXPECT_TRUE(g_view.area.empty());
}

std::string g_findUnitType;  // the 兵种 text the user of the find dialog picks
int g_findOpened = 0;
bool AnswerFind(std::vector<GridHex>& found) {
  ++g_findOpened;
  FakeForm form;
  FindDialog dialog;
  dialog.OnInit(form);
  form.Type(IDC_FIND_UNIT, g_findUnitType);
  dialog.OnCommand(form, IDC_FIND_UNIT, Notice::kOther);
  if (!dialog.OnCommand(form, IDC_FIND_SELECT, Notice::kClicked)) return false;
  found = dialog.matches();
  return true;
}

TEST_F(EditorLoopTest, FindMakesTheAreaF3WalksItAndDeleteClearsIt) {
  LoadDemoCatalogs();
  int uc, ur;
  ASSERT_TRUE(FindVisible(true, uc, ur));
  const UnitRecord unit = g_world.grid[uc][ur].unit;
  // A second unit of the same kind in the range's far corner, out of view.
  const int fx = g_world.rangeWidth - 1, fy = g_world.rangeHeight - 1;
  g_world.grid[fx][fy].unit = unit;
  NormaliseCell(fx, fy);
  g_history.Start(g_world);
  unedited = SaveForTest();
  g_findUnitType = std::to_string(unit.unitClass * 100 + unit.unitLevel);
  std::vector<GridHex> expected;
  for (int y = 0; y < g_world.rangeHeight; ++y)
    for (int x = 0; x < g_world.rangeWidth; ++x) {
      const Cell& c = g_world.grid[x][y];
      if (c.hasUnit && c.unit.unitClass == unit.unitClass && c.unit.unitLevel == unit.unitLevel)
        expected.push_back({x, y});
    }
  ASSERT_GE(expected.size(), 2u) << "the demo scenario has two units of a kind";
  SetFindAnswer(AnswerFind);
  g_findOpened = 0;
  Pass({kKeyEscape});  // F works in both key states
  Pass({'F'});
  SetFindAnswer(nullptr);
  EXPECT_EQ(g_findOpened, 1);
  EXPECT_EQ(g_view.area.Hexes(), expected);
  ASSERT_TRUE(g_view.hasSelection());
  EXPECT_EQ((GridHex{g_view.selX(), g_view.selY()}), expected[0]);
  EXPECT_EQ(g_history.UndoCount(), 0u);
  EXPECT_EQ(SaveForTest(), unedited);
  Pass({kKeyF3});
  EXPECT_EQ((GridHex{g_view.selX(), g_view.selY()}), expected[1]);
  Pass({kKeyShift, kKeyF3});
  Pass({kKeyShift, kKeyF3});
  EXPECT_EQ((GridHex{g_view.selX(), g_view.selY()}), expected.back());  // wrapped round
  Pass({kKeyEscape});
  g_model = g_world;
  Pass({kKeyDelete});
  ClearInModel(expected);
  EXPECT_EQ(SaveForTest(), SaveOfModel());
  EXPECT_EQ(g_history.UndoCount(), 1u);
  Pass({kKeyControl, 'Z'});
  EXPECT_EQ(SaveForTest(), unedited);
}

// The area's mark: a black and a magenta ring inside each of its visible hexes; with the
// area empty again the frame is the frame without one.
TEST_F(EditorLoopTest, TheAreaIsMarkedAndAnEmptyAreaDrawsThePlainFrame) {
  ClickHex(2, 2);
  Pass();
  const Pixels plain = WindowPixels();
  ClickHex(3, 3, kWithShift);
  Pass();
  const Pixels marked = WindowPixels();
  const Surface* back = BackBuffer();
  auto pixel = [&](const Pixels& p, int x, int y) {
    return p[size_t(y) * size_t(back->width) + size_t(x)];
  };
  for (int col = 0; col < g_layout.viewCols; ++col)
    for (int row = 0; row < g_layout.viewRows; ++row) {
      const PixelPoint p = HexTopLeft(col, row, g_world.originX, g_view.scrollX);
      if (p.y + cellSize > g_layout.mapHeightPx) continue;
      const bool in = col >= 2 && col <= 3 && row >= 2 && row <= 3;
      SCOPED_TRACE(std::to_string(col) + "," + std::to_string(row));
      for (int y : {p.y + 1, p.y + 25, p.y + 48}) {
        if (in) {
          EXPECT_EQ(pixel(marked, p.x + 1, y), 0x000000u);
          EXPECT_EQ(pixel(marked, p.x + 2, p.y + 25), 0xFF00FFu);
          EXPECT_EQ(pixel(marked, p.x + 47, p.y + 25), 0xFF00FFu);
          EXPECT_EQ(pixel(marked, p.x + 25, p.y + 48), 0x000000u);
        } else if (col != 3 || row != 3) {
          EXPECT_EQ(pixel(marked, p.x + 1, y), pixel(plain, p.x + 1, y));
        }
      }
    }
  ClickHex(2, 2);
  Pass();
  EXPECT_EQ(WindowPixels(), plain);
}

#endif  // _WIN32

#ifndef _WIN32
// The notices through the loop: Esc's stands while the keys are off, the others last two
// seconds or until the next action, an undo and a redo name their step; none is saved.
TEST_F(EditorLoopTest, NoticesFollowEscUndoAndRedoAndAreNoPartOfTheSave) {
  Pass({kKeyEscape});
  EXPECT_EQ(g_view.noticeShown, kKeysOffNotice);
  bool drawn = false;  // in the frame that pass drew
  for (int i = 0; i < DrawnTextCount(); ++i)
    drawn |= DrawnTextAt(i).text == GbkFromUtf8(kKeysOffNotice);
  EXPECT_TRUE(drawn);
  g_now += 10000;
  Pass();
  EXPECT_EQ(g_view.noticeShown, kKeysOffNotice);  // for as long as the keys are off
  Pass({kKeyEscape});
  EXPECT_EQ(g_view.noticeShown, kKeysBackNotice);
  g_now += kNoticeMs;
  Pass();
  EXPECT_EQ(g_view.noticeShown, "");
  EXPECT_EQ(SaveForTest(), unedited);

  int a;
  const int b = PasteOneOwner(a);
  ASSERT_GE(b, 0);
  const std::string where = "位置 (" + std::to_string(g_world.originX + b) + ", " +
                            std::to_string(g_world.originY + 1) + ") 的归属";
  Pass({kKeyControl, 'Z'});
  EXPECT_EQ(g_view.noticeShown, "已撤销：" + where);
  Pass({kKeyControl, 'Y'});  // the next action: the undo's notice goes, the redo's comes
  EXPECT_EQ(g_view.noticeShown, "已重做：" + where);
  ClickHex(a, 2);
  Pass();
  EXPECT_EQ(g_view.noticeShown, "");  // a click is an action too
}

// The overview through the loop: M opens it at the core's size, an idle pass shows nothing
// new, a click in it centres the main view, an edit is shown, the user's close closes only
// it; and a resize lays out the client area the window reports.
TEST_F(EditorLoopTest, OverviewFollowsTheEditorAndAResizeLaysOutTheNewClientArea) {
  Pass({'M'});
  ASSERT_TRUE(SideWindowOpen());
  EXPECT_EQ(SideWindowTitle(), "总览");
  const OverviewGeometry g = OverviewFor(g_world.rangeWidth, g_world.rangeHeight, g_world.originX);
  EXPECT_EQ(LastSidePicture().width, g.width);
  EXPECT_EQ(LastSidePicture().height, g.height);
  const unsigned shown = LastSidePicture().shown;
  for (int i = 0; i < 5; ++i) Pass();
  EXPECT_EQ(LastSidePicture().shown, shown);  // nothing changed: nothing shown again

  // A click on the last hex of the range: the view as far right and down as it goes.
  const int32_t lastX = g_world.rangeWidth - 1, lastY = g_world.rangeHeight - 1;
  SideMouseQueue().put(MakeMouseMessage(kLeftButtonDown, 1, int16_t(OverviewSquareX(g, lastX) + 1),
                                        int16_t(OverviewSquareY(g, lastX, lastY) + 1)));
  Pass();
  EXPECT_EQ(g_view.scrollX, g_layout.maxScrollX);
  EXPECT_EQ(g_view.scrollY, g_layout.maxScrollY);
  std::vector<uint32_t> expected;
  DrawOverview(g, g_world, g_view, g_layout, expected);
  EXPECT_EQ(LastSidePicture().pixels, expected);  // the frame moved with the view

  // An edit in the main view (the area, then an owner pasted onto it) is in the next picture.
  int a;
  const int b = PasteOneOwner(a);
  ASSERT_GE(b, 0);
  DrawOverview(g, g_world, g_view, g_layout, expected);
  EXPECT_EQ(LastSidePicture().pixels, expected);
  Pass({kKeyControl, 'A'});
  EXPECT_EQ(SideWindowTitle(),
            "总览 — 区域 " + std::to_string(g_world.rangeWidth * g_world.rangeHeight) + " 格");

  PostSideWindowClose();
  EXPECT_TRUE(Pass());  // the editor goes on
  Pass({'M'});
  EXPECT_TRUE(SideWindowOpen());  // and M opens it again
  Pass({'M'});
  EXPECT_FALSE(SideWindowOpen());

  // Two more columns and rows of client area: two more of each in view, as far as the range
  // goes; the selection kept while it stays in view.
  const int32_t cols = g_layout.viewCols, rows = g_layout.viewRows;
  PostUserResize(g_layout.windowWidth + 2 * cellSize, g_layout.windowHeight + 2 * cellSize);
  Pass();
  EXPECT_EQ(g_layout.viewCols, std::min(cols + 2, g_world.rangeWidth));
  EXPECT_EQ(g_layout.viewRows, std::min(rows + 2, g_world.rangeHeight));
  EXPECT_EQ(BackBuffer()->width, ComputeLayout(cols + 2, rows + 2, 1000, 1000).windowWidth);
  EXPECT_LE(g_view.scrollX, g_layout.maxScrollX);
  ClickHex(g_layout.viewCols - 1, 0);
  Pass();
  EXPECT_EQ(g_view.selCol, g_layout.viewCols - 1);  // clicks pick hexes of the new layout
}
#endif

#ifndef _WIN32
// O and a dropped file: with unsaved edits the question first; 取消, a cancelled open
// dialog, a file that cannot be read and a cancelled range each keep the scenario and its
// history as they were; a file loaded replaces them, with nothing to undo and the view on the
// range's first hex.
std::string Text(const std::vector<uint8_t>& bytes) {
  return std::string(bytes.begin(), bytes.end());
}
MapRange g_otherRange;  // what the range chooser of another file answers; width -1: the offer
MapRange AnswerOtherRange(const MapRange& offered, const WorldImage&, const std::string&) {
  return g_otherRange.width < 0 ? offered : g_otherRange;
}

TEST_F(EditorLoopTest, AnotherFileReplacesTheScenarioOnlyWhenEverythingSucceeds) {
  TempFolder folder("btl_open");
  folder.Write(DataPath("world.bin"), Text(WorldFileBytes(DemoWorldImage())));
  const std::string other = folder.Write("other.btl", Text(DemoBattleBytes("demo_messy")));
  const std::string broken = folder.Write("broken.btl", "not a battle file at all");
  CurrentFolder here(folder.path());
  SetAnotherFileRangeChooser(AnswerOtherRange);
  g_otherRange = MapRange{0, 0, -1, -1};

  int a;
  const int b = PasteOneOwner(a);
  ASSERT_GE(b, 0);
  ASSERT_EQ(g_history.UndoCount(), 1u);
  for (int i = 0; i < 3; ++i) Pass({kKeyRight});
  const std::vector<uint8_t> edited = SaveForTest();
  const int32_t scrollX = g_view.scrollX;
  auto keptAsItWas = [&](const char* why) {
    EXPECT_EQ(SaveForTest(), edited) << why;
    EXPECT_EQ(g_history.UndoCount(), 1u) << why;
    EXPECT_EQ(g_view.scrollX, scrollX) << why;
  };

  const size_t asked = g_prompts.size();
  g_answer = kIdCancel;
  Pass({'O'});
  ASSERT_EQ(g_prompts.size(), asked + 1);
  EXPECT_EQ(g_prompts.back(), "提示|当前战役有未保存的修改。\n\n打开其他文件前是否保存？");
  keptAsItWas("取消 at the question");
  g_answer = kIdNo;
  const int requests = g_fileRequests;
  Pass({'O'});
  EXPECT_EQ(g_fileRequests, requests + 1);  // the open dialog, cancelled (the test's answer)
  keptAsItWas("a cancelled open dialog");

  PostDroppedFile(broken);
  Pass();
  EXPECT_NE(g_prompts.back().find("broken.btl"), std::string::npos) << g_prompts.back();
  keptAsItWas("a file that cannot be read");
  g_otherRange = MapRange{0, 0, 0, 0};  // the range window closed
  PostDroppedFile(other);
  Pass();
  keptAsItWas("a cancelled range");

  g_otherRange = MapRange{0, 0, -1, -1};
  PostDroppedFile(other);
  Pass();
  EXPECT_NE(SaveForTest(), edited);
  EXPECT_EQ(g_history.UndoCount(), 0u);
  EXPECT_FALSE(g_history.Unsaved(g_world));
  EXPECT_EQ(g_view.scrollX, 0);
  EXPECT_EQ(g_view.scrollY, 0);
  EXPECT_FALSE(g_view.hasSelection());
  EXPECT_TRUE(g_view.area.empty());
  EXPECT_EQ(g_view.area.width(), g_world.rangeWidth);
  // Without unsaved edits there is no question.
  const size_t before = g_prompts.size();
  g_answer = kIdNo;
  Pass({'O'});
  EXPECT_EQ(g_prompts.size(), before);
  SetAnotherFileRangeChooser(nullptr);
}
#endif

#ifndef _WIN32
// The recovery file through the loop: none before an edit, written half a second after a
// step (and only then), holding the way back to the file; gone after the edits are undone.
TEST_F(EditorLoopTest, TheRecoveryFileFollowsTheUnsavedEdits) {
  TempFolder folder("btl_recovery");
  const std::string scenario = folder.Write("a.btl", Text(DemoBattleBytes("demo_small")));
  EnableRecovery(folder.Utf8());
  const std::vector<uint8_t>& bytes = DemoBattleBytes("demo_small");
  const RecoveryKey key = KeyOfScenarioFile(scenario, bytes.data(), bytes.size());
  WatchScenario(key, CurrentRange());
  const std::string file = RecoveryFilePath(folder.Utf8(), scenario);
  auto settle = [&] {  // passes until the writer has done what the loop asked of it
    g_now += kRecoveryDelayMs;
    Pass();
    FinishRecovery();
  };
  settle();
  EXPECT_FALSE(FileExists(file));

  int a;
  const int b = PasteOneOwner(a);
  ASSERT_GE(b, 0);
  g_now += kRecoveryDelayMs - 1;
  Pass();
  FinishRecovery();
  EXPECT_FALSE(FileExists(file));  // not yet
  settle();
  ASSERT_TRUE(FileExists(file));
  RecoveryRead read = ReadRecoveryFile(file, key);
  ASSERT_EQ(read.state, RecoveryState::kMatches) << read.message;
  EXPECT_EQ(read.data.steps.size(), 1u);

  Pass({kKeyControl, 'Z'});
  settle();
  EXPECT_FALSE(FileExists(file));  // back to the file: nothing to keep
  EnableRecovery("");
}
#endif

}  // namespace
