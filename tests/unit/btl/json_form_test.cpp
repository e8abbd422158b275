#include <gtest/gtest.h>
#include <json/json.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <sstream>

#include "base/files.h"
#include "tests/support/battle_fixture.h"
#include "tests/support/battle_mutator.h"
#include "tests/support/temp_folder.h"
#include "btl/command_line.h"
#include "btl/companion.h"
#include "btl/export_json.h"
#include "scenario/field_text.h"
#include "btl/import_json.h"
#include "scenario/record_fields.h"

namespace {

// Export, then import: the same bytes. False when the file is not one the companion accepts.
bool ExpectRoundTrip(const std::vector<uint8_t>& bytes, const std::string& what,
                     int32_t worldWidth = 40) {
  BattleImage image;
  if (!ParseBattleFile(bytes, "x.btl", image).ok()) return false;
  std::string json = ExportJson(image, worldWidth);
  std::vector<uint8_t> back;
  Status s = BattleBytesFromJson(json, "x.json", back);
  EXPECT_TRUE(s.ok()) << what << ": " << s.message;
  EXPECT_TRUE(back == bytes) << what << ": " << back.size() << " bytes back of " << bytes.size();
  return true;
}

std::string ExportOf(const std::vector<uint8_t>& bytes, int32_t worldWidth = 40) {
  BattleImage image;
  EXPECT_TRUE(ParseBattleFile(bytes, "x.btl", image).ok());
  return ExportJson(image, worldWidth);
}

float FromBits(uint32_t bits) {
  float f;
  memcpy(&f, &bits, 4);
  return f;
}

TEST(JsonForm, DemoFilesAndTheirVariantsComeBackByteForByte) {
  int accepted = 0;
  for (const std::string name : {"demo_small", "demo_large", "demo_messy"}) {
    const std::vector<uint8_t>& bytes = DemoBattleBytes(name);
    ASSERT_TRUE(ExpectRoundTrip(bytes, name, DemoWorldImage().width));
    Mutator m{0x51ED270B27A1ull ^ bytes.size()};
    // The large file's text is 800 KB: fewer of its variants keep the sanitizer run short.
    int rounds = name == "demo_large" ? 30 : 150;
    for (int round = 0; round < rounds; ++round) {
      std::vector<uint8_t> variant = m.mutate(bytes);
      if (round % 3 == 2) variant = m.mutate(variant);
      accepted += ExpectRoundTrip(variant, name + " variant " + std::to_string(round));
      if (HasFailure()) return;
    }
  }
  EXPECT_GT(accepted, 150) << accepted;  // the variants must reach the property, not refusals
}

// What a save would change or drop travels unchanged: unsorted records, two on one hex,
// records outside the range, alpha bytes, floats no decimal names, empty sections and ranges
// without a column or a row, a tail of a line and a bit.
TEST(JsonForm, WhatASaveWouldChangeComesBackUnchanged) {
  std::vector<std::pair<std::string, BattleFixture>> files;
  BattleFixture odd = CleanScenario();
  std::swap(odd.units[0], odd.units[3]);
  odd.units.push_back(odd.units[1]);                // a second record on one hex
  odd.units.push_back(MakeUnit(5, 3, 4));           // outside the range
  odd.buildings.push_back(MakeBuilding(65535, 9));  // outside the world
  odd.teams[1].fileColour[3] = 7;
  odd.teams[0].taxRate = FromBits(0x7FC00001);  // a NaN with a payload
  odd.teams[0].unitBonus = -std::numeric_limits<float>::infinity();
  odd.teams[1].taxRate = -0.0f;
  odd.teams[1].unitBonus = FromBits(1);  // the smallest subnormal
  odd.teams[2].taxRate = std::numeric_limits<float>::max();
  odd.teams[2].unitBonus = 0.1f;
  odd.tail.resize(65, 0xEE);
  files.push_back({"odd", odd});
  BattleFixture empty;
  files.push_back({"empty", empty});
  BattleFixture noColumns = CleanScenario();
  noColumns.header.rangeWidth = 0;
  noColumns.owners.clear();
  files.push_back({"no columns", noColumns});
  BattleFixture noRows = CleanScenario();
  noRows.header.rangeHeight = 0;
  noRows.owners.clear();
  noRows.tail.clear();
  files.push_back({"no rows", noRows});
  BattleFixture farAway = CleanScenario();
  farAway.header.originX = -2147483647 - 1;
  farAway.header.originY = 2147483647;
  files.push_back({"far away", farAway});
  for (const auto& [name, scenario] : files) {
    EXPECT_TRUE(ExpectRoundTrip(scenario.bytes(), name)) << name;
    EXPECT_TRUE(ExpectRoundTrip(scenario.bytes(), name + " without the world", 0)) << name;
  }
}

// Every float comes back bit for bit: as its shortest decimal where one names it, else as
// its bits.
TEST(JsonForm, FloatsComeBackBitForBit) {
  uint64_t state = 0x2545F4914F6CDD1Dull;
  std::vector<uint32_t> patterns = {0,          0x80000000, 1,          0x007FFFFF,
                                    0x00800000, 0x7F7FFFFF, 0x7F800000, 0xFF800000,
                                    0x7FC00000, 0xFFFFFFFF, 0x3DCCCCCD};
  for (int i = 0; i < 200000; ++i) {
    state ^= state << 13, state ^= state >> 7, state ^= state << 17;
    patterns.push_back(uint32_t(state));
  }
  for (uint32_t bits : patterns) {
    float f = FromBits(bits), back = 0;
    std::string text = ShortestFloatText(f);
    if (std::isfinite(f)) {
      ASSERT_FALSE(text.empty()) << std::hex << bits;
      ASSERT_TRUE(FloatFromJsonNumber(text, back)) << text;
      ASSERT_LE(text.size(), 15u) << text;
    } else {
      ASSERT_EQ(text, "") << std::hex << bits;
      ASSERT_TRUE(FloatFromBitsText(FloatBitsText(f), back));
    }
    ASSERT_EQ(memcmp(&back, &f, 4), 0) << std::hex << bits << " " << text;
  }
  EXPECT_EQ(ShortestFloatText(0.1f), "0.1");
  EXPECT_EQ(ShortestFloatText(-0.0f), "-0");
  EXPECT_EQ(FloatBitsText(FromBits(0x7FC00001)), "0x7FC00001");
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// The line number (from 1) of the line that opens a list, e.g. `  "units": [`.
size_t ListLine(const std::vector<std::string>& lines, const std::string& key) {
  for (size_t i = 0; i < lines.size(); ++i)
    if (lines[i].rfind("  \"" + key + "\": ", 0) == 0) return i + 1;
  ADD_FAILURE() << "no " << key;
  return 0;
}

// Stable and diff-friendly: keys in the fields' order, one record a line in file order, the
// helpers where the world's width is known; the same file exports to the same text.
TEST(JsonForm, OneRecordALineWithKeysInTheFieldsOrder) {
  BattleFixture scenario = CleanScenario();
  std::swap(scenario.units[0], scenario.units[2]);
  std::string json = ExportOf(scenario.bytes());
  EXPECT_EQ(json, ExportOf(scenario.bytes()));
  std::vector<std::string> lines = Lines(json);
  struct List {
    std::string key;
    const RecordFields* fields;
    size_t count;
  } lists[] = {{"teams", &TeamFields(), 3},
               {"buildings", &BuildingFields(), 3},
               {"units", &UnitFields(), 4},
               {"generals", &GeneralFields(), 2}};
  for (const List& list : lists) {
    size_t first = ListLine(lines, list.key);
    for (size_t i = 0; i < list.count; ++i) {
      std::string line = lines[first + i];
      ASSERT_EQ(line.rfind("    {", 0), 0u) << line;
      if (line.back() == ',') line.pop_back();
      Json::Value record;
      std::istringstream in(line);
      ASSERT_TRUE(Json::parseFromStream(Json::CharReaderBuilder(), in, &record, nullptr)) << line;
      // JsonCpp sorts its members; the order is read from the text.
      size_t at = 0;
      for (const Field& f : list.fields->fields) {
        size_t found = line.find("\"" + std::string(f.key) + "\":", at);
        ASSERT_NE(found, std::string::npos) << f.key << " in " << line;
        at = found;
      }
      if (record.isMember("position")) {
        int position = record["position"].asInt();
        EXPECT_EQ(record["column"].asInt(), position % 40);
        EXPECT_EQ(record["row"].asInt(), position / 40);
      }
    }
    EXPECT_EQ(lines[first + list.count], "  ],");
  }
  // File order: the swapped units stay swapped.
  size_t units = ListLine(lines, "units");
  EXPECT_NE(lines[units].find("\"position\":" + std::to_string(scenario.units[0].position)),
            std::string::npos);
  // One row of the range a line.
  size_t owners = ListLine(lines, "owners");
  EXPECT_EQ(lines[owners], "    \"00000101FFFF\",");
  // Without the world's width there are no helpers.
  EXPECT_EQ(ExportOf(scenario.bytes(), 0).find("\"column\""), std::string::npos);
}

// A document edited by hand: values changed, keys reordered, spread over many lines by another
// JSON writer, with a byte-order mark and Windows line ends.
TEST(JsonForm, HandEditedDocumentsAreRead) {
  std::vector<uint8_t> bytes = CleanScenario().bytes();
  std::string json = ExportOf(bytes);
  Json::Value doc;
  std::istringstream in(json);
  ASSERT_TRUE(Json::parseFromStream(Json::CharReaderBuilder(), in, &doc, nullptr));
  doc["units"][1]["hp"] = 77;
  doc["teams"][2]["techLevels"]["ion"] = -5;
  doc["units"][0]["column"] = 999;  // for reading only
  Json::StreamWriterBuilder styled;
  styled["indentation"] = "   ";
  std::string edited = "\xEF\xBB\xBF" + Json::writeString(styled, doc);
  for (size_t at = edited.find('\n'); at != std::string::npos; at = edited.find('\n', at + 2))
    edited.replace(at, 1, "\r\n");

  std::vector<uint8_t> back;
  Status s = BattleBytesFromJson(edited, "edited.json", back);
  ASSERT_TRUE(s.ok()) << s.message;
  std::vector<uint8_t> expected = bytes;
  BattleImage image;
  ASSERT_TRUE(ParseBattleFile(bytes, "x", image).ok());
  uint16_t hp = 77;
  memcpy(expected.data() + image.layout.unitsAt + sizeof(UnitRecord) + offsetof(UnitRecord, hp),
         &hp, 2);
  int32_t ion = -5;
  memcpy(expected.data() + image.layout.teamsAt + 2 * kTeamFileBytes +
             offsetof(TeamRecord, techLevels) + 44,
         &ion, 4);
  EXPECT_TRUE(back == expected);
}

// A document and the one line of it to change: the record at `index` of the list `key` (or
// the header), rewritten compactly after `edit`.
struct EditedDocument {
  std::string text;
  size_t line = 0;  // of the edited record
};

EditedDocument EditRecord(const std::string& json, const std::string& key, int index,
                          const std::function<void(Json::Value&)>& edit) {
  std::vector<std::string> lines = Lines(json);
  size_t at = ListLine(lines, key) - 1 + (key == "header" ? 0 : size_t(index) + 1);
  std::string line = lines[at];
  bool comma = line.back() == ',';
  if (comma) line.pop_back();
  size_t start = key == "header" ? line.find('{') : line.find_first_not_of(' ');
  Json::Value value;
  std::istringstream in(line.substr(start));
  EXPECT_TRUE(Json::parseFromStream(Json::CharReaderBuilder(), in, &value, nullptr)) << line;
  edit(value);
  Json::StreamWriterBuilder compact;
  compact["indentation"] = "";
  lines[at] = line.substr(0, start) + Json::writeString(compact, value) + (comma ? "," : "");
  EditedDocument d{"", at + 1};
  for (const std::string& l : lines) d.text += l + "\n";
  return d;
}

// Hand edits that cannot be written are refused with the JSON path and the line of what is
// wrong, and nothing is written.
TEST(JsonForm, ImportRefusesABadValueNamingItsPathAndLine) {
  std::string json = ExportOf(CleanScenario().bytes());
  struct Case {
    std::string key;
    int index;
    std::function<void(Json::Value&)> edit;
    std::string path, says;
  } cases[] = {
      {"units", 1, [](Json::Value& v) { v["hp"] = 70000; }, "units[1].hp",
       "值 70000 超出范围（0 到 65535）"},
      {"units", 3, [](Json::Value& v) { v.removeMember("hp"); }, "units[3]", "缺少键 \"hp\""},
      {"units", 0, [](Json::Value& v) { v["morale"] = "5"; }, "units[0].morale", "应为整数"},
      {"units", 0, [](Json::Value& v) { v["hp"] = 1.5; }, "units[0].hp", "应为整数"},
      {"units", 2, [](Json::Value& v) { v["general"] = Json::Value(); }, "units[2].general",
       "应为整数"},
      {"units", 2, [](Json::Value& v) { v["Hp"] = 1; }, "units[2].Hp", "没有这个键"},
      {"buildings", 2, [](Json::Value& v) { v["keep14"] = "00"; }, "buildings[2].keep14", "2 字节"},
      {"buildings", 0, [](Json::Value& v) { v["keep14"] = "0G00"; }, "buildings[0].keep14",
       "十六进制"},
      {"buildings", 1, [](Json::Value& v) { v["position"] = 65536; }, "buildings[1].position",
       "0 到 65535"},
      {"teams", 1, [](Json::Value& v) { v["colour"] = "#12345"; }, "teams[1].colour", "#RRGGBB"},
      {"teams", 2, [](Json::Value& v) { v["techLevels"]["tank"] = "x"; },
       "teams[2].techLevels.tank", "应为整数"},
      {"teams", 0, [](Json::Value& v) { v["bombStocks"].removeMember("hydrogen"); },
       "teams[0].bombStocks", "缺少键 \"hydrogen\""},
      {"teams", 0, [](Json::Value& v) { v["techLevels"] = 5; }, "teams[0].techLevels", "应为对象"},
      {"teams", 0, [](Json::Value& v) { v["money"] = Json::Int64(2147483648); }, "teams[0].money",
       "超出范围"},
      {"teams", 0, [](Json::Value& v) { v["alpha"] = 256; }, "teams[0].alpha", "0 到 255"},
      {"teams", 1, [](Json::Value& v) { v["taxRate"] = 1e39; }, "teams[1].taxRate",
       "超出 32 位浮点数的范围"},
      {"teams", 1, [](Json::Value& v) { v["taxRate"] = "0x7FC0"; }, "teams[1].taxRate", "0x"},
      {"header", 0, [](Json::Value& v) { v["rangeWidth"] = 501; }, "header.rangeWidth", "0 到 500"},
      {"header", 0, [](Json::Value& v) { v["colour"] = 1; }, "header.colour", "没有这个键"},
      {"header", 0, [](Json::Value& v) { v.removeMember("keep44"); }, "header",
       "缺少键 \"keep44\""},
      {"generals", 1, [](Json::Value& v) { v["rank"] = -1; }, "generals[1].rank", "0 到 65535"},
      {"generals", 0, [](Json::Value& v) { v = Json::Value(Json::arrayValue); }, "generals[0]",
       "应为对象"},
      // The first record of the document: the reader's frames grow while it is refused.
      {"teams", 0, [](Json::Value& v) { v = Json::Value(Json::arrayValue); }, "teams[0]",
       "应为对象"},
      {"owners", 2, [](Json::Value& v) { v = "0001"; }, "owners[2]", "应有 6 字节"},
      {"owners", 1, [](Json::Value& v) { v = "XY0000000000"; }, "owners[1]", "不是十六进制"},
      {"owners", 1, [](Json::Value& v) { v = 7; }, "owners[1]", "十六进制数字的字符串"},
      {"tail", 0, [](Json::Value& v) { v = "ABC"; }, "tail[0]", "每字节两个数字"},
      {"tail", 1, [](Json::Value& v) { v = Json::Value(Json::objectValue); }, "tail[1]",
       "十六进制数字的字符串"},
  };
  for (const Case& c : cases) {
    EditedDocument d = EditRecord(json, c.key, c.index, c.edit);
    std::vector<uint8_t> bytes;
    Status s = BattleBytesFromJson(d.text, "改过.json", bytes);
    ASSERT_FALSE(s.ok()) << c.path;
    EXPECT_EQ(s.kind, FailureKind::kBadValue);
    std::string where =
        "JSON 文件“改过.json”第 " + std::to_string(d.line) + " 行，" + c.path + ": ";
    EXPECT_NE(s.message.find(where), std::string::npos) << s.message << "\nwanted " << where;
    EXPECT_NE(s.message.find(c.says), std::string::npos) << s.message << "\nwanted " << c.says;
  }
}

// Refusals about the document as a whole: its shape, a missing part, the rows of the
// ownership map, the limit of a list, JSON that does not parse.
TEST(JsonForm, ImportRefusesADocumentOfTheWrongShape) {
  std::string json = ExportOf(CleanScenario().bytes());
  std::vector<std::string> lines = Lines(json);
  auto joined = [](const std::vector<std::string>& ls) {
    std::string t;
    for (const std::string& l : ls) t += l + "\n";
    return t;
  };
  size_t owners = ListLine(lines, "owners"), units = ListLine(lines, "units");
  size_t teams = ListLine(lines, "teams");
  std::vector<std::string> lessRows = lines;
  lessRows.erase(lessRows.begin() + long(owners));  // the first row; the list ends a line earlier
  std::vector<std::string> noComma = lines;
  noComma[units].pop_back();  // units[0] without its comma
  std::vector<std::string> manyTeams = lines;
  for (int i = 0; i < 253; ++i) manyTeams.insert(manyTeams.begin() + long(teams), lines[teams]);
  std::string noTail = json;
  noTail.replace(noTail.find(",\n  \"tail\": "),
                 noTail.rfind("]\n}") + 1 - noTail.find(",\n  \"tail\": "), "");
  std::string twice = json;
  twice.replace(twice.find("  \"version\": 1,"), 0, "  \"version\": 1,\n");

  struct Case {
    std::string name, text;
    size_t line;
    std::string says;
  } cases[] = {
      {"array", "[]", 1, "整个文档应为一个对象"},
      {"number", "\n7", 2, "整个文档应为一个对象"},
      {"no tail", noTail, Lines(noTail).size(), "缺少键 \"tail\""},
      {"version twice", twice, 4, "version: 键重复"},
      {"version 2",
       json.substr(0, json.find("\"version\": 1")) + "\"version\": 2" +
           json.substr(json.find("\"version\": 1") + 12),
       3, "version: 应为 1"},
      {"format", "{\"format\": \"tbl\"", 1, "format: 应为 \"btl\""},
      {"rows", joined(lessRows), owners + 5, "owners: 应有 5 行（header.rangeHeight），实有 4 行"},
      {"comma", joined(noComma), units + 2, "不是有效的 JSON"},
      {"teams", joined(manyTeams), teams + 256, "teams[255]: 超过了 255 条的上限"},
      {"cut", json.substr(0, json.size() / 2), Lines(json.substr(0, json.size() / 2)).size(),
       "不是有效的 JSON"},
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> bytes;
    Status s = BattleBytesFromJson(c.text, "d.json", bytes);
    ASSERT_FALSE(s.ok()) << c.name;
    EXPECT_NE(s.message.find("第 " + std::to_string(c.line) + " 行"), std::string::npos)
        << c.name << ": " << s.message;
    EXPECT_NE(s.message.find(c.says), std::string::npos) << c.name << ": " << s.message;
  }
}

// Saved as it is made, a piece at a time, the text is the same as made whole: for a file whose
// text runs to several pieces, and for one that fits in one.
TEST(JsonForm, ExportSavedInPiecesIsTheWholeText) {
  TempFolder dir{"btl_test_json_pieces"};
  BattleFixture large = CleanScenario();
  for (int i = 0; i < 12000; ++i)
    large.units.push_back(MakeUnit(uint16_t(i * 7), uint8_t(1 + i % 8), uint8_t(i)));
  large.tail.assign(300000, 0xA5);
  for (const BattleFixture& f : {large, CleanScenario()}) {
    BattleImage image;
    ASSERT_TRUE(ParseBattleFile(f.bytes(), "x.btl", image).ok());
    const std::string whole = ExportJson(image, 40);
    const std::string path = JoinPath(dir.Utf8(), "导出.json");
    size_t size = 0;
    Status s = SaveExportJson(image, 40, path, size);
    ASSERT_TRUE(s.ok()) << s.message;
    std::string saved;
    ASSERT_TRUE(ReadWholeFile(path, saved));
    EXPECT_EQ(size, whole.size());
    EXPECT_TRUE(saved == whole) << saved.size() << " bytes saved of " << whole.size();
  }
}

// The commands: export and import through files, a refused import writes nothing and exits 2.
TEST(JsonForm, ExportAndImportCommands) {
  TempFolder dir{"btl_test_json_commands"};
  std::string folder = dir.Utf8();
  std::vector<uint8_t> bytes = CleanScenario().bytes();
  std::string battle = JoinPath(folder, "原.btl"), json = JoinPath(folder, "原.json");
  std::string back = JoinPath(folder, "回.btl");
  WriteFileBytes(battle, bytes);
  std::string out, err;
  // No world map here: the export says so and leaves out the helpers.
  ASSERT_EQ(RunCompanion({"export", battle, json}, out, err), kExitOk) << err;
  EXPECT_NE(err.find("世界地图"), std::string::npos) << err;
  ASSERT_EQ(RunCompanion({"import", json, back}, out, err), kExitOk) << err;
  EXPECT_TRUE(ReadFileBytes(back) == bytes);

  std::string bad = JoinPath(folder, "坏.json"), refused = JoinPath(folder, "拒.btl");
  std::string text;
  ASSERT_TRUE(ReadWholeFile(json, text));
  text.replace(text.find("\"hp\":"), 5, "\"hp\":-");
  std::vector<uint8_t> badBytes(text.begin(), text.end());
  WriteFileBytes(bad, badBytes);
  err.clear();
  EXPECT_EQ(RunCompanion({"import", bad, refused}, out, err), kExitTrouble);
  EXPECT_NE(err.find("units[0].hp"), std::string::npos) << err;
  EXPECT_FALSE(FileExists(refused));
  EXPECT_EQ(RunCompanion({"import", JoinPath(folder, "无.json"), refused}, out, err), kExitTrouble);
  EXPECT_EQ(RunCompanion({"export", JoinPath(folder, "无.btl"), refused}, out, err), kExitTrouble);
  EXPECT_FALSE(FileExists(refused));
}

}  // namespace
