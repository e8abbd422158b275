#include "btl/diff.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "base/files.h"
#include "tests/support/battle_fixture.h"
#include "tests/support/temp_folder.h"
#include "btl/command_line.h"
#include "btl/companion.h"

namespace {

// Two battle files beside a data folder with a 40 x 30 world map.
struct DiffFolder {
  TempFolder dir{"btl_test_diff"};
  std::string data = JoinPath(dir.Utf8(), "数据");
  std::string a = JoinPath(dir.Utf8(), "甲.btl"), b = JoinPath(dir.Utf8(), "乙.btl");
  std::string out, err;

  DiffFolder() {
    std::filesystem::create_directories(std::filesystem::u8path(data));
    WriteFileBytes(JoinPath(data, "world.bin"), WorldFileBytes(MakeWorld(40, 30)));
  }
  int Diff(const BattleFixture& first, const BattleFixture& second,
           std::vector<std::string> more = {}) {
    WriteFileBytes(a, first.bytes());
    WriteFileBytes(b, second.bytes());
    std::vector<std::string> args = {"diff", a, b, "--data", data};
    args.insert(args.end(), more.begin(), more.end());
    out.clear();
    err.clear();
    return RunCompanion(args, out, err);
  }
};

uint16_t Pos(int x, int y) { return uint16_t((4 + y) * 40 + 5 + x); }  // CleanScenario's hexes

// A pair differing in each kind of field: diff names the kind, the record by index or hex, the
// field by the user's word and both values, and exits 1.
TEST(Diff, NamesEachKindOfDifferenceInTheUsersWords) {
  struct Case {
    std::function<void(BattleFixture&)> change;
    std::vector<std::string> lines;
  } cases[] = {
      {[](BattleFixture& s) { s.header.keep36[0] = 1; },
       {"文件头（1 处不同）:", "  文件头字节 36-39 00005A00 → 01005A00"}},
      {[](BattleFixture& s) { s.header.keep44[10] = 0xFF; },
       {"文件头字节 44-115 从其第 10 字节起不同"}},
      {[](BattleFixture& s) { s.header.keep0[7] = 0; },
       {"文件头字节 0-7 B0B1B2B3B4B5B6B7 → B0B1B2B3B4B5B600"}},
      {[](BattleFixture& s) { s.teams[1].money = 7001; },
       {"军团（1 处不同）:", "  军团 1: 金钱 7000 → 7001"}},
      {[](BattleFixture& s) { s.teams[2].taxRate = 0.3f; }, {"军团 2: 税率 0.25 → 0.3"}},
      {[](BattleFixture& s) { s.teams[0].unitBonus = 1.5f; }, {"军团 0: 兵种加成 0 → 1.5"}},
      {[](BattleFixture& s) { s.teams[0].techLevels[5] = 9; }, {"军团 0: 空军科技 5 → 9"}},
      {[](BattleFixture& s) { s.teams[0].bombStocks[1] = 4; }, {"军团 0: 氢弹 0 → 4"}},
      {[](BattleFixture& s) { s.teams[1].fileColour[2] = 11; }, {"军团 1: 颜色 #0AC80A → #0AC80B"}},
      {[](BattleFixture& s) { s.teams[1].fileColour[3] = 3; }, {"军团 1: 颜色 alpha 字节 255 → 3"}},
      {[](BattleFixture& s) { s.teams[2].keep104[11] = 0; },
       {"军团 2: 军团字节 104-115 A0A1A2A3A4A5A6A7A8A9AAAB → A0A1A2A3A4A5A6A7A8A9AA00"}},
      {[](BattleFixture& s) { s.teams[0].country = 4, s.teams[0].steel = 5; },
       {"军团 0: 国家 3 → 4，钢铁 0 → 5"}},
      {[](BattleFixture& s) { s.teams.push_back(MakeTeam(1, 1, 1, 1)); },
       {"  军团数 3 → 4", "  军团 3: 只在第二个文件中（新增）"}},
      {[](BattleFixture& s) { s.owners[7] = 2; },
       {"归属（1 处不同）:", "  (全局 列 6，行 5): 军团 0 → 军团 2"}},
      {[](BattleFixture& s) { s.owners[4] = 1; }, {"(全局 列 9，行 4): 无 → 军团 1"}},
      {[](BattleFixture& s) { s.units[1].hp = 77; },
       {"部队（1 处不同）:", "  位置 208（全局 列 8，行 5）: 当前血量 80 → 77"}},
      {[](BattleFixture& s) {
         s.units[1].keep27 = 0;
         s.units[1].changeTurn = 9;
       },
       {"位置 208（全局 列 8，行 5）: 改变回合 0 → 9，部队字节 27 33 → 00"}},
      {[](BattleFixture& s) { s.units.push_back(MakeUnit(Pos(5, 0), 1, 1)); },
       {"部队数 4 → 5", "位置 170（全局 列 10，行 4）: 新增（第二个文件的第 4 条）"}},
      {[](BattleFixture& s) { s.units.erase(s.units.begin() + 2); },
       {"位置 290（全局 列 10，行 7）: 删除（第一个文件的第 2 条）"}},
      {[](BattleFixture& s) { std::swap(s.units[0], s.units[1]); },
       {"部队（1 处不同）:", "  记录的顺序不同（每格的内容相同）"}},
      // A second record on a hex: the later one is what a save keeps, the earlier one is dropped.
      {[](BattleFixture& s) { s.units.push_back(s.units[3]); },
       {"位置 327（全局 列 7，行 8）: 新增（第二个文件的第 3 条，保存时被同一格后面的记录取代）"}},
      {[](BattleFixture& s) { s.buildings[0].defence = 3; },
       {"建筑（1 处不同）:", "  位置 166（全局 列 6，行 4）: 防御 0 → 3"}},
      {[](BattleFixture& s) { s.buildings[2].keep14[0] = 1; },
       {"位置 325（全局 列 5，行 8）: 建筑字节 14-15 0044 → 0144"}},
      {[](BattleFixture& s) { s.generals[1].rank = 4; },
       {"将军（1 处不同）:", "  将军 1: 军衔 0 → 4"}},
      {[](BattleFixture& s) {
         s.generals.push_back({3, 3});
       },
       {"将军数 2 → 3", "将军 2: 只在第二个文件中（新增）"}},
      {[](BattleFixture& s) { s.tail[5] ^= 1; },
       {"附加数据（1 处不同）:", "  大小相同（37 字节），从第 5 字节起不同"}},
      {[](BattleFixture& s) { s.tail.resize(40); }, {"大小 37 → 40 字节，前 37 字节相同"}},
      {[](BattleFixture& s) {
         s.tail.resize(3);
         s.tail[1] ^= 1;
       },
       {"大小 37 → 3 字节，从第 1 字节起不同"}},
  };
  DiffFolder f;
  int n = 0;
  for (const Case& c : cases) {
    BattleFixture second = CleanScenario();
    c.change(second);
    EXPECT_EQ(f.Diff(CleanScenario(), second), kExitFindings) << n << f.err;
    for (const std::string& line : c.lines)
      EXPECT_NE(f.out.find(line), std::string::npos) << n << ": " << line << "\n" << f.out;
    ++n;
  }
}

// Two records on one hex: the kept ones (the last of each file) are compared, and the one a
// save drops is named as dropped, not as the kept one changed.
TEST(Diff, RecordsSharingAHexAreDescribedAsASaveKeepsAndDropsThem) {
  DiffFolder f;
  BattleFixture two = CleanScenario();
  const BuildingRecord kept = two.buildings[0];
  two.buildings.insert(two.buildings.begin(), MakeBuilding(kept.position, 9));
  EXPECT_EQ(f.Diff(two, CleanScenario()), kExitFindings) << f.err;
  EXPECT_NE(f.out.find("建筑（1 处不同）:"), std::string::npos) << f.out;
  EXPECT_NE(
      f.out.find(
          "位置 166（全局 列 6，行 4）: 删除（第一个文件的第 0 条，保存时被同一格后面的记录取代）"),
      std::string::npos)
      << f.out;
  EXPECT_EQ(f.out.find("→", f.out.find("建筑（")), std::string::npos)
      << "no kept record changed: " << f.out;
  // The kept record changed as well: one line for it, one for the dropped one.
  BattleFixture changed = CleanScenario();
  changed.buildings[0].defence = 3;
  EXPECT_EQ(f.Diff(two, changed), kExitFindings) << f.err;
  EXPECT_NE(f.out.find("建筑（2 处不同）:"), std::string::npos) << f.out;
  EXPECT_NE(f.out.find("位置 166（全局 列 6，行 4）: 防御 0 → 3"), std::string::npos) << f.out;
}

TEST(Diff, SameFilesAndFilesThatCannotBeRead) {
  DiffFolder f;
  EXPECT_EQ(f.Diff(CleanScenario(), CleanScenario()), kExitOk);
  EXPECT_NE(f.out.find("相同"), std::string::npos) << f.out;
  std::string out, err;
  EXPECT_EQ(RunCompanion({"diff", f.a, JoinPath(f.dir.Utf8(), "无.btl")}, out, err), kExitTrouble);
  EXPECT_NE(err.find("无.btl"), std::string::npos) << err;
  EXPECT_EQ(out, "");
  EXPECT_EQ(RunCompanion({"diff", f.a}, out, err), kExitTrouble);
}

// Files of different ranges compare by global hex: hexes only one range holds are "范围外" in
// the other. Each kind shows at most 20 lines unless --all.
TEST(Diff, DifferentRangesAndBoundedOutput) {
  DiffFolder f;
  BattleFixture wider = CleanScenario();
  wider.header.rangeWidth = 7;
  wider.owners.clear();
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 7; ++x)
      wider.owners.push_back(x < 6 ? CleanScenario().owners[size_t(y * 6 + x)] : 255);
  EXPECT_EQ(f.Diff(CleanScenario(), wider), kExitFindings);
  EXPECT_NE(f.out.find("范围宽度 6 → 7"), std::string::npos) << f.out;
  EXPECT_NE(f.out.find("归属（5 处不同）"), std::string::npos) << f.out;
  EXPECT_NE(f.out.find("(全局 列 11，行 8): 范围外 → 无"), std::string::npos) << f.out;
  EXPECT_EQ(f.out.find("部队"), std::string::npos) << f.out;  // the same records, by hex

  BattleFixture recoloured = CleanScenario();
  for (uint8_t& owner : recoloured.owners) owner = 1;  // 30 hexes, 10 of them owned by 1 already
  EXPECT_EQ(f.Diff(CleanScenario(), recoloured), kExitFindings);
  EXPECT_NE(f.out.find("归属（20 处不同）"), std::string::npos) << f.out;
  EXPECT_EQ(f.out.find("另有"), std::string::npos) << f.out;
  for (uint8_t& owner : recoloured.owners) owner = 2;  // 30 - 8 = 22 differences
  EXPECT_EQ(f.Diff(CleanScenario(), recoloured), kExitFindings);
  EXPECT_NE(f.out.find("归属（22 处不同）"), std::string::npos) << f.out;
  EXPECT_NE(f.out.find("  …… 另有 2 处，用 --all 显示全部"), std::string::npos) << f.out;
  size_t bounded = f.out.size();
  EXPECT_EQ(f.Diff(CleanScenario(), recoloured, {"--all"}), kExitFindings);
  EXPECT_EQ(f.out.find("另有"), std::string::npos) << f.out;
  EXPECT_GT(f.out.size(), bounded);
}

// Without the world's width hexes are named by position alone.
TEST(Diff, WithoutTheWorldHexesAreNamedByPosition) {
  BattleFixture changed = CleanScenario();
  changed.units[1].hp = 7;
  BattleImage a, b;
  ASSERT_TRUE(ParseBattleFile(CleanScenario().bytes(), "a", a).ok());
  ASSERT_TRUE(ParseBattleFile(changed.bytes(), "b", b).ok());
  std::string out;
  EXPECT_TRUE(DiffBattleFiles(a, b, DiffOptions{}, out));
  EXPECT_NE(out.find("  位置 208: 当前血量 80 → 7"), std::string::npos) << out;
  out.clear();
  EXPECT_FALSE(DiffBattleFiles(a, a, DiffOptions{}, out));
  EXPECT_EQ(out, "");
}

}  // namespace
