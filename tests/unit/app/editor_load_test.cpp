// Opening a scenario as start-up does: which side a failed load lies on and how it is
// reported, and what the range selection is told before the user confirms a range.
#include "app/editor.h"
#include "drawing/window.h"
#include "scenario/save_loss.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <string>
#include <vector>

#include "platform/keys.h"
#include "app/range_frame.h"
#include "app/range_select.h"
#include "base/text.h"
#include "platform/prompts.h"
#include "base/files.h"
#include "tests/support/battle_fixture.h"
#include "tests/support/temp_folder.h"

namespace {

std::string Text(const std::vector<uint8_t>& bytes) {
  return std::string(bytes.begin(), bytes.end());
}

// A folder with a data folder holding `world` (unless null) and a battle file "a.btl".
struct Scene {
  TempFolder folder{"btl_load"};
  std::string battle;

  Scene(const std::vector<uint8_t>* world, const std::vector<uint8_t>& battleBytes) {
    if (world) folder.Write(DataPath("world.bin"), Text(*world));
    battle = folder.Write("a.btl", Text(battleBytes));
  }
};

int g_chooserCalls = 0;
MapRange g_offered;
std::string g_notice;

MapRange KeepOffered(const MapRange& offered, const WorldImage&, const std::string& notice) {
  ++g_chooserCalls;
  g_offered = offered;
  g_notice = notice;
  return offered;
}

// The clean scenario moved down to rows 27..31 of a 30-row world, its records with it.
BattleFixture Below() {
  BattleFixture s = CleanScenario();
  s.header.originY = 27;
  for (auto& b : s.buildings) b.position += 23 * 40;
  for (auto& u : s.units) u.position += 23 * 40;
  return s;
}

LoadResult LoadIn(const Scene& scene) {
  CurrentFolder here(scene.folder.path());
  g_chooserCalls = 0;
  g_notice.clear();
  return LoadScenario(scene.battle, KeepOffered);
}

TEST(EditorLoad, FailuresTellTheBattleFileFromTheGameData) {
  const std::vector<uint8_t> world = WorldFileBytes(MakeWorld(40, 30));
  const std::vector<uint8_t> shortWorld(world.begin(), world.begin() + 100);
  const std::vector<uint8_t> battle = CleanScenario().bytes();
  const std::vector<uint8_t> shortBattle(battle.begin(), battle.begin() + 200);
  struct Case {
    const char* what;
    const std::vector<uint8_t>* world;
    const std::vector<uint8_t>* battle;
    bool battleMissing;
    LoadFailure expected;
    FailureKind kind;
    const char* named;  // the file the message must name, the battle file when null
  } cases[] = {
      {"no world map", nullptr, &battle, false, LoadFailure::kGameData, FailureKind::kCannotOpen,
       "world.bin"},
      {"short world map", &shortWorld, &battle, false, LoadFailure::kGameData,
       FailureKind::kTruncated, "world.bin"},
      // Both broken: the data folder is what the user must hear about.
      {"short world map, short battle file", &shortWorld, &shortBattle, false,
       LoadFailure::kGameData, FailureKind::kTruncated, "world.bin"},
      {"missing battle file", &world, &battle, true, LoadFailure::kBattleFile,
       FailureKind::kCannotOpen, nullptr},
      {"short battle file", &world, &shortBattle, false, LoadFailure::kBattleFile,
       FailureKind::kTruncated, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Scene scene(c.world, *c.battle);
    if (c.battleMissing) scene.battle = scene.folder.File("missing.btl");
    LoadResult r = LoadIn(scene);
    EXPECT_EQ(r.kind, c.kind) << r.message;
    EXPECT_EQ(r.failure, c.expected);
    EXPECT_NE(r.message.find(c.named ? c.named : scene.battle), std::string::npos) << r.message;
    EXPECT_EQ(g_chooserCalls, 0);

    LoadFailureReport report = ReportLoadFailure(r);
    EXPECT_EQ(report.text.find(r.message), 0u) << report.text;
    if (c.expected == LoadFailure::kGameData) {
      EXPECT_EQ(report.caption, "游戏数据不完整");
      EXPECT_FALSE(report.chooseAnotherFile);
      EXPECT_EQ(report.text.find("请选择另一个战役文件"), std::string::npos);
    } else {
      EXPECT_EQ(report.caption, "无法打开战役文件");
      EXPECT_TRUE(report.chooseAnotherFile);
      EXPECT_NE(report.text.find("请选择另一个战役文件"), std::string::npos);
    }
  }
}

TEST(EditorLoad, GoodFilesLoadAndTheChooserHearsOfARangeCutToTheWorld) {
  const std::vector<uint8_t> world = WorldFileBytes(MakeWorld(40, 30));
  {
    Scene scene(&world, CleanScenario().bytes());
    LoadResult r = LoadIn(scene);
    ASSERT_TRUE(r.ok()) << r.message;
    EXPECT_EQ(r.failure, LoadFailure::kNone);
    EXPECT_EQ(g_chooserCalls, 1);
    EXPECT_EQ(g_notice, "");  // the file's own range is offered
  }
  Scene scene(&world, Below().bytes());
  LoadResult r = LoadIn(scene);
  ASSERT_TRUE(r.ok()) << r.message;
  EXPECT_EQ(g_offered.originY, 27);
  EXPECT_EQ(g_offered.height, 3);
  // File rows 3 and 4: 12 owner bytes, the building at (0, 4), the units at (5, 3) and (2, 4).
  EXPECT_EQ(g_notice, RangeOfferNotice({5, 27, 6, 5}, {5, 27, 6, 3}, 40, 30, {12, 1, 2}));
  EXPECT_NE(g_notice.find("12 个格子的归属、1 个建筑和 2 个部队"), std::string::npos) << g_notice;
}

// The instruction box of the real range selection, answered by the test.
std::vector<std::string> g_boxes;
int Answer(void*, const std::string& text, const std::string& caption, unsigned) {
  g_boxes.push_back(caption + "|" + text);
  return kIdOk;
}
// X is pressed once the range window is in front: up at the first look, down after it (a key
// already held when the window came to the front would not count).
int g_xReads = 0;
bool OnlyXDown(int key) { return key == kKeyX && ++g_xReads > 1; }
bool AlwaysInFront() { return true; }
void PressXInFront() {
  g_xReads = 0;
  SetForegroundSource(AlwaysInFront);
  SetKeySource(OnlyXDown);
}
void ReleaseKeys() {
  SetKeySource(nullptr);
  SetForegroundSource(nullptr);
}

TEST(EditorLoad, RangeSelectionShowsTheNoticeAfterItsInstructionsOnlyWhenTheRangesDiffer) {
  const std::vector<uint8_t> world = WorldFileBytes(MakeWorld(40, 30));
  const std::string instructions = "操作提示|请用鼠标左右键指定地图范围。\n确定地图范围后,请按X。";
  SetPromptHandler(Answer);
  for (bool cut : {false, true}) {
    SCOPED_TRACE(cut);
    PressXInFront();
    Scene scene(&world, (cut ? Below() : CleanScenario()).bytes());
    g_boxes.clear();
    LoadResult r;
    {
      CurrentFolder here(scene.folder.path());
      r = LoadScenario(scene.battle, select_map_range);
    }
    ASSERT_TRUE(r.ok()) << r.message;
    ASSERT_EQ(g_boxes.size(), 1u);
    if (!cut) {
      EXPECT_EQ(g_boxes[0], instructions);
      continue;
    }
    EXPECT_EQ(g_world.rangeHeight, 3);
    EXPECT_EQ(g_boxes[0], instructions + "\n\n" +
                              RangeOfferNotice({5, 27, 6, 5}, {5, 27, 6, 3}, 40, 30, {12, 1, 2}));
  }
  ReleaseKeys();
  SetPromptHandler(nullptr);
}

TEST(EditorLoad, RangeViewOfAHugeHexSideStaysWithinTheLargestWindow) {
  // 100 pixels a hex would make a 6,200-pixel-wide view of this 60-column world.
  const std::vector<uint8_t> world = WorldFileBytes(MakeWorld(60, 1));
  BattleFixture scenario;
  scenario.header.rangeWidth = 2;
  scenario.header.rangeHeight = 1;
  scenario.owners = {255, 255};
  Scene scene(&world, scenario.bytes());
  scene.folder.Write(DataPath("配置.ini"), GbkFromUtf8("[配置]\r\n格子边长=100\r\n"));
  SetPromptHandler(Answer);
  PressXInFront();
  LoadResult r;
  {
    CurrentFolder here(scene.folder.path());
    r = LoadScenario(scene.battle, select_map_range);
  }
  ReleaseKeys();
  SetPromptHandler(nullptr);
  ASSERT_TRUE(r.ok()) << r.message;
  // At most the largest window side, and at most what the screen's work area holds (natively
  // any window).
  const PixelSize work = LargestClientArea(0);
  const int32_t cellPx = std::min({4096 / 62, work.width / 62, work.height / 3});
  ASSERT_GT(cellPx, 1);
  EXPECT_EQ(rangeSurface.width, cellPx * 62);
  EXPECT_EQ(rangeSurface.height, cellPx * 3);
#ifndef _WIN32
  // Natively the window is the back buffer; the Windows build of these tests runs without a
  // display, where no window opens.
  EXPECT_EQ(BackBuffer()->width, rangeSurface.width);  // the window was opened at that size
#endif
}

// After a load the editor warns once when a save would drop or change what the user did not
// touch: demo_messy's dropped records and alpha bytes, in the words of btl check; a clean
// demo file gets no warning.
TEST(EditorLoad, ASaveThatWouldDropRecordsIsAnnouncedAfterTheLoad) {
  const std::vector<uint8_t> world = WorldFileBytes(DemoWorldImage());
  Scene messy(&world, DemoBattleBytes("demo_messy"));
  LoadResult r = LoadIn(messy);
  ASSERT_TRUE(r.ok()) << r.message;
  EXPECT_NE(r.saveLossWarning.find(kTitleRecordsOutsideRange), std::string::npos)
      << r.saveLossWarning;
  EXPECT_NE(r.saveLossWarning.find(kTitleAlphaSetOnSave), std::string::npos) << r.saveLossWarning;
  EXPECT_NE(r.saveLossWarning.find("btl check"), std::string::npos);
  EXPECT_NE(r.saveLossWarning.find("a.btl"), std::string::npos);
  Scene clean(&world, DemoBattleBytes("demo_small"));
  r = LoadIn(clean);
  ASSERT_TRUE(r.ok()) << r.message;
  EXPECT_EQ(r.saveLossWarning, "");
}

}  // namespace
