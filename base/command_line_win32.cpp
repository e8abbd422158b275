#include <windows.h>

#include "base/command_line.h"

std::u16string ProcessCommandLine() {
  static_assert(sizeof(wchar_t) == sizeof(char16_t));
  const wchar_t* line = GetCommandLineW();
  return line ? std::u16string(reinterpret_cast<const char16_t*>(line)) : std::u16string();
}
