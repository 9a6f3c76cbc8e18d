// pistavox-logbook: prints the landing logbook as a table and its summary.
#include <cstdio>
#include <string>
#include <vector>

#include "app/logbook.h"
#include "base/ascii_text.h"
#include "base/command_line.h"
#include "base/file_reading.h"
#include "base/program_main.h"
#include "config/logbook_location.h"

namespace pistavox {
namespace {

constexpr const char* kAbout =
    "Prints the landing logbook (default: the user's, $PISTAVOX_DATA_DIR or\n"
    "$XDG_DATA_HOME/pistavox/logbook.csv, %APPDATA%\\Pistavox\\logbook.csv on Windows) as a table,\n"
    "then a summary: landings, average score, best and worst, average touchdown rate and the\n"
    "landings per airport. A damaged row is skipped and counted.\n"
    "Exit status: 0 after printing, 1 when the logbook cannot be read, 2 for a bad command line.\n";

std::string Optional(const char* format, const std::optional<double>& value) {
  if (!value) return "-";
  char text[32];
  std::snprintf(text, sizeof text, format, *value);
  return text;
}

// Fields come from a file anyone may have edited: nothing in them reaches the terminal as a control.
std::string Shown(const std::string& text) { return EscapeControlCharacters(text); }
std::string Dash(const std::string& text) { return text.empty() ? "-" : Shown(text); }

void PrintTable(const std::vector<LogbookEntry>& entries) {
  std::printf("%-20s %-8s %-6s %5s %-9s %8s %8s %5s %8s %7s %7s %8s  %s\n", "UTC", "AIRPORT", "RWY", "SCORE", "BAND",
              "VS", "SIM VS", "G", "DIST M", "CL M", "BOUNCE", "ROLL M", "NOTES");
  for (const LogbookEntry& e : entries) {
    std::printf("%-20s %-8s %-6s %5.0f %-9s %8s %8s %5s %8s %7s %7d %8s  %s\n", Shown(e.utc_time).c_str(),
                Dash(e.airport).c_str(), Dash(e.runway).c_str(), e.score, Shown(e.band).c_str(),
                Optional("%.0f", e.touchdown_vs_fpm).c_str(), Optional("%.0f", e.simulator_touchdown_vs_fpm).c_str(),
                Optional("%.2f", e.g).c_str(), Optional("%.0f", e.threshold_distance_m).c_str(),
                Optional("%.1f", e.centreline_offset_m).c_str(), e.bounces, Optional("%.0f", e.rollout_m).c_str(),
                Shown(e.notes).c_str());
  }
}

void PrintSummary(const LogbookSummary& s) {
  std::printf("\nLandings: %zu\n", s.landings);
  if (s.landings == 0) return;
  std::printf("Average score: %.1f\n", s.average_score);
  std::printf("Best: %.0f %s at %s %s (%s)\n", s.best->score, Shown(s.best->band).c_str(),
              Dash(s.best->airport).c_str(), Dash(s.best->runway).c_str(), Shown(s.best->utc_time).c_str());
  std::printf("Worst: %.0f %s at %s %s (%s)\n", s.worst->score, Shown(s.worst->band).c_str(),
              Dash(s.worst->airport).c_str(), Dash(s.worst->runway).c_str(), Shown(s.worst->utc_time).c_str());
  std::printf("Average touchdown rate: %s fpm (the simulator's where known)\n",
              Optional("%.0f", s.average_touchdown_rate_fpm).c_str());
  std::printf("Per airport:\n");
  for (const AirportSummary& airport : s.airports)
    std::printf("  %-8s %zu landing%s, average score %.1f\n", Dash(airport.airport).c_str(), airport.landings,
                airport.landings == 1 ? "" : "s", airport.average_score);
}

int Main(int argc, char** argv) {
  std::vector<std::string> files;
  const CommandLine line = {.program = "pistavox-logbook", .forms = {"[FILE]"}, .preamble = kAbout, .operands = &files};
  int status = 0;
  if (!ReadCommandLine(line, argc, argv, status)) return status;
  if (files.size() > 1) return RefuseCommandLine(line, "more than one file given");
  std::filesystem::path file;
  std::string error;
  if (!files.empty()) {
    file = files[0];
  } else if (!DefaultLogbookPath(file, error)) {
    std::fprintf(stderr, "pistavox-logbook: %s\n", error.c_str());
    return 1;
  }
  std::vector<LogbookEntry> entries;
  std::size_t skipped = 0;
  if (!ReadLogbook(file, entries, skipped, error)) {
    std::fprintf(stderr, "pistavox-logbook: %s\n", error.c_str());
    return 1;
  }
  std::printf("Logbook: %s\n", Shown(PathText(file)).c_str());
  PrintTable(entries);
  if (skipped > 0) std::printf("Skipped %zu damaged row%s\n", skipped, skipped == 1 ? "" : "s");
  PrintSummary(SummariseLogbook(entries));
  return 0;
}

}  // namespace
}  // namespace pistavox

int main(int argc, char** argv) {
  return pistavox::RunProgram("pistavox-logbook", [&] { return pistavox::Main(argc, argv); });
}
