#include "btl/import_json.h"

#include <rapidjson/error/error.h>
#include <rapidjson/reader.h>

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string_view>

#include "base/files.h"
#include "scenario/battle_format.h"
#include "scenario/battle_read.h"
#include "scenario/field_text.h"
#include "scenario/record_fields.h"

namespace {

std::string N(int64_t v) { return std::to_string(v); }

// A RapidJSON input stream over the document, read in blocks (from a file, or from text held
// whole), that can say which line it has reached, so that each value the reader hands over
// can be placed: a value ends on the line the reader has reached. Lines are counted only when
// asked, from where the last count stopped, so reading costs no more than a plain stream.
class JsonInput {
 public:
  using Ch = char;
  using Source = size_t (*)(void* from, char* into, size_t size);  // bytes read; 0 at the end

  JsonInput(Source source, void* from) : source_(source), from_(from), buffer_(kBlock + 1) {
    Refill();
    // A UTF-8 byte-order mark, as some editors write, is passed over (where four bytes
    // follow, as RapidJSON's own encoded streams do).
    if (end_ - at_ >= 4 && memcmp(at_, "\xEF\xBB\xBF", 3) == 0) at_ += 3;
    counted_ = at_;
  }

  Ch Peek() const { return *at_; }
  Ch Take() {
    Ch c = *at_;
    if (at_ != end_ && ++at_ == end_) Refill();
    return c;
  }
  size_t Tell() const { return before_ + size_t(at_ - buffer_.data()); }
  // Never written to.
  Ch* PutBegin() { return nullptr; }
  void Put(Ch) {}
  void Flush() {}
  size_t PutEnd(Ch*) { return 0; }

  // The line (from 1) of the next character.
  size_t line() {
    lines_ += size_t(std::count(counted_, static_cast<const char*>(at_), '\n'));
    counted_ = at_;
    return lines_ + 1;
  }

 private:
  static constexpr size_t kBlock = 1 << 16;

  // Past the block's end: the next block, or the end of the document (a NUL at `at_`).
  void Refill() {
    line();
    before_ += size_t(end_ - buffer_.data());
    size_t got = source_(from_, buffer_.data(), kBlock);
    at_ = buffer_.data();
    counted_ = at_;
    end_ = at_ + got;
    *end_ = '\0';
  }

  Source source_;
  void* from_;
  std::vector<char> buffer_;  // one block and a NUL after it
  char* at_ = buffer_.data();
  char* end_ = buffer_.data();
  const char* counted_ = buffer_.data();  // lines before it are in lines_
  size_t lines_ = 0;
  size_t before_ = 0;  // bytes of the blocks before this one
};

// Why RapidJSON stopped, in the user's words.
const char* ParseErrorText(rapidjson::ParseErrorCode code) {
  switch (code) {
    case rapidjson::kParseErrorDocumentEmpty: return "文件是空的";
    case rapidjson::kParseErrorDocumentRootNotSingular: return "文档结束后还有内容";
    case rapidjson::kParseErrorValueInvalid: return "这里的值无效";
    case rapidjson::kParseErrorObjectMissName: return "对象中缺少键名";
    case rapidjson::kParseErrorObjectMissColon: return "键名后缺少冒号";
    case rapidjson::kParseErrorObjectMissCommaOrCurlyBracket: return "对象中缺少逗号或右花括号 }";
    case rapidjson::kParseErrorArrayMissCommaOrSquareBracket: return "数组中缺少逗号或右方括号 ]";
    case rapidjson::kParseErrorStringUnicodeEscapeInvalidHex:
      return "字符串中的 \\u 转义后不是四位十六进制数";
    case rapidjson::kParseErrorStringUnicodeSurrogateInvalid: return "字符串中的代理对无效";
    case rapidjson::kParseErrorStringEscapeInvalid: return "字符串中的转义无效";
    case rapidjson::kParseErrorStringMissQuotationMark: return "字符串缺少结尾的引号";
    case rapidjson::kParseErrorStringInvalidEncoding: return "字符串不是有效的 UTF-8";
    case rapidjson::kParseErrorNumberTooBig: return "数字太大";
    case rapidjson::kParseErrorNumberMissFraction: return "小数点后缺少数字";
    case rapidjson::kParseErrorNumberMissExponent: return "指数中缺少数字";
    case rapidjson::kParseErrorTermination: return "读取中止";
    default: return "无法解析";
  }
}

// The document's parts, in the order of the file they make.
enum Part {
  kFormat,
  kVersion,
  kHeader,
  kTeams,
  kOwners,
  kBuildings,
  kUnits,
  kGenerals,
  kTail,
  kParts
};
const char* const kPartKeys[kParts] = {"format",    "version", "header",   "teams", "owners",
                                       "buildings", "units",   "generals", "tail"};

struct Section {
  const RecordFields* fields = nullptr;  // record lists
  int64_t limit = 0;                     // records, rows or tail bytes
  std::vector<uint8_t> bytes;
  int64_t count = 0;
};

struct Frame {
  enum Kind { kRoot, kRecord, kGroup, kList } kind;
  Part part = kFormat;            // kRecord, kList: the section
  std::span<const Field> fields;  // kRecord, kGroup
  size_t base = 0;                // kRecord, kGroup: where its bytes start in the section
  // Its step in the path: a key ("units", "techLevels"), or an item's index ("[3]").
  const char* key = nullptr;
  int64_t index = -1;
  uint64_t seen = 0;  // fields (or parts) met so far
  int pending = -1;   // the field (or part) whose value comes next
  int last = -1;      // the field (or part) whose key came last
};

enum class Type { kNumber, kString, kBool, kNull };

class Importer {
 public:
  explicit Importer(std::string document) : document_(std::move(document)) {
    section_[kHeader].fields = &HeaderFields();
    section_[kHeader].bytes.resize(kHeaderBytes);
    section_[kTeams] = {&TeamFields(), kMaxTeams};
    section_[kOwners].limit = kMaxGrid;
    section_[kBuildings] = {&BuildingFields(), kMaxBuildings};
    section_[kUnits] = {&UnitFields(), kMaxUnits};
    section_[kGenerals] = {&GeneralFields(), kMaxGenerals};
    section_[kTail].limit = kMaxTail;
  }

  Status Read(JsonInput& in) {
    in_ = &in;
    rapidjson::Reader reader;
    constexpr unsigned kFlags =
        rapidjson::kParseNumbersAsStringsFlag | rapidjson::kParseValidateEncodingFlag;
    rapidjson::ParseResult r = reader.Parse<kFlags>(in, *this);
    if (!failure_.ok()) return failure_;
    if (r.IsError())
      return Fail(FailureKind::kBadValue, Where(in.line(), StoppedAt()) + "不是有效的 JSON: " +
                                              ParseErrorText(r.Code()) + "。");
    return Ok();
  }

  Status Assemble(std::vector<uint8_t>& bytes);

  // RapidJSON's handler.
  bool Null() { return Scalar(Type::kNull, ""); }
  bool Bool(bool) { return Scalar(Type::kBool, ""); }
  bool Int(int) { return Scalar(Type::kNumber, ""); }  // numbers come as text (RawNumber)
  bool Uint(unsigned) { return Scalar(Type::kNumber, ""); }
  bool Int64(int64_t) { return Scalar(Type::kNumber, ""); }
  bool Uint64(uint64_t) { return Scalar(Type::kNumber, ""); }
  bool Double(double) { return Scalar(Type::kNumber, ""); }
  bool RawNumber(const char* s, rapidjson::SizeType n, bool) {
    return Scalar(Type::kNumber, std::string_view(s, n));
  }
  bool String(const char* s, rapidjson::SizeType n, bool) {
    return Scalar(Type::kString, std::string_view(s, n));
  }
  bool StartObject();
  bool Key(const char* s, rapidjson::SizeType n, bool);
  bool EndObject(rapidjson::SizeType);
  bool StartArray();
  bool EndArray(rapidjson::SizeType);

 private:
  std::string Where(size_t line, const std::string& path) const {
    return "JSON 文件" + Quoted(document_) + "第 " + N(int64_t(line)) + " 行" +
           (path.empty() ? "" : "，" + path) + ": ";
  }
  // The path of the top frame, and of its pending value when `withPending`.
  std::string Path(bool withPending) const;
  // Where the parser stopped: the pending value's path, or in a list the item that was next.
  std::string StoppedAt() const {
    std::string path = Path(true);
    if (!frames_.empty() && frames_.back().kind == Frame::kList)
      path += "[" + N(section_[frames_.back().part].count) + "]";
    return path;
  }
  bool Refuse(const std::string& what, bool withPending = true) {
    failure_ = Fail(FailureKind::kBadValue, Where(in_->line(), Path(withPending)) + what);
    return false;
  }
  // Refuses item `index` of the list of `part` (taken by value: the frames move).
  bool RefuseItem(Part part, int64_t index, const std::string& what) {
    frames_.push_back({Frame::kRecord, part, {}, 0, nullptr, index});
    return Refuse(what, false);
  }
  bool Scalar(Type type, std::string_view text);
  bool FieldValue(const Field& f, Type type, std::string_view text, uint8_t* record);
  bool PartValue(Part part, Type type, std::string_view text);
  bool Row(Type type, std::string_view text);
  bool Push(Frame frame);
  const Field* PendingField() const {
    const Frame& top = frames_.back();
    return top.pending >= 0 && top.kind != Frame::kRoot ? &top.fields[size_t(top.pending)]
                                                        : nullptr;
  }
  uint8_t* RecordBytes(const Frame& f) { return section_[f.part].bytes.data() + f.base; }

  std::string document_;
  JsonInput* in_ = nullptr;  // the document being read
  Section section_[kParts];
  std::vector<Frame> frames_;
  struct RowSeen {
    size_t bytes, line;
  };
  std::vector<RowSeen> rows_;  // the owners rows as they came
  size_t ownersEnd_ = 0;       // the line where the owners list ends
  bool started_ = false;
  Status failure_;
};

bool IsHelper(const Field& f) { return f.kind == FieldKind::kColumn || f.kind == FieldKind::kRow; }

const char* TypeWanted(const Field& f) {
  switch (f.kind) {
    case FieldKind::kU8:
    case FieldKind::kU16:
    case FieldKind::kI32: return "应为整数";
    case FieldKind::kF32: return "应为数，或 \"0x\" 加 8 位十六进制数字（浮点数的位）";
    case FieldKind::kBytes: return "应为十六进制数字的字符串";
    case FieldKind::kColour: return "应为 \"#RRGGBB\" 形式的颜色";
    case FieldKind::kGroup: return "应为对象";
    default: return "应为数或字符串";
  }
}

// An integer's text in JSON's grammar, without fraction or exponent.
bool IntegerFromText(std::string_view t, int64_t& v) {
  size_t i = !t.empty() && t[0] == '-' ? 1 : 0;
  if (i == t.size() || t.size() > 20) return false;
  for (size_t k = i; k < t.size(); ++k)
    if (t[k] < '0' || t[k] > '9') return false;
  auto [end, error] = std::from_chars(t.data(), t.data() + t.size(), v);
  return error == std::errc() && end == t.data() + t.size();
}

bool IsInteger(std::string_view t) { return t.find_first_of(".eE") == std::string_view::npos; }

// Whether the key the reader met, `s` of `n` bytes, is `key`.
// (A key may hold a NUL of its own.)
bool SameKey(const char* s, size_t n, const char* key) {
  for (size_t i = 0; i < n; ++i)
    if (key[i] == '\0' || key[i] != s[i]) return false;
  return key[n] == '\0';
}

std::string Importer::Path(bool withPending) const {
  std::string path;
  for (const Frame& f : frames_) {
    if (f.index >= 0) {
      path += "[" + N(f.index) + "]";
    } else if (f.key) {
      if (!path.empty()) path += '.';
      path += f.key;
    }
  }
  if (withPending && !frames_.empty() && frames_.back().pending >= 0) {
    const Frame& top = frames_.back();
    if (!path.empty()) path += '.';
    path += top.kind == Frame::kRoot ? kPartKeys[top.pending] : top.fields[size_t(top.pending)].key;
  }
  return path;
}

bool Importer::FieldValue(const Field& f, Type type, std::string_view text, uint8_t* record) {
  switch (f.kind) {
    case FieldKind::kU8:
    case FieldKind::kU16:
    case FieldKind::kI32: {
      if (type != Type::kNumber || !IsInteger(text)) return Refuse(TypeWanted(f));
      int64_t v = 0;
      bool read = IntegerFromText(text, v);
      if (!read || v < FieldMin(f) || v > FieldMax(f))
        return Refuse("值 " + std::string(text) + " 超出范围（" + N(FieldMin(f)) + " 到 " +
                      N(FieldMax(f)) + "）。");
      WriteNumber(f, v, record);
      return true;
    }
    case FieldKind::kF32: {
      float v = 0;
      if (type == Type::kNumber) {
        if (!FloatFromJsonNumber(std::string(text), v))
          return Refuse("值 " + std::string(text) + " 超出 32 位浮点数的范围。");
      } else if (type != Type::kString || !FloatFromBitsText(std::string(text), v)) {
        return Refuse(TypeWanted(f));
      }
      memcpy(record + f.offset, &v, 4);
      return true;
    }
    case FieldKind::kBytes:
      if (type != Type::kString || !BytesFromHex(text, record + f.offset, f.size))
        return Refuse(std::string(TypeWanted(f)) + "（" + N(f.size) + " 字节，" + N(2 * f.size) +
                      " 个数字）。");
      return true;
    case FieldKind::kColour:
      if (type != Type::kString || text.size() != 7 || text[0] != '#' ||
          !BytesFromHex(text.substr(1), record + f.offset, 3))
        return Refuse(std::string(TypeWanted(f)) + "。");
      return true;
    case FieldKind::kGroup: return Refuse(std::string(TypeWanted(f)) + "。");
    case FieldKind::kColumn:
    case FieldKind::kRow:
      if (type != Type::kNumber && type != Type::kString)
        return Refuse(std::string(TypeWanted(f)) + "。");
      return true;  // for reading only
  }
  return true;
}

bool Importer::PartValue(Part part, Type type, std::string_view text) {
  if (part == kFormat) {
    if (type != Type::kString || text != "btl") return Refuse("应为 \"btl\"。");
    return true;
  }
  if (part == kVersion) {
    if (type != Type::kNumber || text != "1") return Refuse("应为 1（本程序读取的版本）。");
    return true;
  }
  return Refuse(part == kHeader ? "应为对象。" : "应为数组。");
}

// One row of the ownership map, or one line of the tail.
bool Importer::Row(Type type, std::string_view text) {
  const Part part = frames_.back().part;
  Section& s = section_[part];
  if (type != Type::kString || text.size() % 2)
    return RefuseItem(part, s.count, "应为十六进制数字的字符串（每字节两个数字）。");
  size_t size = text.size() / 2;
  if (part == kOwners && s.count == s.limit)
    return RefuseItem(part, s.count, "归属地图最多 " + N(kMaxGrid) + " 行。");
  if (part == kTail && int64_t(s.bytes.size() + size) > s.limit)
    return RefuseItem(part, s.count, "附加数据超过了 " + N(kMaxTail) + " 字节的上限。");
  size_t at = s.bytes.size();
  s.bytes.resize(at + size);
  if (!BytesFromHex(text, s.bytes.data() + at, size))
    return RefuseItem(part, s.count, "含有不是十六进制数字的字符。");
  if (part == kOwners) rows_.push_back({size, in_->line()});
  ++s.count;
  return true;
}

bool Importer::Scalar(Type type, std::string_view text) {
  if (frames_.empty()) return Refuse("整个文档应为一个对象。");
  Frame& top = frames_.back();
  if (top.kind == Frame::kList) {
    if (top.part == kOwners || top.part == kTail) return Row(type, text);
    return RefuseItem(top.part, section_[top.part].count, "应为对象。");
  }
  bool ok = top.kind == Frame::kRoot ? PartValue(Part(top.pending), type, text)
                                     : FieldValue(*PendingField(), type, text, RecordBytes(top));
  top.pending = -1;
  return ok;
}

bool Importer::Push(Frame frame) {
  frames_.push_back(std::move(frame));
  return true;
}

bool Importer::StartObject() {
  if (!started_) {
    started_ = true;
    return Push({Frame::kRoot});
  }
  if (frames_.empty()) return Refuse("整个文档应为一个对象。");
  Frame& top = frames_.back();
  if (top.kind == Frame::kRoot) {
    if (top.pending != kHeader) return PartValue(Part(top.pending), Type::kNull, "");
    top.pending = -1;
    return Push({Frame::kRecord, kHeader, HeaderFields().fields, 0, "header"});
  }
  if (top.kind == Frame::kList) {
    const Part part = top.part;
    Section& s = section_[part];
    if (!s.fields) return RefuseItem(part, s.count, "应为十六进制数字的字符串。");
    if (s.count == s.limit)
      return RefuseItem(part, s.count, "超过了 " + N(s.limit) + " 条的上限。");
    size_t base = s.bytes.size();
    s.bytes.resize(base + s.fields->size);
    return Push({Frame::kRecord, part, s.fields->fields, base, nullptr, s.count++});
  }
  const Field* f = PendingField();
  if (f->kind != FieldKind::kGroup) return Refuse(std::string(TypeWanted(*f)) + "。");
  top.pending = -1;
  return Push({Frame::kGroup, top.part, f->group, top.base + f->offset, f->key});
}

bool Importer::Key(const char* s, rapidjson::SizeType n, bool) {
  Frame& top = frames_.back();
  const int keys = top.kind == Frame::kRoot ? int(kParts) : int(top.fields.size());
  auto keyOf = [&](int i) {
    return top.kind == Frame::kRoot ? kPartKeys[i] : top.fields[size_t(i)].key;
  };
  // Keys mostly come in the order export writes them: the search starts after the last one.
  int found = -1;
  for (int k = 0, first = top.last + 1; k < keys && found < 0; ++k) {
    int i = (first + k) % keys;
    if (SameKey(s, n, keyOf(i))) found = i;
  }
  top.last = found;
  if (found < 0 || top.seen >> found & 1) {
    std::string at = Path(false);
    at += (at.empty() ? "" : ".") + std::string(s, n);
    failure_ = Fail(FailureKind::kBadValue,
                    Where(in_->line(), at) + (found < 0 ? "没有这个键。" : "键重复。"));
    return false;
  }
  top.seen |= uint64_t(1) << found;
  top.pending = found;
  return true;
}

bool Importer::EndObject(rapidjson::SizeType) {
  Frame& top = frames_.back();
  size_t count = top.kind == Frame::kRoot ? size_t(kParts) : top.fields.size();
  for (size_t i = 0; i < count; ++i) {
    if (top.seen >> i & 1) continue;
    if (top.kind != Frame::kRoot && IsHelper(top.fields[i])) continue;
    const char* key = top.kind == Frame::kRoot ? kPartKeys[i] : top.fields[i].key;
    return Refuse("缺少键 \"" + std::string(key) + "\"。", false);
  }
  frames_.pop_back();
  return true;
}

bool Importer::StartArray() {
  if (frames_.empty()) return Refuse("整个文档应为一个对象。");
  Frame& top = frames_.back();
  if (top.kind == Frame::kList) {
    const Part part = top.part;
    return RefuseItem(part, section_[part].count,
                      section_[part].fields ? "应为对象。" : "应为十六进制数字的字符串。");
  }
  if (top.kind != Frame::kRoot) return Refuse(std::string(TypeWanted(*PendingField())) + "。");
  Part part = Part(top.pending);
  if (part < kTeams) return PartValue(part, Type::kNull, "");
  top.pending = -1;
  return Push({Frame::kList, part, {}, 0, kPartKeys[part]});
}

bool Importer::EndArray(rapidjson::SizeType) {
  if (frames_.back().part == kOwners) ownersEnd_ = in_->line();
  frames_.pop_back();
  return true;
}

Status Importer::Assemble(std::vector<uint8_t>& bytes) {
  BtlHeader h;
  memcpy(&h, section_[kHeader].bytes.data(), sizeof h);
  const Section& owners = section_[kOwners];
  auto refuse = [&](size_t line, const std::string& path, const std::string& what) {
    return Fail(FailureKind::kBadValue, Where(line, path) + what);
  };
  for (size_t row = 0; row < rows_.size(); ++row)
    if (rows_[row].bytes != size_t(h.rangeWidth))
      return refuse(rows_[row].line, "owners[" + N(int64_t(row)) + "]",
                    "应有 " + N(h.rangeWidth) + " 字节（header.rangeWidth），实有 " +
                        N(int64_t(rows_[row].bytes)) + " 字节。");
  if (owners.count != h.rangeHeight)
    return refuse(ownersEnd_, "owners",
                  "应有 " + N(h.rangeHeight) + " 行（header.rangeHeight），实有 " +
                      N(owners.count) + " 行。");
  h.teamCount = int32_t(section_[kTeams].count);
  h.buildingCount = int32_t(section_[kBuildings].count);
  h.unitCount = int32_t(section_[kUnits].count);
  h.generalCount = int32_t(section_[kGenerals].count);
  bytes.clear();
  bytes.reserve(kHeaderBytes + section_[kTeams].bytes.size() + owners.bytes.size() +
                section_[kBuildings].bytes.size() + section_[kUnits].bytes.size() +
                section_[kGenerals].bytes.size() + section_[kTail].bytes.size());
  const uint8_t* hp = reinterpret_cast<const uint8_t*>(&h);
  bytes.insert(bytes.end(), hp, hp + sizeof h);
  for (Part p : {kTeams, kOwners, kBuildings, kUnits, kGenerals, kTail})
    bytes.insert(bytes.end(), section_[p].bytes.begin(), section_[p].bytes.end());
  return Ok();
}

}  // namespace

namespace {

Status ImportFrom(JsonInput& in, const std::string& name, std::vector<uint8_t>& bytes) {
  Importer importer(name);
  Status s = importer.Read(in);
  if (s.ok()) s = importer.Assemble(bytes);
  if (!s.ok()) return s;
  // Every field has been held to its range, so this cannot fail; it is the same check a load
  // makes, kept so that import can never write a file the editor refuses.
  BattleImage image;
  s = ParseBattleFile(std::move(bytes), name, image);
  bytes = std::move(image.bytes);
  return s;
}

}  // namespace

Status BattleBytesFromJson(const std::string& text, const std::string& name,
                           std::vector<uint8_t>& bytes) {
  std::string_view rest = text;
  JsonInput in(
      [](void* from, char* into, size_t size) {
        std::string_view& left = *static_cast<std::string_view*>(from);
        size_t n = left.copy(into, size);
        left.remove_prefix(n);
        return n;
      },
      &rest);
  return ImportFrom(in, name, bytes);
}

Status BattleBytesFromJsonFile(const std::string& path, std::vector<uint8_t>& bytes) {
  // A folder opens like a file on some systems and then reads as nothing.
  std::error_code ec;
  if (std::filesystem::is_directory(std::filesystem::path(std::u8string(path.begin(), path.end())),
                                    ec))
    return Fail(FailureKind::kCannotOpen, Quoted(path) + "是一个文件夹，不是 JSON 文件。");
  FILE* f = OpenFile(path, "rb");
  if (!f) return Fail(FailureKind::kCannotOpen, "无法打开 JSON 文件" + Quoted(path) + "。");
  JsonInput in([](void* from, char* into,
                  size_t size) { return fread(into, 1, size, static_cast<FILE*>(from)); },
               f);
  Status s = ImportFrom(in, path, bytes);
  fclose(f);
  return s;
}
