// The command-line companion's commands, callable from tests: output goes to `out` (results)
// and `err` (refusals and warnings), both UTF-8; the result is the process exit status.
#pragma once

#include <string>
#include <vector>

#include "scenario/battle_file.h"

int RunCompanion(const std::vector<std::string>& args, std::string& out, std::string& err);

// What is odd about a battle file that loads: records outside the file's range, two records
// on one hex, range hexes a 16-bit position cannot name, owners naming no team (unless
// `owners` is false: the scenario's problem finder then names them). One line each.
std::vector<std::string> FindProblems(const BattleImage& image, const WorldImage& world,
                                      bool owners = true);

// `check` adds, when the data folder holds the catalogs, the problems the editor's problem
// report (key P) finds, from the same finder.
