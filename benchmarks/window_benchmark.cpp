// Start-up to the first presented frame, as a user waits for it: the settings, the
// window with its fonts and theme, the first frame that loads the world runway
// database, rendered and presented. Needs a display (xvfb-run serves).
#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>

#include "app/app.h"
#include "app/startup.h"
#include "base/clock.h"
#include "sim/fsuipc_sampling.h"
#include "tests/support/scoped_workdir.h"
#include "ui/sdl_window.h"

namespace pistavox {
namespace {

namespace fs = std::filesystem;

void BM_StartupToFirstFrame(benchmark::State& state) {
  test::ScopedWorkdir workdir("window_benchmark");
  std::error_code ec;
  fs::create_directories("data", ec);
  if (!fs::copy_file(PISTAVOX_WORLD_RUNWAYS, "data/runways.csv", ec)) return state.SkipWithError("world file absent");
  test::WriteTextFile("data/raas_rules.ini", "");
  test::WriteTextFile("bin/bench/manifest.csv", "id,key,text,lang,file\n");
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    App app;
    app.settings_store.memory_only = true;
    app.hooks.make_connection = [] { return FsuipcConnection(ProcessFsuipcClient()); };  // no simulator runs
    LoadStartupSettings(app);
    SdlWindow host;
    WindowOutcome failure = WindowOutcome::kFailed;
    std::string error;
    if (!OpenSdlWindow(host, failure, error)) return state.SkipWithError(error.c_str());
    DrawWindowFrame(host, app, SteadyNowNs());
    PresentWindowFrame(host);
    const auto end = std::chrono::steady_clock::now();
    state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    if (!app.resources_loaded) state.SkipWithError("the resources did not load");
    CloseSdlWindow(host);
  }
}
BENCHMARK(BM_StartupToFirstFrame)->UseManualTime()->Iterations(1)->Repetitions(5)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace pistavox

BENCHMARK_MAIN();
