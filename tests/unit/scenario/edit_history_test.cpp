#include "scenario/edit_history.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "scenario/battle_write.h"
#include "tests/support/battle_fixture.h"

namespace {

// Every byte undo must restore: the editable part of each hex of the range, all 256 team
// slots with the count, all general slots with the count.
std::vector<uint8_t> EditableBytes() {
  std::vector<uint8_t> out;
  auto put = [&](const void* p, size_t n) {
    const uint8_t* b = static_cast<const uint8_t*>(p);
    out.insert(out.end(), b, b + n);
  };
  const WorldRecord& w = g_world;
  for (int x = 0; x < w.rangeWidth; ++x)
    for (int y = 0; y < w.rangeHeight; ++y)
      put(reinterpret_cast<const uint8_t*>(&w.grid[x][y]) + kCellEditAt, kCellEditBytes);
  put(w.teams, sizeof w.teams);
  put(&w.teamCount, sizeof w.teamCount);
  put(w.generals, sizeof w.generals);
  put(&w.generalCount, sizeof w.generalCount);
  return out;
}

// One user action of each kind the editor records, applied to the demo's small scenario.
using Action = void (*)();

void PasteOwnerAcrossThreeHexes() {
  for (int x = 0; x < 3; ++x) g_world.grid[x][1].owner = 1;
}
void EditUnitAndNormalise() {
  Cell& c = g_world.grid[2][2];
  c.unit.unitClass = 3;
  c.unit.unitLevel = 2;
  c.unit.hp = 77;
  NormaliseCell(2, 2);
}
void RemoveFirstTeamAndRenumber() {
  RemoveTeam(0);
  for (int t = 0; t < g_world.teamCount; ++t) g_world.teams[t].teamNumber = t;
}
void AppendGeneralForUnit() {
  Cell& c = g_world.grid[2][2];
  int index = g_world.generalCount;
  g_world.generals[index] = {7, 2};
  g_world.generalCount = index + 1;
  c.unit.general = uint8_t(index);
}
void ChooseColour() { g_world.teams[0].colour = 0x123456; }
void ClearBuildingByNormalising() {
  for (int x = 0; x < g_world.rangeWidth; ++x)
    for (int y = 0; y < g_world.rangeHeight; ++y)
      if (g_world.grid[x][y].hasBuilding) {
        g_world.grid[x][y].building.buildingCode = 0;
        g_world.grid[x][y].building.facilityType = 0;
        g_world.grid[x][y].building.defence = 0;
        NormaliseCell(x, y);
        return;
      }
}

class EditHistoryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    LoadForTest(DemoBattleBytes("demo_small"), DemoWorldImage());
    history.Start(g_world);
  }
  EditHistory history;
};

TEST_F(EditHistoryTest, EveryKindOfStepUndoesAndRedoesToTheExactBytes) {
  const std::vector<uint8_t> unedited = SaveForTest();
  const Action actions[] = {
      PasteOwnerAcrossThreeHexes, EditUnitAndNormalise, RemoveFirstTeamAndRenumber,
      AppendGeneralForUnit,       ChooseColour,         ClearBuildingByNormalising};
  std::vector<std::vector<uint8_t>> states{EditableBytes()};
  for (Action a : actions) {
    a();
    ASSERT_TRUE(history.Record(g_world));
    states.push_back(EditableBytes());
    ASSERT_NE(states.back(), states[states.size() - 2]);
  }
  EXPECT_EQ(history.UndoCount(), std::size(actions));
  for (size_t i = std::size(actions); i > 0; --i) {
    ASSERT_TRUE(history.Undo(g_world));
    EXPECT_EQ(EditableBytes(), states[i - 1]) << "after undoing step " << i;
  }
  EXPECT_FALSE(history.Undo(g_world));
  EXPECT_EQ(SaveForTest(), unedited);
  EXPECT_FALSE(history.Unsaved(g_world));
  for (size_t i = 1; i <= std::size(actions); ++i) {
    ASSERT_TRUE(history.Redo(g_world));
    EXPECT_EQ(EditableBytes(), states[i]) << "after redoing step " << i;
  }
  EXPECT_FALSE(history.Redo(g_world));
  EXPECT_TRUE(history.Unsaved(g_world));
}

TEST_F(EditHistoryTest, StepsHoldOnlyWhatChangedAndFocusOnALoneHex) {
  PasteOwnerAcrossThreeHexes();
  history.Record(g_world);
  EXPECT_EQ(history.LastStep()->hexes.size(), 3u);
  EXPECT_TRUE(history.LastStep()->teams.empty());
  EditUnitAndNormalise();
  history.Record(g_world);
  ASSERT_EQ(history.LastStep()->hexes.size(), 1u);
  StepFocus focus;
  history.Undo(g_world, &focus);
  EXPECT_EQ(focus.x, 2);
  EXPECT_EQ(focus.y, 2);
  history.Undo(g_world, &focus);
  EXPECT_EQ(focus.x, -1);  // three hexes: nothing to show
  history.Redo(g_world, &focus);
  EXPECT_EQ(focus.x, -1);
  history.Redo(g_world, &focus);
  EXPECT_EQ(focus.x, 2);
}

TEST_F(EditHistoryTest, NothingChangedMakesNoStepAndANewEditDropsTheRedoSteps) {
  Cell& c = g_world.grid[1][1];
  uint8_t owner = c.owner;
  c.owner = owner;  // a paste of the same value
  NormaliseCell(1, 1);
  EXPECT_FALSE(history.Record(g_world));
  EXPECT_EQ(history.UndoCount(), 0u);
  EXPECT_FALSE(history.Unsaved(g_world));

  PasteOwnerAcrossThreeHexes();
  history.Record(g_world);
  EditUnitAndNormalise();
  history.Record(g_world);
  history.Undo(g_world);
  EXPECT_EQ(history.RedoCount(), 1u);
  ChooseColour();
  EXPECT_TRUE(history.Record(g_world));
  EXPECT_EQ(history.RedoCount(), 0u);
  EXPECT_EQ(history.UndoCount(), 2u);
  EXPECT_FALSE(history.Redo(g_world));
  // Unrecorded edits are a step of their own before an undo.
  g_world.grid[0][0].owner ^= 1;
  EXPECT_TRUE(history.Undo(g_world));
  EXPECT_EQ(history.UndoCount(), 2u);
  EXPECT_EQ(history.RedoCount(), 1u);
}

TEST_F(EditHistoryTest, UnsavedFollowsTheBytesASaveWouldWrite) {
  // An edit and a second edit that puts the value back: nothing to save.
  uint8_t owner = g_world.grid[0][0].owner;
  g_world.grid[0][0].owner = uint8_t(owner + 1);
  history.Record(g_world);
  EXPECT_TRUE(history.Unsaved(g_world));
  g_world.grid[0][0].owner = owner;
  history.Record(g_world);
  EXPECT_FALSE(history.Unsaved(g_world));

  // A unit's bytes while the hex has no unit are not saved, and neither are teams past the
  // count; a normalisation that stamps a position is.
  Cell* empty = nullptr;
  for (int x = 0; x < g_world.rangeWidth && !empty; ++x)
    for (int y = 0; y < g_world.rangeHeight && !empty; ++y)
      if (!g_world.grid[x][y].hasUnit) empty = &g_world.grid[x][y];
  ASSERT_NE(empty, nullptr);
  empty->unit.hp = 9;
  g_world.teams[g_world.teamCount].money = 5;
  EXPECT_FALSE(history.Unsaved(g_world));

  // Saving (which rewrites the colour bytes with alpha 255) makes the record the saved one;
  // undoing past the save is unsaved again, redoing back to it is not.
  ChooseColour();
  history.Record(g_world);
  std::vector<uint8_t> bytes;
  ASSERT_TRUE(BuildBattleBytes(bytes).ok());
  history.MarkSaved(g_world);
  EXPECT_FALSE(history.Unsaved(g_world));
  EXPECT_FALSE(history.Record(g_world));  // what the save touched is no edit
  history.Undo(g_world);
  EXPECT_TRUE(history.Unsaved(g_world));
  history.Redo(g_world);
  EXPECT_FALSE(history.Unsaved(g_world));
}

TEST_F(EditHistoryTest, OldestStepsGoFirstWhenALimitIsPassed) {
  g_world.grid[0][0].owner = g_world.grid[1][0].owner = 200;
  history.Start(g_world);
  for (int i = 0; i < 1005; ++i) {
    g_world.grid[0][0].owner = uint8_t(i);
    g_world.grid[1][0].owner = uint8_t(i / 256);
    ASSERT_TRUE(history.Record(g_world));
  }
  EXPECT_EQ(history.UndoCount(), EditHistory::kDefaultMaxSteps);
  while (history.Undo(g_world)) {}
  EXPECT_EQ(g_world.grid[0][0].owner, 4);  // back to the state after step 5, the oldest kept

  history.Start(g_world);
  size_t oneStep = 0;
  for (int i = 0; i < 10; ++i) {
    g_world.grid[0][0].owner ^= 0x80;
    history.Record(g_world);
    oneStep = history.LastStep()->Bytes();
  }
  history.SetLimits(1000, 3 * oneStep);
  EXPECT_EQ(history.UndoCount(), 3u);
  EXPECT_LE(history.Bytes(), 3 * oneStep);
}

// The largest step a team removal can make: every hex of a 500 x 500 range owned, the first
// team removed, so every hex changes (cleared or renumbered). Only those hexes are stored.
TEST(EditHistoryLarge, TeamRemovalOnTheWholeGridStoresTheChangedHexesOnly) {
  memset(&g_world, 0, sizeof g_world);
  g_world.worldWidth = g_world.worldHeight = kMaxGrid;
  g_world.rangeWidth = g_world.rangeHeight = kMaxGrid;
  g_world.teamCount = 3;
  for (int x = 0; x < kMaxGrid; ++x)
    for (int y = 0; y < kMaxGrid; ++y) {
      g_world.grid[x][y].owner = uint8_t((x + y) % 3);
      ClearUnit(g_world.grid[x][y].unit);
    }
  g_world.grid[10][10].owner = kUnownedTeam;
  EditHistory history;
  history.Start(g_world);
  RemoveTeam(0);
  ASSERT_TRUE(history.Record(g_world));
  const EditStep& step = *history.LastStep();
  EXPECT_EQ(step.hexes.size(), size_t(kMaxGrid) * kMaxGrid - 1);
  EXPECT_LT(step.Bytes(), size_t(kMaxGrid) * kMaxGrid * sizeof(HexChange) + 64 * 1024);
  history.Undo(g_world);
  EXPECT_EQ(g_world.grid[3][4].owner, 1);
  EXPECT_EQ(g_world.grid[10][10].owner, kUnownedTeam);
  EXPECT_EQ(g_world.teamCount, 3);
}

}  // namespace
