#pragma once
#include <string>
#include <vector>

#include "sim/aircraft_state.h"

namespace pistavox {

// One row of a flight file: a sample and its time in seconds from any origin.
struct FlightSample {
  double time_s = 0;
  AircraftState state;
};

inline constexpr const char* kFlightFileHeader =
    "time_s,latitude_deg,longitude_deg,heading_deg,ground_speed_kt,altitude_ft,radio_altitude_ft,g_force,on_ground";
// The same with the simulator's own vertical speeds after it.
inline constexpr const char* kFlightFileHeaderWithVerticalSpeeds =
    "time_s,latitude_deg,longitude_deg,heading_deg,ground_speed_kt,altitude_ft,radio_altitude_ft,g_force,on_ground,"
    "vertical_speed_fpm,touchdown_vertical_speed_fpm";

// The same with the indicated airspeed after them.
inline constexpr const char* kFlightFileHeaderWithAirspeed =
    "time_s,latitude_deg,longitude_deg,heading_deg,ground_speed_kt,altitude_ft,radio_altitude_ft,g_force,on_ground,"
    "vertical_speed_fpm,touchdown_vertical_speed_fpm,indicated_airspeed_kt";

// Nine columns, eleven with the simulator's vertical speeds, twelve with the airspeed too;
// what a file lacks reads 0.
enum class FlightColumns { kNine, kEleven, kTwelve };
const char* FlightFileHeader(FlightColumns columns);

// Refuses a malformed file whole, naming the line; nothing is guessed. `columns`, when
// given, says which header the file has. With `cut_row` given, a last row without its line
// feed that does not read whole (a recorder stopped mid-row by a full disk) is left out and
// `cut_row` set, rather than the file refused.
bool ParseFlightFile(const std::string& text, const std::string& path, std::vector<FlightSample>& samples,
                     std::string& error, FlightColumns* columns = nullptr, bool* cut_row = nullptr);
bool ReadFlightFile(const std::string& path, std::vector<FlightSample>& samples, std::string& error,
                    FlightColumns* columns = nullptr, bool* cut_row = nullptr);

// Writes a whole flight file through a temporary file, so a failure never leaves half a
// file; into a FIFO or device directly. Anything else at `path` is refused.
bool WriteFlightFile(const std::string& path, const std::vector<FlightSample>& samples, std::string& error,
                     FlightColumns columns = FlightColumns::kNine);

// One row with a line feed; numbers in the shortest form that reads back exactly.
std::string FormatFlightRow(const FlightSample& sample, FlightColumns columns = FlightColumns::kNine);

}  // namespace pistavox
