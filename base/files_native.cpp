#include <errno.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>

#include "base/files.h"

FILE* OpenFile(const std::string& path, const char* mode) { return fopen(path.c_str(), mode); }

bool FileExists(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0;
}

bool MakeFolder(const std::string& path) {
  if (mkdir(path.c_str(), 0777) != 0 && errno != EEXIST) return false;
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool OpenFileSize(FILE* f, uint64_t& size) {
  struct stat st;
  if (fstat(fileno(f), &st) != 0 || !S_ISREG(st.st_mode) || st.st_size < 0) return false;
  size = uint64_t(st.st_size);
  return true;
}

std::string AbsolutePath(const std::string& path) {
  if (path.empty() || path[0] == '/') return path;
  char here[PATH_MAX];
  if (!getcwd(here, sizeof here)) return path;
  return JoinPath(here, path);
}
