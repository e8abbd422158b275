// The command-line companion's commands, callable from tests: output goes to `out` (results)
// and `err` (refusals and warnings), both UTF-8; the result is the process exit status.
#pragma once

#include <string>
#include <vector>

int RunCompanion(const std::vector<std::string>& args, std::string& out, std::string& err);
