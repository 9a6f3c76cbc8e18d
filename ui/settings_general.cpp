#include <imgui.h>

#include "app/app.h"
#include "app/monitor.h"
#include "config/settings_presets.h"
#include "ui/flight_plan_card.h"
#include "ui/settings_labels.h"
#include "ui/settings_sections.h"

namespace pistavox {

namespace {

void SetLanguage(App& app, UiLanguage language) {
  app.settings.ui_language = language;
  SaveAppSettings(app);
}

void DrawLanguageCombo(App& app) {
  ImGui::TextDisabled("%s", LabelText(kLanguageLabel, InChinese(app)));
  ImGui::SetNextItemWidth(-1.0f);
  const char* english = LabelText(kEnglishChoiceLabel, InChinese(app));
  const char* chinese = LabelText(kChineseChoiceLabel, InChinese(app));
  if (!ImGui::BeginCombo("##ui-language", InChinese(app) ? chinese : english)) return;
  if (ImGui::Selectable(english, !InChinese(app))) SetLanguage(app, UiLanguage::kEnglish);
  if (ImGui::Selectable(chinese, InChinese(app))) SetLanguage(app, UiLanguage::kChinese);
  ImGui::EndCombo();
}

// A switch that saves as soon as it is flipped; true when it was.
bool SavedCheckbox(App& app, const Label& label, bool& value) {
  if (!ImGui::Checkbox(LabelText(label, InChinese(app)), &value)) return false;
  SaveAppSettings(app);
  return true;
}

void DrawBehavior(App& app) {
  AppSettings& settings = app.settings;
  DrawSeparatedTitle(app, kBehaviorLabel);
  ImGui::Checkbox(LabelText(kDistanceInMetersLabel, InChinese(app)), &settings.use_meters);
  ImGui::SameLine();
  ImGui::Checkbox(LabelText(kMuteAllAudioLabel, InChinese(app)), &settings.muted);
  // The user's switch overrides an earlier user stop: automatic starts may resume.
  if (SavedCheckbox(app, kAutoStartMonitorLabel, settings.auto_start_monitor)) LiftUserStop(app);
  SavedCheckbox(app, kAutoReconnectLabel, settings.auto_reconnect);
  SavedCheckbox(app, kAutoUseDetectedAirportLabel, settings.auto_use_detected_airport);
  // A value typed into a slider (Ctrl+click) stays within its range too: a slip of the
  // keyboard must not leave zero alerts per poll, which silences every callout.
  ImGui::SliderInt(LabelText(kPollIntervalLabel, InChinese(app)), &settings.poll_ms, 100, 1000, "%d",
                   ImGuiSliderFlags_AlwaysClamp);
  ImGui::SliderInt(LabelText(kMaxAlertsPerPollLabel, InChinese(app)), &settings.max_alerts_per_poll, 1, 4, "%d",
                   ImGuiSliderFlags_AlwaysClamp);
}

void DrawPresets(App& app) {
  struct PresetButton {
    const Label* label;
    SettingsPreset preset;
    float width;
    bool same_line;  // three on the first line, the fourth on the next
  };
  static constexpr PresetButton kButtons[] = {{&kQuietPresetLabel, SettingsPreset::kQuiet, 92, false},
                                              {&kNormalPresetLabel, SettingsPreset::kNormal, 92, true},
                                              {&kTrainingPresetLabel, SettingsPreset::kTraining, 92, true},
                                              {&kSensitivePresetLabel, SettingsPreset::kSensitive, 118, false}};
  ImGui::Spacing();
  ImGui::TextDisabled("%s", LabelText(kPresetsLabel, InChinese(app)));
  for (const PresetButton& button : kButtons) {
    if (button.same_line) ImGui::SameLine();
    if (ImGui::Button(LabelText(*button.label, InChinese(app)), ImVec2(button.width, 32))) {
      ApplyPreset(app.settings, button.preset, SelectedVoicePackName(app), app.settings_store, app.log);
    }
  }
}

void DrawFlightPlanBox(App& app) {
  BeginSettingsBox("general-flight-plan");
  DrawSettingsTitle(app, kFlightPlanLabel, &kRunwaySelectionLabel);
  DrawLanguageCombo(app);
  ImGui::Spacing();
  DrawFlightPlanCard(app);
  DrawSettingsFloat(app, kRequiredRunwayFtLabel, app.settings.required_runway_ft, 100, 500, "%.0f");
  DrawBehavior(app);
  DrawPresets(app);
  ImGui::EndChild();
}

}  // namespace

void DrawGeneralSection(App& app) {
  DrawSettingsTitle(app, kGeneralLabel, &kGeneralSubtitleLabel);
  ImGui::Columns(2, "general-cols", false);
  DrawFlightPlanBox(app);
  ImGui::NextColumn();
  DrawResourcesBox(app);
  ImGui::Columns(1);
}

}  // namespace pistavox
