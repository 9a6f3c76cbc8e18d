#pragma once
#include <imgui.h>

#include <span>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

// The interface font: the first installed candidate with the glyphs of both languages,
// and the glyphs added to it while the program runs.
namespace pistavox {

inline constexpr float kInterfaceFontPixels = 17.0f;

// What the atlas's font was built with, kept so that characters outside the start-up
// range (names, paths, log lines) can be added between frames. Must outlive the atlas's
// last build, which reads `ranges`.
struct InterfaceFont {
  bool from_file = false;  // false: ImGui's default font, to which nothing is added
  ImVector<ImWchar> ranges;
  std::vector<ImWchar> wanted;          // in the file, not yet in the atlas
  std::unordered_set<ImWchar> lacking;  // not in the file: never looked up again
};

// The platform's candidate font files, most wanted first.
std::span<const char* const> InterfaceFontFiles();

// Adds the first candidate that exists and builds as the only font; ImGui's
// default font when none does. Returns the file used, "" for the default font.
// The atlas is built on return.
std::string LoadFirstInterfaceFont(ImGuiIO& io, std::span<const char* const> candidates, InterfaceFont& font);

// Called once at start-up, after the ImGui context exists.
std::string LoadInterfaceFonts(ImGuiIO& io, InterfaceFont& font);

// Notes the characters of `text` that the atlas lacks and the font file has.
void WantGlyphs(const ImGuiIO& io, InterfaceFont& font, std::string_view text);

// Between frames: rebuilds the atlas with the wanted glyphs, if any. True when it did:
// the renderer must then make its font texture anew and the window be redrawn.
bool AddWantedGlyphs(ImGuiIO& io, InterfaceFont& font);

}  // namespace pistavox
