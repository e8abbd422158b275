#include <errno.h>
#include <iconv.h>
#include <sys/stat.h>

#include "tools/demo_data/platform.h"

bool MakeFolder(const std::string& utf8path) {
  if (mkdir(utf8path.c_str(), 0777) == 0 || errno == EEXIST) {
    struct stat st;
    return stat(utf8path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
  }
  return false;
}

bool GbkFromUtf8(const std::string& utf8, std::string& gbk) {
  gbk.clear();
  iconv_t cd = iconv_open("CP936", "UTF-8");
  if (cd == iconv_t(-1)) return false;
  // GBK never needs more bytes than UTF-8 for the same text.
  std::string in = utf8, out(utf8.size() + 4, '\0');
  char* src = in.data();
  char* dst = out.data();
  size_t src_left = in.size(), dst_left = out.size();
  bool ok = iconv(cd, &src, &src_left, &dst, &dst_left) != size_t(-1) && src_left == 0;
  iconv_close(cd);
  if (ok) gbk.assign(out.data(), out.size() - dst_left);
  return ok;
}
