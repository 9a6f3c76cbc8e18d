// pistavox-pack: builds, lists and unpacks encrypted voice package files.
#include <cinttypes>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "audio/voice_package_reader.h"
#include "audio/voice_package_writer.h"
#include "base/program_main.h"
#include "tools/command_line.h"

namespace pistavox {
namespace {

constexpr const char* kUsage =
    "usage: pistavox-pack build FOLDER OUT.data\n"
    "       pistavox-pack list PACKAGE.data\n"
    "       pistavox-pack unpack [--force] PACKAGE.data FOLDER\n"
    "build   packs every file below FOLDER (which must hold manifest.csv) into one\n"
    "        encrypted voice package, replacing OUT.data only once it is complete\n"
    "list    prints each entry's size in bytes and name, in stored order\n"
    "unpack  writes the entries below FOLDER; an existing non-empty FOLDER is refused\n"
    "        unless --force is given\n";

int Usage(const std::string& problem) {
  std::fprintf(stderr, "pistavox-pack: %s\n%s", problem.c_str(), kUsage);
  return 2;
}

int Failure(const std::string& error) {
  std::fprintf(stderr, "pistavox-pack: %s\n", error.c_str());
  return 1;
}

int Main(int argc, char** argv) {
  ArgCursor args = MakeArgCursor(argc, argv);
  if (!HasMoreArgs(args)) return Usage("a command is needed");
  const std::string command = TakeArg(args);
  if (IsHelpOption(command)) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (command != "build" && command != "list" && command != "unpack") return Usage("unknown command " + command);
  bool force = false;
  std::vector<std::string> operands;
  while (HasMoreArgs(args)) {
    const std::string arg = TakeArg(args);
    if (IsHelpOption(arg)) {
      std::fputs(kUsage, stdout);
      return 0;
    }
    if (arg == "--force" && command == "unpack")
      force = true;
    else if (arg.starts_with("-") && arg.size() > 1)
      return Usage("unknown option " + arg);
    else
      operands.push_back(arg);
  }
  const std::size_t wanted = command == "list" ? 1 : 2;
  if (operands.size() != wanted)
    return Usage(command + " takes " + std::to_string(wanted) + (wanted == 1 ? " path" : " paths"));

  std::string error;
  if (command == "build") {
    if (!BuildVoicePackage(operands[0], operands[1], error)) return Failure(error);
    return 0;
  }
  if (command == "unpack") {
    if (!UnpackVoicePackage(operands[0], operands[1], force, error)) return Failure(error);
    return 0;
  }
  std::vector<VoicePackageListing> entries;
  if (!ListVoicePackage(operands[0], entries, error)) return Failure(error);
  for (const VoicePackageListing& entry : entries) std::printf("%12" PRIu64 "  %s\n", entry.size, entry.name.c_str());
  return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : Failure("cannot write the listing");
}

}  // namespace
}  // namespace pistavox

int main(int argc, char** argv) {
  return pistavox::RunProgram("pistavox-pack", [&] { return pistavox::Main(argc, argv); });
}
