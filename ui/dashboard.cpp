#include <imgui.h>

#include <algorithm>
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
const ImVec2 kDashboardItemSpacing{11, 6};
const ImVec2 kDashboardCardPadding{16, 12};
constexpr float kStatusRowGap = 28;
constexpr float kControlsStackedHeight = 392;
constexpr float kDashboardMinBodyHeight = 400;
constexpr float kCardsShareBesideLog = 0.62f;

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
  ImGui::SameLine(0, kStatusRowGap);
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
  ImGui::EndChild();
}

// One line under the summary, wrapped only where the width runs out, so the status
// stays in view however little height the window has.
void DrawSystemStatus(const App& app) {
  const std::string audio_failure = AudioFailure(app);
  const bool running = app.monitor.phase == MonitorPhase::kRunning;
  const struct {
    const Label& label;
    bool ok;
  } rows[] = {{kRunwayDbStatusLabel, app.runway_data_ok},
              {kVoicePackStatusLabel, app.voice_pack_ok && audio_failure.empty()},
              {LinkStatusLabel(app), running},
              {kAircraftDataStatusLabel, app.monitor.has_sample}};
  const bool zh = InChinese(app);
  ImGui::SetCursorPosX(ImGui::GetCursorPosX() + ImGui::GetStyle().ItemSpacing.x);  // in line with the columns
  ImGui::TextDisabled("%s", LabelText(kSystemStatusLabel, zh));
  for (const auto& row : rows) {
    ImGui::SameLine(0, kStatusRowGap);
    if (ImGui::GetContentRegionAvail().x < StatusRowWidth(app, row.label)) ImGui::NewLine();
    DrawStatusRow(app, row.label, row.ok);
  }
  // Why the clips fail to play, under the line, until one plays again.
  if (!audio_failure.empty()) {
    ImGui::PushStyleColor(ImGuiCol_Text, kStatusMessageColour);
    ImGui::TextWrapped("%s", audio_failure.c_str());
    ImGui::PopStyleColor();
  }
}

void DrawAircraftAndRunwayCards(const App& app) {
  const bool cards_wide = ImGui::GetContentRegionAvail().x >= kDashboardCardsWideWidth;
  if (cards_wide) ImGui::Columns(2, "cards", false);
  DrawAircraftCard(app);
  if (cards_wide) ImGui::NextColumn();
  DrawRunwayCard(app);
  if (cards_wide) ImGui::Columns(1);
}

// The cards, then the log filling what the window shows. The landing card goes above
// the log only while that leaves the log its least height; else it follows the log,
// below the fold. Wide enough, the log stands beside the cards for the whole height.
void DrawRightSide(App& app, float height) {
  ImGui::BeginChild("right", ImVec2(0, height), false);
  const float width = ImGui::GetContentRegionAvail().x;
  if (width >= kDashboardLogBesideWidth) {
    ImGui::BeginChild("right-cards", ImVec2(width * kCardsShareBesideLog, 0), false);
    DrawAircraftAndRunwayCards(app);
    DrawLastLandingCard(app, true);
    ImGui::EndChild();
    ImGui::SameLine();
    DrawEventLogCard(app, 0);
    ImGui::EndChild();
    return;
  }
  DrawAircraftAndRunwayCards(app);
  const float gap = ImGui::GetStyle().ItemSpacing.y;
  const float room = ImGui::GetContentRegionAvail().y - gap;
  const bool landing_first = room - LastLandingCardHeight(app) - gap >= kEventLogCardMinHeight;
  if (landing_first) DrawLastLandingCard(app, false);
  DrawEventLogCard(app, std::max(ImGui::GetContentRegionAvail().y - gap, kEventLogCardMinHeight));
  if (!landing_first) DrawLastLandingCard(app, false);
  ImGui::EndChild();
}

}  // namespace

void DrawDashboard(App& app, int64_t now_ns) {
  BeginRootWindow("Pistavox");
  DrawTopBar(app);
  ImGui::BeginChild("dashboard-page", ImVec2(0, 0), false);
  // Tighter than the Settings page: the opening size must show the phase, the runway,
  // the status and the newest log lines at once.
  ImGui::PushStyleVar(ImGuiStyleVar_ItemSpacing, kDashboardItemSpacing);
  ImGui::PushStyleVar(ImGuiStyleVar_WindowPadding, kDashboardCardPadding);
  ImGui::Dummy(ImVec2(0, 8));
  ImGui::Indent(16);
  DrawSummaryStrip(app);
  DrawSystemStatus(app);
  const float available = ImGui::GetContentRegionAvail().x;
  const bool wide = available >= kDashboardWideWidth;
  // Below its least height the page scrolls rather than squeezing the cards.
  const float height = std::max(ImGui::GetContentRegionAvail().y, kDashboardMinBodyHeight);
  if (wide) {
    ImGui::Columns(2, "layout", true);
    ImGui::SetColumnWidth(0, available * 0.32f);
    DrawControlsBox(app, height, now_ns);
    ImGui::NextColumn();
    DrawRightSide(app, height);
    ImGui::Columns(1);
  } else {
    DrawControlsBox(app, kControlsStackedHeight, now_ns);
    DrawRightSide(app, kDashboardMinBodyHeight);
  }
  ImGui::Unindent(16);
  ImGui::PopStyleVar(2);
  ImGui::EndChild();
  ImGui::End();
}

}  // namespace pistavox
