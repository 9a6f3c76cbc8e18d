#pragma once
#include <string>
#include <vector>

#include "base/command_run.h"

namespace pistavox {

// Runs the commands, at most `jobs` at a time, their standard output discarded.
// False at the first that cannot start or ends in failure (the rest are still
// waited for, none further started), with `error` naming it.
bool RunCommands(const std::vector<Command>& commands, int jobs, std::string& error);

// Runs one command and returns what it printed on standard output and standard error.
bool CommandOutput(const Command& command, std::string& output, std::string& error);

}  // namespace pistavox
