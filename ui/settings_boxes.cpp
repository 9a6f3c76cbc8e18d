#include <imgui.h>

#include "app/app.h"
#include "ui/settings_sections.h"
#include "ui/widgets.h"

namespace pistavox {

namespace {
const ImVec4 kBoxBackground(0.082f, 0.098f, 0.12f, 1);
}  // namespace

void BeginSettingsBox(const char* id, float height) {
  ImGui::PushStyleColor(ImGuiCol_ChildBg, kBoxBackground);
  ImGui::BeginChild(id, ImVec2(0, height), true);
  ImGui::PopStyleColor();
}

void DrawSettingsTitle(const App& app, const Label& title, const Label* subtitle) {
  DrawTitle(LabelText(title, InChinese(app)), subtitle != nullptr ? LabelText(*subtitle, InChinese(app)) : nullptr);
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
  LabelledFloatInput(LabelText(label, InChinese(app)), value, step, fast_step, format);
}

}  // namespace pistavox
