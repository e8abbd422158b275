#include "base/files.h"

#include <algorithm>
#include <cstdint>

#ifdef _WIN32
constexpr char kSeparator = '\\';
#else
constexpr char kSeparator = '/';
#endif

std::string JoinPath(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  return folder + kSeparator + name;
}

std::string DataPath(const std::string& name) { return JoinPath("数据", name); }

std::string PicturePath(const std::string& name) { return JoinPath("图片", name); }

namespace {

template <class Buffer>
bool ReadPrefix(const std::string& path, size_t limit, Buffer& out, bool& more) {
  out.clear();
  more = false;
  FILE* f = OpenFile(path, "rb");
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

bool ReadFilePrefix(const std::string& path, size_t limit, std::string& out, bool& more) {
  return ReadPrefix(path, limit, out, more);
}

bool ReadFilePrefix(const std::string& path, size_t limit, std::vector<uint8_t>& out, bool& more) {
  return ReadPrefix(path, limit, out, more);
}

bool ReadWholeFile(const std::string& path, std::string& out) {
  bool more = false;
  return ReadFilePrefix(path, SIZE_MAX, out, more);
}

std::string FileNameOf(const std::string& path) {
  const size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}
