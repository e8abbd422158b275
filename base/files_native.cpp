#include <sys/stat.h>

#include "base/files.h"

FILE* OpenFile(const std::string& path, const char* mode) { return fopen(path.c_str(), mode); }

bool FileExists(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0;
}
