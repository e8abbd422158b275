#include "btl/check.h"

#include <gtest/gtest.h>
#include <json/json.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>

#include "base/files.h"
#include "base/text.h"
#include "catalogs/catalogs.h"
#include "problems/problems.h"
#include "catalogs/string_table.h"
#include "tests/support/battle_fixture.h"
#include "tests/support/temp_folder.h"
#include "btl/command_line.h"
#include "btl/companion.h"
#include "btl/names.h"
#include "tools/demo_data/demo_data.h"

namespace {

uint16_t Pos(int x, int y) { return uint16_t((4 + y) * 40 + 5 + x); }  // CleanScenario's hexes

// A data folder with a world map (and, when asked, the demo catalogs and string table), and
// battle files beside it.
struct CheckFolder {
  TempFolder dir{"btl_test_check"};
  std::string data = dir.File("数据");
  std::string battle = dir.File("a.btl");
  std::string out, err;

  explicit CheckFolder(bool catalogs = false, int worldWidth = 40, int worldHeight = 30) {
    std::filesystem::create_directories(PathFromUtf8(data));
    WriteFileBytes(JoinPath(data, "world.bin"), WorldFileBytes(MakeWorld(worldWidth, worldHeight)));
    if (!catalogs) return;
    std::vector<DemoFile> files;
    EXPECT_EQ(MakeCatalogFiles(MakeDemoCatalogs(), files), "");
    for (const DemoFile& f : files) dir.Write(f.path, f.bytes);
  }
  int Run(std::vector<std::string> args) {
    out.clear();
    err.clear();
    args.insert(args.begin(), {"--data", data});
    return RunCompanion(args, out, err);
  }
  int Check(const BattleFixture& s, std::vector<std::string> more = {}) {
    WriteFileBytes(battle, s.bytes());
    std::vector<std::string> args = {"check", battle};
    args.insert(args.end(), more.begin(), more.end());
    return Run(args);
  }
};

Json::Value Parse(const std::string& text) {
  Json::CharReaderBuilder builder;
  std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
  Json::Value value;
  std::string errors;
  EXPECT_TRUE(reader->parse(text.data(), text.data() + text.size(), &value, &errors))
      << errors << "\n"
      << text;
  return value;
}

// The lines printed under a kind's heading in the text form.
std::vector<std::string> LinesOfKind(const std::string& out, ProblemKind kind) {
  std::vector<std::string> lines;
  const std::string heading = std::string(ProblemKindTitle(kind)) + "（";
  size_t at = out.find("\n" + heading);
  if (at == std::string::npos) return lines;
  at = out.find('\n', at + 1) + 1;
  while (at < out.size() && out.compare(at, 2, "  ") == 0) {
    size_t end = out.find('\n', at);
    lines.push_back(out.substr(at + 2, end - at - 2));
    at = end + 1;
  }
  return lines;
}

// Every kind of finding on a crafted file: the count of each kind (all others 0), the exit
// status, a line of the text form, and the same counts in the JSON form. Where the save was
// checked, the file has no save-change finding exactly when the save gives its bytes back.
TEST(Check, EachKindOfFindingAndTheExitStatus) {
  struct Case {
    const char* name;
    std::function<void(BattleFixture&)> change;
    std::map<std::string, int64_t> counts;
    std::string line;
    int worldWidth = 40, worldHeight = 30;
  } cases[] = {
      {"clean", [](BattleFixture&) {}, {}, ""},
      {"unit outside the range",
       [](BattleFixture& s) { s.units.push_back(MakeUnit(Pos(7, 0), 1, 1)); },
       {{"recordsOutsideRange", 1}, {"recordsDroppedOnSave", 1}},
       "部队记录 #4 的位置 172（全局 列 12，行 4）在地图范围之外"},
      {"building outside the range",
       [](BattleFixture& s) { s.buildings.insert(s.buildings.begin(), MakeBuilding(0, 4)); },
       {{"recordsOutsideRange", 1}, {"recordsDroppedOnSave", 1}},
       "建筑记录: 保存时删去 1 条（范围外 1 条，同一格被后面的记录取代 0 条）"},
      {"two units on one hex",
       [](BattleFixture& s) { s.units.push_back(MakeUnit(Pos(0, 0), 5, 5)); },
       {{"recordsSharingAHex", 1}, {"recordsDroppedOnSave", 1}, {"recordsReorderedOnSave", 1}},
       "部队记录 #0 和 #4 在同一格位置 165（全局 列 5，行 4），只有后者会保留"},
      {"two buildings on one hex, the later one in place",
       [](BattleFixture& s) {
         s.buildings.insert(s.buildings.begin(), MakeBuilding(Pos(1, 0), 9));
       },
       {{"recordsSharingAHex", 1}, {"recordsDroppedOnSave", 1}},
       "建筑记录 #0 和 #1 在同一格位置 166（全局 列 6，行 4），只有后者会保留"},
      {"an earlier record on a hex a later one takes: no reordering",
       [](BattleFixture& s) { s.units.insert(s.units.begin(), MakeUnit(Pos(5, 3), 6, 6)); },
       {{"recordsSharingAHex", 1}, {"recordsDroppedOnSave", 1}},
       "部队记录 #0 和 #3 在同一格位置 290（全局 列 10，行 7），只有后者会保留"},
      {"records out of hex order",
       [](BattleFixture& s) { std::swap(s.units[0], s.units[1]); },
       {{"recordsReorderedOnSave", 1}},
       "部队记录 #1 的位置 165（全局 列 5，行 4）排在 #0 的位置 208 之后，保存时会排到它前面"},
      {"alpha byte",
       [](BattleFixture& s) { s.teams[1].fileColour[3] = 128; },
       {{"alphaSetOnSave", 1}},
       "军团 1 的颜色 alpha 字节为 128，保存时设为 255"},
      {"owner naming no team",
       [](BattleFixture& s) { s.owners[3] = 77; },
       {{"ownersNamingNoTeam", 1}},
       "归属地图第 0 行第 3 列的值 77 不是任何军团（共 3 个军团）"},
      {"range leaving the world",
       [](BattleFixture& s) { s.header.originX = 36; },
       {{"rangeOutsideWorld", 1}, {"recordsOutsideRange", 7}},
       "地图范围超出了世界地图（40 × 30），载入时会缩到世界地图之内（起点 (36, 4)，大小 4 × 5）"},
      // No hex of it in the world: the editor offers the whole world, as InitialRange does.
      {"range wholly outside the world",
       [](BattleFixture& s) { s.header.originX = 45; },
       {{"rangeOutsideWorld", 1}, {"recordsOutsideRange", 7}},
       "地图范围完全在世界地图（40 × 30）之外，载入时会改用整个世界地图"},
      {"empty range",
       [](BattleFixture& s) { s.header.rangeWidth = 0, s.owners.clear(); },
       {{"rangeOutsideWorld", 1}, {"recordsOutsideRange", 7}},
       "地图范围为空（0 × 5），载入时会改用整个世界地图；resave 需要用 --range 指定范围"},
      {"hexes beyond 16-bit positions",
       [](BattleFixture& s) {
         s.header.originX = 0, s.header.originY = 218, s.units.clear(), s.buildings.clear();
       },
       {{"hexesBeyond16BitPositions", 1}},
       "地图范围含有编号 65536 及以上的格子",
       300,
       300},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    BattleFixture scenario = CleanScenario();
    c.change(scenario);
    CheckFolder f(false, c.worldWidth, c.worldHeight);
    const int status = c.counts.empty() ? kExitOk : kExitFindings;
    EXPECT_EQ(f.Check(scenario), status) << f.out << f.err;
    EXPECT_NE(f.out.find(c.line), std::string::npos) << f.out;
    for (const auto& [key, count] : c.counts) {
      bool found = false;
      for (int k = 0; k < kProblemKinds; ++k)
        if (key == ProblemKindKey(ProblemKind(k))) {
          found = true;
          const std::string summary = "  " + std::string(ProblemKindTitle(ProblemKind(k))) + ": " +
                                      std::to_string(count) + "\n";
          EXPECT_NE(f.out.find(summary), std::string::npos) << summary << f.out;
        }
      EXPECT_TRUE(found) << key;
    }
    if (c.counts.empty()) {
      EXPECT_NE(f.out.find("没有发现问题"), std::string::npos) << f.out;
    }

    EXPECT_EQ(f.Check(scenario, {"--json"}), status);
    const Json::Value doc = Parse(f.out);
    EXPECT_EQ(doc["exitStatus"].asInt(), status);
    EXPECT_EQ(doc["exitStatusMeaning"].asString(), status ? "findings" : "noFindings");
    int64_t total = 0;
    for (int k = 0; k < kProblemKinds; ++k) {
      const char* key = ProblemKindKey(ProblemKind(k));
      auto want = c.counts.find(key);
      EXPECT_EQ(doc["kinds"][key]["count"].asInt64(), want == c.counts.end() ? 0 : want->second)
          << key;
      total += doc["kinds"][key]["count"].asInt64();
    }
    EXPECT_EQ(doc["total"].asInt64(), total);

    if (!doc["saveChecked"].asBool()) continue;
    bool saveChanges = false;
    for (const char* key : {"alphaSetOnSave", "recordsReorderedOnSave", "recordsDroppedOnSave"})
      saveChanges |= doc["kinds"][key]["count"].asInt64() > 0;
    const std::vector<uint8_t> bytes = scenario.bytes();
    LoadForTest(bytes, MakeWorld(c.worldWidth, c.worldHeight));
    EXPECT_EQ(SaveForTest() != bytes, saveChanges);
  }
}

// Each kind prints at most 20 lines and says how many it left out; --all prints them all.
// The counts do not depend on the bound.
TEST(Check, TwentyLinesOfAKindUnlessAll) {
  BattleFixture scenario = CleanScenario();
  for (int i = 0; i < 45; ++i) scenario.units.push_back(MakeUnit(uint16_t(i), 1, 1));  // row 0
  CheckFolder f;
  ASSERT_EQ(f.Check(scenario), kExitFindings) << f.err;
  std::vector<std::string> lines = LinesOfKind(f.out, ProblemKind::kRecordsOutsideRange);
  ASSERT_EQ(lines.size(), 21u) << f.out;
  EXPECT_EQ(lines[0], "部队记录 #4 的位置 0（全局 列 0，行 0）在地图范围之外");
  EXPECT_EQ(lines[19], "部队记录 #23 的位置 19（全局 列 19，行 0）在地图范围之外");
  EXPECT_EQ(lines[20], "…… 另有 25 行未显示，用 --all 显示全部");
  EXPECT_NE(f.out.find("地图范围之外的记录（45 处）:"), std::string::npos) << f.out;

  ASSERT_EQ(f.Check(scenario, {"--all"}), kExitFindings);
  lines = LinesOfKind(f.out, ProblemKind::kRecordsOutsideRange);
  ASSERT_EQ(lines.size(), 45u) << f.out;
  EXPECT_EQ(lines[44], "部队记录 #48 的位置 44（全局 列 4，行 1）在地图范围之外");
  EXPECT_EQ(f.out.find("另有"), std::string::npos);

  for (bool all : {false, true}) {
    std::vector<std::string> more = {"--json"};
    if (all) more.push_back("--all");
    ASSERT_EQ(f.Check(scenario, more), kExitFindings);
    const Json::Value kind = Parse(f.out)["kinds"]["recordsOutsideRange"];
    EXPECT_EQ(kind["count"].asInt64(), 45);
    EXPECT_EQ(kind["lines"].size(), all ? 45u : 20u);
    EXPECT_EQ(kind["linesLeftOut"].asInt64(), all ? 0 : 25);
    EXPECT_EQ(kind["lines"][19].asString(),
              "部队记录 #23 的位置 19（全局 列 19，行 0）在地图范围之外");
  }
}

// The JSON form of check says what the text form says: the same counts per kind and the same
// lines, and with the game data the problem report's kinds count what the editor's finder
// finds. A file that cannot be loaded still gives a document, with status 2.
TEST(Check, JsonFormMatchesTheTextAndTheFinder) {
  std::vector<DemoFile> files;
  ASSERT_EQ(MakeDemoFiles(files), "");
  TempFolder dir{"btl_test_check_json"};
  for (const DemoFile& f : files)
    if (!f.path.ends_with(".png")) dir.Write(f.path, f.bytes);
  const std::string data = dir.File("数据"), messy = dir.File("demo_messy.btl");
  std::string text, json, err;
  ASSERT_EQ(RunCompanion({"--data", data, "check", messy}, text, err), kExitFindings) << err;
  ASSERT_EQ(RunCompanion({"--data", data, "check", "--json", messy}, json, err), kExitFindings);
  const Json::Value doc = Parse(json);
  EXPECT_EQ(doc["file"].asString(), messy);
  EXPECT_TRUE(doc["problemReportChecked"].asBool());
  EXPECT_TRUE(doc["saveChecked"].asBool());
  EXPECT_EQ(doc["kinds"].size(), size_t(kProblemKinds));
  int64_t total = 0;
  for (int k = 0; k < kProblemKinds; ++k) {
    const ProblemKind kind = ProblemKind(k);
    const Json::Value& j = doc["kinds"][ProblemKindKey(kind)];
    total += j["count"].asInt64();
    EXPECT_EQ(j["title"].asString(), ProblemKindTitle(kind));
    std::vector<std::string> lines = LinesOfKind(text, kind);
    ASSERT_EQ(j["lines"].size(), lines.size()) << ProblemKindKey(kind);
    for (Json::ArrayIndex i = 0; i < j["lines"].size(); ++i)
      EXPECT_EQ(j["lines"][i].asString(), lines[i]);
    if (j["count"].asInt64()) {
      EXPECT_NE(
          text.find(std::string(ProblemKindTitle(kind)) + "（" + j["count"].asString() + " 处）"),
          std::string::npos);
    }
  }
  EXPECT_EQ(doc["total"].asInt64(), total);
  EXPECT_NE(text.find("但有 " + std::to_string(total) + " 处"), std::string::npos) << text;

  // The finder on the scenario as the editor loads it, kind by kind.
  BattleImage image;
  WorldImage world;
  ASSERT_TRUE(ReadBattleFile(messy, image).ok());
  ASSERT_TRUE(ReadWorldMapFile(JoinPath(data, "world.bin"), world).ok());
  ASSERT_TRUE(CommitScenario(image, world, image.fileRange(), nullptr).ok());
  LoadGameTables(data);
  std::map<std::string, int64_t> found;
  const std::map<ProblemKind, std::string> keys = {
      {ProblemKind::kUnitClassZero, "unitClassZero"},
      {ProblemKind::kUnknownUnitType, "unknownUnitType"},
      {ProblemKind::kMissingGeneral, "missingGeneral"},
      {ProblemKind::kBadGeneral, "badGeneral"},
      {ProblemKind::kWrongPosition, "wrongPosition"},
      {ProblemKind::kOwnersNamingNoTeam, "ownersNamingNoTeam"},
      {ProblemKind::kUnknownBuilding, "unknownBuilding"},
      {ProblemKind::kUnknownCityName, "unknownCityName"},
      {ProblemKind::kAntiAirType, "antiAirType"},
      {ProblemKind::kUnknownCountry, "unknownCountry"}};
  for (const ScenarioProblem& p : FindScenarioProblems()) ++found[keys.at(p.kind)];
  ASSERT_FALSE(found.empty());
  for (const auto& [kind, key] : keys)
    EXPECT_EQ(doc["kinds"][key]["count"].asInt64(), found[key]) << key;
  ResetCatalogs();
  ResetStringTable();

  json.clear();
  err.clear();
  const std::string missing = dir.File("无.btl");
  EXPECT_EQ(RunCompanion({"--data", data, "check", missing, "--json"}, json, err), kExitTrouble);
  const Json::Value refusal = Parse(json);
  EXPECT_EQ(refusal["exitStatus"].asInt(), kExitTrouble);
  EXPECT_EQ(refusal["exitStatusMeaning"].asString(), "cannotLoad");
  EXPECT_NE(refusal["error"].asString().find("无.btl"), std::string::npos) << json;
  EXPECT_NE(err.find("无.btl"), std::string::npos) << err;
}

// info --json: the same facts as the text form.
TEST(Check, InfoJsonHoldsWhatTheTextSays) {
  BattleFixture scenario = CleanScenario();
  scenario.units.push_back(MakeUnit(Pos(0, 0), 5, 5));
  CheckFolder f;
  WriteFileBytes(f.battle, scenario.bytes());
  ASSERT_EQ(f.Run({"info", f.battle}), kExitOk) << f.err;
  const std::string text = f.out;
  ASSERT_EQ(f.Run({"info", "--json", f.battle}), kExitOk) << f.err;
  const Json::Value doc = Parse(f.out);
  EXPECT_EQ(doc["file"].asString(), f.battle);
  EXPECT_EQ(doc["bytes"].asInt64(), int64_t(scenario.bytes().size()));
  EXPECT_EQ(doc["range"]["originX"].asInt(), 5);
  EXPECT_EQ(doc["range"]["height"].asInt(), 5);
  EXPECT_EQ(doc["world"]["width"].asInt(), 40);
  EXPECT_EQ(doc["counts"]["units"].asInt(), 5);
  EXPECT_EQ(doc["countsOnSave"]["units"].asInt(), 4);
  EXPECT_EQ(doc["countsOnSave"]["buildings"].asInt(), 3);
  ASSERT_EQ(doc["teams"].size(), 3u);
  EXPECT_EQ(doc["teams"][0]["colour"].asString(), "#C80A0A");
  EXPECT_EQ(doc["teams"][1]["country"].asInt(), 7);
  EXPECT_EQ(doc["teams"][1]["countryName"].asString(), "");
  ASSERT_EQ(doc["generals"].size(), 2u);
  EXPECT_EQ(doc["generals"][0]["commander"].asInt(), 12);
  EXPECT_EQ(doc["tail"]["bytes"].asInt(), 37);
  EXPECT_NE(text.find("记录数（保存时）: 建筑 3，部队 4"), std::string::npos) << text;
  EXPECT_NE(text.find("附加数据: 37 字节（从第 " + doc["tail"]["offset"].asString() + " 字节起）"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("  1  国家 7  金钱 7000  颜色 #0AC80A (alpha 255)\n"), std::string::npos)
      << text;
}

// Listed values of the demo catalogs, for files that name things.
struct Listed {
  int32_t country = -1, commander = -1, building = -1;
  uint8_t classA = 0, levelA = 0, classB = 0, levelB = 0;  // two unit types of different names
};

Listed FindListed() {
  LoadDemoCatalogs();
  Listed l;
  for (int i = 0; i < g_catalogs.CountryCount && l.country < 0; ++i)
    if (!CountryName(g_catalogs.CountryIds[i]).empty()) l.country = g_catalogs.CountryIds[i];
  for (int i = 0; i < g_catalogs.CommanderCount && l.commander < 0; ++i)
    if (PortraitSlotOf(g_catalogs.CommanderIds[i]) &&
        !CommanderName(g_catalogs.CommanderIds[i]).empty())
      l.commander = g_catalogs.CommanderIds[i];
  for (int i = 0; i < g_catalogs.BuildingCount && l.building < 0; ++i)
    if (BuildingNameOf(g_catalogs.BuildingIds[i])[0] != 0) l.building = g_catalogs.BuildingIds[i];
  std::string first;
  for (int i = 0; i < g_catalogs.ArmyCount; ++i) {
    const int slot = ArmySlotOf(g_catalogs.ArmyIds[i]);
    const uint8_t type = g_catalogs.ArmyType[slot], level = g_catalogs.ArmyLevel[slot];
    const std::string name = UnitTypeName(type, level);
    if (ArmyIdOf(type, level) != g_catalogs.ArmyIds[i] || name.empty()) continue;
    if (first.empty()) {
      first = name, l.classA = type, l.levelA = level;
    } else if (name != first) {
      l.classB = type, l.levelB = level;
      break;
    }
  }
  return l;
}

// With the catalogs and the string table in the data folder, info names countries and
// commanders, check names the records its lines speak of and diff names them beside their
// codes; without them the same commands give numbers only. Names never change a status.
TEST(Check, NamesFromTheDataFolderAndWithout) {
  const Listed l = FindListed();
  ASSERT_GE(l.country, 0);
  ASSERT_GE(l.commander, 0);
  ASSERT_GE(l.building, 0);
  ASSERT_NE(l.classB, 0);
  const std::string country = CountryName(l.country), commander = CommanderName(l.commander);
  BuildingRecord b = MakeBuilding(0, uint16_t(l.building));
  const std::string building = BuildingName(b);
  const std::string unitA = UnitTypeName(l.classA, l.levelA),
                    unitB = UnitTypeName(l.classB, l.levelB);
  ResetCatalogs();
  ResetStringTable();

  BattleFixture scenario = CleanScenario();
  for (TeamRecord& t : scenario.teams) t.country = l.country;
  for (UnitRecord& u : scenario.units) u.unitClass = l.classA, u.unitLevel = l.levelA;
  for (BuildingRecord& r : scenario.buildings)
    r.buildingCode = uint16_t(l.building), r.cityName = 0;
  for (GeneralEntry& g : scenario.generals) g = {uint16_t(l.commander), 0};
  scenario.units.push_back(MakeUnit(Pos(7, 0), l.classA, l.levelA));            // outside the range
  scenario.buildings.push_back(MakeBuilding(Pos(8, 0), uint16_t(l.building)));  // outside too
  BattleFixture changed = scenario;
  changed.units[1].unitClass = l.classB, changed.units[1].unitLevel = l.levelB;

  for (bool catalogs : {true, false}) {
    SCOPED_TRACE(catalogs ? "with the catalogs" : "without them");
    CheckFolder f(catalogs);
    auto named = [&](const std::string& number, const std::string& name) {
      return catalogs ? number + "（" + name + "）" : number + " ";
    };
    WriteFileBytes(f.battle, scenario.bytes());
    ASSERT_EQ(f.Run({"info", f.battle}), kExitOk) << f.err;
    auto bracketed = [&](const std::string& name) { return catalogs ? "（" + name + "）" : ""; };
    EXPECT_NE(f.out.find("  0  国家 " + std::to_string(l.country) + bracketed(country) + "  金钱"),
              std::string::npos)
        << f.out;
    EXPECT_NE(
        f.out.find("  1  统帅 " + std::to_string(l.commander) + bracketed(commander) + "  军衔"),
        std::string::npos)
        << f.out;
    ASSERT_EQ(f.Run({"info", "--json", f.battle}), kExitOk);
    EXPECT_EQ(Parse(f.out)["teams"][2]["countryName"].asString(), catalogs ? country : "");
    EXPECT_EQ(Parse(f.out)["generals"][1]["commanderName"].asString(), catalogs ? commander : "");

    // The same findings and status either way: the file's records are all listed.
    ASSERT_EQ(f.Check(scenario, {"--json"}), kExitFindings) << f.err;
    const Json::Value doc = Parse(f.out);
    EXPECT_EQ(doc["problemReportChecked"].asBool(), catalogs);
    EXPECT_EQ(doc["total"].asInt64(), 4) << f.out;  // two outside, two dropped
    ASSERT_EQ(f.Check(scenario), kExitFindings);
    EXPECT_NE(f.out.find(named("部队记录 #4", unitA) + "的位置 172"), std::string::npos) << f.out;
    EXPECT_NE(f.out.find(named("建筑记录 #3", building) + "的位置 173"), std::string::npos)
        << f.out;

    const std::string second = f.dir.File("b.btl");
    WriteFileBytes(second, changed.bytes());
    ASSERT_EQ(f.Run({"diff", f.battle, second}), kExitFindings) << f.err;
    const std::string names = catalogs ? "（" + unitA + " → " + unitB + "）" : "";
    EXPECT_NE(f.out.find("  位置 208（全局 列 8，行 5）" + names + ": 兵种"), std::string::npos)
        << f.out;
  }
}

// One data file at a time missing, broken or empty beside the others: a scenario whose every
// value the full data lists still checks clean (status 0), with a line naming the file and
// the kinds it decides, and the JSON says the same; a finding no data file decides is still
// found, and the kinds the file decides are the ones left out, no more.
TEST(Check, AMissingOrBrokenDataFileLeavesOutWhatItDecides) {
  const Listed l = FindListed();
  ASSERT_GE(l.commander, 0);
  ASSERT_GT(g_catalogs.RankCount, 0);
  ResetCatalogs();
  ResetStringTable();
  BattleFixture clean = CleanScenario();
  for (TeamRecord& t : clean.teams) t.country = l.country;
  for (UnitRecord& u : clean.units) u.unitClass = l.classA, u.unitLevel = l.levelA;
  for (BuildingRecord& r : clean.buildings) r.buildingCode = uint16_t(l.building), r.cityName = 0;
  for (GeneralEntry& g : clean.generals) g = {uint16_t(l.commander), 1};  // rank 1: needs the ranks
  BattleFixture antiAir = clean;
  antiAir.buildings[0].facilityType = 9;  // no data file decides this one

  CheckFolder full(true);
  ASSERT_EQ(full.Check(clean, {"--json"}), kExitOk) << full.out;
  const Json::Value fullDoc = Parse(full.out);
  ASSERT_EQ(fullDoc["dataFiles"].size(), size_t(kDataFiles)) << full.out;
  for (const Json::Value& file : fullDoc["dataFiles"]) EXPECT_EQ(file["state"].asString(), "read");
  ASSERT_EQ(full.Check(clean), kExitOk);
  EXPECT_EQ(full.out.find("数据文件"), std::string::npos) << full.out;

  const struct {
    const char* state;
    const char* bytes;  // nullptr: the file is removed
    const char* words;
  } damages[] = {{"missing", nullptr, "缺失"},
                 {"broken", "[{\"Id\": 1,", "已损坏"},
                 {"empty", "[]", "没有任何条目"}};
  for (int f = 0; f < kDataFiles; ++f)
    for (const auto& damage : damages) {
      // The string table has no syntax to break.
      if (DataFile(f) == DataFile::kStringTable && std::string(damage.state) == "broken") continue;
      const std::string file = fullDoc["dataFiles"][f]["file"].asString();
      SCOPED_TRACE(file + " " + damage.state);
      CheckFolder folder(true);
      const std::string path = JoinPath(folder.data, file.substr(file.find_last_of("/\\") + 1));
      ASSERT_TRUE(std::filesystem::exists(PathFromUtf8(path)));
      if (damage.bytes)
        WriteFileBytes(path,
                       std::vector<uint8_t>(damage.bytes, damage.bytes + strlen(damage.bytes)));
      else
        std::filesystem::remove(PathFromUtf8(path));

      std::vector<std::string> decided;
      for (int k = 0; k < kProblemKinds; ++k)
        for (DataFile d : DataFilesDeciding(ProblemKind(k)))
          if (int(d) == f) decided.push_back(ProblemKindKey(ProblemKind(k)));
      ASSERT_FALSE(decided.empty());

      ASSERT_EQ(folder.Check(clean), kExitOk) << folder.out;
      EXPECT_NE(folder.out.find("没有发现问题"), std::string::npos) << folder.out;
      const size_t note = folder.out.find("数据文件 " + path + " ");
      ASSERT_NE(note, std::string::npos) << folder.out;
      const std::string line = folder.out.substr(note, folder.out.find('\n', note) - note);
      EXPECT_NE(line.find(damage.words), std::string::npos) << line;
      for (int k = 0; k < kProblemKinds; ++k) {
        const bool isDecided = std::find(decided.begin(), decided.end(),
                                         ProblemKindKey(ProblemKind(k))) != decided.end();
        EXPECT_EQ(line.find(ProblemKindTitle(ProblemKind(k))) != std::string::npos, isDecided)
            << line;
      }
      EXPECT_EQ(std::count(folder.out.begin(), folder.out.end(), '\n'), 2)
          << folder.out;  // verdict, note

      ASSERT_EQ(folder.Check(clean, {"--json"}), kExitOk) << folder.out;
      const Json::Value doc = Parse(folder.out);
      EXPECT_TRUE(doc["problemReportChecked"].asBool());
      EXPECT_EQ(doc["total"].asInt64(), 0);
      for (int g = 0; g < kDataFiles; ++g) {
        const Json::Value& entry = doc["dataFiles"][g];
        EXPECT_EQ(entry["state"].asString(), g == f ? damage.state : "read")
            << entry["file"].asString();
        EXPECT_EQ(entry["kindsLeftOut"].size(), g == f ? decided.size() : 0u);
      }
      EXPECT_EQ(doc["dataFiles"][f]["file"].asString(), file);  // its name in the data folder
      for (int k = 0; k < kProblemKinds; ++k) {
        const char* key = ProblemKindKey(ProblemKind(k));
        EXPECT_EQ(doc["kinds"][key]["leftOut"].asBool(),
                  std::find(decided.begin(), decided.end(), std::string(key)) != decided.end())
            << key;
      }

      ASSERT_EQ(folder.Check(antiAir, {"--json"}), kExitFindings);
      EXPECT_EQ(Parse(folder.out)["kinds"]["antiAirType"]["count"].asInt64(), 1) << folder.out;
      EXPECT_EQ(Parse(folder.out)["total"].asInt64(), 1) << folder.out;
    }
  ResetCatalogs();
  ResetStringTable();
}

}  // namespace
