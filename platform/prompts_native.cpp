#include <cstdio>

#include "platform/prompts.h"
#include "platform/system.h"

// No message boxes natively: the text goes to stderr and the box is taken as answered with
// its first button.
int SystemMessage(void*, const std::string& text, const std::string& caption, unsigned style) {
  fprintf(stderr, "[%s] %s\n", caption.c_str(), text.c_str());
  unsigned buttons = style & 0xF;
  return buttons == kMbYesNo || buttons == kMbYesNoCancel ? kIdYes : kIdOk;
}
