// Message boxes. They go through one seam so that tests can answer them instead of hanging
// on them. Texts are UTF-8.
#pragma once

#include <string>

// Styles and answers with the Windows values.
constexpr unsigned kMbOk = 0x0, kMbYesNoCancel = 0x3, kMbYesNo = 0x4, kMbIconQuestion = 0x20,
                   kMbIconWarning = 0x30, kMbIconInformation = 0x40;
constexpr int kIdOk = 1, kIdCancel = 2, kIdYes = 6, kIdNo = 7;

int ShowMessage(void* owner, const std::string& text, const std::string& caption, unsigned style);

using PromptHandler = int (*)(void* owner, const std::string& text, const std::string& caption,
                              unsigned style);
// Null restores the system's message box.
void SetPromptHandler(PromptHandler handler);
