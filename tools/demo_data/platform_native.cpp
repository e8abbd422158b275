#include <errno.h>
#include <sys/stat.h>

#include "tools/demo_data/platform.h"

bool MakeFolder(const std::string& utf8path) {
  if (mkdir(utf8path.c_str(), 0777) == 0 || errno == EEXIST) {
    struct stat st;
    return stat(utf8path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
  }
  return false;
}
