// Between the seams' bookkeeping (keys.cpp, prompts.cpp, file_requests.cpp: the test
// handlers and the key gate) and each build's system side (the *_win32.cpp twins, and the
// *_native.cpp twins that stand in for them). For the platform floor's own files.
#pragma once

#include <string>

// The key's asynchronous state: true while it is held.
bool SystemKeyDown(int key);
// The foreground window belongs to this process.
bool SystemForegroundIsOurs();

// The system's message box; its answer with the Windows values of platform/prompts.h.
int SystemMessage(void* owner, const std::string& text, const std::string& caption, unsigned style);

// The system's open (save false) or save dialog for battle files; false for a cancel.
bool SystemFileRequest(bool save, std::string& path);
