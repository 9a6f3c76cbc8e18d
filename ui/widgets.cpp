#include "ui/widgets.h"

#include <string>

#include "app/app.h"

namespace pistavox {

namespace {

const ButtonColours kNavActive{{0.1f, 0.48f, 0.62f, 1}, {0.12f, 0.56f, 0.72f, 1}, {0.08f, 0.4f, 0.54f, 1}};
const ButtonColours kNavInactive{{0.13f, 0.16f, 0.2f, 1}, {0.18f, 0.23f, 0.28f, 1}, {0.16f, 0.2f, 0.25f, 1}};
const ButtonColours kSidebarSelected{{0.1f, 0.45f, 0.58f, 1}, {0.12f, 0.52f, 0.66f, 1}, {0.08f, 0.36f, 0.48f, 1}};
const ButtonColours kSidebarPlain{{0.08f, 0.098f, 0.12f, 1}, {0.12f, 0.155f, 0.185f, 1}, {0.1f, 0.13f, 0.16f, 1}};

const ImVec4 kStatusOk{0.27f, 0.86f, 0.52f, 1};
const ImVec4 kStatusMissing{0.95f, 0.46f, 0.34f, 1};

}  // namespace

bool ColouredButton(const char* label, ImVec2 size, const ButtonColours& colours) {
  ImGui::PushStyleColor(ImGuiCol_Button, colours.normal);
  ImGui::PushStyleColor(ImGuiCol_ButtonHovered, colours.hovered);
  ImGui::PushStyleColor(ImGuiCol_ButtonActive, colours.pressed);
  const bool pressed = ImGui::Button(label, size);
  ImGui::PopStyleColor(3);
  return pressed;
}

void DrawTitle(const char* title, const char* note) {
  ImGui::TextColored(kTitleColour, "%s", title);
  if (note == nullptr || note[0] == '\0') return;
  ImGui::SameLine();
  ImGui::TextDisabled("%s", note);
}

bool LabelledFloatInput(const char* label, float& value, float step, float fast_step, const char* format) {
  ImGui::TextUnformatted(label);
  ImGui::SetNextItemWidth(-1);
  return ImGui::InputFloat((std::string("##") + label).c_str(), &value, step, fast_step, format);
}

void BeginRootWindow(const char* title) {
  ImGui::SetNextWindowPos(ImVec2(0, 0), ImGuiCond_Always);
  ImGui::SetNextWindowSize(ImGui::GetIO().DisplaySize, ImGuiCond_Always);
  ImGui::Begin(title, nullptr,
               ImGuiWindowFlags_NoTitleBar | ImGuiWindowFlags_NoResize | ImGuiWindowFlags_NoMove |
                   ImGuiWindowFlags_NoScrollbar | ImGuiWindowFlags_NoCollapse);
}

bool NavButton(const char* label, bool active) {
  return ColouredButton(label, ImVec2(112, 34), active ? kNavActive : kNavInactive);
}

bool SidebarButton(const char* label, bool selected) {
  ImGui::PushStyleVar(ImGuiStyleVar_FrameRounding, 7);
  const bool pressed = ColouredButton(label, ImVec2(-1, 38), selected ? kSidebarSelected : kSidebarPlain);
  ImGui::PopStyleVar();
  return pressed;
}

void DrawStatCard(const char* label, const char* value, const ImVec4& value_colour) {
  ImGui::BeginChild(label, ImVec2(0, 76), true, ImGuiWindowFlags_NoScrollbar);
  ImGui::TextDisabled("%s", label);
  ImGui::SetWindowFontScale(1.22f);
  ImGui::TextColored(value_colour, "%s", value);
  ImGui::SetWindowFontScale(1.0f);
  ImGui::EndChild();
}

void DrawStatusRow(const App& app, const Label& label, bool ok, const std::string& reason) {
  const ImVec4& colour = ok ? kStatusOk : kStatusMissing;
  const ImVec2 cursor = ImGui::GetCursorScreenPos();
  ImGui::GetWindowDrawList()->AddCircleFilled(ImVec2(cursor.x + 6, cursor.y + 9), 4, ImGui::GetColorU32(colour), 16);
  ImGui::SetCursorPosX(ImGui::GetCursorPosX() + 18);
  ImGui::TextUnformatted(LabelText(label, InChinese(app)));
  ImGui::SameLine(ImGui::GetContentRegionAvail().x - 34);
  ImGui::TextColored(colour, "%s", ok ? "OK" : "--");
  if (ok || reason.empty()) return;
  ImGui::PushStyleColor(ImGuiCol_Text, colour);
  ImGui::TextWrapped("%s", reason.c_str());
  ImGui::PopStyleColor();
}

}  // namespace pistavox
