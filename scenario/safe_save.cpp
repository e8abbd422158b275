#include "scenario/safe_save.h"

#include <cstdio>

namespace {

const std::string kTempMarker = ".~saving";
const std::string kTempEnd = ".tmp";
constexpr int kTempNames = 100;
constexpr int kSpareNames = 100;
// The longest file name the file systems take: 255 bytes on Linux (and so under Wine),
// 255 UTF-16 units on Windows, which never exceeds the name's UTF-8 bytes.
constexpr size_t kNameLimit = 255;
// Room kept after the stem for the longest marker and number: ".~saving99.tmp", ".~old99.bak".
constexpr size_t kSuffixRoom = 16;
constexpr size_t kHashChars = 9;  // "~" and 8 hex digits

const std::string kUnsaved = "文件未保存。";
const std::string kOldKept = "原文件保持不变。";

// Where the file name starts in a path with either separator.
size_t NameStart(const std::string& path) {
  size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? 0 : slash + 1;
}

// FNV-1a of the name's bytes.
uint32_t NameHash(const std::string& name) {
  uint32_t h = 2166136261u;
  for (unsigned char c : name) h = (h ^ c) * 16777619u;
  return h;
}

// What the names beside the target "x.btl" start with: the name itself, or, when a name
// beside it would pass the file systems' limit, the name cut at a character boundary and
// followed by "~" and a hash of the whole name, so that two long names cut alike still get
// names of their own (and never take each other's leftovers).
std::string NameStem(const std::string& name) {
  if (name.size() + kSuffixRoom <= kNameLimit) return name;
  size_t cut = kNameLimit - kSuffixRoom - kHashChars;
  while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) --cut;
  char hash[kHashChars + 1];
  snprintf(hash, sizeof hash, "~%08x", static_cast<unsigned>(NameHash(name)));
  return name.substr(0, cut) + hash;
}

// The path of a name beside the target: the target's folder, the stem and `suffix`.
std::string Beside(const std::string& target, const std::string& suffix) {
  const size_t at = NameStart(target);
  return target.substr(0, at) + NameStem(target.substr(at)) + suffix;
}

// The folder of a path with its trailing separator ("C:\" stays a root, not a drive's
// current folder).
std::string FolderOf(const std::string& path) {
  size_t at = NameStart(path);
  return at == 0 ? std::string("./") : path.substr(0, at);
}

// A temporary file left by a save that never finished holds a copy, complete or not, of a
// scenario the target held or holds; it goes, so that leftovers never pile up and block
// later saves. Only while the target exists, though: a save whose swap failed half-way may
// have left the only copy of the new scenario in its temporary file (its message names it),
// and the target's name stays free until the user has put that file in its place. A file a
// running save has open is in use and stays.
void RemoveLeftovers(const std::string& target, SaveOps& ops) {
  const std::string name = target.substr(NameStart(target));
  for (const std::string& entry : ops.list(FolderOf(target)))
    if (IsTempSaveName(name, entry)) ops.remove_unused(target.substr(0, NameStart(target)) + entry);
}

// The UTF-16 units of a UTF-8 name: one per character, two for one beyond U+FFFF.
size_t Utf16Units(const std::string& name) {
  size_t units = 0;
  for (unsigned char c : name) units += (c & 0xC0) == 0x80 ? 0 : c >= 0xF0 ? 2 : 1;
  return units;
}

// A name of more than 255 UTF-16 units is too long on every file system; one of more than
// 255 bytes only where names are counted in bytes (Linux, and so Wine). The sentence that
// says so when a save beside such a name fails, "" otherwise.
std::string LongNameCause(const std::string& path) {
  const size_t bytes = path.size() - NameStart(path);
  if (bytes <= kNameLimit) return {};
  return "文件名有 " + std::to_string(bytes) + " 字节，可能超过了文件系统允许的 " +
         std::to_string(kNameLimit) + " 字节。";
}

Status CannotCreate(const std::string& path) {
  return Fail(FailureKind::kCannotCreate, "无法在" + Quoted(path) +
                                              "所在的文件夹中创建文件（文件夹不存在或不可写）。" +
                                              LongNameCause(path) + kUnsaved);
}

// Creates the temporary file under the first free name. A taken name belongs to a leftover
// that is in use or kept (see RemoveLeftovers): the next name is tried.
Status CreateTemp(const std::string& path, SaveOps& ops, std::string& temp, void*& file) {
  for (int n = 0; n < kTempNames; ++n) {
    temp = TempSavePath(path, n);
    if ((file = ops.create_new(temp))) return Ok();
    if (ops.inspect(temp) == SaveOps::Target::kMissing) return CannotCreate(path);
  }
  return Fail(
      FailureKind::kTempNamesTaken,
      "无法保存" + Quoted(path) + "：它所在的文件夹中已有 " + std::to_string(kTempNames) +
          " 个以前的保存留下的临时文件（从" + Quoted(TempSavePath(path, 0)) + "到" +
          Quoted(TempSavePath(path, kTempNames - 1)) +
          "），它们正被使用，或者可能含有没能保存到位的内容。请检查并删除不再需要的这些文件。" +
          kUnsaved);
}

// A free name for the old file while the system swaps the files; none when all are taken.
std::string FreeSpare(const std::string& path, SaveOps& ops) {
  for (int n = 0; n < kSpareNames; ++n) {
    std::string spare = SpareSavePath(path, n);
    if (ops.inspect(spare) == SaveOps::Target::kMissing) return spare;
  }
  return {};
}

Status Swap(const std::string& path, const std::string& temp, bool existed, SaveOps& ops) {
  const std::string cannot =
      "无法替换文件" + Quoted(path) + "（它可能是只读的，或正被其他程序使用）。";
  ReplaceResult r = ops.replace(temp, path, existed ? FreeSpare(path, ops) : std::string());
  switch (r.kind) {
    case ReplaceResult::kDone: return Ok();
    case ReplaceResult::kTargetUntouched:
      ops.remove(temp);
      return Fail(FailureKind::kCannotReplace,
                  cannot + LongNameCause(path) + kUnsaved + (existed ? kOldKept : ""));
    case ReplaceResult::kTargetGone:
    case ReplaceResult::kTargetRenamed: break;
  }
  // The swap stopped half-way: the target's name is free and the new file is complete.
  const bool renamed = r.kind == ReplaceResult::kTargetRenamed;
  if (ops.move(temp, path)) {
    // The same end as a good swap, which drops the parked old file too.
    if (renamed) ops.remove(r.oldFileNow);
    return Ok();
  }
  if (renamed && ops.move(r.oldFileNow, path)) {
    // Back as it was before the save.
    ops.remove(temp);
    return Fail(FailureKind::kCannotReplace, cannot + kUnsaved + kOldKept);
  }
  // Nothing could be put in the target's place: both files are kept and named.
  return Fail(
      FailureKind::kSwapStopped,
      "替换文件" + Quoted(path) + "时出错：" +
          (renamed ? "原文件已被改名为" + Quoted(r.oldFileNow) : std::string("原文件已不存在")) +
          "，新的内容保存在" + Quoted(temp) + "中。请把" + (renamed ? "其中一个" : "它") +
          "改名为" + Quoted(path) + "。");
}

}  // namespace

std::string TempSavePath(const std::string& target, int attempt) {
  return Beside(target, kTempMarker + std::to_string(attempt) + kTempEnd);
}

std::string SpareSavePath(const std::string& target, int n) {
  return Beside(target, ".~old" + std::to_string(n) + ".bak");
}

bool IsTempSaveName(const std::string& targetName, const std::string& name) {
  const std::string head = NameStem(targetName) + kTempMarker;
  if (name.size() <= head.size() + kTempEnd.size() || name.compare(0, head.size(), head) != 0 ||
      name.compare(name.size() - kTempEnd.size(), kTempEnd.size(), kTempEnd) != 0)
    return false;
  for (size_t i = head.size(); i < name.size() - kTempEnd.size(); ++i)
    if (name[i] < '0' || name[i] > '9') return false;
  return true;
}

Status SafeSave(const std::string& path, const uint8_t* data, size_t size, SaveOps& ops) {
  // Written in pieces so that a failing write is noticed where it happens.
  constexpr size_t kPiece = 1 << 20;
  return SafeSaveProduced(
      path,
      [&](const SavePieceWriter& write) {
        for (size_t at = 0; at < size; at += kPiece)
          if (!write(data + at, size - at < kPiece ? size - at : kPiece)) return;
      },
      ops);
}

Status SafeSaveProduced(const std::string& named,
                        const std::function<void(const SavePieceWriter&)>& produce, SaveOps& ops) {
  // A link is saved through: its target gets the new file, in the target's own folder, so
  // that the swap stays on one file system and the link keeps pointing at the file.
  const std::string linked = ops.link_target(named);
  const std::string& path = linked.empty() ? named : linked;
  // No file system takes the name: said before anything is made beside it.
  if (const size_t units = Utf16Units(path.substr(NameStart(path))); units > kNameLimit)
    return Fail(FailureKind::kCannotCreate, "不能保存为" + Quoted(path) + "：文件名有 " +
                                                std::to_string(units) +
                                                " 个字符，超过了文件系统允许的 " +
                                                std::to_string(kNameLimit) + " 个。" + kUnsaved);
  const SaveOps::Target target = ops.inspect(path);
  switch (target) {
    case SaveOps::Target::kDirectory:
      return Fail(FailureKind::kTargetIsFolder,
                  Quoted(path) + "是一个文件夹，不能保存为文件。" + kUnsaved);
    case SaveOps::Target::kReadOnlyFile:
      return Fail(FailureKind::kReadOnly,
                  "文件" + Quoted(path) + "是只读的，不能替换。" + kUnsaved);
    case SaveOps::Target::kMissing:
    case SaveOps::Target::kFile: break;
  }
  const bool existed = target == SaveOps::Target::kFile;
  if (existed) RemoveLeftovers(path, ops);

  // A temporary file left by an earlier save is never overwritten: it gets the next name.
  std::string temp;
  void* file = nullptr;
  Status s = CreateTemp(path, ops, temp, file);
  if (!s.ok()) return s;

  bool written = true;
  produce([&](const uint8_t* data, size_t size) {
    return written = written && ops.write(file, data, size);
  });
  bool flushed = ops.flush_and_close(file);
  if (!written || !flushed) {
    ops.remove(temp);
    return Fail(FailureKind::kCannotWrite,
                "写入" + Quoted(path) + "时出错（磁盘可能已满）。" + kUnsaved +
                    (ops.inspect(path) == SaveOps::Target::kMissing ? "" : kOldKept));
  }
  return Swap(path, temp, existed, ops);
}
