#include "sim/flightgear_lines.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "sim/flightgear_link.h"

namespace pistavox {
namespace {

// A line of the older protocol file, and the same from the current one.
const std::string kGood =
    "21.31780000,-157.92240000,81.200000,0.0000,13.0000,3.8500,1.00000,1,0,1,-0.50000,31.2500,0\n";
const std::string kCurrent = kGood.substr(0, kGood.size() - 1) + ",-2.2500,Cessna 172P, Skyhawk\n";

// kGood with one field replaced.
std::string With(int field, const std::string& value) {
  std::string text = kGood;
  size_t start = 0;
  for (int i = 0; i < field; ++i) start = text.find(',', start) + 1;
  const size_t end = text.find_first_of(",\n", start);
  return text.replace(start, end - start, value);
}

TEST(FlightGearLinesTest, ReadsTheLastCompleteLineOfTheShippedLayout) {
  FlightGearLine line;
  ASSERT_TRUE(ParseFlightGearDatagram(kGood, line));
  EXPECT_EQ(line.latitude_deg, 21.3178);
  EXPECT_EQ(line.longitude_deg, -157.9224);
  EXPECT_EQ(line.altitude_agl_ft, 3.85);
  EXPECT_TRUE(line.wow[0]);
  EXPECT_FALSE(line.wow[1]);
  EXPECT_EQ(line.vertical_speed_fps, -0.5);
  EXPECT_EQ(line.elapsed_s, 31.25);
  EXPECT_FALSE(line.frozen);
  EXPECT_EQ(line.indicated_airspeed_kt, 0);
  EXPECT_EQ(line.aircraft, "");
  ASSERT_TRUE(ParseFlightGearDatagram(kCurrent, line));
  EXPECT_EQ(line.indicated_airspeed_kt, -2.25);
  EXPECT_EQ(line.aircraft, "Cessna 172P, Skyhawk");
  EXPECT_EQ(line.elapsed_s, 31.25);

  std::string carriage_return = With(11, "8");
  carriage_return.insert(carriage_return.size() - 1, "\r");
  const struct {
    std::string datagram;
    double elapsed_s;
  } accepted[] = {
      {With(11, "7") + kGood, 31.25},     // two lines: the later one
      {kGood + "21.3,-157.9,81", 31.25},  // an unfinished line after it is not one
      {carriage_return, 8},               // a carriage return before the newline
      {With(2, "360.000000"), 31.25},     // a heading just short of 360, rounded up
      {With(3, "-0.0000"), 31.25},        // a tiny speed printed with its sign
  };
  for (const auto& c : accepted) {
    FlightGearLine read;
    EXPECT_TRUE(ParseFlightGearDatagram(c.datagram, read)) << c.datagram;
    EXPECT_EQ(read.elapsed_s, c.elapsed_s) << c.datagram;
  }
  EXPECT_EQ(FlightGearLineText(line), kCurrent);  // what the stand-in sends is what FlightGear writes
  line.altitude_ft = line.ground_speed_kt = line.elapsed_s = 1e300;  // whole, however long
  EXPECT_TRUE(FlightGearLineText(line).ends_with(",Cessna 172P, Skyhawk\n"));
  EXPECT_GT(FlightGearLineText(line).size(), 900u);
}

TEST(FlightGearLinesTest, RefusesAnythingElseWithoutTouchingTheResult) {
  const std::string refused[] = {
      kGood.substr(0, kGood.size() - 1),                      // no newline: not complete
      kGood.substr(kGood.find(',') + 1),                      // a field short
      With(12, "0,0"),                                        // a field over, or the airspeed without the aircraft
      kGood.substr(0, kGood.size() - 1) + ",fast,C172\n",     // the airspeed no number
      With(4, ""),                                            // an empty field
      With(0, "nan"),                                         // no number
      With(6, "inf"),                                         //
      With(0, " 21.3"),                                       // blanks
      With(4, "0x10"),                                        // not decimal
      With(0, "90.00000001"),                                 // beyond the poles
      With(1, "-180.5"),                                      // beyond the date line
      With(3, "-1.000"),                                      // a negative speed
      With(4, "-9999.000"),                                   // FlightGear's position not yet known
      With(7, "2"),                                           // a flag is 0 or 1
      With(12, "0.5"),                                        //
      With(11, "1e300"),                                      // absurd time
      kGood + With(0, "abc"),                                 // the last line decides, even after a good one
      std::string(kMaxFlightGearDatagramBytes, ' ') + kGood,  // oversized
      "\n",
      std::string("21.3\0", 5) + kGood.substr(4),  // a NUL inside a number
  };
  for (const std::string& datagram : refused) {
    FlightGearLine line;
    line.latitude_deg = 5;
    EXPECT_FALSE(ParseFlightGearDatagram(datagram, line)) << datagram;
    EXPECT_EQ(line.latitude_deg, 5) << datagram;
  }
}

std::string Line(double agl_ft, bool wow, double vs_fps, double elapsed_s, bool frozen = false) {
  char text[160];
  std::snprintf(text, sizeof text, "21.3,-157.9,81.2,60,%.1f,%.1f,1.0,0,%d,0,%.1f,%.2f,%d\n", 13 + agl_ft, agl_ft,
                wow ? 1 : 0, vs_fps, elapsed_s, frozen ? 1 : 0);
  return text;
}

// What the lines make of heights, rates and FlightGear's clock, one datagram after another.
TEST(FlightGearSamplingTest, HeightsFromTheWheelsHeldTouchdownRateStaleLinesAndPauses) {
  FlightGearSampling sampling;
  const struct {
    std::string datagram;
    bool taken;
    double radio_altitude_ft;
    double touchdown_fpm;
    bool paused;
  } steps[] = {
      {Line(4.2, true, 0, 1), true, 0, 0, false},          // the wheels' own height seen
      {Line(54.2, false, -8, 2), true, 50, -480, false},   // climbing away: counted from the wheels
      {Line(54.2, false, -8, 2), true, 50, -480, true},    // the clock stands: paused, not lost
      {Line(30, false, -1, 1.5), false, 50, -480, true},   // an older line changes nothing
      {Line(4.2, true, -2, 3), true, 0, -120, false},      // the touchdown takes the rate it came with
      {Line(4.2, true, 0, 4), true, 0, -120, false},       // and holds it while rolling
      {Line(4.2, true, 0, 5, true), true, 0, -120, true},  // frozen
      {Line(4.2, true, 0, 6) + "garbage", true, 0, -120, false},
  };
  for (const auto& step : steps) {
    EXPECT_EQ(TakeFlightGearDatagram(sampling, step.datagram), step.taken) << step.datagram;
    EXPECT_DOUBLE_EQ(sampling.state.radio_altitude_ft, step.radio_altitude_ft) << step.datagram;
    EXPECT_DOUBLE_EQ(sampling.state.touchdown_vertical_speed_fpm, step.touchdown_fpm) << step.datagram;
    EXPECT_EQ(sampling.state.paused, step.paused) << step.datagram;
  }
  ASSERT_TRUE(TakeFlightGearDatagram(sampling, kCurrent));  // FlightGear's clock at 31.25 s, after the 6 s above
  EXPECT_EQ(sampling.aircraft_name, "Cessna 172P, Skyhawk");
}

}  // namespace
}  // namespace pistavox
