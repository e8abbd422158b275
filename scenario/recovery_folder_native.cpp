#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <string>

#include "scenario/recovery_file.h"

namespace {

// mkdir -p: each missing folder of the path in turn.
bool MakeFolders(const std::string& path) {
  for (size_t at = 1; at <= path.size(); ++at) {
    if (at < path.size() && path[at] != '/') continue;
    const std::string part = path.substr(0, at);
    if (mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return false;
  }
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace

std::string RecoveryFolder() {
  std::string base;
  if (const char* state = getenv("XDG_STATE_HOME"); state && *state == '/')
    base = state;
  else if (const char* home = getenv("HOME"); home && *home == '/')
    base = std::string(home) + "/.local/state";
  else
    return {};
  const std::string folder = base + "/btl_editor";
  return MakeFolders(folder) ? folder : std::string();
}
