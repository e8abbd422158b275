#include "scenario/recovery_file.h"

#include <bit>
#include <cstring>

#include "base/byte_reader.h"
#include "base/files.h"

namespace {

static_assert(std::endian::native == std::endian::little,
              "the recovery file is written and read as the machine holds its records");

constexpr char kMagic[8] = {'B', 'T', 'L', 'R', 'E', 'C', 'O', 'V'};
constexpr uint32_t kVersion = 1;

#pragma pack(push, 1)
struct RecoveryHeader {
  char magic[8];
  uint32_t version;
  uint32_t reserved;   // 0
  uint64_t bodyBytes;  // what follows up to the trailer
};
static_assert(sizeof(RecoveryHeader) == 24);
static_assert(offsetof(RecoveryHeader, bodyBytes) == 16);

struct RecoveryBodyHead {
  uint64_t fileSize;
  uint8_t fileChecksum[32];
  int32_t originX, originY, width, height;
  uint32_t pathBytes;
  uint32_t stepCount;
};
static_assert(sizeof(RecoveryBodyHead) == 64);
static_assert(offsetof(RecoveryBodyHead, originX) == 40);
static_assert(offsetof(RecoveryBodyHead, pathBytes) == 56);

struct RecoveryStepHead {
  int32_t teamCountBefore, teamCountAfter, generalCountBefore, generalCountAfter;
  uint32_t hexCount, teamCount, generalCount;
};
static_assert(sizeof(RecoveryStepHead) == 28);
#pragma pack(pop)

// The step records are written as the history holds them: state their layouts here.
static_assert(sizeof(HexChange) == 112 && offsetof(HexChange, before) == 8 &&
              offsetof(HexChange, after) == 8 + kCellEditBytes);
static_assert(sizeof(TeamChange) == 244 && offsetof(TeamChange, before) == 4 &&
              offsetof(TeamChange, after) == 124);
static_assert(sizeof(GeneralChange) == 12 && offsetof(GeneralChange, before) == 4 &&
              offsetof(GeneralChange, after) == 8);

constexpr size_t kTrailerBytes = 32;
// Records of one step the record can hold at most.
constexpr uint32_t kMaxHexChanges = uint32_t(kMaxGrid) * kMaxGrid;
constexpr uint32_t kMaxTeamChanges = 256;
constexpr uint32_t kMaxGeneralChanges = kMaxGenerals;

uint64_t StepBytes(const EditStep& s) {
  return sizeof(RecoveryStepHead) + s.hexes.size() * sizeof(HexChange) +
         s.teams.size() * sizeof(TeamChange) + s.generals.size() * sizeof(GeneralChange);
}

// A step as it is to be made: backwards swaps each change's two sides.
EditStep Reversed(const EditStep& s) {
  EditStep r;
  r.hexes.reserve(s.hexes.size());
  for (const HexChange& h : s.hexes) r.hexes.push_back({h.x, h.y, h.after, h.before});
  for (const TeamChange& t : s.teams) r.teams.push_back({t.slot, t.after, t.before});
  for (const GeneralChange& g : s.generals) r.generals.push_back({g.index, g.after, g.before});
  r.teamCountBefore = s.teamCountAfter;
  r.teamCountAfter = s.teamCountBefore;
  r.generalCountBefore = s.generalCountAfter;
  r.generalCountAfter = s.generalCountBefore;
  return r;
}

// Hands each piece to the save and to the trailer's checksum.
class BodyWriter {
 public:
  // Without `sum` the pieces are not summed (the trailer is left to SealRecoveryFile).
  BodyWriter(const SavePieceWriter& write, Sha256* sum) : write_(write), sum_(sum) {}
  bool Put(const void* data, size_t size) {
    if (!size) return ok_;
    if (sum_) sum_->Update(data, size);
    return ok_ = ok_ && write_(static_cast<const uint8_t*>(data), size);
  }
  bool PutStep(const EditStep& s) {
    const RecoveryStepHead head{s.teamCountBefore,          s.teamCountAfter,
                                s.generalCountBefore,       s.generalCountAfter,
                                uint32_t(s.hexes.size()),   uint32_t(s.teams.size()),
                                uint32_t(s.generals.size())};
    return Put(&head, sizeof head) && Put(s.hexes.data(), s.hexes.size() * sizeof(HexChange)) &&
           Put(s.teams.data(), s.teams.size() * sizeof(TeamChange)) &&
           Put(s.generals.data(), s.generals.size() * sizeof(GeneralChange));
  }

 private:
  const SavePieceWriter& write_;
  Sha256* sum_;
  bool ok_ = true;
};

template <class T>
bool ReadRecords(ByteReader& r, uint32_t count, std::vector<T>& out) {
  const uint8_t* p = r.take(size_t(count) * sizeof(T));
  if (!p) return false;
  out.resize(count);
  if (count) memcpy(out.data(), p, size_t(count) * sizeof(T));
  return true;
}

// The body of a file whose length and trailer have been checked. Empty on success,
// otherwise what is wrong.
std::string ParseBody(const uint8_t* body, size_t size, RecoveryData& out) {
  ByteReader r(body, size);
  RecoveryBodyHead head;
  if (!r.read(&head, sizeof head)) return "内容不完整";
  const uint8_t* path = r.take(head.pathBytes);
  if (!path) return "内容不完整";
  out.key.path.assign(reinterpret_cast<const char*>(path), head.pathBytes);
  out.key.size = head.fileSize;
  memcpy(out.key.checksum.data(), head.fileChecksum, 32);
  out.range = {head.originX, head.originY, head.width, head.height};
  // Each step takes at least its head: a count beyond that is no count of this file.
  if (head.stepCount > r.remaining() / sizeof(RecoveryStepHead)) return "步数与内容不符";
  out.steps.resize(head.stepCount);
  for (EditStep& s : out.steps) {
    RecoveryStepHead sh;
    if (!r.read(&sh, sizeof sh)) return "内容不完整";
    if (sh.hexCount > kMaxHexChanges || sh.teamCount > kMaxTeamChanges ||
        sh.generalCount > kMaxGeneralChanges)
      return "一步修改的数目超出范围";
    s.teamCountBefore = sh.teamCountBefore;
    s.teamCountAfter = sh.teamCountAfter;
    s.generalCountBefore = sh.generalCountBefore;
    s.generalCountAfter = sh.generalCountAfter;
    if (!ReadRecords(r, sh.hexCount, s.hexes) || !ReadRecords(r, sh.teamCount, s.teams) ||
        !ReadRecords(r, sh.generalCount, s.generals))
      return "内容不完整";
  }
  if (r.remaining()) return "末尾有多余的内容";
  return {};
}

RecoveryRead Unreadable(const RecoveryKey& key, const std::string& why) {
  RecoveryRead out;
  out.state = RecoveryState::kUnreadable;
  out.message = Quoted(key.path) + "的恢复文件无法使用（" + why + "），其中的修改没有恢复。";
  return out;
}

}  // namespace

RecoveryKey KeyOfScenarioFile(const std::string& path, const uint8_t* bytes, size_t size) {
  return {path, size, Sha256Of(bytes, size)};
}

std::string RecoveryFileName(const std::string& scenarioPath) {
  return HexOf(Sha256Of(scenarioPath.data(), scenarioPath.size())).substr(0, 16) + ".recovery";
}

std::string RecoveryFilePath(const std::string& folder, const std::string& scenarioPath) {
  return JoinPath(folder, RecoveryFileName(scenarioPath));
}

int64_t RecoveryFileBytes(const std::string& scenarioPath, const EditHistory& history) {
  uint64_t body = sizeof(RecoveryBodyHead) + scenarioPath.size();
  if (!history.VisitStepsSinceSaved([&](const EditStep& s, bool) { body += StepBytes(s); }))
    return -1;
  return int64_t(sizeof(RecoveryHeader) + body + kTrailerBytes);
}

namespace {

// Hands the file's pieces to `write`, in order; the trailer only when `sealed`.
Status ProduceRecoveryFile(const RecoveryKey& key, const MapRange& range,
                           const EditHistory& history, const SavePieceWriter& write,
                           bool sealed = true) {
  const int64_t total = RecoveryFileBytes(key.path, history);
  if (total < 0)
    return Fail(FailureKind::kBadValue, "撤销记录中已没有从上次保存到现在的全部修改，无法写入" +
                                            Quoted(key.path) + "的恢复文件。");
  RecoveryHeader header{};
  memcpy(header.magic, kMagic, sizeof kMagic);
  header.version = kVersion;
  header.bodyBytes = uint64_t(total) - sizeof header - kTrailerBytes;
  RecoveryBodyHead head{};
  head.fileSize = key.size;
  memcpy(head.fileChecksum, key.checksum.data(), 32);
  head.originX = range.originX;
  head.originY = range.originY;
  head.width = range.width;
  head.height = range.height;
  head.pathBytes = uint32_t(key.path.size());
  head.stepCount = uint32_t(history.StepsSinceSaved());

  Sha256 sum;
  BodyWriter out(write, sealed ? &sum : nullptr);
  if (!out.Put(&header, sizeof header) || !out.Put(&head, sizeof head) ||
      !out.Put(key.path.data(), key.path.size()))
    return Status();
  bool ok = true;
  history.VisitStepsSinceSaved([&](const EditStep& step, bool forward) {
    if (ok) ok = forward ? out.PutStep(step) : out.PutStep(Reversed(step));
  });
  if (!ok || !sealed) return Status();
  const Sha256Digest trailer = sum.Finish();
  write(trailer.data(), trailer.size());
  return Status();
}

}  // namespace

Status RecoveryFileContents(const RecoveryKey& key, const MapRange& range,
                            const EditHistory& history, std::vector<uint8_t>& out) {
  out.clear();
  const int64_t total = RecoveryFileBytes(key.path, history);
  if (total > 0) out.reserve(size_t(total));
  return ProduceRecoveryFile(
      key, range, history,
      [&out](const uint8_t* data, size_t size) {
        out.insert(out.end(), data, data + size);
        return true;
      },
      false);
}

void SealRecoveryFile(std::vector<uint8_t>& bytes) {
  const Sha256Digest trailer = Sha256Of(bytes.data(), bytes.size());
  bytes.insert(bytes.end(), trailer.begin(), trailer.end());
}

Status WriteRecoveryFile(const std::string& recoveryPath, const RecoveryKey& key,
                         const MapRange& range, const EditHistory& history, SaveOps& ops) {
  Status made =
      ProduceRecoveryFile(key, range, history, [](const uint8_t*, size_t) { return false; });
  if (!made.ok()) return made;  // refused before a byte is written
  Status s = SafeSaveProduced(
      recoveryPath,
      [&](const SavePieceWriter& write) { made = ProduceRecoveryFile(key, range, history, write); },
      ops);
  if (!made.ok()) return made;
  if (!s.ok()) s.message = "恢复文件：" + s.message;
  return s;
}

RecoveryRead ReadRecoveryFile(const std::string& recoveryPath, const RecoveryKey& key) {
  if (!FileExists(recoveryPath)) return {};
  std::vector<uint8_t> bytes;
  bool more = false;
  // Far above what a history within its memory limit can write.
  constexpr size_t kLargest = size_t(1) << 31;
  if (!ReadFilePrefix(recoveryPath, kLargest, bytes, more)) return Unreadable(key, "无法读取");
  if (more) return Unreadable(key, "文件过大");
  RecoveryHeader header;
  if (bytes.size() < sizeof header) return Unreadable(key, "文件不完整，可能写入时被中断");
  memcpy(&header, bytes.data(), sizeof header);
  if (memcmp(header.magic, kMagic, sizeof kMagic) != 0) return Unreadable(key, "不是恢复文件");
  if (header.version != kVersion)
    return Unreadable(key, "版本 " + std::to_string(header.version) + " 不是本程序所写");
  const uint64_t frame = sizeof header + kTrailerBytes;
  if (header.bodyBytes > kLargest || bytes.size() < frame + header.bodyBytes)
    return Unreadable(key, "文件不完整，可能写入时被中断");
  if (bytes.size() > frame + header.bodyBytes) return Unreadable(key, "长度与内容不符");
  const size_t trailerAt = bytes.size() - kTrailerBytes;
  const Sha256Digest sum = Sha256Of(bytes.data(), trailerAt);
  if (memcmp(sum.data(), bytes.data() + trailerAt, kTrailerBytes) != 0)
    return Unreadable(key, "校验和不符，文件已损坏");

  RecoveryRead out;
  const std::string why = ParseBody(bytes.data() + sizeof header, header.bodyBytes, out.data);
  if (!why.empty()) return Unreadable(key, why);
  if (out.data.key.path != key.path || out.data.key.size != key.size ||
      out.data.key.checksum != key.checksum) {
    out.state = RecoveryState::kFileChanged;
    out.message =
        Quoted(key.path) + "在上次编辑之后被改动过，与它的恢复文件不符，其中的修改没有恢复。";
    out.data.steps.clear();
    return out;
  }
  out.state = RecoveryState::kMatches;
  return out;
}

Status ReplayRecovery(RecoveryData data, WorldRecord& w, EditHistory& history) {
  const std::string refused = Quoted(data.key.path) + "的恢复文件";
  if (w.originX != data.range.originX || w.originY != data.range.originY ||
      w.rangeWidth != data.range.width || w.rangeHeight != data.range.height)
    return Fail(FailureKind::kBadValue, refused + "是按另一个地图范围写的，其中的修改没有恢复。");
  for (const EditStep& s : data.steps)
    if (!EditHistory::StepFits(s, w))
      return Fail(FailureKind::kBadValue,
                  refused + "中有超出地图范围或表格的修改，其中的修改没有恢复。");
  history.StartWithSteps(w, std::move(data.steps));
  return Ok();
}

void RemoveRecoveryFile(const std::string& recoveryPath, SaveOps& ops) { ops.remove(recoveryPath); }

std::string SetAsideRecoveryFile(const std::string& recoveryPath, SaveOps& ops) {
  const std::string aside = recoveryPath + ".old";
  ops.remove(aside);
  if (ops.move(recoveryPath, aside)) return aside;
  ops.remove(recoveryPath);
  return {};
}

std::string RecoveryQuestion(size_t steps) {
  return "上次编辑此文件时编辑器意外退出，有 " + std::to_string(steps) +
         " 步修改未保存。\n\n是否恢复这些修改？";
}

std::string RecoverySetAsideText(const RecoveryRead& read, const std::string& setAsideAs) {
  return read.message +
         (setAsideAs.empty() ? "恢复文件已删除。" : "恢复文件已移到" + Quoted(setAsideAs) + "。");
}
