#include <unistd.h>

#include <climits>
#include <string>

#include "catalogs/data_folder.h"

std::string CurrentFolderPath() {
  char here[PATH_MAX];
  return getcwd(here, sizeof here) ? std::string(here) : std::string();
}

std::string ProgramFolderPath() {
  char exe[PATH_MAX];
  const ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
  if (n <= 0) return {};
  const std::string path(exe, size_t(n));
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash ? slash : 1);
}

bool EnterFolder(const std::string& folder) { return chdir(folder.c_str()) == 0; }
