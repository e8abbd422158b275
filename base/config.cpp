// The configuration file, read with the portable private-profile reader on both builds.
#include "base/config.h"

#include "base/files.h"
#include "base/profile.h"
#include "base/text.h"

namespace {

std::string ReadOrEmpty(const std::string& path) {
  std::string bytes;
  if (!ReadWholeFile(path, bytes)) bytes.clear();  // a missing file reads like an empty one
  return bytes;
}

}  // namespace

int ConfigInt(const std::string& path, const char* utf8Key, int defaultValue) {
  return ProfileInt(ReadOrEmpty(path), GbkFromUtf8(kConfigSection), GbkFromUtf8(utf8Key),
                    defaultValue);
}

std::string ConfigString(const std::string& path, const char* utf8Key, const char* defaultValue) {
  std::string value = ProfileString(ReadOrEmpty(path), GbkFromUtf8(kConfigSection),
                                    GbkFromUtf8(utf8Key), GbkFromUtf8(defaultValue));
  value.resize(GbkFit(value, kConfigStringBytes));
  return value;
}

std::string ConfigPath() { return DataPath("配置.ini"); }

int ConfigInt(const char* utf8Key, int defaultValue) {
  return ConfigInt(ConfigPath(), utf8Key, defaultValue);
}

std::string ConfigString(const char* utf8Key, const char* defaultValue) {
  return ConfigString(ConfigPath(), utf8Key, defaultValue);
}

std::string ConfigStringUtf8(const char* utf8Key, const char* defaultValue) {
  return Utf8FromGbk(ConfigString(utf8Key, defaultValue));
}
