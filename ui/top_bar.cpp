#include "ui/top_bar.h"

#include <imgui.h>

#include "app/app.h"
#include "ui/labels.h"
#include "ui/widgets.h"

namespace pistavox {

void DrawTopBar(App& app) {
  const bool narrow = ImGui::GetContentRegionAvail().x < kTopBarNarrowWidth;
  ImGui::PushStyleColor(ImGuiCol_ChildBg, ImVec4(0.06f, 0.076f, 0.095f, 1));
  ImGui::BeginChild("topbar", ImVec2(0, narrow ? 104.0f : 70.0f), true, ImGuiWindowFlags_NoScrollbar);
  ImGui::SetWindowFontScale(1.3f);
  ImGui::TextColored(ImVec4(0.93f, 0.97f, 0.99f, 1), "Pistavox");
  ImGui::SetWindowFontScale(1.0f);
  if (!narrow) ImGui::SameLine(ImGui::GetWindowWidth() - 250);
  if (NavButton(LabelText(kMonitorLabel, InChinese(app)), !app.ui.settings_page_open))
    app.ui.settings_page_open = false;
  ImGui::SameLine();
  if (NavButton(LabelText(kSettingsLabel, InChinese(app)), app.ui.settings_page_open)) app.ui.settings_page_open = true;
  ImGui::EndChild();
  ImGui::PopStyleColor();
}

}  // namespace pistavox
