// The editor's command line: `btl_editor.exe PATH`, as Explorer's "Open with", a file
// association or a file dropped on the program's icon give it. Windows hands a program one
// UTF-16 string; it is split here by the C run-time's rules (the ones its argv follows):
//   - arguments are separated by spaces and tabs outside double quotes;
//   - the program's name comes first and ends at the next space or tab, or, when it starts
//     with a double quote, at the next double quote; backslashes in it are plain;
//   - 2n backslashes before a double quote give n backslashes, and the quote opens or
//     closes a quoted part; 2n+1 backslashes before one give n backslashes and a quote;
//   - backslashes elsewhere are plain; inside a quoted part "" gives one quote and the
//     part goes on.
// The arguments come out as UTF-8 (an unpaired surrogate becomes U+FFFD).
#pragma once

#include <string>
#include <string_view>
#include <vector>

// Every argument, the program's name first; empty for an empty line.
std::vector<std::string> SplitCommandLine(std::u16string_view line);

// The file to open: the first argument after the program's name that is not empty (the
// others, as when several files are dropped on the icon, are left alone); empty for none.
std::string FileToOpen(std::u16string_view line);

// UTF-16 to UTF-8.
std::string Utf8FromUtf16(std::u16string_view text);

// The process's own command line (GetCommandLineW). Windows build only.
std::u16string ProcessCommandLine();
