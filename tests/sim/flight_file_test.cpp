#include "sim/flight_file.h"

#include <gtest/gtest.h>

#include <limits>
#include <tuple>

namespace pistavox {
namespace {

const std::string kHeader = std::string(kFlightFileHeader) + "\n";
const std::string kTwelveHeader = std::string(kFlightFileHeaderWithAirspeed) + "\n";

// What is read replaces what the vector held; `cut` says a cut last row was left out.
std::vector<FlightSample> Parsed(const std::string& text, bool cut = false) {
  std::vector<FlightSample> samples{FlightSample{}};
  std::string error;
  bool cut_row = !cut;
  EXPECT_TRUE(ParseFlightFile(text, "f.csv", samples, error, nullptr, &cut_row)) << error;
  EXPECT_EQ(cut_row, cut) << text;
  return samples;
}

std::string Malformed(const std::string& what) { return "Malformed flight file (" + what + "): f.csv"; }

// Refused even where a cut last row would be forgiven.
std::string ErrorOf(const std::string& text) {
  std::vector<FlightSample> samples{FlightSample{}};
  std::string error;
  bool cut_row = false;
  EXPECT_FALSE(ParseFlightFile(text, "f.csv", samples, error, nullptr, &cut_row));
  EXPECT_EQ(samples.size(), 1u);  // untouched on failure
  return error;
}

TEST(FlightFile, ReadsRowsWithCarriageReturnsAndAnOptionalFinalLineFeedAndWhatIsWrittenExactly) {
  std::vector<FlightSample> samples =
      Parsed(kHeader + "0,50.5,-8.25,90,0,364,0,1,1\r\n+1.5e0,.5,8.,359.9,12,1E3,-0,1.25,0");
  ASSERT_EQ(samples.size(), 2u);
  EXPECT_EQ(std::tie(samples[0].state.longitude_deg, samples[0].state.on_ground), std::tuple(-8.25, true));
  EXPECT_EQ(std::tie(samples[1].time_s, samples[1].state.latitude_deg, samples[1].state.altitude_ft,
                     samples[1].state.on_ground),
            std::tuple(1.5, 0.5, 1000.0, false));
  EXPECT_TRUE(Parsed(kHeader).empty());
  // A recorder stopped mid-row leaves its whole rows readable; one may write two rows of one time.
  EXPECT_EQ(Parsed(kHeader + "0,50.5,-8.25,90,0,364,0,1,1\n0,50.5,-8.25,90,0,364,0,1,1\n1,50.5,-8.2", true).size(), 2u);

  const FlightSample sample{12.345678901234567,
                            {50.03330000000001, -8.570612345, 359.99999999, 0.1, -12.5, 0.0, 1.0 / 3, true}};
  samples = Parsed(kHeader + FormatFlightRow(sample));
  ASSERT_EQ(samples.size(), 1u);
  const auto written = [](const FlightSample& s) {
    return std::tie(s.time_s, s.state.latitude_deg, s.state.longitude_deg, s.state.heading_deg, s.state.ground_speed_kt,
                    s.state.altitude_ft, s.state.radio_altitude_ft, s.state.g_force, s.state.on_ground);
  };
  EXPECT_EQ(written(samples[0]), written(sample));
}

TEST(FlightFile, ElevenColumnsCarryTheSimulatorsVerticalSpeedsTwelveTheAirspeedAndFewerLeaveThemZero) {
  const std::string eleven = std::string(kFlightFileHeaderWithVerticalSpeeds) + "\n";
  std::vector<FlightSample> samples;
  std::string error;
  FlightColumns columns = FlightColumns::kEleven;
  const auto read = [&] {
    const AircraftState& s = samples[0].state;
    return std::tuple(columns, s.vertical_speed_fpm, s.touchdown_vertical_speed_fpm, s.on_ground,
                      s.indicated_airspeed_kt);
  };
  ASSERT_TRUE(ParseFlightFile(kHeader + "0,50.5,-8.25,90,0,364,0,1,1\n", "f.csv", samples, error, &columns));
  EXPECT_EQ(read(), std::tuple(FlightColumns::kNine, 0.0, 0.0, true, 0.0));

  FlightSample sample{2.5, {50.5, -8.25, 90, 120, 380, 16, 1.2, true, -243.25, -251.5}};
  const std::string row = FormatFlightRow(sample, FlightColumns::kEleven);
  EXPECT_EQ(row, "2.5,50.5,-8.25,90,120,380,16,1.2,1,-243.25,-251.5\n");
  ASSERT_TRUE(ParseFlightFile(eleven + row, "f.csv", samples, error, &columns)) << error;
  EXPECT_EQ(read(), std::tuple(FlightColumns::kEleven, -243.25, -251.5, true, 0.0));

  sample.state.indicated_airspeed_kt = -0.125;
  const std::string twelve_row = FormatFlightRow(sample, FlightColumns::kTwelve);
  EXPECT_EQ(twelve_row, "2.5,50.5,-8.25,90,120,380,16,1.2,1,-243.25,-251.5,-0.125\n");
  ASSERT_TRUE(ParseFlightFile(kTwelveHeader + twelve_row, "f.csv", samples, error, &columns)) << error;
  EXPECT_EQ(read(), std::tuple(FlightColumns::kTwelve, -243.25, -251.5, true, -0.125));

  // Counted against eleven fields, with the extra columns read by the same rules.
  for (const char* fields : {"0,1,2,3,4,5,6,7,1\n", "0,1,2,3,4,5,6,7,1,0,0,0\n"})
    EXPECT_EQ(ErrorOf(eleven + fields), Malformed("line 2: expected 11 fields"));
  EXPECT_EQ(ErrorOf(eleven + "0,1,2,3,4,5,6,7,1,0,nan\n"),
            Malformed("line 2: touchdown_vertical_speed_fpm is not a plain decimal number"));
  EXPECT_EQ(ErrorOf(kHeader + "0,1,2,3,4,5,6,7,1,0,0\n"), Malformed("line 2: expected 9 fields"));
  EXPECT_EQ(ErrorOf(kTwelveHeader + "0,1,2,3,4,5,6,7,1,0,0\n"), Malformed("line 2: expected 12 fields"));
}

TEST(FlightFile, RefusesMalformedFilesNamingTheLineAndReadsSubnormalNumbers) {
  const std::pair<std::string, const char*> cases[] = {
      {"", "line 1: header is not the flight file header"},
      {"\xEF\xBB\xBF" + kHeader, "line 1: header is not the flight file header"},
      {kHeader + "0,1,2,3,4,5,6,7\n", "line 2: expected 9 fields"},
      {kHeader + "0,1,2,3,4,5,6,7,1,\n", "line 2: expected 9 fields"},
      {kHeader + "0,1,2,3,4,5,6,7,1\n\n", "line 3: empty line"},
      {kHeader + "0,1,2,3,4,5,6,7,2\n", "line 2: on_ground must be 0 or 1"},
      {kHeader + "1,1,2,3,4,5,6,7,1\n0.5,1,2,3,4,5,6,7,1", "line 3: time_s lower than the previous row's"},
      {kHeader + "0,1,2,3,4,5,6,7,2\n1,1,2", "line 2: on_ground must be 0 or 1"},
      {kHeader + "1e400,1,2,3,4,5,6,7,1\n", "line 2: time_s is a number out of range"},
      {kTwelveHeader + "0,1,2,3,4,5,6,7,1,0,0,12kt\n", "line 2: indicated_airspeed_kt is not a plain decimal number"}};
  for (const auto& [text, message] : cases) EXPECT_EQ(ErrorOf(text), Malformed(message)) << text;
  for (const char* number : {" 1", "1 ", "0x10", "inf", "nan", "-", ".", "1e", "1e+", "1.2.3", "", "--1"}) {
    EXPECT_EQ(ErrorOf(kHeader + "0," + number + ",2,3,4,5,6,7,1\n"),
              Malformed("line 2: latitude_deg is not a plain decimal number"))
        << number;
  }
  // Well-formed numbers a double cannot hold are named as such; a subnormal one is a
  // value like any other, since the recorder writes the shortest text of what it was given.
  for (const char* number : {"1e999", "-1e999", "1e-999", "-2e-324", "0.1e-330"}) {
    EXPECT_EQ(ErrorOf(kHeader + "0,1,2,3,4,5,6," + number + ",1\n"),
              Malformed("line 2: g_force is a number out of range"))
        << number;
  }
  EXPECT_EQ(Parsed(kHeader + "1,1,2,3,4,0e-999,6,4.9406564584124654e-324,1\n")[0].state.g_force,
            std::numeric_limits<double>::denorm_min());
}

}  // namespace
}  // namespace pistavox
