// The command-line companion's commands, callable from tests: output goes to `out` (results)
// and `err` (refusals and warnings), both UTF-8; the result is the process exit status.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// What the file name "-" reads: standard input in the program, any bytes in tests.
using InputReader = std::function<bool(std::vector<uint8_t>& bytes)>;

// Exit statuses shared by every command.
constexpr int kExitOk = 0;
constexpr int kExitFindings = 1;  // check found something, diff found a difference
constexpr int kExitTrouble = 2;   // a wrong command line, a file that cannot be read or written

int RunCompanion(const std::vector<std::string>& args, std::string& out, std::string& err,
                 const InputReader& readInput = nullptr);
