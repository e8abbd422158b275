// The configuration file, read with the portable private-profile reader on both builds.
#include "base/config.h"

#include "base/files.h"
#include "base/profile.h"
#include "base/text.h"

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

std::string config_path() { return data_path("配置.ini"); }

int config_int(const char* utf8Key, int defaultValue) { return config_int(config_path(), utf8Key, defaultValue); }

std::string config_string(const char* utf8Key, const char* defaultValue) {
  return config_string(config_path(), utf8Key, defaultValue);
}

std::string config_string_utf8(const char* utf8Key, const char* defaultValue) {
  return utf8_from_gbk(config_string(utf8Key, defaultValue));
}
