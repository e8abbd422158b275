// A word after an action that shows nothing else: a save, an undo or redo, Esc, a paste or
// delete over the area. One line in a box over the bottom-left corner of the map area, in the
// information box's style; gone after kNoticeMs or at the next action. While the command keys
// are off, their notice stands whenever no other is shown. No part of the scenario.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

constexpr int64_t kNoticeMs = 2000;

constexpr char kKeysOffNotice[] = "命令键已关闭（Esc 恢复）";
constexpr char kKeysBackNotice[] = "命令键已恢复";

struct ActionNotice {
  std::string text;     // UTF-8; empty: none
  int64_t shownAt = 0;  // ClockMs when it was shown
};

void ShowNotice(ActionNotice& n, std::string text, int64_t nowMs);
// The next action ends the notice that was showing.
void EndNotice(ActionNotice& n);
// The text the frame shows at `nowMs` (ending a notice whose time is up): the notice, else
// while the command keys are off their notice, else nothing.
std::string NoticeText(ActionNotice& n, bool commandKeysOff, int64_t nowMs);

std::string SavedNotice(const std::string& fileName, uint64_t bytes);
std::string UndoneNotice(const std::string& description);
std::string RedoneNotice(const std::string& description);
std::string PastedNotice(size_t hexes);
std::string DeletedNotice(size_t hexes);
