#include "scenario/files.h"

#ifdef _WIN32
constexpr char kSeparator = '\\';
#else
constexpr char kSeparator = '/';
#endif

std::string join_path(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  return folder + kSeparator + name;
}

std::string data_path(const std::string& name) { return join_path("数据", name); }

std::string picture_path(const std::string& name) { return join_path("图片", name); }

bool read_whole_file(const std::string& path, std::string& out) {
  out.clear();
  FILE* f = open_file(path, "rb");
  if (!f) return false;
  char buf[65536];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, f)) > 0) out.append(buf, n);
  bool ok = !ferror(f);
  fclose(f);
  return ok;
}
