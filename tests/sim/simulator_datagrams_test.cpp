// What X-Plane and FlightGear send, taken whole or not at all, and the samples made of it.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>
#include <tuple>

#include "sim/flightgear_lines.h"
#include "sim/flightgear_link.h"
#include "sim/xplane_datagrams.h"
#include "sim/xplane_link.h"

namespace pistavox {
namespace {

constexpr float kNan = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

std::vector<uint8_t> Rref(const std::vector<std::pair<int32_t, float>>& values, char fifth = ',') {
  std::vector<uint8_t> datagram = BuildRrefAnswer(values);
  datagram[4] = static_cast<uint8_t>(fifth);
  return datagram;
}

std::vector<std::pair<int32_t, float>> Pairs(size_t count) {
  std::vector<std::pair<int32_t, float>> pairs;
  for (size_t i = 0; i < count; ++i) pairs.push_back({static_cast<int32_t>(1000 + i), 0});
  pairs.back() = {kXPlaneLoadFactor, 1.5f};
  return pairs;
}

TEST(XPlaneDatagramsTest, RrefAnswersAreTakenWholeOrNotAtAll) {
  std::vector<uint8_t> odd = Rref({{kXPlaneLoadFactor, 1}});
  odd.push_back(0);
  std::vector<uint8_t> other_kind = Rref({{kXPlaneLoadFactor, 1}});
  other_kind[3] = 'X';
  const struct {
    const char* name;
    std::vector<uint8_t> datagram;
    bool good;
    uint32_t present;
  } cases[] = {
      {"X-Plane 11/12", Rref({{kXPlaneGroundSpeed, 0}, {kXPlanePaused, 1}}), true, 0b1000001},
      {"X-Plane 10", Rref({{kXPlaneOnGround, 1}}, 'O'), true, 1u << kXPlaneOnGround},
      {"indices not ours skipped, whatever they hold",
       Rref({{-1, kNan}, {99, kInf}, {std::numeric_limits<int32_t>::min(), 1}, {kXPlaneTrueHeading, 359}}), true,
       1u << kXPlaneTrueHeading},
      {"the longest X-Plane sends", Rref(Pairs(183)), true, 1u << kXPlaneLoadFactor},
      {"one pair too many", Rref(Pairs(184)), false, 0},
      {"no pairs", Rref({}), false, 0},
      {"a size between pairs", odd, false, 0},
      {"another kind", other_kind, false, 0},
      {"NaN after good values", Rref({{kXPlaneLoadFactor, 2}, {kXPlaneVerticalSpeed, kNan}}), false, 0},
      {"infinity", Rref({{kXPlaneLoadFactor, -kInf}}), false, 0},
      {"a negative speed", Rref({{kXPlaneGroundSpeed, -0.5f}}), false, 0},
      {"a flag neither 0 nor 1", Rref({{kXPlaneOnGround, 2}}), false, 0},
  };
  for (const auto& c : cases) {
    RrefAnswer answer{.present = 0xDEAD};
    EXPECT_EQ(ParseRrefAnswer(c.datagram.data(), c.datagram.size(), answer), c.good) << c.name;
    EXPECT_EQ(answer.present, c.good ? c.present : 0xDEAD) << c.name;
  }
  RrefAnswer answer;
  const std::vector<uint8_t> datagram = Rref({{kXPlaneVerticalSpeed, -812.5f}});
  ASSERT_TRUE(ParseRrefAnswer(datagram.data(), datagram.size(), answer));
  EXPECT_EQ(answer.value[kXPlaneVerticalSpeed], -812.5f);
}

TEST(XPlaneDatagramsTest, PositionsOutsideTheEarthOrNoNumbersAreRefused) {
  const RposAnswer good{.longitude_deg = -180, .latitude_deg = 90, .elevation_m = -400, .heading_deg = -90};
  const struct {
    const char* name;
    void (*change)(RposAnswer&);
    bool ok;
  } cases[] = {
      {"at the pole and the date line", [](RposAnswer&) {}, true},
      {"beyond the pole", [](RposAnswer& a) { a.latitude_deg = 90.000001; }, false},
      {"beyond the date line", [](RposAnswer& a) { a.longitude_deg = 180.5; }, false},
      {"no elevation", [](RposAnswer& a) { a.elevation_m = std::nan(""); }, false},
      {"infinite yaw rate", [](RposAnswer& a) { a.yaw_rate_dps = kInf; }, false},
      {"climbing faster than any aircraft", [](RposAnswer& a) { a.up_mps = 5000; }, false},
  };
  for (const auto& c : cases) {
    RposAnswer sent = good;
    c.change(sent);
    const std::vector<uint8_t> datagram = BuildRposAnswer(sent);
    RposAnswer got{.latitude_deg = 7};
    EXPECT_EQ(ParseRposAnswer(datagram.data(), datagram.size(), got), c.ok) << c.name;
    EXPECT_EQ(got.latitude_deg, c.ok ? sent.latitude_deg : 7) << c.name;
  }
  std::vector<uint8_t> datagram = BuildRposAnswer(good);
  RposAnswer got;
  ASSERT_TRUE(ParseRposAnswer(datagram.data(), datagram.size(), got));
  EXPECT_EQ(std::tie(got.heading_deg, got.elevation_m), std::tuple(270.0f, -400.0));
  datagram = BuildRposAnswer({.heading_deg = -1e-7f});
  ASSERT_TRUE(ParseRposAnswer(datagram.data(), datagram.size(), got));
  EXPECT_EQ(got.heading_deg, 0);
  datagram.push_back(0);
  EXPECT_FALSE(ParseRposAnswer(datagram.data(), datagram.size(), got));
  datagram.resize(kRposAnswerBytes - 1);
  EXPECT_FALSE(ParseRposAnswer(datagram.data(), datagram.size(), got));
}

TEST(XPlaneDatagramsTest, BeaconsGiveTheComputerAndPortOrNothing) {
  const XPlaneBeacon sent{.version = 121400, .port = 49010, .computer_name = "Flight Deck"};
  std::vector<uint8_t> later_version = BuildBeacon(sent);
  later_version.insert(later_version.end(), {0x52, 0xC0});  // a field after the name
  std::vector<uint8_t> unterminated = BuildBeacon(sent);
  unterminated.pop_back();
  const struct {
    const char* name;
    std::vector<uint8_t> datagram;
    bool ok;
  } cases[] = {
      {"plain", BuildBeacon(sent), true},
      {"with fields after the name", later_version, true},
      {"name without its NUL", unterminated, true},
      {"a control character in the name", BuildBeacon({.computer_name = "deck\x1b[2J"}), false},
      {"port 0", BuildBeacon({.port = 0, .computer_name = "deck"}), false},
      {"cut before the name", std::vector<uint8_t>(unterminated.begin(), unterminated.begin() + 20), false},
  };
  for (const auto& c : cases) {
    XPlaneBeacon got;
    got.computer_name = "before";
    EXPECT_EQ(ParseBeacon(c.datagram.data(), c.datagram.size(), got), c.ok) << c.name;
    EXPECT_EQ(got.computer_name, c.ok ? "Flight Deck" : "before") << c.name;
    EXPECT_EQ(got.port, c.ok ? 49010 : 49000) << c.name;
  }
}

TEST(XPlaneDatagramsTest, RequestsHaveXPlanesLayout) {
  std::vector<uint8_t> datagram;
  ASSERT_TRUE(BuildRrefRequest({20, 0x0102, "sim/time/paused"}, datagram));
  ASSERT_EQ(datagram.size(), kRrefRequestBytes);
  EXPECT_EQ(std::memcmp(datagram.data(), "RREF\0\x14\0\0\0\x02\x01\0\0sim/time/paused\0", 29), 0);
  EXPECT_EQ(datagram.back(), 0);
  RrefRequest request;
  ASSERT_TRUE(ParseRrefRequest(datagram.data(), datagram.size(), request));
  EXPECT_EQ(std::tie(request.dataref, request.index), std::tuple("sim/time/paused", 0x0102));

  EXPECT_TRUE(BuildRrefRequest({20, 1, std::string(kRrefNameBytes - 1, 'a')}, datagram));
  EXPECT_FALSE(BuildRrefRequest({20, 1, std::string(kRrefNameBytes, 'a')}, datagram));

  datagram = BuildRposRequest(0);
  EXPECT_EQ(std::string(datagram.begin(), datagram.end()), std::string("RPOS\0"
                                                                       "0\0",
                                                                       7));
  int rate = -1;
  ASSERT_TRUE(ParseRposRequest(datagram.data(), datagram.size(), rate));
  EXPECT_EQ(rate, 0);
  const uint8_t not_a_rate[] = {'R', 'P', 'O', 'S', 0, '2', 'x', 0};
  EXPECT_FALSE(ParseRposRequest(not_a_rate, sizeof not_a_rate, rate));
}

bool Take(XPlaneLink& link, const std::vector<uint8_t>& datagram) {
  return TakeXPlaneDatagram(link, datagram.data(), datagram.size());
}

std::vector<uint8_t> Values(float ground_speed_mps, float height_m, bool on_ground, float vertical_speed_fpm) {
  return BuildRrefAnswer({{kXPlaneGroundSpeed, ground_speed_mps},
                          {kXPlaneTrueHeading, -90},
                          {kXPlaneHeightAboveGround, height_m},
                          {kXPlaneLoadFactor, 1.25f},
                          {kXPlaneOnGround, on_ground ? 1.0f : 0.0f},
                          {kXPlaneVerticalSpeed, vertical_speed_fpm},
                          {kXPlaneIndicatedAirspeed, ground_speed_mps * 2 - 0.25f}});
}

TEST(XPlaneSampleTest, ASampleIsWholeOnceEveryValueAndThePositionCame) {
  XPlaneLink link;
  EXPECT_TRUE(Take(link, BuildRposAnswer({.longitude_deg = 8.5, .latitude_deg = 47.25, .elevation_m = 304.8})));
  EXPECT_TRUE(Take(link, Values(51.444444f, 1.5f, true, -90)));
  EXPECT_FALSE(link.complete);  // no pause flag yet
  EXPECT_TRUE(Take(link, BuildRrefAnswer({{kXPlanePaused, 0}})));
  ASSERT_TRUE(link.complete);
  const AircraftState& s = link.sample;
  // With weight on the wheels, the reference point's height is the ground.
  EXPECT_EQ(std::tie(s.latitude_deg, s.heading_deg, s.radio_altitude_ft, s.paused),
            std::tuple(47.25, 270.0, 0.0, false));
  EXPECT_NEAR(s.altitude_ft, 1000, 1e-9);
  EXPECT_NEAR(s.ground_speed_kt, 100, 1e-4);
  EXPECT_NEAR(s.indicated_airspeed_kt, 102.638888, 1e-4);

  // The name is known once every byte up to its NUL came; a byte may come signed.
  const int32_t name = kXPlaneNameIndex;
  EXPECT_TRUE(Take(link, BuildRrefAnswer({{name, 'A'}, {name + 1, -61}, {name + 3, 0}})));
  EXPECT_EQ(XPlaneAircraftName(link.values), "");
  EXPECT_TRUE(Take(link, BuildRrefAnswer({{name + 2, 0xA9}})));
  EXPECT_EQ(XPlaneAircraftName(link.values), "A\xC3\xA9");

  // Airborne, the height counts from the wheels; the touchdown rate is the last one in the air.
  EXPECT_TRUE(Take(link, Values(60, 1.5f + 30.48f, false, -640)));
  EXPECT_NEAR(link.sample.radio_altitude_ft, 100, 1e-3);
  EXPECT_TRUE(Take(link, Values(55, 1.5f, true, -410)));
  EXPECT_TRUE(Take(link, Values(50, 1.5f, true, 0)));
  EXPECT_EQ(std::tie(link.sample.touchdown_vertical_speed_fpm, link.sample.vertical_speed_fpm),
            std::tuple(-410.0, 0.0));

  // A bad datagram or one of other indices leaves the sample as it was.
  const AircraftState before = link.sample;
  EXPECT_FALSE(Take(link, BuildRrefAnswer({{kXPlaneGroundSpeed, 70}, {kXPlaneOnGround, 3}})));
  EXPECT_FALSE(Take(link, BuildRrefAnswer({{kXPlaneGroundSpeed, 70}, {name + 1, 256}})));
  EXPECT_FALSE(Take(link, BuildRrefAnswer({{name + static_cast<int32_t>(kXPlaneNameBytes), 'B'}})));
  EXPECT_EQ(link.sample.ground_speed_kt, before.ground_speed_kt);
  EXPECT_EQ(XPlaneAircraftName(link.values), "A\xC3\xA9");
}

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
  const auto fields = [&line] {
    return std::tie(line.latitude_deg, line.longitude_deg, line.altitude_agl_ft, line.wow[0], line.wow[1],
                    line.vertical_speed_fps, line.elapsed_s, line.frozen, line.indicated_airspeed_kt, line.aircraft);
  };
  ASSERT_TRUE(ParseFlightGearDatagram(kGood, line));
  EXPECT_EQ(fields(), std::make_tuple(21.3178, -157.9224, 3.85, true, false, -0.5, 31.25, false, 0.0, ""));
  ASSERT_TRUE(ParseFlightGearDatagram(kCurrent, line));
  EXPECT_EQ(fields(),
            std::make_tuple(21.3178, -157.9224, 3.85, true, false, -0.5, 31.25, false, -2.25, "Cessna 172P, Skyhawk"));

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
    FlightGearLine line{.latitude_deg = 5};
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
