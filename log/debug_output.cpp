#include "log/debug_output.h"

#include <atomic>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <mutex>

#include "base/ascii_text.h"

namespace pistavox {

namespace {
std::atomic<bool> debug_enabled{false};
std::mutex debug_mutex;
std::ofstream debug_file;
}  // namespace

bool CommandLineContains(const std::string& command_line, const std::string& switch_text) {
  return ContainsIgnoringAsciiCase(command_line, switch_text);
}

bool HasCommandLineSwitch(const std::string& switch_text) {
  return CommandLineContains(ProcessCommandLine(), switch_text);
}

bool DebugOutputEnabled() { return debug_enabled.load(); }

void DebugPrint(const std::string& text) {
  if (!debug_enabled.load()) return;
  std::lock_guard<std::mutex> lock(debug_mutex);
  std::cout << "[GUI] " << text << std::endl;
  if (debug_file.good()) debug_file << "[GUI] " << text << std::endl;
}

void EnableDebugOutput() {
  // The stream stays in its failed state when the file cannot be created; lines then skip it.
  debug_file.open("debug.log", std::ios::out | std::ios::trunc);
  const bool console_ready = PrepareDebugConsole();
  debug_enabled = true;
  DebugPrint("debug console enabled");
  DebugPrint(std::string("console_ready=") + (console_ready ? "true" : "false"));
  DebugPrint("debug_file=debug.log");
  DebugPrint("command line: " + ProcessCommandLine());
}

}  // namespace pistavox
