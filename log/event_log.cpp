#include "log/event_log.h"

#include "base/clock.h"

namespace pistavox {

namespace {
bool IsBlank(const std::string& text) { return text.find_first_not_of(" \t\r\n") == std::string::npos; }
}  // namespace

void Log(EventLog& log, const std::string& text) {
  if (IsBlank(text)) return;
  if (text == log.last_text && ElapsedNs(log.last_time, log.now_ns) < kEventLogRepeatWindowNs) return;
  log.last_text = text;
  log.last_time = log.now_ns;
  log.lines.push_back(text);
  while (log.lines.size() > kEventLogCapacity) log.lines.pop_front();
  ++log.version;
  if (log.on_accept) log.on_accept(text);
}

}  // namespace pistavox
