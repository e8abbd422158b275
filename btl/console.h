// The companion's own process edge: its arguments and its two output streams, both UTF-8 in
// the program. On Windows a console is written in UTF-16 so Chinese shows whatever the code
// page; a stream redirected to a file or a pipe gets the UTF-8 bytes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The arguments after the program's name, as UTF-8.
std::vector<std::string> ProgramArguments(int argc, char** argv);

enum class Stream { kOut, kErr };
// False when the text could not be written whole (a closed pipe, a full disk).
bool WriteText(Stream stream, const std::string& text);

// Standard input's bytes, read to its end as they are (no newline translation).
bool ReadStandardInput(std::vector<uint8_t>& bytes);
