#pragma once
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

namespace pistavox {

// The --record option: each monitor session written to a flight file as it is flown.
struct App;

// Writes every successful sample of a monitor session to FOLDER/flight-YYYYMMDD-HHMMSS.csv,
// one flushed row per sample, so a crash loses at most the row being written.
struct FlightRecorder {
  std::filesystem::path folder;
  std::ofstream out;
  std::string path;
  int64_t session_start_ns = 0;
  bool recording = false;
};

void AttachFlightRecorder(App& app, std::shared_ptr<FlightRecorder> recorder);

// "flight-YYYYMMDD-HHMMSS.csv" for a local time; `attempt` > 1 adds "-N" so an
// existing recording is never overwritten.
std::string FlightFileName(const std::tm& local_time, int attempt);

}  // namespace pistavox
