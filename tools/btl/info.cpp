#include "tools/btl/info.h"

#include <rapidjson/prettywriter.h>
#include <rapidjson/stringbuffer.h>

#include <cstdio>
#include <cstring>

#include "tools/btl/field_text.h"
#include "tools/btl/names.h"

namespace {

std::string N(int64_t v) { return std::to_string(v); }

// What both forms show, gathered once.
struct Facts {
  bool counted = false;  // the range a load offers could be placed
  int32_t savedBuildings = 0, savedUnits = 0;
};

Facts Gather(const BattleImage& im, const WorldImage& world) {
  Facts f;
  const MapRange range = InitialRange(im.fileRange(), world);
  if (CheckRange(range, world.width, world.height).ok()) {
    const KeptRecords kept = CountKeptRecords(im, world.width, range);
    f.counted = true;
    f.savedBuildings = kept.buildings;
    f.savedUnits = kept.units;
  }
  return f;
}

TeamRecord TeamAt(const BattleImage& im, int i) {
  TeamRecord t{};
  memcpy(&t, im.bytes.data() + im.teamsAt + size_t(i) * kTeamFileBytes, kTeamFileBytes);
  return t;
}

GeneralEntry GeneralAt(const BattleImage& im, int i) {
  GeneralEntry g;
  memcpy(&g, im.bytes.data() + im.generalsAt + size_t(i) * sizeof g, sizeof g);
  return g;
}

std::string Rgb(const TeamRecord& t) { return "#" + HexText(t.fileColour, 3); }

std::string SpacedHex(const uint8_t* p, size_t n) {
  std::string s;
  char buf[4];
  for (size_t i = 0; i < n; ++i) {
    snprintf(buf, sizeof buf, "%02X", p[i]);
    if (i) s += ' ';
    s += buf;
  }
  return s;
}

using Writer = rapidjson::PrettyWriter<rapidjson::StringBuffer>;

void Key(Writer& w, const char* key) { w.Key(key, rapidjson::SizeType(strlen(key))); }
void String(Writer& w, const std::string& s) { w.String(s.data(), rapidjson::SizeType(s.size())); }
void Int(Writer& w, const char* key, int64_t v) {
  Key(w, key);
  w.Int64(v);
}
void Text(Writer& w, const char* key, const std::string& s) {
  Key(w, key);
  String(w, s);
}

}  // namespace

std::string InfoText(const BattleImage& im, const WorldImage& world, const std::string& path) {
  const BtlHeader& h = im.header;
  const Facts f = Gather(im, world);
  std::string out;
  out += "文件: " + path + "（" + N(int64_t(im.bytes.size())) + " 字节）\n";
  out += "文件头保留字节 0-7: " + SpacedHex(h.keep0, 8) + "\n";
  out += "地图范围: 起点 (" + N(h.originX) + ", " + N(h.originY) + ")，大小 " + N(h.rangeWidth) +
         " × " + N(h.rangeHeight) + "\n";
  out += "世界地图: " + N(world.width) + " × " + N(world.height) + "\n";
  out += "记录数（文件中）: 队伍 " + N(h.teamCount) + "，建筑 " + N(h.buildingCount) + "，部队 " +
         N(h.unitCount) + "，将领 " + N(h.generalCount) + "\n";
  out += "记录数（保存时）: " + (f.counted ? "建筑 " + N(f.savedBuildings) + "，部队 " + N(f.savedUnits)
                                           : std::string("（文件的范围无法载入，未计算）")) + "\n";
  out += "队伍:\n";
  for (int i = 0; i < h.teamCount; ++i) {
    const TeamRecord t = TeamAt(im, i);
    out += "  " + N(i) + "  国家 " + N(t.country) + InBrackets(CountryName(t.country)) + "  金钱 " +
           N(t.money) + "  颜色 " + Rgb(t) + " (alpha " + N(t.fileColour[3]) + ")\n";
  }
  out += "将领:\n";
  for (int i = 0; i < h.generalCount; ++i) {
    const GeneralEntry g = GeneralAt(im, i);
    out += "  " + N(i) + "  将领 " + N(g.commander) + InBrackets(CommanderName(g.commander)) +
           "  军衔 " + N(g.rank) + "\n";
  }
  out += "附加数据: " + N(int64_t(im.tailSize())) + " 字节（从第 " + N(int64_t(im.tailAt)) +
         " 字节起）\n";
  return out;
}

std::string InfoJson(const BattleImage& im, const WorldImage& world, const std::string& path) {
  const BtlHeader& h = im.header;
  const Facts f = Gather(im, world);
  rapidjson::StringBuffer buffer;
  Writer w(buffer);
  w.StartObject();
  Text(w, "file", path);
  Int(w, "bytes", int64_t(im.bytes.size()));
  Text(w, "headerKeep0", HexText(h.keep0, 8));
  Key(w, "range");
  w.StartObject();
  Int(w, "originX", h.originX);
  Int(w, "originY", h.originY);
  Int(w, "width", h.rangeWidth);
  Int(w, "height", h.rangeHeight);
  w.EndObject();
  Key(w, "world");
  w.StartObject();
  Int(w, "width", world.width);
  Int(w, "height", world.height);
  w.EndObject();
  Key(w, "counts");
  w.StartObject();
  Int(w, "teams", h.teamCount);
  Int(w, "buildings", h.buildingCount);
  Int(w, "units", h.unitCount);
  Int(w, "generals", h.generalCount);
  w.EndObject();
  // null when the range a load offers cannot be placed.
  Key(w, "countsOnSave");
  if (f.counted) {
    w.StartObject();
    Int(w, "buildings", f.savedBuildings);
    Int(w, "units", f.savedUnits);
    w.EndObject();
  } else {
    w.Null();
  }
  Key(w, "teams");
  w.StartArray();
  for (int i = 0; i < h.teamCount; ++i) {
    const TeamRecord t = TeamAt(im, i);
    w.StartObject();
    Int(w, "index", i);
    Int(w, "country", t.country);
    Text(w, "countryName", CountryName(t.country));
    Int(w, "money", t.money);
    Text(w, "colour", Rgb(t));
    Int(w, "alpha", t.fileColour[3]);
    w.EndObject();
  }
  w.EndArray();
  Key(w, "generals");
  w.StartArray();
  for (int i = 0; i < h.generalCount; ++i) {
    const GeneralEntry g = GeneralAt(im, i);
    w.StartObject();
    Int(w, "index", i);
    Int(w, "commander", g.commander);
    Text(w, "commanderName", CommanderName(g.commander));
    Int(w, "rank", g.rank);
    w.EndObject();
  }
  w.EndArray();
  Key(w, "tail");
  w.StartObject();
  Int(w, "bytes", int64_t(im.tailSize()));
  Int(w, "offset", int64_t(im.tailAt));
  w.EndObject();
  w.EndObject();
  return std::string(buffer.GetString(), buffer.GetSize()) + "\n";
}
