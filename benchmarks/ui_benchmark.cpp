// The interface's costs: one frame built headless, and the font atlas at start-up.
#include <benchmark/benchmark.h>
#include <imgui.h>

#include <chrono>
#include <filesystem>

#include "app/app.h"
#include "benchmarks/resident_memory.h"
#include "runways/runway_database.h"
#include "ui/frame.h"
#include "ui/interface_fonts.h"
#include "ui/theme.h"

namespace pistavox {
namespace {

// The dashboard while monitoring a roll-out at Frankfurt with the world database:
// the flight plan's runway list is looked up every frame, the log is full.
bool MonitoringAtFrankfurt(App& app) {
  RunwayDatabase world;
  std::string error;
  if (!LoadRunwayDatabase(PISTAVOX_WORLD_RUNWAYS, world, error)) return false;
  app.runways = IndexRunways(std::move(world));
  app.settings.expected_airport = "EDDF";
  app.settings.expected_runway = "25C";
  app.monitor.phase = MonitorPhase::kRunning;
  app.monitor.has_sample = true;
  app.monitor.simulator_name = "MSFS";
  app.monitor.status = {
      RunwayState::kOnRunway, "ONRWY", "Landing rollout speed detected", 12, {"EDDF", "25C", 900, 2, 2600, 4000}, {}};
  for (size_t i = 0; i < kEventLogCapacity; ++i) Log(app.log, "Landing trace: line " + std::to_string(i));
  return true;
}

// One dashboard frame without a renderer: what the frame loop spends on the interface.
// Argument 0: stopped, nothing loaded; 1: monitoring with the world database.
void BM_DrawFrameHeadless(benchmark::State& state) {
  App app;
  if (state.range(0) != 0 && !MonitoringAtFrankfurt(app)) return state.SkipWithError("world runway file absent");
  ImGuiContext* context = ImGui::CreateContext();
  ImGuiIO& io = ImGui::GetIO();
  io.IniFilename = nullptr;
  io.DisplaySize = ImVec2(980, 680);
  io.DeltaTime = 1.0f / 60;
  InterfaceFont font;
  LoadInterfaceFonts(io, font);
  ApplyTheme();
  for (auto _ : state) {
    ImGui::NewFrame();
    DrawFrame(app, 0);
    ImGui::Render();
    benchmark::DoNotOptimize(ImGui::GetDrawData()->TotalVtxCount);
  }
  ImGui::DestroyContext(context);
}
BENCHMARK(BM_DrawFrameHeadless)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// The atlas of each installed candidate font with the interface's glyphs, against the
// full Chinese range; each builds in a fresh context, the time and the memory it adds reported.
void AtlasOf(benchmark::State& state, const char* font, bool full_chinese) {
  if (!std::filesystem::exists(font)) {
    state.SkipWithError("font not installed");
    return;
  }
  double added_mb = 0;
  for (auto _ : state) {
    const std::size_t before = bench::ResidentBytes();
    ImGuiContext* context = ImGui::CreateContext();
    ImGuiIO& io = ImGui::GetIO();
    if (full_chinese) {
      ImFontConfig config;
      config.OversampleH = 2;
      config.OversampleV = 2;
      config.PixelSnapH = false;
      io.Fonts->AddFontFromFileTTF(font, kInterfaceFontPixels, &config, io.Fonts->GetGlyphRangesChineseFull());
      io.Fonts->Build();
    } else {
      const char* candidates[] = {font};
      InterfaceFont loaded;
      LoadFirstInterfaceFont(io, candidates, loaded);
    }
    added_mb = static_cast<double>(bench::ResidentBytes() - before) / (1024.0 * 1024.0);
    ImGui::DestroyContext(context);
  }
  state.counters["added_MiB"] = added_mb;
}

void BM_AtlasWenQuanYi(benchmark::State& state) {
  AtlasOf(state, "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc", state.range(0) != 0);
}
void BM_AtlasNotoSansCjk(benchmark::State& state) {
  AtlasOf(state, "/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc", state.range(0) != 0);
}
void BM_AtlasDejaVuSans(benchmark::State& state) {
  AtlasOf(state, "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", state.range(0) != 0);
}
// Argument 0: the interface's glyph ranges; 1: the full Chinese range.
BENCHMARK(BM_AtlasWenQuanYi)->Arg(0)->Arg(1)->Iterations(1)->Repetitions(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AtlasNotoSansCjk)->Arg(0)->Arg(1)->Iterations(1)->Repetitions(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AtlasDejaVuSans)->Arg(0)->Iterations(1)->Repetitions(3)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace pistavox

BENCHMARK_MAIN();
