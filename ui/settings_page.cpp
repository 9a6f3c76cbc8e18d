#include <imgui.h>

#include "app/app.h"
#include "ui/labels.h"
#include "ui/pages.h"
#include "ui/settings_labels.h"
#include "ui/settings_sections.h"
#include "ui/top_bar.h"
#include "ui/widgets.h"

namespace pistavox {

namespace {

const Label* const kSectionLabels[] = {&kGeneralLabel, &kVoiceLabel, &kDetectionLabel, &kRunwayEndLabel};

void DrawSidebar(App& app, float width) {
  ImGui::PushStyleColor(ImGuiCol_ChildBg, ImVec4(0.06f, 0.074f, 0.092f, 1));
  // The bottom button, placed from the bottom edge, would overhang by a few pixels into a scrollbar.
  ImGui::BeginChild("settings-sidebar", ImVec2(width, 0), true, ImGuiWindowFlags_NoScrollbar);
  ImGui::PopStyleColor();
  ImGui::SetWindowFontScale(1.2f);
  ImGui::TextColored(ImVec4(0.92f, 0.96f, 0.98f, 1), "%s", LabelText(kSettingsLabel, InChinese(app)));
  ImGui::SetWindowFontScale(1.0f);
  ImGui::TextWrapped("%s", LabelText(kSettingsIntroLabel, InChinese(app)));
  ImGui::Spacing();
  ImGui::Separator();
  ImGui::Spacing();
  for (int32_t section = 0; section < 4; ++section) {
    if (SidebarButton(LabelText(*kSectionLabels[section], InChinese(app)), app.ui.settings_section == section)) {
      app.ui.settings_section = section;
    }
  }
  ImGui::Spacing();
  // Wrapped: the narrow sidebar would cut the note off.
  ImGui::PushStyleColor(ImGuiCol_Text, ImGui::GetStyleColorVec4(ImGuiCol_TextDisabled));
  ImGui::TextWrapped("%s", LabelText(kRestartNoteLabel, InChinese(app)));
  ImGui::PopStyleColor();
  ImGui::SetCursorPosY(ImGui::GetWindowHeight() - 54);
  if (ImGui::Button(LabelText(kBackToMonitorLabel, InChinese(app)), ImVec2(-1, 38))) app.ui.settings_page_open = false;
  ImGui::EndChild();
}

void DrawSection(App& app) {
  switch (app.ui.settings_section) {
    case 1:
      DrawVoiceSection(app);
      break;
    case 2:
      DrawDetectionSection(app);
      break;
    case 3:
      DrawRunwayEndSection(app);
      break;
    default:
      DrawGeneralSection(app);
      break;
  }
}

}  // namespace

void DrawSettingsPage(App& app) {
  BeginRootWindow("Pistavox Settings");
  DrawTopBar(app);
  ImGui::BeginChild("settings-page", ImVec2(0, 0), false);
  ImGui::Dummy(ImVec2(0, 14));
  ImGui::Indent(16);
  DrawSidebar(app, ImGui::GetContentRegionAvail().x < kSettingsSidebarNarrowWidth ? 190.0f : 230.0f);
  ImGui::SameLine();
  ImGui::BeginChild("settings-content", ImVec2(0, 0), false);
  DrawSection(app);
  ImGui::EndChild();
  ImGui::Unindent(16);
  ImGui::EndChild();
  ImGui::End();
}

}  // namespace pistavox
