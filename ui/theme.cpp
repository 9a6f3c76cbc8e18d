#include "ui/theme.h"

#include <imgui.h>

namespace pistavox {

void ApplyTheme() {
  ImGui::StyleColorsDark();
  ImGuiStyle& style = ImGui::GetStyle();
  style.WindowPadding = ImVec2(20, 18);
  style.WindowRounding = 0;
  style.ChildRounding = 8;
  style.ChildBorderSize = 1;
  style.PopupRounding = 8;
  style.FramePadding = ImVec2(11, 8);
  style.FrameRounding = 7;
  style.FrameBorderSize = 0;
  style.ItemSpacing = ImVec2(11, 10);
  style.ItemInnerSpacing = ImVec2(8, 7);
  style.ScrollbarSize = 13;
  style.ScrollbarRounding = 8;
  style.GrabRounding = 7;
  style.TabRounding = 7;
  style.TabBorderSize = 0;

  ImVec4* colours = style.Colors;
  colours[ImGuiCol_Text] = ImVec4(0.88f, 0.93f, 0.96f, 1);
  colours[ImGuiCol_TextDisabled] = ImVec4(0.48f, 0.56f, 0.62f, 1);
  colours[ImGuiCol_WindowBg] = ImVec4(0.04f, 0.048f, 0.058f, 1);
  colours[ImGuiCol_ChildBg] = ImVec4(0.074f, 0.088f, 0.108f, 1);
  colours[ImGuiCol_PopupBg] = ImVec4(0.07f, 0.085f, 0.105f, 1);
  colours[ImGuiCol_Border] = ImVec4(0.18f, 0.24f, 0.29f, 1);
  colours[ImGuiCol_FrameBg] = ImVec4(0.105f, 0.128f, 0.155f, 1);
  colours[ImGuiCol_FrameBgHovered] = ImVec4(0.14f, 0.185f, 0.22f, 1);
  colours[ImGuiCol_FrameBgActive] = ImVec4(0.16f, 0.235f, 0.28f, 1);
  colours[ImGuiCol_ScrollbarBg] = ImVec4(0.055f, 0.065f, 0.08f, 1);
  colours[ImGuiCol_ScrollbarGrab] = ImVec4(0.18f, 0.24f, 0.29f, 1);
  colours[ImGuiCol_ScrollbarGrabHovered] = ImVec4(0.23f, 0.31f, 0.37f, 1);
  colours[ImGuiCol_CheckMark] = ImVec4(0.29f, 0.82f, 0.91f, 1);
  colours[ImGuiCol_SliderGrab] = ImVec4(0.29f, 0.82f, 0.91f, 1);
  colours[ImGuiCol_SliderGrabActive] = ImVec4(0.45f, 0.9f, 0.96f, 1);
  colours[ImGuiCol_Button] = ImVec4(0.09f, 0.36f, 0.49f, 1);
  colours[ImGuiCol_ButtonHovered] = ImVec4(0.11f, 0.47f, 0.64f, 1);
  colours[ImGuiCol_ButtonActive] = ImVec4(0.075f, 0.305f, 0.425f, 1);
  colours[ImGuiCol_Header] = ImVec4(0.11f, 0.245f, 0.315f, 1);
  colours[ImGuiCol_HeaderHovered] = ImVec4(0.135f, 0.33f, 0.43f, 1);
  colours[ImGuiCol_HeaderActive] = ImVec4(0.115f, 0.395f, 0.535f, 1);
  colours[ImGuiCol_Separator] = ImVec4(0.17f, 0.22f, 0.27f, 1);
  colours[ImGuiCol_TabHovered] = ImVec4(0.12f, 0.36f, 0.47f, 1);
  colours[ImGuiCol_Tab] = ImVec4(0.085f, 0.105f, 0.13f, 1);
  // Named TabSelected in later ImGui versions.
  colours[ImGuiCol_TabActive] = ImVec4(0.105f, 0.29f, 0.39f, 1);
}

}  // namespace pistavox
