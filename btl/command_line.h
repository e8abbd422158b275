// The companion's command line: subcommands, their arguments and options, help for each,
// the version, and a clear refusal of a line it cannot use. Built on CLI11.
#pragma once

#include <string>
#include <vector>

#include "scenario/world_record.h"
#include "btl/companion.h"

enum class Command { kInfo, kCheck, kResave, kExport, kImport, kDiff, kMerge, kNew, kRender };

struct CommandLine {
  Command command = Command::kInfo;
  std::string dataDir;        // empty: the data folder under the current directory
  std::string input;          // the file the command reads
  std::string output;         // the file resave, export, import, merge and new write; the
                              // second file of diff. "-" (or none, for export): standard output
  std::string ours, theirs;   // merge: the two sides; `input` is their common ancestor
  bool preferTheirs = false;  // merge --prefer theirs
  bool preferGiven = false;   // merge --prefer: conflicts settled as asked, exit 0
  std::string teams;          // new --teams: countries, comma-separated
  bool all = false;           // check and diff --all: every line of each kind
  bool json = false;          // info and check --json: one JSON document on standard output
  bool hasRange = false;
  MapRange range{};   // resave, new and render --range X Y W H
  int32_t hex = 0;    // render --hex: pixels a hex side (0: the default)
  std::string other;  // render --diff: the file whose differing hexes are framed
  std::string font;   // render --font: a font file with Chinese glyphs
};

// Reads the arguments (UTF-8, without the program's name). True when a command is to run;
// otherwise the help or the version went to `out`, or the refusal of a wrong line to `err`,
// and `status` is the exit status (0 for help and version, kExitTrouble for a wrong line).
bool ParseCommandLine(const std::vector<std::string>& args, CommandLine& line, std::string& out,
                      std::string& err, int& status);
