#include "scenario/step_words.h"

#include <gtest/gtest.h>

#include <cstring>

#include "view/notice.h"

namespace {

HexChange Hex(int32_t x, int32_t y) {
  HexChange h{x, y, {}, {}};
  std::memset(h.before.b, 0, sizeof h.before.b);
  std::memset(h.after.b, 0, sizeof h.after.b);
  return h;
}
uint8_t* At(CellBytes& b, size_t cellOffset) { return b.b + (cellOffset - kCellEditAt); }

// Each kind of step in the companion's words, hexes by global column and row.
TEST(StepWords, EachKindOfStepInTheCompanionsWords) {
  EditStep owner;
  owner.hexes.push_back(Hex(5, 2));
  *At(owner.hexes[0].after, offsetof(Cell, owner)) = 3;
  EXPECT_EQ(DescribeStep(owner, 10, 5), "位置 (15, 7) 的归属");

  EditStep building;
  building.hexes.push_back(Hex(5, 2));
  *At(building.hexes[0].before, offsetof(Cell, hasBuilding)) = 1;
  EXPECT_EQ(DescribeStep(building, 10, 5), "位置 (15, 7) 的建筑");

  EditStep both = building;
  *At(both.hexes[0].after, offsetof(Cell, unit) + offsetof(UnitRecord, unitLevel)) = 4;
  EXPECT_EQ(DescribeStep(both, 10, 5), "位置 (15, 7) 的部队和建筑");

  EditStep owners;
  for (int i = 0; i < 30; ++i) {
    owners.hexes.push_back(Hex(i, 0));
    *At(owners.hexes.back().after, offsetof(Cell, owner)) = 1;
  }
  *At(owners.hexes[0].after, offsetof(Cell, hasUnit)) = 1;
  EXPECT_EQ(DescribeStep(owners, 0, 0), "30 格的归属，1 格的部队");

  EditStep money;
  money.teamCountBefore = money.teamCountAfter = 4;
  TeamChange t{2, {}, {}};
  t.before.money = 17000;
  t.after = t.before;
  t.after.money = 99999;
  money.teams.push_back(t);
  EXPECT_EQ(DescribeStep(money, 0, 0), "军团 2 金钱 17000 → 99999");
  money.teams[0].after.steel = 5;
  money.teams[0].after.oil = 6;
  EXPECT_EQ(DescribeStep(money, 0, 0), "军团 2 金钱 17000 → 99999，钢铁 0 → 5，等 3 项");

  EditStep added;
  added.teamCountBefore = 3, added.teamCountAfter = 4;
  for (int slot = 0; slot < 5; ++slot) added.teams.push_back(TeamChange{slot, {}, {}});
  added.teams[0].after.money = 1;
  EXPECT_EQ(DescribeStep(added, 0, 0), "军团数 3 → 4，5 个军团");

  EditStep general;
  general.generalCountBefore = 1, general.generalCountAfter = 2;
  general.generals.push_back(GeneralChange{1, {0, 0}, {7, 2}});
  const std::string words = DescribeStep(general, 0, 0);
  EXPECT_EQ(words.rfind("将军数 1 → 2，将军 1 ", 0), 0u) << words;

  // A notice's line stays short whatever the step; the cut keeps whole characters.
  EditStep many;
  for (int slot = 0; slot < 3; ++slot) {
    TeamChange c{slot, {}, {}};
    for (int i = 0; i < 12; ++i) c.after.techLevels[i] = 100000 + i;
    many.teams.push_back(c);
  }
  const std::string cut = DescribeStep(many, 0, 0);
  EXPECT_LE(cut.size(), 160u);
  EXPECT_EQ(cut.substr(cut.size() - 6), "……");
  EXPECT_EQ(UndoneNotice(DescribeStep(money, 0, 0)).rfind("已撤销：军团 2 金钱", 0), 0u);
}

TEST(StepWords, NoticesLastTwoSecondsAndTheKeysOffNoticeStands) {
  ActionNotice n;
  EXPECT_EQ(NoticeText(n, false, 0), "");
  EXPECT_EQ(NoticeText(n, true, 0), kKeysOffNotice);
  ShowNotice(n, SavedNotice("a.btl", 1234), 1000);
  EXPECT_EQ(NoticeText(n, true, 1000 + kNoticeMs - 1), "已保存 a.btl（1234 字节）");
  EXPECT_EQ(NoticeText(n, false, 1000 + kNoticeMs), "");
  EXPECT_EQ(NoticeText(n, true, 1000 + kNoticeMs), kKeysOffNotice);  // back to the standing one
  ShowNotice(n, PastedNotice(30), 0);
  EndNotice(n);  // the next action
  EXPECT_EQ(NoticeText(n, false, 1), "");
  EXPECT_EQ(DeletedNotice(7), "已删除 7 格的部队和建筑");
  EXPECT_EQ(PastedNotice(30), "已粘贴到 30 格");
  EXPECT_EQ(RedoneNotice("30 格的归属"), "已重做：30 格的归属");
}

}  // namespace
