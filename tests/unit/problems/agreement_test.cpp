// The editor's problem report and the companion's check come from one checker: on the same
// file they list the same kinds with the same counts.
#include "problems/problems.h"

#include <gtest/gtest.h>
#include <json/json.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "base/files.h"
#include "base/text.h"
#include "catalogs/catalogs.h"
#include "catalogs/string_table.h"
#include "btl/command_line.h"
#include "btl/companion.h"
#include "btl/names.h"
#include "tests/support/battle_fixture.h"
#include "tests/support/temp_folder.h"
#include "tools/demo_data/demo_data.h"

namespace {

uint16_t RangePos(int x, int y) { return uint16_t((4 + y) * 40 + 5 + x); }  // CleanScenario's hexes

Json::Value Parse(const std::string& text) {
  Json::CharReaderBuilder builder;
  std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
  Json::Value value;
  std::string errors;
  EXPECT_TRUE(reader->parse(text.data(), text.data() + text.size(), &value, &errors)) << errors;
  return value;
}

// The counts `btl check --json` gives for `battle`, kind by kind, and whether it looked for
// the scenario's kinds (it does not when the file's own range cannot be placed).
std::vector<int64_t> CompanionCounts(const std::string& data, const std::string& battle,
                                     bool& scenarioChecked) {
  std::string out, err;
  const int status = RunCompanion({"--data", data, "check", "--json", battle}, out, err);
  EXPECT_NE(status, kExitTrouble) << err;
  const Json::Value doc = Parse(out);
  scenarioChecked = doc["problemReportChecked"].asBool();
  std::vector<int64_t> counts(kProblemKinds);
  for (int k = 0; k < kProblemKinds; ++k)
    counts[size_t(k)] = doc["kinds"][ProblemKindKey(ProblemKind(k))]["count"].asInt64();
  return counts;
}

// The editor's list for `battle` opened with the range the editor offers first (its own
// when the world holds it), as P shows it; its rows are
// checked on the way: the file's kinds first in the order of the kinds, then the finder's,
// and a hex-bound row names its hex.
std::vector<int64_t> EditorCounts(const std::string& data, const std::string& battle) {
  BattleImage image;
  WorldImage world;
  EXPECT_TRUE(ReadBattleFile(battle, image).ok());
  EXPECT_TRUE(ReadWorldMapFile(JoinPath(data, "world.bin"), world).ok());
  EXPECT_TRUE(CommitScenario(image, world, InitialRange(image.fileRange(), world)).ok());
  LoadGameTables(data);
  const std::vector<ScenarioProblem> list = FindProblems(image);
  ResetCatalogs();
  ResetStringTable();
  std::vector<int64_t> counts(kProblemKinds);
  bool finderReached = false;
  for (size_t i = 0; i < list.size(); ++i) {
    const ScenarioProblem& p = list[i];
    counts[size_t(p.kind)] += p.count;
    const bool fileKind = !FoundInScenario(p.kind);
    EXPECT_FALSE(fileKind && finderReached) << "a file's row after the finder's: " << ProblemRow(p);
    finderReached |= !fileKind;
    if (fileKind && i > 0 && !FoundInScenario(list[i - 1].kind)) {
      EXPECT_LE(list[i - 1].kind, p.kind);
    }
    if (p.onHex()) {
      EXPECT_TRUE(ProblemRow(p).starts_with("全局 (" + std::to_string(p.globalX) + ", "))
          << ProblemRow(p);
    }
    EXPECT_FALSE(p.text.empty());
  }
  return counts;
}

}  // namespace

// On the demo's messy file and on crafted files with findings of every group, P's list and
// btl check agree kind by kind; the messy file shows its save's kinds in both. A file whose
// own range the world cannot hold is opened with a cut range, where the companion looks for
// the file's kinds only: those agree.
TEST(ProblemChecker, TheEditorsListAndTheCompanionsCheckAgree) {
  std::vector<DemoFile> files;
  ASSERT_EQ(MakeDemoFiles(files), "");
  TempFolder dir{"btl_test_problem_agreement"};
  for (const DemoFile& f : files)
    if (!f.path.ends_with(".png")) dir.Write(f.path, f.bytes);
  const std::string demoData = dir.File("数据");

  // Crafted files on their own 40 x 30 world with the demo catalogs.
  TempFolder crafted{"btl_test_problem_agreement_crafted"};
  const std::string data = crafted.File("数据");
  std::filesystem::create_directories(PathFromUtf8(data));
  WriteFileBytes(JoinPath(data, "world.bin"), WorldFileBytes(MakeWorld(40, 30)));
  std::vector<DemoFile> catalogs;
  ASSERT_EQ(MakeCatalogFiles(MakeDemoCatalogs(), catalogs), "");
  for (const DemoFile& f : catalogs) crafted.Write(f.path, f.bytes);
  const std::function<void(BattleFixture&)> changes[] = {
      [](BattleFixture&) {},
      [](BattleFixture& s) {
        s.units.push_back(MakeUnit(RangePos(7, 0), 1, 1));  // outside the range
        s.units.push_back(MakeUnit(RangePos(0, 0), 5, 5));  // shares a hex, out of order
        std::swap(s.buildings[0], s.buildings[1]);          // out of order
        s.teams[1].fileColour[3] = 128;                     // alpha
        s.owners[3] = 77;                                   // owner of no team
        s.units[0].unitClass = 0;                           // the catalogs' kinds
        s.teams[0].country = 999;
      },
      [](BattleFixture& s) { s.header.originX = 36; },  // the range leaves the world
  };
  struct File {
    std::string data, battle;
  };
  std::vector<File> checked = {{demoData, dir.File("demo_messy.btl")}};
  for (size_t i = 0; i < std::size(changes); ++i) {
    BattleFixture s = CleanScenario();
    changes[i](s);
    const std::string battle = crafted.File("crafted" + std::to_string(i) + ".btl");
    WriteFileBytes(battle, s.bytes());
    checked.push_back({data, battle});
  }

  std::set<std::string> seen;
  for (const File& f : checked) {
    SCOPED_TRACE(f.battle);
    bool scenarioChecked = false;
    const std::vector<int64_t> companion = CompanionCounts(f.data, f.battle, scenarioChecked);
    const std::vector<int64_t> editor = EditorCounts(f.data, f.battle);
    EXPECT_TRUE(scenarioChecked || f.battle.ends_with("crafted2.btl"));
    for (int k = 0; k < kProblemKinds; ++k) {
      if (!scenarioChecked && FoundInScenario(ProblemKind(k))) continue;
      EXPECT_EQ(editor[size_t(k)], companion[size_t(k)]) << ProblemKindKey(ProblemKind(k));
      if (editor[size_t(k)]) seen.insert(ProblemKindKey(ProblemKind(k)));
    }
  }
  // What the report used to leave out, and one kind of each group, were all compared.
  for (const char* key : {"recordsDroppedOnSave", "recordsReorderedOnSave", "alphaSetOnSave",
                          "recordsOutsideRange", "recordsSharingAHex", "rangeOutsideWorld",
                          "ownersNamingNoTeam", "unitClassZero", "unknownCountry"})
    EXPECT_TRUE(seen.count(key)) << key;
}

// Every kind has a key and a title of its own.
TEST(ProblemChecker, EveryKindHasADistinctKeyAndTitle) {
  std::set<std::string> keys, titles;
  for (int k = 0; k < kProblemKinds; ++k) {
    const std::string key = ProblemKindKey(ProblemKind(k)),
                      title = ProblemKindTitle(ProblemKind(k));
    EXPECT_FALSE(key.empty());
    EXPECT_FALSE(title.empty());
    EXPECT_TRUE(keys.insert(key).second) << key;
    EXPECT_TRUE(titles.insert(title).second) << title;
  }
}
