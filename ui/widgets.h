#pragma once
#include <imgui.h>

#include <string>

#include "ui/label.h"

namespace pistavox {

// The widgets the pages share: titles, buttons, status rows and values.
struct App;

// Titles of boxes and cards.
inline const ImVec4 kTitleColour{0.9f, 0.95f, 0.98f, 1};

// A box's or card's title, and beside it a dim note when there is one.
void DrawTitle(const char* title, const char* note = nullptr);

// An empty text value is shown as "-".
inline const char* OrDash(const std::string& text) { return text.empty() ? "-" : text.c_str(); }

struct ButtonColours {
  ImVec4 normal;
  ImVec4 hovered;
  ImVec4 pressed;
};

// A button with its own colours, pushed for it alone.
bool ColouredButton(const char* label, ImVec2 size, const ButtonColours& colours);

// A float input with +/- buttons under its label, the full width: beside a narrow
// input the label would be cut off. What is typed is stored as typed.
bool LabelledFloatInput(const char* label, float& value, float step, float fast_step, const char* format);

// The full-display window every page draws into; pair with ImGui::End().
void BeginRootWindow(const char* title);

// The top bar's page switch, 112 x 34.
bool NavButton(const char* label, bool active);
// A Settings section, full width x 38.
bool SidebarButton(const char* label, bool selected);
// A bordered card: the label small and dim, the value large in its colour. The label is the card's id.
void DrawStatCard(const char* label, const char* value, const ImVec4& value_colour);
// One line of the system status list: a dot, the label, "OK" or "--", green or red;
// a reason, when given, is shown below a row that is not OK.
void DrawStatusRow(const App& app, const Label& label, bool ok, const std::string& reason = "");

}  // namespace pistavox
