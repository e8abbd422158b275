#include <cstdio>

#include "drawing/prompts.h"

// No message boxes natively: the text goes to stderr and the box is taken as answered with
// its first button.
int system_message(void*, const std::string& text, const std::string& caption, unsigned style) {
  fprintf(stderr, "[%s] %s\n", caption.c_str(), text.c_str());
  return (style & 0xF) == kMbYesNo ? kIdYes : kIdOk;
}
