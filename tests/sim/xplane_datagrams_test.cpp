#include "sim/xplane_datagrams.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

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
    RrefAnswer answer;
    answer.present = 0xDEAD;
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
    RposAnswer got;
    got.latitude_deg = 7;
    EXPECT_EQ(ParseRposAnswer(datagram.data(), datagram.size(), got), c.ok) << c.name;
    EXPECT_EQ(got.latitude_deg, c.ok ? sent.latitude_deg : 7) << c.name;
  }
  std::vector<uint8_t> datagram = BuildRposAnswer(good);
  RposAnswer got;
  ASSERT_TRUE(ParseRposAnswer(datagram.data(), datagram.size(), got));
  EXPECT_EQ(got.heading_deg, 270);
  EXPECT_EQ(got.elevation_m, -400);
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
  EXPECT_EQ(request.dataref, "sim/time/paused");
  EXPECT_EQ(request.index, 0x0102);

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
  EXPECT_EQ(s.latitude_deg, 47.25);
  EXPECT_NEAR(s.altitude_ft, 1000, 1e-9);
  EXPECT_NEAR(s.ground_speed_kt, 100, 1e-4);
  EXPECT_EQ(s.heading_deg, 270);
  EXPECT_EQ(s.radio_altitude_ft, 0);  // the reference point's height with weight on the wheels
  EXPECT_NEAR(s.indicated_airspeed_kt, 102.638888, 1e-4);
  EXPECT_FALSE(s.paused);

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
  EXPECT_EQ(link.sample.touchdown_vertical_speed_fpm, -410);
  EXPECT_EQ(link.sample.vertical_speed_fpm, 0);

  // A bad datagram or one of other indices leaves the sample as it was.
  const AircraftState before = link.sample;
  EXPECT_FALSE(Take(link, BuildRrefAnswer({{kXPlaneGroundSpeed, 70}, {kXPlaneOnGround, 3}})));
  EXPECT_FALSE(Take(link, BuildRrefAnswer({{kXPlaneGroundSpeed, 70}, {name + 1, 256}})));
  EXPECT_FALSE(Take(link, BuildRrefAnswer({{name + static_cast<int32_t>(kXPlaneNameBytes), 'B'}})));
  EXPECT_EQ(link.sample.ground_speed_kt, before.ground_speed_kt);
  EXPECT_EQ(XPlaneAircraftName(link.values), "A\xC3\xA9");
}

}  // namespace
}  // namespace pistavox
