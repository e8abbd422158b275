// The two things the demo data needs from the system beyond base/files.h.
#pragma once

#include <string>

// Creates one folder (its parent must exist). True when it exists afterwards.
bool MakeFolder(const std::string& utf8path);

// Converts UTF-8 text to GBK (code page 936). False when a character has no GBK form.
bool GbkFromUtf8(const std::string& utf8, std::string& gbk);
