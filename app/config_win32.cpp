// Windows twin of the configuration reader: the system's private-profile functions, given
// the GBK bytes of section and key.
#include <windows.h>

#include <vector>

#include "app/config.h"
#include "catalogs/text.h"
#include "scenario/files.h"
#include "scenario/wide.h"

namespace {

constexpr DWORD kStringChars = 4096;

// The A functions take the file name in the ANSI code page and look a name without folder
// up in the Windows folder, so give them the full path. False when the ANSI code page cannot
// spell it (a Chinese folder on a Western system); the portable reader answers then.
bool ansi_full_path(const std::string& path, std::string& ansi) {
  std::wstring wide = wide_from_utf8(path);
  DWORD n = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
  if (n == 0) return false;
  std::wstring full(n, L'\0');
  n = GetFullPathNameW(wide.c_str(), n, full.data(), nullptr);
  if (n == 0 || n >= full.size()) return false;
  full.resize(n);
  BOOL lossy = FALSE;
  int bytes = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, full.data(), static_cast<int>(full.size()), nullptr,
                                  0, nullptr, &lossy);
  if (bytes == 0 || lossy) return false;
  ansi.assign(bytes, '\0');
  WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, full.data(), static_cast<int>(full.size()), ansi.data(), bytes,
                      nullptr, nullptr);
  return true;
}

std::string read_or_empty(const std::string& path) {
  std::string bytes;
  if (!read_whole_file(path, bytes)) bytes.clear();
  return bytes;
}

}  // namespace

int config_int(const std::string& path, const char* utf8Key, int defaultValue) {
  std::string section = gbk_from_utf8(kConfigSection), key = gbk_from_utf8(utf8Key), ansiPath;
  if (!ansi_full_path(path, ansiPath)) return profile_int(read_or_empty(path), section, key, defaultValue);
  return static_cast<int>(GetPrivateProfileIntA(section.c_str(), key.c_str(), defaultValue, ansiPath.c_str()));
}

std::string config_string(const std::string& path, const char* utf8Key, const char* defaultValue) {
  std::string section = gbk_from_utf8(kConfigSection), key = gbk_from_utf8(utf8Key);
  std::string fallback = gbk_from_utf8(defaultValue), ansiPath, value;
  if (ansi_full_path(path, ansiPath)) {
    std::vector<char> buffer(kStringChars, '\0');
    DWORD n = GetPrivateProfileStringA(section.c_str(), key.c_str(), fallback.c_str(), buffer.data(), kStringChars,
                                       ansiPath.c_str());
    value.assign(buffer.data(), n);
  } else {
    value = profile_string(read_or_empty(path), section, key, fallback);
  }
  value.resize(gbk_fit(value, kConfigStringBytes));
  return value;
}
