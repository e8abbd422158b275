// UTF-8 <-> UTF-16 for the Win32 W functions. Windows build only.
#pragma once

#include <string>

std::wstring WideFromUtf8(const std::string& text);
std::string Utf8FromWide(const std::wstring& text);
