#include "base/files.h"

#include <algorithm>
#include <cstdint>

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

namespace {

template <class Buffer>
bool read_prefix(const std::string& path, size_t limit, Buffer& out, bool& more) {
  out.clear();
  more = false;
  FILE* f = open_file(path, "rb");
  if (!f) return false;
  // One read into a buffer of the file's size; a file that grows meanwhile is read on.
  size_t expected = 0;
  if (fseek(f, 0, SEEK_END) == 0) {
    long end = ftell(f);
    if (end > 0) expected = std::min(size_t(end), limit);
  }
  rewind(f);
  out.resize(expected);
  size_t got = expected ? fread(out.data(), 1, expected, f) : 0;
  out.resize(got);
  char buf[65536];
  while (got == expected && out.size() < limit) {
    size_t want = std::min(sizeof buf, limit - out.size());
    size_t n = fread(buf, 1, want, f);
    out.insert(out.end(), buf, buf + n);
    if (n < want) break;
  }
  bool ok = !ferror(f);
  if (ok && out.size() == limit) more = fgetc(f) != EOF;
  fclose(f);
  return ok;
}

}  // namespace

bool read_file_prefix(const std::string& path, size_t limit, std::string& out, bool& more) {
  return read_prefix(path, limit, out, more);
}

bool read_file_prefix(const std::string& path, size_t limit, std::vector<uint8_t>& out,
                      bool& more) {
  return read_prefix(path, limit, out, more);
}

bool read_whole_file(const std::string& path, std::string& out) {
  bool more = false;
  return read_file_prefix(path, SIZE_MAX, out, more);
}
