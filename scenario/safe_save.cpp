#include "scenario/safe_save.h"

std::string TempSavePath(const std::string& target, int attempt) {
  return target + ".saving" + (attempt ? std::to_string(attempt) : std::string());
}

Status SafeSave(const std::string& path, const uint8_t* data, size_t size, SaveOps& ops) {
  const std::string unchanged = "文件未保存。";
  switch (ops.inspect(path)) {
    case SaveOps::Target::Directory:
      return Fail(Quoted(path) + "是一个文件夹，不能保存为文件。" + unchanged);
    case SaveOps::Target::ReadOnlyFile:
      return Fail("文件" + Quoted(path) + "是只读的，不能替换。" + unchanged);
    case SaveOps::Target::Missing:
    case SaveOps::Target::File:
      break;
  }

  // A temporary file left by an earlier crash is never overwritten: take the next name.
  std::string temp;
  void* file = nullptr;
  for (int attempt = 0; attempt < 10 && !file; ++attempt) {
    temp = TempSavePath(path, attempt);
    file = ops.create_new(temp);
  }
  if (!file)
    return Fail("无法在" + Quoted(path) + "所在的文件夹中创建文件（文件夹不存在或不可写）。" +
                unchanged);

  // Written in pieces so that a failing write is noticed where it happens.
  constexpr size_t kPiece = 1 << 20;
  bool written = true;
  for (size_t at = 0; at < size && written; at += kPiece)
    written = ops.write(file, data + at, size - at < kPiece ? size - at : kPiece);
  bool flushed = ops.flush_and_close(file);
  if (!written || !flushed) {
    ops.remove(temp);
    return Fail("写入" + Quoted(path) + "时出错（磁盘可能已满）。" + unchanged +
                (ops.inspect(path) == SaveOps::Target::Missing ? "" : "原文件保持不变。"));
  }
  if (!ops.replace(temp, path)) {
    ops.remove(temp);
    return Fail("无法替换文件" + Quoted(path) + "（它可能是只读的，或正被其他程序使用）。" +
                unchanged + "原文件保持不变。");
  }
  return Ok();
}
