#include "btl/merge.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "tests/support/battle_fixture.h"
#include "tests/support/temp_folder.h"
#include "btl/names.h"

namespace {

// The lines below are those of a data folder without catalogs: no names beside the numbers.
void WithoutGameNames() {
  TempFolder empty("btl_test_merge");
  LoadGameTables(empty.Utf8());
}

BattleImage Image(const std::vector<uint8_t>& bytes, const char* name) {
  BattleImage image;
  Status s = ParseBattleFile(bytes, name, image);
  EXPECT_TRUE(s.ok()) << s.message;
  return image;
}

MergeResult Merge(const BattleFixture& base, const BattleFixture& ours, const BattleFixture& theirs,
                  MergeSide prefer = MergeSide::kOurs) {
  MergeOptions options;
  options.prefer = prefer;
  options.worldWidth = 40;
  MergeResult result;
  Status s = MergeBattleFiles(Image(base.bytes(), "base"), Image(ours.bytes(), "ours"),
                              Image(theirs.bytes(), "theirs"), options, result);
  EXPECT_TRUE(s.ok()) << s.message;
  return result;
}

uint16_t Pos(int x, int y) { return uint16_t((4 + y) * 40 + 5 + x); }

// Adds a record where a save puts it: in position order.
template <class Record>
void Insert(std::vector<Record>& records, const Record& r) {
  auto at = std::find_if(records.begin(), records.end(),
                         [&](const Record& o) { return o.position > r.position; });
  records.insert(at, r);
}

// One kind of field, and two different edits of it (variant 1 and 2), with the words a
// conflict on it is listed in.
struct Edit {
  const char* kind;
  std::function<void(BattleFixture&, int)> apply;
  const char* words;
};

const Edit kEdits[] = {
    {"header byte", [](BattleFixture& f, int v) { f.header.keep44[5] = uint8_t(100 + v); },
     "文件头: 文件头字节 44-115"},
    {"team number field", [](BattleFixture& f, int v) { f.teams[1].money = 1000 * v; },
     "军团 1: 金钱（共同的版本 7000，我方 1000，对方 2000）"},
    {"team float", [](BattleFixture& f, int v) { f.teams[0].taxRate = 0.125f * float(v + 2); },
     "军团 0: 税率"},
    {"team colour", [](BattleFixture& f, int v) { f.teams[2].fileColour[1] = uint8_t(v); },
     "军团 2: 颜色"},
    {"team tech level", [](BattleFixture& f, int v) { f.teams[0].techLevels[3] = v; },
     "军团 0: 碉堡科技"},
    {"team added",
     [](BattleFixture& f, int v) {
       f.teams.push_back(MakeTeam(20, 1, 2, 3));
       f.teams.back().camp = v;
     },
     "军团 3: 阵营（共同的版本 无，我方 1，对方 2）"},
    {"owner", [](BattleFixture& f, int v) { f.owners[7] = v == 1 ? 1 : 255; },
     "归属 (列 6，行 5): 共同的版本 军团 0，我方 军团 1，对方 无"},
    {"building field", [](BattleFixture& f, int v) { f.buildings[1].defence = uint8_t(10 + v); },
     "建筑 位置 249（列 9，行 6）: 防御"},
    {"building added",
     [](BattleFixture& f, int v) { Insert(f.buildings, MakeBuilding(Pos(2, 2), uint16_t(v))); },
     "建筑 位置 247（列 7，行 6）: 建筑等级"},
    {"unit field", [](BattleFixture& f, int v) { f.units[1].hp = uint16_t(100 + v); },
     "部队 位置 208（列 8，行 5）: 当前血量（共同的版本 "},
    {"unit removed and changed",
     [](BattleFixture& f, int v) {
       if (v == 1)
         f.units.erase(f.units.begin() + 2);
       else
         f.units[2].morale = 9;
     },
     "部队 位置 290（列 10，行 7）: 我方删除了，对方修改了"},
    {"general", [](BattleFixture& f, int v) { f.generals[0].rank = uint16_t(5 + v); },
     "将军 0: 军衔"},
    {"tail", [](BattleFixture& f, int v) { f.tail[3] = uint8_t(v); }, "附加数据: 两边都改了"},
};

// Changes elsewhere on each side, so that no side is the base and every field is merged.
void OtherOnOurs(BattleFixture& f) { f.header.keep0[3] = 0x11; }
void OtherOnTheirs(BattleFixture& f) { f.teams[2].oil = 4321; }

// Every kind of field through the four cases: changed on one side (either), the same change
// on both, different changes on both. The merged bytes are the model's, built by applying
// the edits the merge should take to one fixture: files in the saved form merge to it.
TEST(Merge, EveryKindOfFieldOneSideBothSidesAndConflicts) {
  WithoutGameNames();
  const BattleFixture base = CleanScenario();
  for (const Edit& e : kEdits) {
    SCOPED_TRACE(e.kind);
    BattleFixture ours = base, theirs = base, model = base;
    OtherOnOurs(ours), OtherOnTheirs(theirs), OtherOnOurs(model), OtherOnTheirs(model);

    BattleFixture edited = ours;
    e.apply(edited, 1);
    BattleFixture editedModel = model;
    e.apply(editedModel, 1);
    MergeResult r = Merge(base, edited, theirs);  // ours only
    EXPECT_EQ(r.bytes, editedModel.bytes());
    EXPECT_TRUE(r.conflicts.empty());

    BattleFixture theirsEdited = theirs;
    e.apply(theirsEdited, 1);
    r = Merge(base, ours, theirsEdited);  // theirs only
    EXPECT_EQ(r.bytes, editedModel.bytes());
    EXPECT_TRUE(r.conflicts.empty());

    r = Merge(base, edited, theirsEdited);  // the same on both
    EXPECT_EQ(r.bytes, editedModel.bytes());
    EXPECT_TRUE(r.conflicts.empty());

    BattleFixture theirsOther = theirs;
    e.apply(theirsOther, 2);
    r = Merge(base, edited, theirsOther);  // a conflict: ours kept
    EXPECT_EQ(r.bytes, editedModel.bytes());
    ASSERT_EQ(r.conflicts.size(), 1u);
    EXPECT_NE(r.conflicts[0].find(e.words), std::string::npos) << r.conflicts[0];

    BattleFixture theirsModel = model;
    e.apply(theirsModel, 2);
    r = Merge(base, edited, theirsOther, MergeSide::kTheirs);  // the same, theirs preferred
    EXPECT_EQ(r.bytes, theirsModel.bytes());
    EXPECT_EQ(r.conflicts.size(), 1u);
  }
}

// A file with itself, and a side that is the base, give bytes back as they are, whatever the
// file holds (here records out of order, duplicates on a hex and outside the range).
TEST(Merge, IdentitiesKeepTheBytesOfAnyFile) {
  const std::vector<uint8_t>& messy = DemoBattleBytes("demo_messy");
  const std::vector<uint8_t> clean = CleanScenario().bytes();
  MergeResult r;
  MergeOptions options;
  ASSERT_TRUE(
      MergeBattleFiles(Image(messy, "a"), Image(messy, "b"), Image(messy, "c"), options, r).ok());
  EXPECT_EQ(r.bytes, messy);
  ASSERT_TRUE(
      MergeBattleFiles(Image(clean, "a"), Image(messy, "b"), Image(clean, "c"), options, r).ok());
  EXPECT_EQ(r.bytes, messy);
  ASSERT_TRUE(
      MergeBattleFiles(Image(clean, "a"), Image(clean, "b"), Image(messy, "c"), options, r).ok());
  EXPECT_EQ(r.bytes, messy);
  EXPECT_TRUE(r.conflicts.empty());
}

// Records out of order and two on one hex: the last on each hex (the one a save keeps) is
// merged, and the result is in the saved form. Different ranges cannot be combined.
TEST(Merge, UnsortedAndDuplicateRecordsMergeToTheSavedFormAndRangesMustAgree) {
  const BattleFixture base = CleanScenario();
  BattleFixture ours = base, theirs = base;
  std::reverse(ours.units.begin(), ours.units.end());
  UnitRecord dropped = base.units[0];
  dropped.hp = 77;
  ours.units.insert(ours.units.begin(), dropped);  // an earlier record on unit 0's hex
  theirs.buildings[0].industry = 4;
  BattleFixture model = base;
  model.buildings[0].industry = 4;
  MergeResult r = Merge(base, ours, theirs);
  EXPECT_EQ(r.bytes, model.bytes());
  EXPECT_TRUE(r.conflicts.empty());

  BattleFixture moved = base;
  moved.header.originX = 6;
  MergeResult refused;
  Status s = MergeBattleFiles(Image(base.bytes(), "a"), Image(moved.bytes(), "b"),
                              Image(theirs.bytes(), "c"), MergeOptions{}, refused);
  EXPECT_FALSE(s.ok());
  EXPECT_NE(s.message.find("地图范围"), std::string::npos);
  EXPECT_TRUE(refused.bytes.empty());
}

}  // namespace
