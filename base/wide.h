// UTF-8 <-> UTF-16 for the Win32 W functions. Windows build only.
#pragma once

#include <string>

std::wstring wide_from_utf8(const std::string& text);
std::string utf8_from_wide(const std::wstring& text);
