// pistavox-pack: builds, lists and unpacks encrypted voice package files.
#include <cinttypes>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "audio/voice_package_reader.h"
#include "audio/voice_package_writer.h"
#include "base/ascii_text.h"
#include "base/command_line.h"
#include "base/program_main.h"

namespace pistavox {
namespace {

int Failure(const std::string& error) {
  std::fprintf(stderr, "pistavox-pack: %s\n", error.c_str());
  return 1;
}

int Main(int argc, char** argv) {
  bool force = false;
  std::vector<std::string> operands;
  const CommandLine line = {
      .program = "pistavox-pack",
      .forms = {"build FOLDER OUT.data", "list PACKAGE.data", "unpack [--force] PACKAGE.data FOLDER"},
      .preamble =
          "build   packs every file below FOLDER (which must hold manifest.csv) into one\n"
          "        encrypted voice package, replacing OUT.data only once it is complete;\n"
          "        a symbolic link below FOLDER is refused\n"
          "list    prints each entry's size in bytes and name, in stored order\n"
          "unpack  writes the entries below FOLDER; an existing non-empty FOLDER is refused\n"
          "        unless --force is given\n",
      .options = {FlagOption("--force", Into(force), "unpack into a non-empty FOLDER")},
      .operands = &operands};
  int status = 0;
  if (!ReadCommandLine(line, argc, argv, status)) return status;
  if (operands.empty()) return RefuseCommandLine(line, "a command is needed");
  const std::string command = operands[0];
  operands.erase(operands.begin());
  if (command != "build" && command != "list" && command != "unpack")
    return RefuseCommandLine(line, "unknown command " + command);
  if (force && command != "unpack") return RefuseCommandLine(line, "--force is for unpack only");
  const std::size_t wanted = command == "list" ? 1 : 2;
  if (operands.size() != wanted)
    return RefuseCommandLine(line, command + " takes " + std::to_string(wanted) + (wanted == 1 ? " path" : " paths"));

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
  for (const VoicePackageListing& entry : entries)
    std::printf("%12" PRIu64 "  %s\n", entry.size, EscapeControlCharacters(entry.name).c_str());
  return 0;
}

}  // namespace
}  // namespace pistavox

int main(int argc, char** argv) {
  return pistavox::RunProgram("pistavox-pack", [&] { return pistavox::Main(argc, argv); });
}
