// Where the game data is read from. The editor reads "数据\" and "图片\" relative to the
// current folder; Explorer may start it in another folder than its own, so at start-up it
// picks the folder that holds the data and makes it the current one:
//   1. the current folder, when its 数据\ holds world.bin and the five catalogs;
//   2. else the program's own folder, when its 数据\ holds them;
//   3. else none: one box (caption kNoDataCaption) names both folders looked in and says
//      where the program belongs, and the editor ends.
#pragma once

#include <functional>
#include <string>
#include <vector>

inline constexpr char kNoDataCaption[] = "找不到游戏数据";

// The files, relative to a game folder, that make its data whole enough to start with.
std::vector<std::string> RequiredDataFiles();

struct DataFolderChoice {
  bool found = false;
  std::string folder;   // the chosen game folder, when found
  std::string message;  // otherwise the box's text
};

// Whether a file exists (a UTF-8 path); tests give their own.
using FileExistsFn = std::function<bool(const std::string& path)>;
// Chooses between the current folder and the program's own (both UTF-8, without a
// trailing separator; equal when the program was started in its own folder).
DataFolderChoice ChooseDataFolder(const std::string& current, const std::string& programFolder,
                                  const FileExistsFn& exists);

// The two folders, from the system. Empty when it cannot tell.
std::string CurrentFolderPath();
std::string ProgramFolderPath();
// Makes `folder` the current folder; false when that fails.
bool EnterFolder(const std::string& folder);

// Start-up: chooses with the system's folders and FileExists, and enters the chosen folder.
// A chosen folder that cannot be entered is a failure, named in the message.
DataFolderChoice FindAndEnterDataFolder();
