// The recovery file: written from a history, read back and matched against the scenario
// file, refused when it belongs to another state of the file or when it is cut short or
// damaged anywhere, and replayed onto a freshly loaded record to the edited bytes, with a
// history that undoes every step.
#include "scenario/recovery_file.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "scenario/battle_format.h"
#include "tests/support/battle_fixture.h"
#include "tests/support/temp_folder.h"

namespace {

void PasteOwner() {
  for (int x = 0; x < 3; ++x) g_world.grid[x][1].owner = 1;
}
void EditUnit() {
  Cell& c = g_world.grid[2][2];
  c.unit.unitClass = 3;
  c.unit.hp = 77;
  NormaliseCell(2, 2);
}
void RemoveFirstTeam() { RemoveTeam(0); }
void AppendGeneral() {
  g_world.generals[g_world.generalCount] = {7, 2};
  g_world.generalCount += 1;
}
void ChooseColour() { g_world.teams[0].colour = 0x123456; }

using Action = void (*)();
const Action kActions[] = {PasteOwner, EditUnit, RemoveFirstTeam, AppendGeneral, ChooseColour};

class RecoveryFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    file = DemoBattleBytes("demo_small");
    Load(file);
    path = folder.File("战役.btl");
    recovery = RecoveryFilePath(folder.Utf8(), path);
  }
  void Load(const std::vector<uint8_t>& bytes) {
    LoadForTest(bytes, DemoWorldImage());
    history.Start(g_world);
  }
  RecoveryKey Key(const std::vector<uint8_t>& bytes) const {
    return KeyOfScenarioFile(path, bytes.data(), bytes.size());
  }
  void Edit(Action a) {
    a();
    ASSERT_TRUE(history.Record(g_world));
  }
  void Write(const std::vector<uint8_t>& base) {
    ASSERT_TRUE(WriteRecoveryFile(recovery, Key(base), CurrentRange(), history).ok());
  }
  // Loads `base` afresh and rebuilds the edits from the recovery file.
  void Recover(const std::vector<uint8_t>& base, size_t steps) {
    Load(base);
    RecoveryRead read = ReadRecoveryFile(recovery, Key(base));
    ASSERT_EQ(read.state, RecoveryState::kMatches) << read.message;
    ASSERT_EQ(read.data.steps.size(), steps);
    ASSERT_TRUE(ReplayRecovery(std::move(read.data), g_world, history).ok());
  }

  TempFolder folder{"btl_recovery"};
  std::vector<uint8_t> file;
  std::string path, recovery;
  EditHistory history;
};

TEST_F(RecoveryFileTest, ReplayGivesTheEditedBytesAndAHistoryThatUndoesEachStep) {
  std::vector<std::vector<uint8_t>> states{RecordSnapshot()};
  for (Action a : kActions) {
    Edit(a);
    states.push_back(RecordSnapshot());
  }
  const std::vector<uint8_t> edited = SaveForTest();
  Write(file);
  EXPECT_EQ(int64_t(ReadFileBytes(recovery).size()), RecoveryFileBytes(path, history));

  Recover(file, std::size(kActions));
  EXPECT_EQ(RecordSnapshot(), states.back());
  EXPECT_TRUE(history.Unsaved(g_world));
  EXPECT_EQ(history.UndoCount(), std::size(kActions));
  for (size_t i = std::size(kActions); i > 0; --i) {
    ASSERT_TRUE(history.Undo(g_world));
    EXPECT_EQ(RecordSnapshot(), states[i - 1]) << "after undoing step " << i;
  }
  EXPECT_FALSE(history.Unsaved(g_world));
  while (history.Redo(g_world)) {}
  // Last: a save rewrites the teams' colour bytes, which the history would see as an edit.
  EXPECT_EQ(SaveForTest(), edited);
}

TEST_F(RecoveryFileTest, StepsRunFromTheLastSaveAlsoWhenUndoneBeyondIt) {
  Edit(PasteOwner);
  Edit(EditUnit);
  Edit(ChooseColour);
  const std::vector<uint8_t> saved = SaveForTest();  // the file on disk from now on
  history.MarkSaved(g_world);
  EXPECT_EQ(history.StepsSinceSaved(), 0);
  Edit(AppendGeneral);
  EXPECT_EQ(history.StepsSinceSaved(), 1);
  Write(saved);
  std::vector<uint8_t> edited = SaveForTest();
  Recover(saved, 1);
  EXPECT_EQ(SaveForTest(), edited);

  // Back past the save: two steps undone, each written backwards.
  Load(file);
  Edit(PasteOwner);
  Edit(EditUnit);
  Edit(ChooseColour);
  SaveForTest();
  history.MarkSaved(g_world);
  ASSERT_TRUE(history.Undo(g_world));
  ASSERT_TRUE(history.Undo(g_world));
  EXPECT_EQ(history.StepsSinceSaved(), 2);
  Write(saved);
  edited = SaveForTest();
  Recover(saved, 2);
  EXPECT_EQ(SaveForTest(), edited);
  EXPECT_TRUE(history.Undo(g_world));
  EXPECT_TRUE(history.Undo(g_world));
  EXPECT_EQ(SaveForTest(), saved);
}

TEST_F(RecoveryFileTest, NoWayBackToTheSaveIsRefusedNotWrittenWrong) {
  Edit(PasteOwner);
  history.MarkSaved(g_world);
  history.Undo(g_world);
  Edit(EditUnit);  // drops the step back to the save
  EXPECT_EQ(history.StepsSinceSaved(), -1);
  EXPECT_EQ(RecoveryFileBytes(path, history), -1);
  Status s = WriteRecoveryFile(recovery, Key(file), CurrentRange(), history);
  EXPECT_EQ(s.kind, FailureKind::kBadValue);
  EXPECT_FALSE(FileExists(recovery));

  Load(file);
  Edit(PasteOwner);
  Edit(EditUnit);
  Edit(ChooseColour);
  history.SetLimits(2, EditHistory::kDefaultMaxBytes);  // the first step goes
  EXPECT_EQ(history.StepsSinceSaved(), -1);
  EXPECT_FALSE(WriteRecoveryFile(recovery, Key(file), CurrentRange(), history).ok());
}

TEST_F(RecoveryFileTest, AnotherStateOfTheFileIsNotMatched) {
  Edit(PasteOwner);
  Write(file);
  std::vector<uint8_t> changed = file;
  changed[kHeaderBytes + 7] ^= 1;  // same size, other bytes
  std::vector<uint8_t> longer = file;
  longer.push_back(0);
  RecoveryKey otherPath = Key(file);
  otherPath.path += "x";
  for (const RecoveryKey& key : {Key(changed), Key(longer), otherPath}) {
    RecoveryRead read = ReadRecoveryFile(recovery, key);
    EXPECT_EQ(read.state, RecoveryState::kFileChanged);
    EXPECT_TRUE(read.data.steps.empty());
    EXPECT_NE(read.message.find(Quoted(key.path)), std::string::npos) << read.message;
  }
  EXPECT_EQ(ReadRecoveryFile(recovery, Key(file)).state, RecoveryState::kMatches);
  EXPECT_EQ(ReadRecoveryFile(recovery + "-none", Key(file)).state, RecoveryState::kNone);
}

TEST_F(RecoveryFileTest, CutShortDamagedOrForeignFilesAreRefused) {
  Edit(PasteOwner);
  Edit(EditUnit);
  Write(file);
  const std::vector<uint8_t> whole = ReadFileBytes(recovery);
  auto state = [&](const std::vector<uint8_t>& bytes) {
    WriteFileBytes(recovery, bytes);
    return ReadRecoveryFile(recovery, Key(file)).state;
  };
  // The places that matter most whole (header, body head, trailer), the rest sampled.
  auto sampled = [&](size_t at) { return at < 128 || at + 40 > whole.size() || at % 7 == 0; };
  // Lengths short of the whole file, as a write cut off anywhere leaves it.
  for (size_t n = 0; n < whole.size(); ++n) {
    if (!sampled(n)) continue;
    ASSERT_EQ(state(std::vector<uint8_t>(whole.begin(), whole.begin() + n)),
              RecoveryState::kUnreadable)
        << "cut at " << n;
  }
  // Any byte changed, as a torn write leaves one: the trailer no longer matches.
  for (size_t at = 0; at < whole.size(); ++at) {
    if (!sampled(at)) continue;
    std::vector<uint8_t> torn = whole;
    torn[at] ^= 0x20;
    ASSERT_EQ(state(torn), RecoveryState::kUnreadable) << "byte " << at;
  }
  std::vector<uint8_t> longer = whole;
  longer.push_back(0);
  EXPECT_EQ(state(longer), RecoveryState::kUnreadable);
  std::vector<uint8_t> text(whole.size(), 'a');
  EXPECT_EQ(state(text), RecoveryState::kUnreadable);
  WriteFileBytes(recovery, whole);
  EXPECT_EQ(ReadRecoveryFile(recovery, Key(file)).state, RecoveryState::kMatches);

  // Set aside: never read again, kept beside for a look.
  WriteFileBytes(recovery, text);
  RecoveryRead read = ReadRecoveryFile(recovery, Key(file));
  const std::string aside = SetAsideRecoveryFile(recovery);
  EXPECT_EQ(aside, recovery + ".old");
  EXPECT_FALSE(FileExists(recovery));
  EXPECT_EQ(ReadFileBytes(aside), text);
  EXPECT_NE(RecoverySetAsideText(read, aside).find(Quoted(aside)), std::string::npos);
  RemoveRecoveryFile(aside);
  EXPECT_FALSE(FileExists(aside));
}

TEST_F(RecoveryFileTest, ARecordOfAnotherRangeIsLeftAsItWas) {
  Edit(PasteOwner);
  Write(file);
  Load(file);
  RecoveryRead read = ReadRecoveryFile(recovery, Key(file));
  ASSERT_EQ(read.state, RecoveryState::kMatches);
  const std::vector<uint8_t> before = RecordSnapshot();
  RecoveryData otherRange = read.data;
  otherRange.range.width -= 1;
  EXPECT_EQ(ReplayRecovery(otherRange, g_world, history).kind, FailureKind::kBadValue);
  RecoveryData outside = read.data;
  outside.steps[0].hexes[0].x = g_world.rangeWidth;
  EXPECT_FALSE(ReplayRecovery(outside, g_world, history).ok());
  RecoveryData badSlot = read.data;
  badSlot.steps[0].teams.push_back({256, {}, {}});
  EXPECT_FALSE(ReplayRecovery(badSlot, g_world, history).ok());
  EXPECT_EQ(RecordSnapshot(), before);
  EXPECT_EQ(history.UndoCount(), 0u);
}

TEST(RecoveryFileName, OnePathOneNameInTheEditorsOwnFolder) {
  const std::string a = RecoveryFileName("C:\\游戏\\a.btl");
  EXPECT_EQ(a, RecoveryFileName("C:\\游戏\\a.btl"));
  EXPECT_NE(a, RecoveryFileName("C:\\游戏\\b.btl"));
  ASSERT_EQ(a.size(), 16u + 9u);
  EXPECT_EQ(a.substr(16), ".recovery");
  EXPECT_EQ(a.find_first_not_of("0123456789abcdef"), 16u);

  TempFolder home("btl_recovery_home");
#ifdef _WIN32
  const char* variable = "LOCALAPPDATA";
#else
  const char* variable = "XDG_STATE_HOME";
#endif
  const char* old = getenv(variable);
  const std::string kept = old ? old : "";
#ifdef _WIN32
  _putenv_s(variable, home.Utf8().c_str());
#else
  setenv(variable, home.Utf8().c_str(), 1);
#endif
  const std::string folder = RecoveryFolder();
  EXPECT_EQ(folder, home.File("btl_editor"));
  EXPECT_TRUE(std::filesystem::is_directory(PathFromUtf8(folder)));
#ifdef _WIN32
  _putenv_s(variable, kept.c_str());
#else
  if (old)
    setenv(variable, kept.c_str(), 1);
  else
    unsetenv(variable);
#endif
  EXPECT_EQ(RecoveryQuestion(3),
            "上次编辑此文件时编辑器意外退出，有 3 步修改未保存。\n\n是否恢复这些修改？");
}

}  // namespace
