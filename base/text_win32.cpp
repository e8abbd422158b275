// Windows twin of the text conversions: code page 936 through the Win32 converters.
#include <windows.h>

#include "base/text.h"
#include "base/wide.h"

namespace {

constexpr UINT kGbk = 936;

std::wstring WideFromGbk(std::string_view gbk) {
  if (gbk.empty()) return {};
  int n = MultiByteToWideChar(kGbk, 0, gbk.data(), static_cast<int>(gbk.size()), nullptr, 0);
  std::wstring out(n, L'\0');
  MultiByteToWideChar(kGbk, 0, gbk.data(), static_cast<int>(gbk.size()), out.data(), n);
  return out;
}

}  // namespace

std::string GbkFromUtf8(std::string_view utf8) {
  std::wstring wide = WideFromUtf8(std::string(utf8));
  if (wide.empty()) return {};
  // No best-fit substitutes: a character GBK lacks becomes '?', as iconv does natively.
  int n = WideCharToMultiByte(kGbk, WC_NO_BEST_FIT_CHARS, wide.data(),
                              static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
  std::string out(n, '\0');
  WideCharToMultiByte(kGbk, WC_NO_BEST_FIT_CHARS, wide.data(), static_cast<int>(wide.size()),
                      out.data(), n, nullptr, nullptr);
  return out;
}

std::string Utf8FromGbk(std::string_view gbk) { return Utf8FromWide(WideFromGbk(gbk)); }

std::wstring wide_from_ansi(const char* gbk) { return WideFromGbk(gbk); }
