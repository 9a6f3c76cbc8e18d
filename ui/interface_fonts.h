#pragma once
#include <span>
#include <string>

// The interface font: the first installed candidate with the glyphs of both languages.
struct ImGuiIO;

namespace pistavox {

inline constexpr float kInterfaceFontPixels = 17.0f;

// The platform's candidate font files, most wanted first.
std::span<const char* const> InterfaceFontFiles();

// Adds the first candidate that exists and builds as the only font; ImGui's
// default font when none does. Returns the file used, "" for the default font.
// The atlas is built on return.
std::string LoadFirstInterfaceFont(ImGuiIO& io, std::span<const char* const> candidates);

// Called once at start-up, after the ImGui context exists.
std::string LoadInterfaceFonts(ImGuiIO& io);

}  // namespace pistavox
