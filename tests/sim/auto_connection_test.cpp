#include "sim/auto_connection.h"

#include <gtest/gtest.h>

namespace pistavox {
namespace {

// A connection that answers or not, counting what is asked of it.
std::function<SimulatorConnection()> Scripted(SimulatorLinkKind kind, const bool& answers, int& disconnects) {
  return [kind, &answers, &disconnects] {
    SimulatorConnection c;
    c.kind = kind;
    c.connect = [kind, &answers](std::string& error) {
      if (!answers) error = std::string(LinkLogName(kind)) + " is silent";
      return answers;
    };
    c.read = [kind](AircraftState& state, std::string&) {
      state.latitude_deg = static_cast<double>(kind);
      return true;
    };
    c.simulator_name = [kind] { return "sim " + std::string(LinkLogName(kind)); };
    c.aircraft_name = [kind] { return "aircraft in " + std::string(LinkLogName(kind)); };
    c.disconnect = [&disconnects] { ++disconnects; };
    return c;
  };
}

TEST(AutoConnection, KeepsTheFirstThatAnswersAndNamesEveryReasonWhenNoneDoes) {
  bool fsuipc_answers = false;
  bool xplane_answers = false;
  int disconnects = 0;
  SimulatorConnection automatic =
      FirstAnsweringConnection({Scripted(SimulatorLinkKind::kFsuipc, fsuipc_answers, disconnects),
                                Scripted(SimulatorLinkKind::kXPlane, xplane_answers, disconnects)});
  std::string error;
  EXPECT_FALSE(Connect(automatic, error));
  EXPECT_EQ(error, "FSUIPC/XPUIPC is silent; X-Plane open failed: X-Plane is silent");

  xplane_answers = true;
  ASSERT_TRUE(Connect(automatic, error));
  EXPECT_EQ(ConnectedLinkKind(automatic), SimulatorLinkKind::kXPlane);
  EXPECT_EQ(SimulatorName(automatic), "sim X-Plane");
  EXPECT_EQ(AircraftName(automatic), "aircraft in X-Plane");
  AircraftState state;
  ASSERT_TRUE(ReadAircraftState(automatic, state, error));
  EXPECT_EQ(state.latitude_deg, static_cast<double>(SimulatorLinkKind::kXPlane));

  // A reconnect starts again from the first, letting go of the link it held.
  fsuipc_answers = true;
  Disconnect(automatic);
  EXPECT_EQ(disconnects, 1);
  ASSERT_TRUE(Connect(automatic, error));
  EXPECT_EQ(ConnectedLinkKind(automatic), SimulatorLinkKind::kFsuipc);
  Disconnect(automatic);
  EXPECT_EQ(disconnects, 2);
}

}  // namespace
}  // namespace pistavox
