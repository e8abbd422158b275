#include "btl/export_json.h"

#include <rapidjson/writer.h>

#include <algorithm>
#include <cstring>
#include <functional>

#include "scenario/safe_save.h"

#include "scenario/field_text.h"
#include "scenario/record_fields.h"

namespace {

// RapidJSON's output stream over a std::string. The writer hands over one character at a
// time; they are gathered here and appended a record at a time, which is cheaper.
class StringSink {
 public:
  using Ch = char;
  explicit StringSink(std::string& text) : text_(text) {}
  StringSink(const StringSink&) = delete;
  ~StringSink() { Flush(); }
  void Put(char c) {
    if (used_ == sizeof buffer_) Flush();
    buffer_[used_++] = c;
  }
  void Flush() {
    text_.append(buffer_, used_);
    used_ = 0;
  }

 private:
  std::string& text_;
  size_t used_ = 0;
  char buffer_[4096];
};

using Writer = rapidjson::Writer<StringSink>;

constexpr size_t kTailBytesPerLine = 32;

void Key(Writer& w, const char* key) { w.Key(key, rapidjson::SizeType(strlen(key))); }

void String(Writer& w, const std::string& s) { w.String(s.data(), rapidjson::SizeType(s.size())); }

void Fields(Writer& w, std::span<const Field> fields, const uint8_t* record, int32_t worldWidth);

void Value(Writer& w, const Field& f, const uint8_t* record, int32_t worldWidth) {
  switch (f.kind) {
    case FieldKind::kU8:
    case FieldKind::kU16:
    case FieldKind::kI32: w.Int64(ReadNumber(f, record)); return;
    case FieldKind::kF32: {
      float v;
      memcpy(&v, record + f.offset, 4);
      std::string text = ShortestFloatText(v);
      if (text.empty())
        String(w, FloatBitsText(v));
      else
        w.RawValue(text.data(), text.size(), rapidjson::kNumberType);
      return;
    }
    case FieldKind::kBytes: String(w, HexText(record + f.offset, f.size)); return;
    case FieldKind::kColour: String(w, "#" + HexText(record + f.offset, 3)); return;
    case FieldKind::kGroup:
      w.StartObject();
      Fields(w, f.group, record + f.offset, worldWidth);
      w.EndObject();
      return;
    case FieldKind::kColumn:
    case FieldKind::kRow: {
      int64_t position = record[0] | record[1] << 8;  // every positioned record starts with it
      w.Int64(f.kind == FieldKind::kColumn ? position % worldWidth : position / worldWidth);
      return;
    }
  }
}

void Fields(Writer& w, std::span<const Field> fields, const uint8_t* record, int32_t worldWidth) {
  for (const Field& f : fields) {
    bool helper = f.kind == FieldKind::kColumn || f.kind == FieldKind::kRow;
    if (helper && worldWidth <= 0) continue;
    Key(w, f.key);
    Value(w, f, record, worldWidth);
  }
}

// One record as one line of compact JSON.
void Record(std::string& out, const RecordFields& fields, const uint8_t* record,
            int32_t worldWidth) {
  StringSink sink(out);
  Writer w(sink);
  w.StartObject();
  Fields(w, fields.fields, record, worldWidth);
  w.EndObject();
}

void HexLine(std::string& out, const uint8_t* bytes, size_t size) {
  out += '"';
  out += HexText(bytes, size);
  out += '"';
}

// Where the text goes: `out` gathers it, and `spill` (when set) takes what has gathered once
// it is a piece's worth, so that the text need not be held whole.
struct Output {
  std::string& out;
  const std::function<void(std::string&)>* spill = nullptr;

  void Spill() {
    if (spill && out.size() >= kPieceBytes) (*spill)(out);
  }
  static constexpr size_t kPieceBytes = 1 << 20;
};

// `"key": [` then one item a line, then `]`.
template <class Item>
void List(Output& o, const char* key, size_t count, Item item, bool last = false) {
  std::string& out = o.out;
  out += "  \"";
  out += key;
  out += "\": [";
  for (size_t i = 0; i < count; ++i) {
    out += i ? ",\n    " : "\n    ";
    item(i);
    o.Spill();
  }
  out += count ? "\n  ]" : "]";
  out += last ? "\n" : ",\n";
}

// Roughly the size of the text, so the string grows at most once or twice.
size_t ExpectedSize(const BattleImage& im) {
  const BtlHeader& h = im.layout.header;
  return 4096 + size_t(h.teamCount) * 800 + (im.layout.buildingsAt - im.layout.ownersAt) * 2 +
         size_t(h.rangeHeight) * 8 + size_t(h.buildingCount) * 280 + size_t(h.unitCount) * 340 +
         size_t(h.generalCount) * 32 + im.tailSize() * 2 + im.tailSize() / 4;
}

void WriteJson(const BattleImage& im, int32_t worldWidth, Output& o) {
  const BtlHeader& h = im.layout.header;
  const uint8_t* bytes = im.bytes.data();
  std::string& out = o.out;
  out += "{\n  \"format\": \"btl\",\n  \"version\": 1,\n  \"header\": ";
  Record(out, HeaderFields(), bytes, 0);
  out += ",\n";
  List(o, "teams", size_t(h.teamCount), [&](size_t i) {
    Record(out, TeamFields(), bytes + im.layout.teamsAt + i * kTeamFileBytes, 0);
  });
  List(o, "owners", size_t(h.rangeHeight), [&](size_t i) {
    HexLine(out, bytes + im.layout.ownersAt + i * size_t(h.rangeWidth), size_t(h.rangeWidth));
  });
  List(o, "buildings", size_t(h.buildingCount), [&](size_t i) {
    Record(out, BuildingFields(), bytes + im.layout.buildingsAt + i * sizeof(BuildingRecord),
           worldWidth);
  });
  List(o, "units", size_t(h.unitCount), [&](size_t i) {
    Record(out, UnitFields(), bytes + im.layout.unitsAt + i * sizeof(UnitRecord), worldWidth);
  });
  List(o, "generals", size_t(h.generalCount), [&](size_t i) {
    Record(out, GeneralFields(), bytes + im.layout.generalsAt + i * sizeof(GeneralEntry), 0);
  });
  size_t tail = im.tailSize();
  List(
      o, "tail", (tail + kTailBytesPerLine - 1) / kTailBytesPerLine,
      [&](size_t i) {
        size_t at = i * kTailBytesPerLine;
        HexLine(out, bytes + im.layout.tailAt + at, std::min(kTailBytesPerLine, tail - at));
      },
      true);
  out += "}\n";
}

}  // namespace

std::string ExportJson(const BattleImage& im, int32_t worldWidth) {
  std::string out;
  out.reserve(ExpectedSize(im));
  Output o{out};
  WriteJson(im, worldWidth, o);
  return out;
}

Status SaveExportJson(const BattleImage& im, int32_t worldWidth, const std::string& path,
                      size_t& size) {
  size = 0;
  return SafeSaveProduced(path, [&](const SavePieceWriter& write) {
    std::string out;
    out.reserve(2 * Output::kPieceBytes);
    bool ok = true;
    const std::function<void(std::string&)> spill = [&](std::string& text) {
      ok = ok && write(reinterpret_cast<const uint8_t*>(text.data()), text.size());
      size += text.size();
      text.clear();
    };
    Output o{out, &spill};
    WriteJson(im, worldWidth, o);
    if (!out.empty()) spill(out);
  });
}
