#include "platform/prompts.h"

int system_message(void* owner, const std::string& text, const std::string& caption,
                   unsigned style);  // prompts_win32.cpp / prompts_native.cpp

namespace {
PromptHandler g_handler = nullptr;
}

void set_prompt_handler(PromptHandler handler) { g_handler = handler; }

int show_message(void* owner, const std::string& text, const std::string& caption,
                 unsigned style) {
  return g_handler ? g_handler(owner, text, caption, style)
                   : system_message(owner, text, caption, style);
}
