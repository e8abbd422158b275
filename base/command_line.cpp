#include "base/command_line.h"

#include "base/text.h"

namespace {

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }

// The program's name: no escapes, a leading quote runs to the next quote.
size_t ProgramName(std::u16string_view line, std::u16string& out) {
  size_t i = 0;
  if (!line.empty() && line[0] == u'"') {
    for (i = 1; i < line.size() && line[i] != u'"'; ++i) out += line[i];
    if (i < line.size()) ++i;  // the closing quote
  }
  for (; i < line.size() && !IsBlank(line[i]); ++i) out += line[i];
  return i;
}

}  // namespace

std::string Utf8FromUtf16(std::u16string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] < 0xE000) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    } else if (c >= 0xD800 && c < 0xE000) {
      c = 0xFFFD;
    }
    AppendUtf8(out, c);
  }
  return out;
}

std::vector<std::string> SplitCommandLine(std::u16string_view line) {
  std::vector<std::string> args;
  if (line.empty()) return args;
  std::u16string arg;
  size_t i = ProgramName(line, arg);
  args.push_back(Utf8FromUtf16(arg));
  for (;;) {
    while (i < line.size() && IsBlank(line[i])) ++i;
    if (i == line.size()) return args;
    arg.clear();
    bool quoted = false;
    while (i < line.size() && (quoted || !IsBlank(line[i]))) {
      if (line[i] == u'\\') {
        size_t n = 0;
        while (i < line.size() && line[i] == u'\\') ++n, ++i;
        if (i < line.size() && line[i] == u'"') {
          arg.append(n / 2, u'\\');
          if (n % 2) {
            arg += u'"';
            ++i;
          }
          // An even count leaves the quote to the branch below.
        } else {
          arg.append(n, u'\\');
        }
      } else if (line[i] == u'"') {
        if (quoted && i + 1 < line.size() && line[i + 1] == u'"') {
          arg += u'"';
          i += 2;
        } else {
          quoted = !quoted;
          ++i;
        }
      } else {
        arg += line[i++];
      }
    }
    args.push_back(Utf8FromUtf16(arg));
  }
}

std::string FileToOpen(std::u16string_view line) {
  const std::vector<std::string> args = SplitCommandLine(line);
  for (size_t i = 1; i < args.size(); ++i)
    if (!args[i].empty()) return args[i];
  return {};
}
