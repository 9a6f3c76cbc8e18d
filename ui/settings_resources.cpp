#include <imgui.h>

#include <string>
#include <vector>

#include "app/aircraft_profiles.h"
#include "app/app.h"
#include "app/resources.h"
#include "app/runway_database_actions.h"
#include "app/voice_packs.h"
#include "engine/callout_catalogue.h"
#include "ui/runway_import_dialog.h"
#include "ui/settings_labels.h"
#include "ui/settings_sections.h"

namespace pistavox {

namespace {

constexpr const char* kAppVersion = "1.0.0";
constexpr int32_t kTestAudioPriority = 5;
const ImVec4 kFailureColour{1, 0.35f, 0.25f, 1};

void DrawVoicePackCombo(App& app) {
  const std::vector<std::string> names = ListVoicePackNames(app);
  // An index the list does not hold names no pack; it is clamped when a pack is loaded.
  const std::string selected = SelectedVoicePackName(app);
  const char* preview = names.empty() ? LabelText(kNoVoicePacksLabel, InChinese(app)) : selected.c_str();
  ImGui::SetNextItemWidth(-1.0f);
  if (!ImGui::BeginCombo("##voice-pack", preview)) return;
  for (std::size_t i = 0; i < names.size(); ++i) {
    const bool is_selected = static_cast<std::size_t>(app.settings.voice_pack) == i;
    ImGui::PushID(static_cast<int>(i));  // two packs may share a name: a folder and a .data file
    if (ImGui::Selectable(names[i].c_str(), is_selected)) {
      app.settings.voice_pack = static_cast<int32_t>(i);
      SelectVoicePack(app);
      SaveAppSettings(app);
    }
    ImGui::PopID();
    if (is_selected) ImGui::SetItemDefaultFocus();
  }
  ImGui::EndCombo();
}

// Also reloads the aircraft profiles, which the pilot edits by hand between presses.
void RefreshVoicePacks(App& app) {
  LoadAircraftProfiles(app);
  app.voice_packs.clear();
  const std::size_t count = ListVoicePackNames(app).size();
  if (static_cast<std::size_t>(app.settings.voice_pack) >= count) app.settings.voice_pack = 0;
  SelectVoicePack(app);
}

void TestAudio(App& app) {
  if (!app.resources_loaded) LoadResources(app);
  if (!app.resources_loaded) return;
  RearmAudioFailureReport(app.audio);
  PlayCallout(app, std::string(kTestCallout), kTestAudioPriority);
}

}  // namespace

void DrawResourcesBox(App& app) {
  BeginSettingsBox("general-resources");
  ImGui::Text("%s: %s", LabelText(kAppVersionLabel, InChinese(app)), kAppVersion);

  DrawSeparatedTitle(app, kVoicePackHeadingLabel);
  DrawVoicePackCombo(app);
  if (ImGui::Button(LabelText(kRefreshVoicePacksLabel, InChinese(app)), ImVec2(0, 34))) RefreshVoicePacks(app);
  ImGui::SameLine();
  if (ImGui::Button(LabelText(kTestAudioLabel, InChinese(app)), ImVec2(0, 34))) TestAudio(app);
  // The test clip's outcome, as the worker finds it: nothing heard should never pass silently.
  if (const std::string failure = AudioFailure(app); !failure.empty())
    ImGui::TextColored(kFailureColour, "%s: %s", LabelText(kAudioFailedLabel, InChinese(app)), failure.c_str());
  if (ImGui::Button(LabelText(kSaveSettingsLabel, InChinese(app)), ImVec2(-1, 38))) SaveAppSettings(app);

  DrawSeparatedTitle(app, kRunwayDatabaseHeadingLabel);
  if (ImGui::Button(LabelText(kCheckDatabaseLabel, InChinese(app)), ImVec2(0, 34))) CheckRunwayDatabase(app);
  ImGui::SameLine();
  if (ImGui::Button(LabelText(kImportCsvLabel, InChinese(app)), ImVec2(0, 34)) &&
      ImportRunwayDatabase(app) == RunwayImportPick::kNoPicker) {
    OpenRunwayImportDialog();
  }
  DrawRunwayImportDialog(app);
  DrawSimulatorLinkPart(app);
  ImGui::EndChild();
}

}  // namespace pistavox
