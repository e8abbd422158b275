// The companion's command line: subcommands, their arguments and options, help for each,
// the version, and a clear refusal of a line it cannot use. Built on CLI11.
#pragma once

#include <string>
#include <vector>

#include "scenario/world_record.h"

enum class Command { kInfo, kCheck, kResave, kExport, kImport, kDiff };

struct CommandLine {
  Command command = Command::kInfo;
  std::string dataDir;  // empty: the data folder under the current directory
  std::string input;    // the file the command reads
  std::string output;   // the file resave, export and import write; the second file of diff
  bool all = false;     // check and diff --all: every line of each kind
  bool json = false;    // info and check --json: one JSON document on standard output
  bool hasRange = false;
  MapRange range{};     // resave --range X Y W H
};

// Exit statuses shared by every command.
constexpr int kExitOk = 0;
constexpr int kExitFindings = 1;  // check found something, diff found a difference
constexpr int kExitTrouble = 2;   // a wrong command line, a file that cannot be read or written

// Reads the arguments (UTF-8, without the program's name). True when a command is to run;
// otherwise the help or the version went to `out`, or the refusal of a wrong line to `err`,
// and `status` is the exit status (0 for help and version, kExitTrouble for a wrong line).
bool ParseCommandLine(const std::vector<std::string>& args, CommandLine& line, std::string& out,
                      std::string& err, int& status);
