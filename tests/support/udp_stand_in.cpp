#include "tests/support/udp_stand_in.h"

#include <chrono>
#include <iterator>
#include <sstream>
#include <thread>

#include "sim/udp_socket.h"
#include "tests/support/scoped_workdir.h"

namespace pistavox::test {

uint16_t FreeUdpPort() {
  UdpSocket socket;
  std::string error;
  if (!OpenUdpSocket(socket, {kLoopbackAddress, 0}, false, error)) return 0;
  const uint16_t port = UdpLocalPort(socket);
  CloseUdpSocket(socket);
  return port;
}

std::vector<std::string> Words(const std::string& text) {
  std::istringstream in(text);
  return {std::istream_iterator<std::string>(in), std::istream_iterator<std::string>()};
}

uint16_t StartUdpStandIn(const std::string& sim_path, const std::string& protocol, const std::string& options,
                         ChildProcess& sim, std::string& error) {
  // X-Plane is reached at a port it picks itself; FlightGear's lines go to one the link listens on.
  const uint16_t port = protocol == "flightgear" ? FreeUdpPort() : 0;
  std::vector<std::string> command{sim_path, "--protocol", protocol, "--port", std::to_string(port)};
  for (std::string& word : Words(options)) command.push_back(std::move(word));
  if (!StartChild(command, sim, error, "sim.out")) return 0;
  // Its first line ends in the port: "Listening on UDP 127.0.0.1:49000".
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  std::string out;
  while ((out = ReadTextFile("sim.out")).find('\n') == std::string::npos) {
    if (std::chrono::steady_clock::now() > deadline) {
      error = "pistavox-sim did not come up: " + out;
      return 0;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return static_cast<uint16_t>(std::stoi(out.substr(out.rfind(':', out.find('\n')) + 1)));
}

}  // namespace pistavox::test
