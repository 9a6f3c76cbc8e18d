#pragma once
#include <imgui.h>
#include <imgui_internal.h>

#include <functional>
#include <string>

namespace pistavox::test {

// Dear ImGui without a window or renderer: its own context with the interface's
// font and theme, a display size, frames built and rendered to draw data only, and
// synthetic mouse and keyboard input. The font atlas is built once per program.
struct HeadlessUi {
  explicit HeadlessUi(ImVec2 display_size = ImVec2(980, 680));
  ~HeadlessUi();
  HeadlessUi(const HeadlessUi&) = delete;
  HeadlessUi& operator=(const HeadlessUi&) = delete;

  // One whole frame around `draw`; returns the glyphs it drew, one line per draw list.
  std::string Frame(const std::function<void()>& draw);
  // Mouse down at `at` in one frame and up in the next, as a user clicks.
  void Click(ImVec2 at, const std::function<void()>& draw);
  // The first point of a grid over `area` where the item `id` is hovered, or (-1, -1).
  ImVec2 FindItem(ImGuiID id, ImVec2 area_min, ImVec2 area_max, const std::function<void()>& draw, float step = 6);
  // Where the item `label`, drawn straight into the window `window` (as DrawnWindow names
  // it), can be clicked, or (-1, -1). Coarser steps suit large items.
  ImVec2 FindItemIn(const std::string& window, const char* label, const std::function<void()>& draw, float step = 6);
  // Clicks the item as FindItemIn finds it; false when it is not there.
  bool ClickItemIn(const std::string& window, const char* label, const std::function<void()>& draw, float step = 6);

  ImGuiContext* context = nullptr;
};

// Whether `drawn`, as Frame returns it, holds `text` (its blanks are not drawn).
bool Drew(const std::string& drawn, std::string text);

// The window of this name that was drawn in the last frame, or nullptr. A child
// window is named after its id only: "topbar" finds "Pistavox/topbar_1A2B3C4D".
ImGuiWindow* DrawnWindow(const std::string& name);

// Whether any vertex drawn into `window` has this colour.
bool DrewColour(const ImGuiWindow* window, const ImVec4& colour);

// Whether the shared atlas's font has a glyph for every character of `text`; ImGui's
// default font, all Windows under wine finds, has no Chinese ones.
bool FontHasGlyphs(const char* text);

}  // namespace pistavox::test
