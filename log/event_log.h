#pragma once
#include <cstdint>
#include <deque>
#include <functional>
#include <string>

namespace pistavox {

// The user-visible history: the latest lines, repeats within 2.5 s dropped.
struct EventLog {
  std::deque<std::string> lines;  // oldest first
  std::string last_text;
  // The time lines are logged at: the running frame's, set by its host. Repeats are weighed against it.
  int64_t now_ns = 0;
  int64_t last_time = 0;  // now_ns of the last accepted line
  uint64_t version = 0;   // bumped by every accepted line
  // Called with every accepted line (the headless host prints them).
  std::function<void(const std::string&)> on_accept;
};

inline constexpr size_t kEventLogCapacity = 120;
inline constexpr int64_t kEventLogRepeatWindowNs = 2'500'000'000;

void Log(EventLog& log, const std::string& text);

}  // namespace pistavox
