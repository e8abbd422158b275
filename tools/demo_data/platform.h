// What the demo data needs from the system beyond base/files.h and base/text.h.
#pragma once

#include <string>

// Creates one folder (its parent must exist). True when it exists afterwards.
bool MakeFolder(const std::string& utf8path);
