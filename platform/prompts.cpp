#include "platform/prompts.h"

#include "platform/system.h"

namespace {
PromptHandler g_handler = nullptr;
}

void SetPromptHandler(PromptHandler handler) { g_handler = handler; }

int ShowMessage(void* owner, const std::string& text, const std::string& caption, unsigned style) {
  return g_handler ? g_handler(owner, text, caption, style)
                   : SystemMessage(owner, text, caption, style);
}
