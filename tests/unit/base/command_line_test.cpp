// The editor's command line split by the C run-time's rules: a table of lines as Windows
// hands them (Explorer quotes a path with spaces; a drop of several files gives several),
// with quotes, backslashes, spaces and Chinese, and the file the editor opens from each.
#include "base/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Row {
  std::u16string line;
  std::vector<std::string> args;
  std::string file;
};

TEST(CommandLine, SplitsAsTheRunTimeDoesAndTakesTheFirstFile) {
  const Row rows[] = {
      {u"", {}, ""},
      {u"btl_editor.exe", {"btl_editor.exe"}, ""},
      {u"btl_editor.exe   ", {"btl_editor.exe"}, ""},
      {u"\"C:\\Program Files\\编辑器\\btl_editor.exe\" \"D:\\战役 一\\文件 1.btl\"",
       {"C:\\Program Files\\编辑器\\btl_editor.exe", "D:\\战役 一\\文件 1.btl"},
       "D:\\战役 一\\文件 1.btl"},
      // Backslashes in the program's name and before no quote are plain.
      {u"C:\\游戏\\btl_editor.exe C:\\游戏\\示例\\demo.btl",
       {"C:\\游戏\\btl_editor.exe", "C:\\游戏\\示例\\demo.btl"},
       "C:\\游戏\\示例\\demo.btl"},
      {u"p \t a.btl\tb.btl  c.btl", {"p", "a.btl", "b.btl", "c.btl"}, "a.btl"},
      {u"p \"\" second.btl", {"p", "", "second.btl"}, "second.btl"},
      {u"p \"a b c\" d e", {"p", "a b c", "d", "e"}, "a b c"},
      {u"p \"ab\\\"c\" \"\\\\\" d", {"p", "ab\"c", "\\", "d"}, "ab\"c"},
      {u"p a\\\\\\b d\"e f\"g h", {"p", "a\\\\\\b", "de fg", "h"}, "a\\\\\\b"},
      {u"p a\\\\\\\"b c d", {"p", "a\\\"b", "c", "d"}, "a\\\"b"},
      {u"p a\\\\\\\\\"b c\" d e", {"p", "a\\\\b c", "d", "e"}, "a\\\\b c"},
      {u"p a\"b\"\" c d", {"p", "ab\" c d"}, "ab\" c d"},
      // A folder-like path ending in a backslash before the closing quote keeps the quote.
      {u"p \"C:\\游戏\\\" x", {"p", "C:\\游戏\" x"}, "C:\\游戏\" x"},
      // A quote left open runs to the end.
      {u"p \"D:\\新 建\\a.btl", {"p", "D:\\新 建\\a.btl"}, "D:\\新 建\\a.btl"},
      {u"\"p q\"r s", {"p qr", "s"}, "s"},
      // Outside the Basic Multilingual Plane (a surrogate pair), and a lone surrogate.
      {u"p \U00020000.btl", {"p", "\xF0\xA0\x80\x80.btl"}, "\xF0\xA0\x80\x80.btl"},
      {std::u16string(u"p a") + char16_t(0xD800) + u"b",
       {"p",
        "a\xEF\xBF\xBD"
        "b"},
       "a\xEF\xBF\xBD"
       "b"},
  };
  for (const Row& r : rows) {
    const std::string shown = Utf8FromUtf16(r.line);
    EXPECT_EQ(SplitCommandLine(r.line), r.args) << shown;
    EXPECT_EQ(FileToOpen(r.line), r.file) << shown;
  }
}

TEST(CommandLine, Utf16ToUtf8) {
  EXPECT_EQ(Utf8FromUtf16(u"战役A1"), "战役A1");
  EXPECT_EQ(Utf8FromUtf16(u"é"), "\xC3\xA9");
  EXPECT_EQ(Utf8FromUtf16(std::u16string(1, char16_t(0xDC00))), "\xEF\xBF\xBD");
  EXPECT_EQ(Utf8FromUtf16(u""), "");
}

}  // namespace
