#include "tools/btl/console.h"

#include <cstdio>

std::vector<std::string> ProgramArguments(int argc, char** argv) {
  return std::vector<std::string>(argv + 1, argv + argc);
}

void WriteText(Stream stream, const std::string& text) {
  FILE* f = stream == Stream::kOut ? stdout : stderr;
  fwrite(text.data(), 1, text.size(), f);
  fflush(f);
}
