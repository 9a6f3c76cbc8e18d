#pragma once
#include <cstdint>
#include <string>

#include "ui/text_glyphs.h"
#include "ui/window_host.h"

// The Linux window: SDL2 and OpenGL 3 with Dear ImGui's back ends.
struct SDL_Window;

namespace pistavox {

struct App;

// The Linux window: SDL2 with an OpenGL 3 context and Dear ImGui's sdl and opengl3
// back ends on the one ImGui context it creates.
struct SdlWindow {
  SDL_Window* window = nullptr;
  void* gl_context = nullptr;
  bool imgui_ready = false;
  TextGlyphs glyphs;
};

// Window, context, ImGui with fonts and theme. On failure everything opened is
// closed again and `failure` says whether there was no display at all. Pictures
// of a larger window ask for its size here: the offscreen driver keeps the first.
bool OpenSdlWindow(SdlWindow& host, WindowOutcome& failure, std::string& error, int width = kWindowWidth,
                   int height = kWindowHeight);
// One frame at `now_ns` up to, not including, presenting it: the application's steps, then the interface.
void DrawWindowFrame(SdlWindow& host, App& app, int64_t now_ns);
// Adds the glyphs the App's texts lack to the font, as DrawWindowFrame does before it
// builds the interface. True when the font grew: the frame must be drawn.
bool UpdateWindowGlyphs(SdlWindow& host, const App& app);
// Presents with vertical sync where the display has it; the loop does not count on it for pacing.
void PresentWindowFrame(SdlWindow& host);
void CloseSdlWindow(SdlWindow& host);

}  // namespace pistavox
