#include "app/flight_recorder.h"

#include <cstdio>
#include <ctime>
#include <system_error>

#include "app/app.h"
#include "base/clock.h"
#include "sim/flight_file.h"

namespace pistavox {

namespace fs = std::filesystem;

namespace {

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
  fs::path path;
  for (int attempt = 1; attempt < 100; ++attempt) {
    path = recorder.folder / FlightFileName(local, attempt);
    if (!fs::exists(path, ec)) break;
  }
  recorder.path = path.string();
  recorder.out.open(path, std::ios::binary | std::ios::trunc);
  recorder.out << FlightFileHeader(FlightColumns::kEleven) << '\n' << std::flush;
  if (!recorder.out) {
    StopRecording(recorder);
    Log(app.log, "Cannot write flight file: " + recorder.path);
    return;
  }
  recorder.session_start_ns = now_ns;
  recorder.recording = true;
  Log(app.log, "Recording flight: " + recorder.path);
}

void RecordSample(App& app, FlightRecorder& recorder) {
  if (!recorder.recording) return;
  const double time_s = static_cast<double>(ElapsedNs(recorder.session_start_ns, app.monitor.last_poll)) / 1e9;
  recorder.out << FormatFlightRow({time_s, app.monitor.state}, FlightColumns::kEleven) << std::flush;
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
