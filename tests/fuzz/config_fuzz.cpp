// Fuzz target: the portable private-profile reader. The input is the file; the section and
// key are the program's own plus a pair taken from the file's first line, so the fuzzer can
// aim at names it wrote itself. Strings come back cut to the reader's limit, and a second
// read of the same key gives the same answer.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "base/config.h"
#include "base/profile.h"
#include "base/text.h"

namespace {

// GBK spellings of the names the editor asks for.
const std::string& Gbk(const char* utf8) {
  static std::string cache[5];
  static const char* names[5] = {kConfigSection, kConfigHexSide, kConfigViewCols, kConfigViewRows,
                                 kConfigLanguageFile};
  for (int i = 0; i < 5; ++i)
    if (names[i] == utf8) {
      if (cache[i].empty()) cache[i] = GbkFromUtf8(utf8);
      return cache[i];
    }
  abort();
}

void Probe(std::string_view file, std::string_view section, std::string_view key) {
  int a = ProfileInt(file, section, key, 7);
  if (ProfileInt(file, section, key, 7) != a) abort();
  std::string s = ProfileString(file, section, key, "dflt");
  // 4095 characters, each at most two GBK bytes.
  if (s.size() > 2 * 4095 || ProfileString(file, section, key, "dflt") != s) abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view file(reinterpret_cast<const char*>(data), size);
  const std::string& section = Gbk(kConfigSection);
  for (const char* key : {kConfigHexSide, kConfigViewCols, kConfigViewRows, kConfigLanguageFile})
    Probe(file, section, Gbk(key));

  // "section|key" from the first line, when it has that shape.
  std::string_view first = file.substr(0, file.find('\n'));
  size_t bar = first.find('|');
  if (bar != std::string_view::npos) Probe(file, first.substr(0, bar), first.substr(bar + 1));
  Probe(file, "", "");
  return 0;
}
