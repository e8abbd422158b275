#include <windows.h>

#include "platform/prompts.h"
#include "base/wide.h"

int system_message(void* owner, const std::string& text, const std::string& caption,
                   unsigned style) {
  return MessageBoxW(static_cast<HWND>(owner), wide_from_utf8(text).c_str(),
                     wide_from_utf8(caption).c_str(), style);
}
