#include "ui/settings_sections.h"

#include <imgui.h>

#include <algorithm>
#include <iterator>
#include <span>
#include <string_view>

#include "app/aircraft_profiles.h"
#include "app/app.h"
#include "base/ascii_text.h"
#include "ui/settings_labels.h"

namespace pistavox {

namespace {

constexpr float kAircraftProfileBoxHeight = 112;

struct CalloutSwitch {
  const Label* label;
  bool AppSettings::*field;
};

struct ThresholdInput {
  const Label* label;
  float AppSettings::*field;
  float step;
  float fast_step;
  const char* format;
};

constexpr CalloutSwitch kRunwayCalls[] = {
    {&kApproachingRunwayLabel, &AppSettings::enable_approach},
    {&kEnteringRunwayLabel, &AppSettings::enable_runway_entry},
    {&kCrossingRunwayLabel, &AppSettings::enable_crossing},
    {&kRemainingDistanceLabel, &AppSettings::enable_remaining_distance},
    {&kRunwayEndOverrunLabel, &AppSettings::enable_runway_end},
    {&kRunwayLengthLabel, &AppSettings::enable_runway_length},
};

constexpr CalloutSwitch kSafetyCalls[] = {
    {&kWrongRunwayLabel, &AppSettings::enable_wrong_runway},
    {&kHeadingCheckLabel, &AppSettings::enable_heading_check},
    {&kVerifyRunwayLabel, &AppSettings::enable_runway_verify},
    {&kTaxiwayInfoLabel, &AppSettings::enable_taxiway_info},
    {&kTaxiwaySafetyLabel, &AppSettings::enable_taxiway_safety},
    {&kRunwayOccupancyLabel, &AppSettings::enable_runway_occupancy},
};

// One line a switch.
constexpr CalloutSwitch kCopilotCalls[] = {
    {&kAltitudeCallsLabel, &AppSettings::enable_altitude_calls},
    {&kMinimumsCallLabel, &AppSettings::enable_minimums},
    {&kTakeoffCallsLabel, &AppSettings::enable_takeoff_calls},
    {&kApproachGateLabel, &AppSettings::enable_approach_gate},
    {&kStableCallLabel, &AppSettings::enable_stable_call},
    {&kLongLandingLabel, &AppSettings::enable_long_landing},
};

constexpr ThresholdInput kGeometryInputs[] = {
    {&kApproachDistanceLabel, &AppSettings::approach_distance_m, 25, 100, "%.0f"},
    {&kAirborneApproachLabel, &AppSettings::airborne_approach_distance_m, 100, 250, "%.0f"},
    {&kHeadingToleranceLabel, &AppSettings::heading_tolerance_deg, 1, 5, "%.0f"},
    {&kRunwayEdgeMarginLabel, &AppSettings::runway_edge_margin_m, 1, 5, "%.0f"},
    {&kRunwayEndMarginLabel, &AppSettings::runway_end_margin_m, 5, 20, "%.0f"},
    {&kShortRunwayLabel, &AppSettings::short_runway_ft, 100, 500, "%.0f"},
};

constexpr ThresholdInput kSpeedInputs[] = {
    {&kMinTaxiSpeedLabel, &AppSettings::min_taxi_speed_kt, 1, 5, "%.1f"},
    {&kMinRollSpeedLabel, &AppSettings::min_roll_speed_kt, 1, 5, "%.1f"},
    {&kHighSpeedTaxiwayLabel, &AppSettings::high_speed_taxiway_kt, 1, 5, "%.1f"},
    {&kAlertCooldownLabel, &AppSettings::alert_cooldown_s, 1, 5, "%.0f"},
};

constexpr ThresholdInput kRunwayEndInputs[] = {
    {&kApproachingRunwayEndLabel, &AppSettings::runway_end_approach_m, 10, 50, "%.0f"},
    {&kRunwayEndDistanceLabel, &AppSettings::runway_end_m, 10, 25, "%.0f"},
    {&kOverrunRiskLabel, &AppSettings::overrun_risk_m, 5, 20, "%.0f"},
};

// None of these saves by itself: "Save Settings" or the next control that saves does.
void DrawSwitches(App& app, std::span<const CalloutSwitch> switches) {
  for (const CalloutSwitch& item : switches)
    ImGui::Checkbox(LabelText(*item.label, InChinese(app)), &(app.settings.*item.field));
}

// A box's height for a title and `rows` rows of checkboxes.
float SwitchBoxHeight(std::size_t rows) {
  const ImGuiStyle& style = ImGui::GetStyle();
  return 2 * style.WindowPadding.y + ImGui::GetTextLineHeightWithSpacing() + style.ItemSpacing.y +
         static_cast<float>(rows) * ImGui::GetFrameHeightWithSpacing();
}

void DrawSwitchBox(App& app, const char* id, const Label& title, std::span<const CalloutSwitch> switches) {
  BeginSettingsBox(id, SwitchBoxHeight(std::max(std::size(kRunwayCalls), std::size(kSafetyCalls))));
  DrawSettingsTitle(app, title);
  DrawSwitches(app, switches);
  ImGui::EndChild();
}

// The co-pilot's switches and which speed the take-off calls begin with.
void DrawCopilotBox(App& app) {
  BeginSettingsBox("voice-copilot", SwitchBoxHeight(std::size(kCopilotCalls) + 1));
  DrawSettingsTitle(app, kCopilotCallsLabel);
  DrawSwitches(app, kCopilotCalls);
  bool& hundred = app.settings.takeoff_call_100_kt;
  if (ImGui::RadioButton(LabelText(kEightyKnotsLabel, InChinese(app)), !hundred)) hundred = false;
  ImGui::SameLine();
  if (ImGui::RadioButton(LabelText(kHundredKnotsLabel, InChinese(app)), hundred)) hundred = true;
  ImGui::EndChild();
}

void DrawInputs(App& app, std::span<const ThresholdInput> inputs) {
  for (const ThresholdInput& input : inputs) {
    DrawSettingsFloat(app, *input.label, app.settings.*input.field, input.step, input.fast_step, input.format);
  }
}

// The pilot's pick of a profile, or automatic; the profile in use follows at once.
void DrawAircraftProfileBox(App& app) {
  const char* automatic = LabelText(kAutomaticProfileLabel, InChinese(app));
  const AircraftProfile* picked = nullptr;
  for (const AircraftProfile& profile : app.aircraft_profiles)
    if (!picked && EqualsIgnoringAsciiCase(profile.name, app.settings.aircraft_profile)) picked = &profile;
  const auto choose = [&app](std::string_view name) {
    app.settings.aircraft_profile = name;
    ChooseAircraftProfileInUse(app);
    SaveAppSettings(app);
  };
  BeginSettingsBox("voice-aircraft-profile", kAircraftProfileBoxHeight);
  DrawSettingsTitle(app, kAircraftProfileLabel, &kAircraftProfileNoteLabel);
  ImGui::SetNextItemWidth(-1.0f);
  if (ImGui::BeginCombo("##aircraft-profile", picked ? picked->name.c_str() : automatic)) {
    if (ImGui::Selectable(automatic, picked == nullptr)) choose(kAutomaticAircraftProfile);
    for (const AircraftProfile& profile : app.aircraft_profiles)
      if (ImGui::Selectable(profile.name.c_str(), &profile == picked)) choose(profile.name);
    ImGui::EndCombo();
  }
  ImGui::EndChild();
}

void DrawInputBox(App& app, const char* id, const Label& title, std::span<const ThresholdInput> inputs) {
  BeginSettingsBox(id);
  DrawSettingsTitle(app, title);
  DrawInputs(app, inputs);
  ImGui::EndChild();
}

}  // namespace

void DrawVoiceSection(App& app) {
  DrawSettingsTitle(app, kVoiceLabel, &kVoiceSubtitleLabel);
  DrawAircraftProfileBox(app);
  ImGui::Columns(2, "voice-cols", false);
  DrawSwitchBox(app, "voice-runway", kRunwayCallsLabel, kRunwayCalls);
  ImGui::NextColumn();
  DrawSwitchBox(app, "voice-safety", kSafetyCallsLabel, kSafetyCalls);
  ImGui::Columns(1);
  DrawCopilotBox(app);
}

void DrawDetectionSection(App& app) {
  DrawSettingsTitle(app, kDetectionLabel, &kDetectionSubtitleLabel);
  ImGui::Columns(2, "detect-cols", false);
  DrawInputBox(app, "detect-geometry", kRunwayGeometryLabel, kGeometryInputs);
  ImGui::NextColumn();
  DrawInputBox(app, "detect-speeds", kSpeedTriggersLabel, kSpeedInputs);
  ImGui::Columns(1);
}

void DrawRunwayEndSection(App& app) {
  DrawSettingsTitle(app, kRunwayEndLabel, &kRunwayEndSubtitleLabel);
  BeginSettingsBox("runway-end-panel");
  DrawSettingsTitle(app, kRunwayEndProtectionLabel);
  DrawInputs(app, kRunwayEndInputs);
  ImGui::TextWrapped("%s", LabelText(kRunwayEndNoteLabel, InChinese(app)));
  ImGui::EndChild();
}

}  // namespace pistavox
