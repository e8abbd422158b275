#include "platform/prompts.h"

int SystemMessage(void* owner, const std::string& text, const std::string& caption,
                   unsigned style);  // prompts_win32.cpp / prompts_native.cpp

namespace {
PromptHandler g_handler = nullptr;
}

void SetPromptHandler(PromptHandler handler) { g_handler = handler; }

int ShowMessage(void* owner, const std::string& text, const std::string& caption,
                 unsigned style) {
  return g_handler ? g_handler(owner, text, caption, style)
                   : SystemMessage(owner, text, caption, style);
}
