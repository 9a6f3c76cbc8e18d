// Flight files from arbitrary bytes: refused with a line number, or read; what
// is read writes back to a file that reads to the same samples.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "sim/flight_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace pistavox;
  const std::string text(reinterpret_cast<const char*>(data), size);
  std::vector<FlightSample> samples;
  std::string error;
  FlightColumns columns = FlightColumns::kNine;
  if (!ParseFlightFile(text, "fuzz.csv", samples, error, &columns)) {
    if (error.rfind("Malformed flight file (line ", 0) != 0) std::abort();
    return 0;
  }
  std::string written = std::string(FlightFileHeader(columns)) + "\n";
  for (const FlightSample& sample : samples) written += FormatFlightRow(sample, columns);
  std::vector<FlightSample> again;
  if (!ParseFlightFile(written, "again.csv", again, error) || again.size() != samples.size()) std::abort();
  for (size_t i = 0; i < samples.size(); ++i) {
    if (std::memcmp(&again[i].time_s, &samples[i].time_s, sizeof(double)) != 0) std::abort();
    if (again[i].state.on_ground != samples[i].state.on_ground) std::abort();
    if (std::memcmp(&again[i].state.touchdown_vertical_speed_fpm, &samples[i].state.touchdown_vertical_speed_fpm,
                    sizeof(double)) != 0)
      std::abort();
  }
  return 0;
}
