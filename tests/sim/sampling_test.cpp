#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <tuple>

#include "sim/fsuipc_sampling.h"
#include "sim/state_offsets.h"
#include "tests/support/fake_ipc.h"

namespace pistavox {
namespace {

TEST(StateOffsets, ConvertsRawValuesExactly) {
  // A vertical speed of 256: 1 m/s.
  CoreOffsets raw{.heading = 0x80000000u,
                  .altitude_fraction = 0x80000000u,
                  .altitude_whole = -1,
                  .radio_altitude = -65536,
                  .on_ground = 0x0100,
                  .vertical_speed = 256,
                  .touchdown_vertical_speed = -512,
                  .indicated_airspeed = -200};
  AircraftState s;
  ApplyCoreOffsets(raw, s);
  EXPECT_EQ(std::tie(s.heading_deg, s.altitude_ft, s.indicated_airspeed_kt, s.radio_altitude_ft, s.on_ground),
            std::tuple(180.0, -1.6404199475065615, -1.5625, 0.0, true));
  EXPECT_DOUBLE_EQ(s.vertical_speed_fpm, 196.85039370078738);
  EXPECT_DOUBLE_EQ(s.touchdown_vertical_speed_fpm, -393.70078740157476);

  raw.heading = 0xFFFFFFFFu;
  raw.latitude = static_cast<int64_t>(10001750.0 * 65536.0 * 65536.0);  // the divisor: exactly 90°
  raw.longitude = std::numeric_limits<int64_t>::min();
  raw.ground_speed = 65536;
  raw.indicated_airspeed = 17000;
  ApplyCoreOffsets(raw, s);
  EXPECT_LT(s.heading_deg, 360.0);
  EXPECT_GT(s.heading_deg, 359.9999999);
  EXPECT_EQ(std::tie(s.latitude_deg, s.longitude_deg, s.ground_speed_kt, s.indicated_airspeed_kt),
            std::tuple(90.0, -180.0, 1.9438444924406049, 132.8125));
  EXPECT_DOUBLE_EQ(FeetPerMinuteFromVerticalSpeed(std::numeric_limits<int32_t>::min()), -2147483648.0 * 60.0 / 78.0288);
}

// The raw value is the nearest unit: one unit either way reads back further from what was encoded.
template <typename Raw, typename Read>
void ExpectNearestUnit(const AircraftState& in, Raw CoreOffsets::*field, Read read) {
  const CoreOffsets raw = EncodeCoreOffsets(in);
  AircraftState out;
  ApplyCoreOffsets(raw, out);
  for (const int step : {-1, 1}) {
    CoreOffsets moved = raw;
    moved.*field = static_cast<Raw>(moved.*field + step);
    AircraftState other;
    ApplyCoreOffsets(moved, other);
    EXPECT_LE(std::fabs(read(out) - read(in)), std::fabs(read(other) - read(in))) << read(in) << " step " << step;
  }
}

TEST(StateOffsets, EncodingIsTheInverseWithinResolutionAndSaturates) {
  const AircraftState samples[] = {
      {50.0333, 8.5706, 250.3, 12.5, 364.0, 0.0, 1.0, true, -720.0},
      {-33.946, 151.177, 359.9999, 145.0, 1500.25, 1480.5, 1.25, false, 1850.0},
      {89.9, -179.9, 0.0, 0.0, -1.6404199475065615, 0.0, 0.0, true},
      {-0.001, 0.001, 0.0001, 600.0, 41000.0, 2500.3, 2.5, false},
      {10.0, 10.0, 90.0 + 0.6 * 360.0 / 4294967296.0, 1.0, 1.0, 1.0, 1.0, false},  // 0.6 of a heading unit
  };
  for (const AircraftState& in : samples) {
    AircraftState out;
    ApplyCoreOffsets(EncodeCoreOffsets(in), out);
    EXPECT_NEAR(out.latitude_deg, in.latitude_deg, 1e-12);
    EXPECT_NEAR(out.longitude_deg, in.longitude_deg, 1e-12);
    ExpectNearestUnit(in, &CoreOffsets::heading, [](const AircraftState& s) { return s.heading_deg; });
    ExpectNearestUnit(in, &CoreOffsets::ground_speed, [](const AircraftState& s) { return s.ground_speed_kt; });
    ExpectNearestUnit(in, &CoreOffsets::altitude_fraction, [](const AircraftState& s) { return s.altitude_ft; });
    ExpectNearestUnit(in, &CoreOffsets::radio_altitude, [](const AircraftState& s) { return s.radio_altitude_ft; });
    ExpectNearestUnit(in, &CoreOffsets::vertical_speed, [](const AircraftState& s) { return s.vertical_speed_fpm; });
    EXPECT_EQ(out.on_ground, in.on_ground);
    EXPECT_NEAR(GForceFromFallback(EncodeGForceFallback(in.g_force)), in.g_force, 0.5 / 625);
  }
  AircraftState out;
  ApplyCoreOffsets(EncodeCoreOffsets({.longitude_deg = 180.0, .heading_deg = 360.0}), out);
  EXPECT_EQ(std::tie(out.longitude_deg, out.heading_deg), std::tuple(-180.0, 0.0));

  AircraftState in{.vertical_speed_fpm = -240.0, .touchdown_vertical_speed_fpm = 1e12};
  EXPECT_EQ(EncodeCoreOffsets(in).touchdown_vertical_speed, std::numeric_limits<int32_t>::max());
  ApplyCoreOffsets(EncodeCoreOffsets(in), out);
  EXPECT_NEAR(out.vertical_speed_fpm, -240.0, 60.0 / 0.3048 / 256.0 / 2.0);  // within half a unit
  in.vertical_speed_fpm = std::numeric_limits<double>::quiet_NaN();
  EXPECT_EQ(EncodeCoreOffsets(in).vertical_speed, 0);
  in.altitude_ft = 1e15;
  EXPECT_EQ(EncodeCoreOffsets(in).altitude_whole, std::numeric_limits<int32_t>::max());
}

struct SamplingTest : ::testing::Test {
  test::FakeIpc fake;
  FsuipcClient client;
  SimulatorConnection connection;
  std::string error;

  void Start(GForceFault fault = GForceFault::kNone) {
    fake.server.options.g_force_fault = fault;
    fake.server.fixed_state = {51.47, -0.4543, 90.0, 140.0, 83.0, 0.0, 1.25, true};
    fake.server.fixed_state.indicated_airspeed_kt = 131.3;
    client = test::FakeClient(fake);
    connection = FsuipcConnection(client);
    ASSERT_TRUE(Connect(connection, error)) << error;
  }
};

// Both vertical speeds, the airspeed and, on the first read, the aircraft's title come in the
// first batch; 0x030C holds the rate the aircraft arrived with for as long as it stays on the
// ground, and follows 0x02C8 again in the air.
TEST_F(SamplingTest, ReadsASampleInTwoExchangesAndTheServerHoldsTheTouchdownRateOnTheGround) {
  Start();
  const int sends = fake.sends;
  AircraftState state;
  EXPECT_EQ(AircraftName(connection), "");
  ASSERT_TRUE(ReadAircraftState(connection, state, error));
  EXPECT_EQ(fake.sends - sends, 2);
  EXPECT_NEAR(state.indicated_airspeed_kt, 131.3, 0.5 / 128);
  EXPECT_TRUE(connection.reports_vertical_speed);  // the landing takes the simulator's rates
  // The rates of a server that serves zeros.
  EXPECT_EQ(std::tie(state.g_force, state.vertical_speed_fpm, state.touchdown_vertical_speed_fpm),
            std::tuple(1.25, 0.0, 0.0));
  EXPECT_EQ(std::tuple(SimulatorName(connection), AircraftName(connection)),
            std::tuple("Prepar3D 64-bit", "Pistavox Stand-in"));

  const double unit = 60.0 / 0.3048 / 256.0;
  const auto serve = [&](bool on_ground, double vertical_speed_fpm) {
    AircraftState served = fake.server.fixed_state;
    served.on_ground = on_ground;
    served.vertical_speed_fpm = vertical_speed_fpm;
    served.touchdown_vertical_speed_fpm = 12345.0;  // never served as it is
    ServeState(fake.server, served);
    EXPECT_TRUE(ReadAircraftState(connection, state, error)) << error;
  };
  serve(false, -600.0);
  EXPECT_NEAR(state.vertical_speed_fpm, -600.0, unit);
  EXPECT_NEAR(state.touchdown_vertical_speed_fpm, -600.0, unit);
  serve(true, -240.0);  // the sample that arrives on the ground
  EXPECT_NEAR(state.touchdown_vertical_speed_fpm, -240.0, unit);
  serve(true, 0.0);
  serve(true, 0.0);
  EXPECT_EQ(state.vertical_speed_fpm, 0.0);
  EXPECT_NEAR(state.touchdown_vertical_speed_fpm, -240.0, unit);
  serve(false, 800.0);
  EXPECT_NEAR(state.touchdown_vertical_speed_fpm, 800.0, unit);
}

TEST_F(SamplingTest, NonFiniteLoadFactorFallsBackToTheSixHundredTwentyFifthsOffsetOrKeepsThePrevious) {
  for (GForceFault fault : {GForceFault::kNan, GForceFault::kInfinity}) {
    fake = {};
    Start(fault);
    AircraftState state;
    const int sends = fake.sends;
    ASSERT_TRUE(ReadAircraftState(connection, state, error));
    EXPECT_EQ(fake.sends - sends, 3);
    EXPECT_EQ(state.g_force, 781 / 625.0);  // 1.25 g served in 1/625 g units
  }
  // A failed fallback exchange keeps the previous load factor.
  AircraftState state{.g_force = 0.75};
  fake.send_script.resize(static_cast<size_t>(fake.sends) + 2, IpcSendResult::kAnswered);
  fake.send_script.resize(fake.send_script.size() + 9, IpcSendResult::kTimedOut);  // the fallback exchange
  ASSERT_TRUE(ReadAircraftState(connection, state, error));
  EXPECT_EQ(state.g_force, 0.75);
  EXPECT_NEAR(state.latitude_deg, 51.47, 1e-9);
}

TEST_F(SamplingTest, AFailedCoreExchangeLeavesTheRecordUntouchedAndSaysWhy) {
  Start();
  AircraftState state{.latitude_deg = 1.0};
  fake.server.options.answer = 0;
  ASSERT_FALSE(ReadAircraftState(connection, state, error));
  EXPECT_EQ(error, "Bad IPC request data");
  EXPECT_EQ(state.latitude_deg, 1.0);
  Disconnect(connection);
  EXPECT_FALSE(ReadAircraftState(connection, state, error));
  EXPECT_EQ(error, "FSUIPC/XPUIPC is not open");
  // Codes and simulators outside the tables have their own words.
  EXPECT_EQ(FsuipcErrorText(static_cast<FsuipcError>(16)), "Unknown FSUIPC error");
  EXPECT_EQ(FsuipcErrorText(static_cast<FsuipcError>(-1)), "Unknown FSUIPC error");
  EXPECT_EQ(SimulatorNameForCode(0), "X-Plane / XPUIPC or unknown FSUIPC-compatible simulator");
}

}  // namespace
}  // namespace pistavox
