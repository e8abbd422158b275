#include "view/notice.h"

#include <utility>

void ShowNotice(ActionNotice& n, std::string text, int64_t nowMs) {
  n.text = std::move(text);
  n.shownAt = nowMs;
}

void EndNotice(ActionNotice& n) { n.text.clear(); }

std::string NoticeText(ActionNotice& n, bool commandKeysOff, int64_t nowMs) {
  if (!n.text.empty() && nowMs - n.shownAt >= kNoticeMs) EndNotice(n);
  if (!n.text.empty()) return n.text;
  return commandKeysOff ? kKeysOffNotice : "";
}

std::string SavedNotice(const std::string& fileName, uint64_t bytes) {
  return "已保存 " + fileName + "（" + std::to_string(bytes) + " 字节）";
}
std::string UndoneNotice(const std::string& description) { return "已撤销：" + description; }
std::string RedoneNotice(const std::string& description) { return "已重做：" + description; }
std::string PastedNotice(size_t hexes) { return "已粘贴到 " + std::to_string(hexes) + " 格"; }
std::string DeletedNotice(size_t hexes) {
  return "已删除 " + std::to_string(hexes) + " 格的部队和建筑";
}
