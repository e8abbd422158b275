// Native twin of the configuration reader: the portable private-profile reader over the
// file's bytes.
#include "app/config.h"
#include "catalogs/text.h"
#include "scenario/files.h"

namespace {

std::string read_or_empty(const std::string& path) {
  std::string bytes;
  if (!read_whole_file(path, bytes)) bytes.clear();  // a missing file reads like an empty one
  return bytes;
}

}  // namespace

int config_int(const std::string& path, const char* utf8Key, int defaultValue) {
  return profile_int(read_or_empty(path), gbk_from_utf8(kConfigSection), gbk_from_utf8(utf8Key), defaultValue);
}

std::string config_string(const std::string& path, const char* utf8Key, const char* defaultValue) {
  std::string value = profile_string(read_or_empty(path), gbk_from_utf8(kConfigSection), gbk_from_utf8(utf8Key),
                                     gbk_from_utf8(defaultValue));
  value.resize(gbk_fit(value, kConfigStringBytes));
  return value;
}
