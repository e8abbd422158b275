#include "tools/demo_data/demo_data.h"

#include <gtest/gtest.h>
#include <json/json.h>

#include <cstring>
#include <map>
#include <set>
#include <sstream>

#include "base/files.h"
#include "scenario/world_record.h"
#include "tests/support/png_reader.h"
#include "tests/support/temp_folder.h"
#include "tools/demo_data/png_writer.h"

namespace {

// ---- PNG writer -------------------------------------------------------------------------

uint32_t Be32(const std::string& s, size_t at) {
  auto b = [&](size_t i) { return uint32_t(uint8_t(s[at + i])); };
  return b(0) << 24 | b(1) << 16 | b(2) << 8 | b(3);
}

struct PngSize {
  int w, h;
};
void PrintTo(const PngSize& s, std::ostream* os) { *os << s.w << "x" << s.h; }

class PngWriterTest : public ::testing::TestWithParam<PngSize> {};

// One pixel, and pictures wide and tall enough for the rows to take different filters.
INSTANTIATE_TEST_SUITE_P(Sizes, PngWriterTest,
                         ::testing::Values(PngSize{1, 1}, PngSize{64, 255}, PngSize{300, 120}));

TEST_P(PngWriterTest, AnotherReaderGivesBackEveryPixel) {
  const int w = GetParam().w, h = GetParam().h;
  std::vector<uint32_t> pixels;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      uint8_t r = uint8_t(x * 7 + y), g = uint8_t(y * 3), b = uint8_t(x ^ y), a = uint8_t(255 - x);
      pixels.push_back(PngRgba(r, g, b, a));
    }
  const std::string file = EncodePng(w, h, pixels.data());
  // The header chunk comes first; its fields say 8-bit RGB with alpha, not interlaced.
  ASSERT_GE(file.size(), 33u);
  EXPECT_EQ(file.substr(0, 16), std::string("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR", 16));
  EXPECT_EQ(Be32(file, 16), uint32_t(w));
  EXPECT_EQ(Be32(file, 20), uint32_t(h));
  EXPECT_EQ(file.substr(24, 5), std::string("\x08\x06\0\0\0", 5));  // depth, type, methods
  EXPECT_EQ(file.substr(file.size() - 12), std::string("\0\0\0\0IEND\xAE\x42\x60\x82", 12));
  DecodedPng png;
  ASSERT_EQ(DecodePng(file, png), "");
  EXPECT_EQ(png.width, w);
  EXPECT_EQ(png.height, h);
  EXPECT_EQ(png.channels, 4);
  EXPECT_TRUE(png.pixels == pixels);
}

TEST(PngWriter, ChunkChecksumIsTheFormatsCrc32) {
  EXPECT_EQ(PngCrc32("123456789", 9), 0xCBF43926u);  // the CRC-32 check value
  EXPECT_EQ(PngCrc32("IEND", 4), 0xAE426082u);       // the last four bytes of every PNG file
  EXPECT_EQ(PngCrc32("", 0), 0u);
}

TEST(PngWriter, RefusesEmptyImages) {
  uint32_t one = PngRgba(1, 2, 3);
  EXPECT_EQ(EncodePng(0, 1, &one), "");
  EXPECT_EQ(EncodePng(1, -1, &one), "");
  TempFolder dir{"btl_演示"};
  EXPECT_FALSE(WritePng(dir.File("空.png"), 0, 0, &one));
}

TEST(PngWriter, WritesTheEncodedBytesUnderAChinesePath) {
  TempFolder dir{"btl_演示"};
  std::vector<uint32_t> pixels(12 * 5, PngRgba(200, 10, 10, 128));
  std::string path = dir.File("旗帜.png");
  ASSERT_TRUE(WritePng(path, 12, 5, pixels.data()));
  std::string written;
  ASSERT_TRUE(ReadWholeFile(path, written));
  EXPECT_TRUE(written == EncodePng(12, 5, pixels.data()));
}

// ---- The generated data folder ----------------------------------------------------------

// One generation for the whole suite; the files are read back from disk.
class DemoDataTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    folder_ = new TempFolder{"btl_演示"};
    error_ = WriteDemoData(folder_->Utf8());
  }
  static void TearDownTestSuite() {
    delete folder_;
    folder_ = nullptr;
  }
  void SetUp() override { ASSERT_EQ(error_, ""); }

  static std::string file(const std::string& relative) {
    std::string bytes;
    EXPECT_TRUE(ReadWholeFile(folder_->File(relative), bytes)) << relative;
    return bytes;
  }
  static Json::Value catalog(const std::string& name) {
    std::istringstream in(file(DataPath(name)));
    Json::Value root;
    std::string errors;
    EXPECT_TRUE(Json::parseFromStream(Json::CharReaderBuilder(), in, &root, &errors))
        << name << errors;
    EXPECT_TRUE(root.isArray()) << name;
    return root;
  }

  static TempFolder* folder_;
  static std::string error_;
};

TempFolder* DemoDataTest::folder_ = nullptr;
std::string DemoDataTest::error_;

TEST_F(DemoDataTest, TwoRunsWriteTheSameBytes) {
  TempFolder again{"btl_演示"};
  ASSERT_EQ(WriteDemoData(again.Utf8()), "");
  std::vector<DemoFile> files;
  ASSERT_EQ(MakeDemoFiles(files), "");
  ASSERT_GT(files.size(), 400u);
  for (const DemoFile& f : files) {
    std::string first = file(f.path), second;
    ASSERT_TRUE(ReadWholeFile(again.File(f.path), second)) << f.path;
    EXPECT_TRUE(first == second) << f.path;
    EXPECT_TRUE(first == f.bytes) << f.path;
  }
}

// A battle file cut into its sections by the header's counts.
struct BtlView {
  BtlHeader header{};
  std::vector<TeamRecord> teams;
  std::string owners;
  std::vector<BuildingRecord> buildings;
  std::vector<UnitRecord> units;
  std::vector<GeneralEntry> generals;
  int64_t tail = -1;  // bytes left after the generals; negative when the counts overrun
};

BtlView CutSections(const std::string& f) {
  BtlView v;
  if (f.size() < sizeof(BtlHeader)) return v;
  memcpy(&v.header, f.data(), sizeof v.header);
  const BtlHeader& h = v.header;
  int64_t need = int64_t(sizeof(BtlHeader)) + int64_t(h.teamCount) * int64_t(kTeamFileBytes) +
                 int64_t(h.rangeWidth) * h.rangeHeight + int64_t(h.buildingCount) * 20 +
                 int64_t(h.unitCount) * 28 + int64_t(h.generalCount) * 4;
  v.tail = int64_t(f.size()) - need;
  if (v.tail < 0) return v;
  size_t at = sizeof(BtlHeader);
  v.teams.resize(size_t(h.teamCount));
  for (TeamRecord& t : v.teams) {
    memcpy(&t, f.data() + at, kTeamFileBytes);
    at += kTeamFileBytes;
  }
  v.owners = f.substr(at, size_t(h.rangeWidth) * h.rangeHeight);
  at += v.owners.size();
  auto take = [&](auto& vec, int count) {
    vec.resize(size_t(count));
    memcpy(vec.data(), f.data() + at, vec.size() * sizeof vec[0]);
    at += vec.size() * sizeof vec[0];
  };
  take(v.buildings, h.buildingCount);
  take(v.units, h.unitCount);
  take(v.generals, h.generalCount);
  return v;
}

TEST_F(DemoDataTest, BattleFileSectionsAddUpToTheFileSize) {
  BtlView small = CutSections(file("demo_small.btl"));
  BtlView large = CutSections(file("demo_large.btl"));
  BtlView messy = CutSections(file("demo_messy.btl"));
  EXPECT_EQ(small.tail, 0);
  EXPECT_GE(large.tail, 2048);
  EXPECT_LE(large.tail, 16384);
  EXPECT_GE(messy.tail, 0);
}

// What loading and saving with the file's own range reproduces byte for byte: records inside
// the range, one per hex, in ascending position, owners that name a team or nobody, alpha 255.
void ExpectClean(const BtlView& v, const std::string& world_bin, const std::set<int>& commanders,
                 const std::string& name) {
  SCOPED_TRACE(name);
  const BtlHeader& h = v.header;
  int32_t world_width;
  memcpy(&world_width, world_bin.data() + 8, 4);
  auto inside = [&](uint16_t pos) {
    int x = pos % world_width - h.originX, y = pos / world_width - h.originY;
    return x >= 0 && y >= 0 && x < h.rangeWidth && y < h.rangeHeight;
  };
  auto terrain = [&](int x, int y) {
    return uint8_t(world_bin[16 + 12 * (size_t(h.originY + y) * world_width + h.originX + x)]);
  };
  for (size_t i = 0; i < v.buildings.size(); ++i) {
    EXPECT_TRUE(inside(v.buildings[i].position)) << "building " << i;
    if (i) {
      EXPECT_LT(v.buildings[i - 1].position, v.buildings[i].position) << "building " << i;
    }
    EXPECT_TRUE(v.buildings[i].buildingCode || v.buildings[i].facilityType ||
                v.buildings[i].defence);
  }
  std::set<int> generals_used;
  for (size_t i = 0; i < v.units.size(); ++i) {
    const UnitRecord& u = v.units[i];
    EXPECT_TRUE(inside(u.position)) << "unit " << i;
    if (i) {
      EXPECT_LT(v.units[i - 1].position, u.position) << "unit " << i;
    }
    EXPECT_NE(u.unitClass, 0) << "unit " << i;
    if (u.general != kNoGeneral) {
      EXPECT_LT(int(u.general), int(v.generals.size())) << "unit " << i;
      EXPECT_TRUE(generals_used.insert(u.general).second) << "general shared, unit " << i;
    }
  }
  EXPECT_EQ(generals_used.size() > 0, !v.generals.empty());
  for (const GeneralEntry& g : v.generals) {
    EXPECT_TRUE(commanders.count(g.commander)) << g.commander;
    EXPECT_GE(g.rank, 1);
    EXPECT_LE(g.rank, 10);
  }
  std::set<uint32_t> colours;
  for (const TeamRecord& t : v.teams) {
    EXPECT_EQ(t.fileColour[3], 255);
    colours.insert(uint32_t(t.fileColour[0]) | t.fileColour[1] << 8 | t.fileColour[2] << 16);
  }
  EXPECT_EQ(colours.size(), v.teams.size());
  for (int y = 0; y < h.rangeHeight; ++y)
    for (int x = 0; x < h.rangeWidth; ++x) {
      uint8_t owner = uint8_t(v.owners[size_t(y) * h.rangeWidth + x]);
      EXPECT_TRUE(owner == kUnownedTeam || owner < v.teams.size()) << x << "," << y;
      if (terrain(x, y) == 1) {
        EXPECT_EQ(owner, kUnownedTeam) << "sea at " << x << "," << y;
      }
    }
}

TEST_F(DemoDataTest, DemoScenariosSurviveALoadAndSaveUnchanged) {
  std::string world = file(DataPath("world.bin"));
  std::set<int> commanders, countries;
  for (const Json::Value& e : catalog("CommanderSettings.json")) commanders.insert(e["Id"].asInt());
  for (const Json::Value& e : catalog("CountrySettings.json")) countries.insert(e["Id"].asInt());

  BtlView small = CutSections(file("demo_small.btl"));
  ExpectClean(small, world, commanders, "demo_small");
  EXPECT_EQ(small.teams.size(), 3u);
  EXPECT_EQ(small.generals.size(), 2u);

  BtlView large = CutSections(file("demo_large.btl"));
  ExpectClean(large, world, commanders, "demo_large");
  EXPECT_EQ(large.header.originX, 10);
  EXPECT_EQ(large.header.originY, 5);
  EXPECT_EQ(large.teams.size(), 12u);
  EXPECT_GT(large.units.size(), 1500u);
  EXPECT_GT(large.buildings.size(), 400u);
  std::set<int> team_countries;
  for (const TeamRecord& t : large.teams) {
    EXPECT_TRUE(countries.count(t.country)) << t.country;
    team_countries.insert(t.country);
  }
  EXPECT_EQ(team_countries.size(), 12u);
  // Every kind of city mark is exercised: all ten levels, each facility byte, anti-air 1..3.
  std::set<int> city_codes, aa_types;
  int industry = 0, airport = 0, missile = 0, nuclear = 0, defence = 0;
  for (const BuildingRecord& b : large.buildings) {
    if (b.buildingCode / 100 == 101) city_codes.insert(b.buildingCode);
    industry += b.industry != 0;
    airport += b.airport != 0;
    missile += b.missile != 0;
    nuclear += b.nuclear != 0;
    defence += b.defence != 0;
    if (b.facilityType) aa_types.insert(b.facilityType);
  }
  EXPECT_EQ(city_codes.size(), 10u);
  EXPECT_EQ(aa_types, (std::set<int>{1, 2, 3}));
  EXPECT_TRUE(industry && airport && missile && nuclear && defence);
}

TEST_F(DemoDataTest, MessyScenarioHasEveryFaultTheCheckerLooksFor) {
  BtlView v = CutSections(file("demo_messy.btl"));
  ASSERT_GE(v.tail, 0);
  int32_t world_width;
  memcpy(&world_width, file(DataPath("world.bin")).data() + 8, 4);
  bool descending = false, duplicate = false, class_zero = false, outside = false,
       bad_general = false;
  std::set<uint16_t> seen;
  for (size_t i = 0; i < v.units.size(); ++i) {
    descending |= i > 0 && v.units[i].position < v.units[i - 1].position;
    duplicate |= !seen.insert(v.units[i].position).second;
    class_zero |= v.units[i].unitClass == 0;
    bad_general |= v.units[i].general != kNoGeneral && v.units[i].general >= v.generals.size();
  }
  for (const BuildingRecord& b : v.buildings) {
    int x = b.position % world_width - v.header.originX,
        y = b.position / world_width - v.header.originY;
    outside |= x < 0 || y < 0 || x >= v.header.rangeWidth || y >= v.header.rangeHeight;
  }
  bool alpha = false, stray_owner = false;
  for (const TeamRecord& t : v.teams) alpha |= t.fileColour[3] != 255;
  for (char o : v.owners) stray_owner |= uint8_t(o) != kUnownedTeam && uint8_t(o) >= v.teams.size();
  EXPECT_TRUE(descending);
  EXPECT_TRUE(duplicate);
  EXPECT_TRUE(class_zero);
  EXPECT_TRUE(outside);
  EXPECT_TRUE(bad_general);
  EXPECT_TRUE(alpha);
  EXPECT_TRUE(stray_owner);
}

TEST_F(DemoDataTest, CatalogsFitTheirSlotsAndNameEveryPicture) {
  auto expect_name = [](const Json::Value& e) {
    std::string n = e["OName"].asString();
    EXPECT_FALSE(n.empty());
    EXPECT_LE(n.size(), 18u) << n;
  };
  Json::Value countries = catalog("CountrySettings.json");
  std::set<int> country_ids;
  for (const Json::Value& e : countries) {
    int id = e["Id"].asInt();
    EXPECT_TRUE(id >= 1 && id <= 199) << id;
    EXPECT_TRUE(country_ids.insert(id).second) << id;
    EXPECT_TRUE(FileExists(folder_->File(PicturePath("flag_" + std::to_string(id) + ".png"))));
  }
  EXPECT_GE(countries.size(), 100u);
  Json::Value commanders = catalog("CommanderSettings.json");
  EXPECT_GE(commanders.size(), 250u);
  for (const Json::Value& e : commanders) {
    expect_name(e);
    std::string photo = e["Photo"].asString();
    EXPECT_TRUE(FileExists(folder_->File(PicturePath(JoinPath("smallheads", photo + ".png")))))
        << photo;
  }
  // A unit's label is its type name's first character: one per category, distinct.
  std::map<int, std::string> first_char;
  for (const Json::Value& e : catalog("ArmySettings.json")) {
    expect_name(e);
    EXPECT_GE(e["Id"].asInt(), 100001);
    std::string head = e["OName"].asString().substr(0, 3);
    auto [it, fresh] = first_char.emplace(e["Army"].asInt(), head);
    EXPECT_EQ(it->second, head) << e["OName"].asString();
  }
  std::set<std::string> heads;
  for (const auto& [category, head] : first_char) heads.insert(head);
  EXPECT_EQ(heads.size(), first_char.size());
  for (const Json::Value& e : catalog("BuildingSettings.json")) expect_name(e);
  for (const Json::Value& e : catalog("RankSettings.json")) expect_name(e);

  // String table: CR LF only, short lines, a name for every country and many cities.
  std::string table = file(DataPath("stringtable_cn.ini"));
  std::set<int> named;
  int cities = 0;
  size_t start = 0;
  while (start < table.size()) {
    size_t end = table.find("\r\n", start);
    ASSERT_NE(end, std::string::npos) << "last line without CR LF";
    std::string line = table.substr(start, end - start);
    EXPECT_EQ(line.find('\n'), std::string::npos);
    EXPECT_LT(line.size(), 149u) << line;
    std::string value = line.substr(line.find('=') + 1);
    if (line.rfind("text3_countryname_", 0) == 0) named.insert(atoi(line.c_str() + 18));
    if (line.rfind("city_cityname_", 0) == 0) ++cities;
    if (line.rfind("text3_countryname_", 0) == 0 || line.rfind("city_cityname_", 0) == 0) {
      EXPECT_LE(value.size(), 18u) << line;
    }
    start = end + 2;
  }
  EXPECT_EQ(named, country_ids);
  EXPECT_GE(cities, 200);

  // 配置.ini is GBK: "[配置]" and "格子边长=3" in code page 936 bytes.
  std::string config = file(DataPath("配置.ini"));
  EXPECT_NE(config.find("[\xC5\xE4\xD6\xC3]\r\n"), std::string::npos);
  EXPECT_NE(config.find("\xB8\xF1\xD7\xD3\xB1\xDF\xB3\xA4=3\r\n"), std::string::npos);
  EXPECT_NE(config.find("stringtable_cn.ini\r\n"), std::string::npos);
}

TEST_F(DemoDataTest, PicturesHaveTheirSizesAndKeepBlackForTransparency) {
  struct Expect {
    std::string name;
    uint32_t w, h;
    bool opaque;
  };
  std::vector<Expect> pictures = {{"facility_city.png", 125, 125, false},
                                  {"facility_factory.png", 40, 40, false},
                                  {"facility_airport.png", 40, 40, false},
                                  {"facility_launch.png", 40, 40, false},
                                  {"facility_nuclear.png", 40, 40, false},
                                  {"level_max.png", 30, 30, false},
                                  {JoinPath("smallheads", "c0001.png"), 50, 50, true}};
  for (int i = 1; i <= 3; ++i)
    pictures.push_back({"antiair_" + std::to_string(i) + ".png", 40, 40, false});
  for (int i = 1; i <= 4; ++i)
    pictures.push_back({"button_" + std::to_string(i) + ".png", 70, 65, false});
  for (int i = 0; i < 4; ++i)
    pictures.push_back({"dirbutton_" + std::to_string(i) + ".png", 30, 30, true});
  for (const Json::Value& e : catalog("CountrySettings.json"))
    pictures.push_back({"flag_" + std::to_string(e["Id"].asInt()) + ".png", 60, 40, false});

  for (const Expect& p : pictures) {
    SCOPED_TRACE(p.name);
    DecodedPng png;
    ASSERT_EQ(DecodePng(file(PicturePath(p.name)), png), "");
    EXPECT_EQ(png.width, int(p.w));
    EXPECT_EQ(png.height, int(p.h));
    int clear = 0, black = 0;
    for (int y = 0; y < png.height; ++y)
      for (int x = 0; x < png.width; ++x) {
        uint32_t v = png.At(x, y);
        uint32_t alpha = v >> 24;
        EXPECT_TRUE(alpha == 0 || alpha == 255);  // no half-transparent edges
        clear += alpha == 0;
        black += alpha == 255 && (v & 0xFFFFFF) == 0;
      }
    EXPECT_EQ(black, 0);
    if (p.opaque) {
      EXPECT_EQ(clear, 0);
    } else {
      EXPECT_GT(clear, 0);
    }
  }
}

}  // namespace
