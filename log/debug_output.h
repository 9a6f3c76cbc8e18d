#pragma once
#include <string>

namespace pistavox {

// The diagnostic channel that exists only with "-debug": console and "debug.log".
void EnableDebugOutput();
bool DebugOutputEnabled();
void DebugPrint(const std::string& text);

// True when the switch occurs anywhere in the process command line, ignoring ASCII case.
bool HasCommandLineSwitch(const std::string& switch_text);
bool CommandLineContains(const std::string& command_line, const std::string& switch_text);

// Platform layer.
std::string ProcessCommandLine();
// A windowed program started from a Command Prompt prints there: standard output and error
// that go nowhere are sent to the parent's console, while streams redirected to a file or pipe
// keep their target. Without a parent console nothing changes.
void AttachParentConsole();
// Attaches or creates the console that receives debug lines; false when there is none.
bool PrepareDebugConsole();

}  // namespace pistavox
