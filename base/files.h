// File access shared by every reader: paths are UTF-8 strings in the program, relative to
// the current directory; on Windows they are opened through their UTF-16 form so Chinese
// folder names ("数据", "图片") work on any system locale.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// "数据" + separator + name: a file of the game's data folder.
std::string DataPath(const std::string& name);
// "图片" + separator + name: a file of the picture folder.
std::string PicturePath(const std::string& name);
// Joins two path pieces with the platform's separator.
std::string JoinPath(const std::string& folder, const std::string& name);

// The path made absolute against the current folder (Windows: GetFullPathNameW; natively
// the current folder joined in front of a relative path). Unchanged when it cannot be done.
// Take it before the current folder changes, for a path given on the command line.
std::string AbsolutePath(const std::string& path);
// The file name of a path, without its folder (either separator).
std::string FileNameOf(const std::string& path);

// fopen on a UTF-8 path.
FILE* OpenFile(const std::string& path, const char* mode);
bool FileExists(const std::string& path);
// Creates one folder (its parent must exist). True when it is a folder afterwards, also when
// it was one before.
bool MakeFolder(const std::string& path);
// The size in bytes of an open regular file, without moving its position. False when it
// cannot be told, and for pipes and devices, whose size says nothing of what they hold.
bool OpenFileSize(FILE* f, uint64_t& size);

// Reads a whole file. False when it cannot be opened or read.
bool ReadWholeFile(const std::string& path, std::string& out);

// Reads at most `limit` bytes from the start of a file; `more` tells whether the file goes on
// beyond them. False when it cannot be opened or read.
bool ReadFilePrefix(const std::string& path, size_t limit, std::string& out, bool& more);
bool ReadFilePrefix(const std::string& path, size_t limit, std::vector<uint8_t>& out, bool& more);
