#include "btl/info.h"

#include <rapidjson/prettywriter.h>
#include <rapidjson/stringbuffer.h>

#include <charconv>
#include <cstring>
#include <string_view>

#include "scenario/battle_place.h"
#include "scenario/field_text.h"
#include "btl/names.h"

namespace {

// What both forms show, gathered once.
struct Facts {
  bool counted = false;  // the range a load offers could be placed
  int32_t savedBuildings = 0, savedUnits = 0;
};

Facts Gather(const BattleSummary& summary, const WorldImage& world) {
  Facts f;
  if (world.width == 0) return f;  // no world map: what a save keeps is not known
  const MapRange range = InitialRange(summary.fileRange(), world);
  if (CheckRange(range, world.width, world.height).ok()) {
    const KeptRecords kept = CountKeptRecords(summary.occupied, world.width, range);
    f.counted = true;
    f.savedBuildings = kept.buildings;
    f.savedUnits = kept.units;
  }
  return f;
}

std::string Rgb(const TeamRecord& t) { return "#" + HexText(t.fileColour, 3); }

// The text is appended piece by piece to one string: a file may hold 100,000 generals, one
// line each.
void Put(std::string& out, std::string_view text) { out.append(text); }
void Put(std::string& out, int64_t v) {
  char digits[24];
  out.append(digits, std::to_chars(digits, digits + sizeof digits, v).ptr);
}
template <class... Pieces>
void Add(std::string& out, const Pieces&... pieces) {
  (Put(out, pieces), ...);
}

void AddSpacedHex(std::string& out, const uint8_t* p, size_t n) {
  static const char kDigits[] = "0123456789ABCDEF";
  for (size_t i = 0; i < n; ++i) {
    if (i) out += ' ';
    out += kDigits[p[i] >> 4];
    out += kDigits[p[i] & 15];
  }
}

using Writer = rapidjson::PrettyWriter<rapidjson::StringBuffer>;

void Key(Writer& w, const char* key) { w.Key(key, rapidjson::SizeType(strlen(key))); }
// Every string goes out as valid UTF-8, whatever bytes a file name holds.
void String(Writer& w, const std::string& s) {
  const std::string valid = ValidUtf8(s);
  w.String(valid.data(), rapidjson::SizeType(valid.size()));
}
void Int(Writer& w, const char* key, int64_t v) {
  Key(w, key);
  w.Int64(v);
}
void Text(Writer& w, const char* key, const std::string& s) {
  Key(w, key);
  String(w, s);
}

}  // namespace

void AddInfoText(const BattleSummary& summary, const WorldImage& world, const std::string& path,
                 std::string& out) {
  const BtlHeader& h = summary.layout.header;
  const Facts f = Gather(summary, world);
  out.reserve(out.size() + 1024 + size_t(h.teamCount) * 96 + size_t(h.generalCount) * 64);
  Add(out, "文件: ", path, "（", int64_t(summary.layout.size), " 字节）\n");
  Add(out, "文件头保留字节 0-7: ");
  AddSpacedHex(out, h.keep0, 8);
  Add(out, "\n地图范围: 起点 (", h.originX, ", ", h.originY, ")，大小 ", h.rangeWidth, " × ",
      h.rangeHeight, "\n");
  if (world.width == 0)
    Add(out, "世界地图: 没有读到（只有保存时的记录数要用它）\n");
  else
    Add(out, "世界地图: ", world.width, " × ", world.height, "\n");
  Add(out, "记录数（文件中）: 军团 ", h.teamCount, "，建筑 ", h.buildingCount, "，部队 ",
      h.unitCount, "，将军 ", h.generalCount, "\n");
  if (f.counted)
    Add(out, "记录数（保存时）: 建筑 ", f.savedBuildings, "，部队 ", f.savedUnits, "\n");
  else if (world.width == 0)
    Add(out, "记录数（保存时）: （没有世界地图，未计算）\n");
  else
    Add(out, "记录数（保存时）: （文件的范围无法载入，未计算）\n");
  Add(out, "军团:\n");
  for (int i = 0; i < h.teamCount; ++i) {
    const TeamRecord t = summary.team(i);
    Add(out, "  ", i, "  国家 ", t.country, InBrackets(CountryName(t.country)), "  金钱 ", t.money,
        "  颜色 ", Rgb(t), " (alpha ", t.fileColour[3], ")\n");
  }
  Add(out, "将军:\n");
  for (int i = 0; i < h.generalCount; ++i) {
    const GeneralEntry& g = summary.generals[size_t(i)];
    Add(out, "  ", i, "  统帅 ", g.commander, InBrackets(CommanderName(g.commander)), "  军衔 ",
        g.rank, "\n");
  }
  Add(out, "附加数据: ", int64_t(summary.tailSize()), " 字节（从第 ",
      int64_t(summary.layout.tailAt), " 字节起）\n");
}

std::string InfoJson(const BattleSummary& summary, const WorldImage& world,
                     const std::string& path) {
  const BtlHeader& h = summary.layout.header;
  const Facts f = Gather(summary, world);
  rapidjson::StringBuffer buffer;
  Writer w(buffer);
  w.StartObject();
  Text(w, "file", path);
  Int(w, "bytes", int64_t(summary.layout.size));
  Text(w, "headerKeep0", HexText(h.keep0, 8));
  Key(w, "range");
  w.StartObject();
  Int(w, "originX", h.originX);
  Int(w, "originY", h.originY);
  Int(w, "width", h.rangeWidth);
  Int(w, "height", h.rangeHeight);
  w.EndObject();
  // null when the world map could not be read.
  Key(w, "world");
  if (world.width == 0) {
    w.Null();
  } else {
    w.StartObject();
    Int(w, "width", world.width);
    Int(w, "height", world.height);
    w.EndObject();
  }
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
    const TeamRecord t = summary.team(i);
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
    const GeneralEntry& g = summary.generals[size_t(i)];
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
  Int(w, "bytes", int64_t(summary.tailSize()));
  Int(w, "offset", int64_t(summary.layout.tailAt));
  w.EndObject();
  w.EndObject();
  return std::string(buffer.GetString(), buffer.GetSize()) + "\n";
}
