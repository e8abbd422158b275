#include <sys/stat.h>

#include "base/files.h"

FILE* OpenFile(const std::string& path, const char* mode) { return fopen(path.c_str(), mode); }

bool FileExists(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0;
}

bool OpenFileSize(FILE* f, uint64_t& size) {
  struct stat st;
  if (fstat(fileno(f), &st) != 0 || !S_ISREG(st.st_mode) || st.st_size < 0) return false;
  size = uint64_t(st.st_size);
  return true;
}
