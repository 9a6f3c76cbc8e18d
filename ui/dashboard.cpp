#include <imgui.h>

#include <cstdio>
#include <string>

#include "app/app.h"
#include "app/monitor.h"
#include "ui/dashboard_cards.h"
#include "ui/dashboard_labels.h"
#include "ui/flight_plan_card.h"
#include "ui/last_landing_card.h"
#include "ui/pages.h"
#include "ui/top_bar.h"
#include "ui/widgets.h"

namespace pistavox {

namespace {

const ImVec4 kStatusMessageColour{1, 0.35f, 0.25f, 1};

const ButtonColours kStopColours{{0.55f, 0.18f, 0.16f, 1}, {0.68f, 0.23f, 0.2f, 1}, {0.45f, 0.14f, 0.13f, 1}};
const ButtonColours kStartColours{{0.1f, 0.52f, 0.38f, 1}, {0.12f, 0.62f, 0.45f, 1}, {0.08f, 0.42f, 0.31f, 1}};

const ImVec2 kMonitorButtonSize{-1, 42};

void DrawSummaryStrip(const App& app) {
  const bool zh = InChinese(app);
  const EngineStatus& status = app.monitor.status;
  const AircraftState& state = app.monitor.state;
  ImGui::PushStyleColor(ImGuiCol_ChildBg, ImVec4(0.07f, 0.088f, 0.11f, 1));
  ImGui::Columns(4, "dashboard-summary", false);
  DrawStatCard(LabelText(kPhaseLabel, zh), OrDash(status.phase_name), ImVec4(0.35f, 0.82f, 0.95f, 1));
  ImGui::NextColumn();
  char text[96];
  std::snprintf(text, sizeof text, "%s / %s", OrDash(status.position.airport_ident),
                OrDash(status.position.runway_ident));
  DrawStatCard(LabelText(kAirportRunwayLabel, zh), text, kTitleColour);
  ImGui::NextColumn();
  std::snprintf(text, sizeof text, "%.0f ft AGL", HeightAboveGroundFt(state));
  DrawStatCard(LabelText(kHeightLabel, zh), text, ImVec4(0.36f, 0.84f, 0.72f, 1));
  ImGui::NextColumn();
  std::snprintf(text, sizeof text, "%.2f G", state.g_force);
  DrawStatCard(LabelText(kGForceCardLabel, zh), text, ImVec4(1, 0.72f, 0.35f, 1));
  ImGui::Columns(1);
  ImGui::PopStyleColor();
}

const Label& LinkStatusLabel(const App& app) {
  if (app.monitor.phase == MonitorPhase::kRunning) {
    switch (app.monitor.link_kind) {
      case SimulatorLinkKind::kXPlane:
        return kXPlaneLinkStatusLabel;
      case SimulatorLinkKind::kFlightGear:
        return kFlightGearLinkStatusLabel;
      case SimulatorLinkKind::kFsuipc:
      case SimulatorLinkKind::kAuto:
        return kLinkStatusLabel;
    }
  }
  switch (app.settings.simulator) {
    case SimulatorChoice::kXPlane:
      return kXPlaneLinkStatusLabel;
    case SimulatorChoice::kFlightGear:
      return kFlightGearLinkStatusLabel;
    case SimulatorChoice::kFsuipc:
      return kLinkStatusLabel;
    case SimulatorChoice::kAuto:
      break;
  }
  return kAutoLinkStatusLabel;
}

void DrawControlsBox(App& app, float height, int64_t now_ns) {
  const bool zh = InChinese(app);
  AppSettings& settings = app.settings;
  ImGui::BeginChild("controls", ImVec2(0, height), true);
  const bool running = app.monitor.phase == MonitorPhase::kRunning;
  DrawTitle(LabelText(kMonitorControlLabel, zh), LabelText(running ? kRunningLabel : kReadyLabel, zh));
  ImGui::Spacing();
  DrawFlightPlanCard(app);
  // Take effect at once; saved with the next save.
  LabelledFloatInput(LabelText(kRequiredFtLabel, zh), settings.required_runway_ft, 100, 500, "%.0f");
  ImGui::Checkbox(LabelText(kMetersLabel, zh), &settings.use_meters);
  ImGui::Checkbox(LabelText(kMuteLabel, zh), &settings.muted);
  ImGui::Spacing();
  // A start still waiting on the simulator can be given up too.
  if (app.monitor.phase != MonitorPhase::kStopped) {
    if (ColouredButton(LabelText(kStopMonitorLabel, zh), kMonitorButtonSize, kStopColours)) StopMonitor(app);
  } else if (ColouredButton(LabelText(kStartMonitorLabel, zh), kMonitorButtonSize, kStartColours)) {
    StartMonitor(app, false, now_ns);
  }
  if (!app.status_message.empty()) {
    ImGui::Spacing();
    ImGui::TextColored(kStatusMessageColour, "%s", app.status_message.c_str());
  }
  ImGui::Spacing();
  ImGui::Spacing();
  DrawTitle(LabelText(kSystemStatusLabel, zh));
  ImGui::Spacing();
  DrawStatusRow(app, kRunwayDbStatusLabel, app.runway_data_ok);
  const std::string audio_failure = AudioFailure(app);
  DrawStatusRow(app, kVoicePackStatusLabel, app.voice_pack_ok && audio_failure.empty(), audio_failure);
  DrawStatusRow(app, LinkStatusLabel(app), running);
  DrawStatusRow(app, kAircraftDataStatusLabel, app.monitor.has_sample);
  ImGui::EndChild();
}

void DrawRightSide(App& app) {
  ImGui::BeginChild("right", ImVec2(0, 0), false);
  const bool cards_wide = ImGui::GetContentRegionAvail().x >= kDashboardCardsWideWidth;
  if (cards_wide) ImGui::Columns(2, "cards", false);
  DrawAircraftCard(app);
  if (cards_wide) ImGui::NextColumn();
  DrawRunwayCard(app);
  if (cards_wide) ImGui::Columns(1);
  ImGui::Spacing();
  DrawLastLandingCard(app);
  ImGui::Spacing();
  DrawEventLogCard(app);
  ImGui::EndChild();
}

}  // namespace

void DrawDashboard(App& app, int64_t now_ns) {
  BeginRootWindow("Pistavox");
  DrawTopBar(app);
  ImGui::BeginChild("dashboard-page", ImVec2(0, 0), false);
  ImGui::Dummy(ImVec2(0, 14));
  ImGui::Indent(16);
  DrawSummaryStrip(app);
  ImGui::Dummy(ImVec2(0, 10));
  const float available = ImGui::GetContentRegionAvail().x;
  const bool wide = available >= kDashboardWideWidth;
  if (wide) {
    ImGui::Columns(2, "layout", true);
    ImGui::SetColumnWidth(0, available * 0.34f);
  }
  DrawControlsBox(app, wide ? 560.0f : 390.0f, now_ns);
  if (wide) ImGui::NextColumn();
  DrawRightSide(app);
  if (wide) ImGui::Columns(1);
  ImGui::Unindent(16);
  ImGui::EndChild();
  ImGui::End();
}

}  // namespace pistavox
