#include <windows.h>

#include "platform/prompts.h"
#include "platform/system.h"
#include "base/wide.h"

int SystemMessage(void* owner, const std::string& text, const std::string& caption,
                  unsigned style) {
  return MessageBoxW(static_cast<HWND>(owner), WideFromUtf8(text).c_str(),
                     WideFromUtf8(caption).c_str(), style);
}
