// The editor's configuration: the private-profile file "数据\配置.ini", section 配置. The file
// is GBK, so keys are matched as GBK bytes and string values come back as the file's bytes.
// A missing file, section or key gives the default; a value that is not a number gives 0 for
// an integer key.
//
// Both builds read it with the portable private-profile reader (base/profile.h), which
// answers as the system's GetPrivateProfileIntA / GetPrivateProfileStringA do.
#pragma once

#include <string>
#include <string_view>

inline constexpr char kConfigSection[] = "配置";
inline constexpr char kConfigHexSide[] = "格子边长";       // range-selection hex side, default 3
inline constexpr char kConfigViewCols[] = "窗口长";        // visible hex columns, default 12
inline constexpr char kConfigViewRows[] = "窗口宽";        // visible hex rows, default 10
inline constexpr char kConfigLanguageFile[] = "语言文件";  // default "stringtable_cn.ini"

// String values are cut to this many bytes (at a character boundary), the 200-byte buffer
// the game reads them into less its terminator.
constexpr size_t kConfigStringBytes = 199;

// "数据" + separator + "配置.ini".
std::string ConfigPath();

// Keys and defaults are UTF-8; strings come back as GBK.
int ConfigInt(const char* utf8Key, int defaultValue);
int ConfigInt(const std::string& path, const char* utf8Key, int defaultValue);
std::string ConfigString(const char* utf8Key, const char* defaultValue);
std::string ConfigString(const std::string& path, const char* utf8Key, const char* defaultValue);
std::string ConfigStringUtf8(const char* utf8Key, const char* defaultValue);
