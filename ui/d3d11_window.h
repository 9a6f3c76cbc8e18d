#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

#include "ui/text_glyphs.h"
#include "ui/window_host.h"

// The Windows window: Win32 and Direct3D 11 with Dear ImGui's back ends.
struct ID3D11Device;
struct ID3D11DeviceContext;
struct IDXGISwapChain;
struct ID3D11RenderTargetView;

namespace pistavox {

struct App;

// The Windows window: a Win32 window with a Direct3D 11 swap chain and Dear ImGui's
// win32 and dx11 back ends on the one ImGui context it creates.
struct D3d11Window {
  HINSTANCE instance = nullptr;
  bool class_registered = false;
  HWND window = nullptr;
  ID3D11Device* device = nullptr;
  ID3D11DeviceContext* context = nullptr;
  IDXGISwapChain* swap_chain = nullptr;
  ID3D11RenderTargetView* target = nullptr;  // none while the buffers could not be resized
  bool imgui_ready = false;
  TextGlyphs glyphs;
  bool occluded = false;  // the last present showed nothing: the window is covered
  bool resized = false;   // since the loop last looked: restored or resized, to be redrawn
  App* app = nullptr;     // shut down by the end-session message
};

// Class, window, device and swap chain, ImGui with fonts and theme. On failure
// everything created is released again and `failure` says whether there was no
// window at all (kNoDisplay) or no device (kFailed).
bool OpenD3d11Window(D3d11Window& host, WindowOutcome& failure, std::string& error);
// Dispatches the pending messages; false once the quit message came.
bool DrainWindowMessages(D3d11Window& host);
// One frame at `now_ns` up to, not including, presenting it: the application's steps, then the interface.
void DrawWindowFrame(D3d11Window& host, App& app, int64_t now_ns);
// Adds the glyphs the App's texts lack to the font, as DrawWindowFrame does before it
// builds the interface. True when the font grew: the frame must be drawn.
bool UpdateWindowGlyphs(D3d11Window& host, const App& app);
// Presents with vertical sync, noting whether the window is covered; the loop does not count on it for pacing.
void PresentWindowFrame(D3d11Window& host);
void CloseD3d11Window(D3d11Window& host);

}  // namespace pistavox
