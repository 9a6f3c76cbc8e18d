#pragma once
#include <functional>
#include <string_view>

namespace pistavox {

// What every program's main shares.

// Runs a program's body so that no exception escapes main: one that does (memory
// exhausted by some input, say) is reported as "NAME: internal error: ..." on standard
// error with exit status 1, instead of an abort. Standard output that could not be
// written fails a run that would have succeeded, with exit status 1 and the reason. On
// POSIX a closed pipe does not end the program by SIGPIPE: its writes fail with EPIPE.
int RunProgram(std::string_view name, const std::function<int()>& body);

}  // namespace pistavox
