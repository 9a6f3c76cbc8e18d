#include <imgui.h>

#include "app/app.h"
#include "ui/settings_sections.h"
#include "ui/widgets.h"

namespace pistavox {

namespace {
const ImVec4 kTitleColour(0.9f, 0.95f, 0.98f, 1);
const ImVec4 kBoxBackground(0.082f, 0.098f, 0.12f, 1);
}  // namespace

void BeginSettingsBox(const char* id) {
  ImGui::PushStyleColor(ImGuiCol_ChildBg, kBoxBackground);
  ImGui::BeginChild(id, ImVec2(0, 0), true);
  ImGui::PopStyleColor();
}

void DrawSettingsTitle(const App& app, const Label& title, const Label* subtitle) {
  ImGui::TextColored(kTitleColour, "%s", LabelText(title, app.ui_chinese));
  if (subtitle != nullptr) {
    ImGui::SameLine();
    ImGui::TextDisabled("%s", LabelText(*subtitle, app.ui_chinese));
  }
  ImGui::Spacing();
}

void DrawSeparatedTitle(const App& app, const Label& title) {
  ImGui::Spacing();
  ImGui::Separator();
  ImGui::Spacing();
  DrawSettingsTitle(app, title);
}

void DrawSettingsFloat(const App& app, const Label& label, float& value, float step, float fast_step,
                       const char* format) {
  LabelledFloatInput(LabelText(label, app.ui_chinese), value, step, fast_step, format);
}

}  // namespace pistavox
