#include "btl/console.h"

#include <cstdio>

std::vector<std::string> ProgramArguments(int argc, char** argv) {
  return std::vector<std::string>(argv + 1, argv + argc);
}

bool WriteText(Stream stream, const std::string& text) {
  FILE* f = stream == Stream::kOut ? stdout : stderr;
  bool whole = fwrite(text.data(), 1, text.size(), f) == text.size();
  return fflush(f) == 0 && whole;
}

bool ReadStandardInput(std::vector<uint8_t>& bytes) {
  uint8_t piece[1 << 16];
  size_t n;
  while ((n = fread(piece, 1, sizeof piece, stdin)) > 0)
    bytes.insert(bytes.end(), piece, piece + n);
  return !ferror(stdin);
}
