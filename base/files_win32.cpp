#include <windows.h>

#include "base/files.h"
#include "base/wide.h"

FILE* open_file(const std::string& path, const char* mode) {
  return _wfopen(wide_from_utf8(path).c_str(), wide_from_utf8(mode).c_str());
}

bool file_exists(const std::string& path) {
  return GetFileAttributesW(wide_from_utf8(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}
