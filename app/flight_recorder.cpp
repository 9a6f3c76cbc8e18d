#include "app/flight_recorder.h"

#include <cstdio>
#include <ctime>
#include <system_error>

#include "app/app.h"
#include "base/clock.h"
#include "base/durable_file.h"
#include "sim/flight_file.h"

namespace pistavox {

namespace fs = std::filesystem;

namespace {

// Far beyond what one second of monitor starts can make; a bound, so a folder full of
// them ends the search.
constexpr int kMostFlightFilesASecond = 10000;

std::tm LocalTimeNow() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &now);
#else
  localtime_r(&now, &local);
#endif
  return local;
}

void StopRecording(FlightRecorder& recorder) {
  if (recorder.out.is_open()) recorder.out.close();
  recorder.recording = false;
}

void BeginSession(App& app, FlightRecorder& recorder, int64_t now_ns) {
  StopRecording(recorder);
  std::error_code ec;
  fs::create_directories(recorder.folder, ec);
  const std::tm local = LocalTimeNow();
  // The name is claimed by creating the file, so no recording is ever opened over another file.
  NewFileOutcome outcome = NewFileOutcome::kExists;
  std::string reason;
  for (int attempt = 1; outcome == NewFileOutcome::kExists && attempt <= kMostFlightFilesASecond; ++attempt) {
    recorder.path = (recorder.folder / FlightFileName(local, attempt)).string();
    outcome = CreateNewFile(recorder.path, reason);
  }
  if (outcome == NewFileOutcome::kCreated) {
    recorder.out.open(recorder.path, std::ios::binary);
    recorder.out << FlightFileHeader(FlightColumns::kTwelve) << '\n' << std::flush;
  }
  if (outcome != NewFileOutcome::kCreated || !recorder.out) {
    StopRecording(recorder);
    if (outcome == NewFileOutcome::kExists) reason = "every name of this second is taken";
    Log(app.log, "Cannot write flight file: " + recorder.path + (reason.empty() ? "" : " (" + reason + ")"));
    return;
  }
  recorder.session_start_ns = now_ns;
  recorder.recording = true;
  Log(app.log, "Recording flight: " + recorder.path);
}

void RecordSample(App& app, FlightRecorder& recorder) {
  if (!recorder.recording) return;
  const double time_s = static_cast<double>(ElapsedNs(recorder.session_start_ns, app.monitor.last_poll)) / 1e9;
  recorder.out << FormatFlightRow({time_s, app.monitor.state}, FlightColumns::kTwelve) << std::flush;
  if (!recorder.out) {
    StopRecording(recorder);
    Log(app.log, "Cannot write flight file: " + recorder.path);
  }
}

}  // namespace

std::string FlightFileName(const std::tm& local_time, int attempt) {
  char name[64];
  std::strftime(name, sizeof name, "flight-%Y%m%d-%H%M%S", &local_time);
  std::string file = name;
  if (attempt > 1) {
    file += '-';
    file += std::to_string(attempt);
  }
  return file + ".csv";
}

void AttachFlightRecorder(App& app, std::shared_ptr<FlightRecorder> recorder) {
  app.hooks.monitor_started = [recorder](App& a, int64_t now_ns) { BeginSession(a, *recorder, now_ns); };
  app.hooks.polled = [recorder](App& a, const std::vector<Advisory>&) { RecordSample(a, *recorder); };
  app.hooks.monitor_stopped = [recorder](App&) { StopRecording(*recorder); };
}

}  // namespace pistavox
