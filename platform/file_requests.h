// The system's open and save dialogs for battle files. The save dialog proposes the name
// (without folder) of the file opened at start-up, as the two requests share that buffer.
// Neither changes the current folder, so the data folder's relative paths stay valid.
#pragma once

#include <string>

// False when the user cancels (or the dialog fails). The path is UTF-8.
bool AskOpenBattleFile(std::string& path);
bool AskSaveBattleFile(std::string& path);

// A file opened without the open dialog (named on the command line): the save dialog
// proposes its name, as if the open dialog had chosen it.
void ProposeSaveName(const std::string& path);

// Tests answer the requests themselves: `save` tells which request is asked; return false
// for cancel.
using FileRequestHandler = bool (*)(bool save, std::string& path);
void SetFileRequestHandler(FileRequestHandler handler);
