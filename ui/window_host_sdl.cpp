#include <SDL.h>
#include <SDL_opengl.h>
#include <imgui.h>
#include <imgui_impl_opengl3.h>
#include <imgui_impl_sdl.h>

#include "app/app.h"
#include "app/frame_pacing.h"
#include "app/startup.h"
#include "app/stop_request.h"
#include "ui/frame.h"
#include "ui/interface_fonts.h"
#include "ui/sdl_window.h"
#include "ui/theme.h"
#include "ui/window_loop.h"

namespace pistavox {

namespace {
constexpr const char* kGlslVersion = "#version 130";

// Without a display SDL falls back to drivers that show nothing; those serve only
// when asked for by name (the screenshot tests ask for "offscreen").
bool ShowsNothingUnasked() {
  const char* driver = SDL_GetCurrentVideoDriver();
  const char* asked = SDL_getenv("SDL_VIDEODRIVER");
  const bool invisible =
      driver != nullptr && (SDL_strcmp(driver, "offscreen") == 0 || SDL_strcmp(driver, "dummy") == 0);
  return invisible && (asked == nullptr || SDL_strcasecmp(asked, driver) != 0);
}

// SDL's error text, or a fallback when it has none.
std::string SdlError(const char* what) {
  const char* reason = SDL_GetError();
  return std::string(what) + ": " + (reason[0] != '\0' ? reason : "unknown reason");
}
}  // namespace

bool OpenSdlWindow(SdlWindow& host, WindowOutcome& failure, std::string& error, int width, int height) {
  // Only video: the audio back end opens and closes its own SDL subsystem.
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
    error = SdlError("no display");
    failure = WindowOutcome::kNoDisplay;
    return false;
  }
  if (ShowsNothingUnasked()) {
    error = "no display";
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    failure = WindowOutcome::kNoDisplay;
    return false;
  }
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_FLAGS, 0);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 0);
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  host.window = SDL_CreateWindow(kWindowTitle, kWindowX, kWindowY, width, height,
                                 SDL_WINDOW_OPENGL | SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI);
  if (host.window == nullptr) {
    error = SdlError("cannot open the window");
    CloseSdlWindow(host);
    failure = WindowOutcome::kNoDisplay;
    return false;
  }
  host.gl_context = SDL_GL_CreateContext(host.window);
  if (host.gl_context == nullptr) {
    error = SdlError("cannot create the OpenGL 3 context");
    CloseSdlWindow(host);
    failure = WindowOutcome::kFailed;
    return false;
  }
  SDL_GL_MakeCurrent(host.window, host.gl_context);
  SDL_GL_SetSwapInterval(1);

  IMGUI_CHECKVERSION();
  ImGui::CreateContext();
  host.imgui_ready = true;
  ImGuiIO& io = ImGui::GetIO();
  io.ConfigFlags |= ImGuiConfigFlags_NavEnableKeyboard;
  LoadInterfaceFonts(io, host.glyphs.font);
  ApplyTheme();
  if (!ImGui_ImplSDL2_InitForOpenGL(host.window, host.gl_context) || !ImGui_ImplOpenGL3_Init(kGlslVersion)) {
    error = "cannot start the interface's OpenGL 3 renderer";
    CloseSdlWindow(host);
    failure = WindowOutcome::kFailed;
    return false;
  }
  return true;
}

bool UpdateWindowGlyphs(SdlWindow& host, const App& app) {
  if (!UpdateTextGlyphs(app, ImGui::GetIO(), host.glyphs)) return false;
  // The next NewFrame makes them anew, the font texture among them, whether or not a frame was drawn yet.
  ImGui_ImplOpenGL3_DestroyDeviceObjects();
  return true;
}

namespace {
// Waits for events until `wake_ns` (steady) at most, then hands every pending one to ImGui.
bool WaitWindowEvents(SdlWindow& host, int64_t wake_ns, bool& input) {
  input = false;
  bool keep_open = true;
  const int wait_ms = WaitMillisecondsUntil(wake_ns);
  SDL_Event event;
  bool pending = wait_ms > 0 ? SDL_WaitEventTimeout(&event, wait_ms) != 0 : SDL_PollEvent(&event) != 0;
  while (pending) {
    input = true;
    ImGui_ImplSDL2_ProcessEvent(&event);
    if (event.type == SDL_QUIT) keep_open = false;
    if (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_CLOSE &&
        event.window.windowID == SDL_GetWindowID(host.window)) {
      keep_open = false;
    }
    pending = SDL_PollEvent(&event) != 0;
  }
  return keep_open;
}

// Minimised, or unmapped as a window manager does to an iconified window.
bool WindowHidden(const SdlWindow& host) {
  return (SDL_GetWindowFlags(host.window) & (SDL_WINDOW_MINIMIZED | SDL_WINDOW_HIDDEN)) != 0;
}

// The interface at `now_ns` into the back buffer, the application's steps having run.
void RenderWindowFrame(SdlWindow& host, App& app, int64_t now_ns) {
  UpdateWindowGlyphs(host, app);
  ImGui_ImplOpenGL3_NewFrame();
  ImGui_ImplSDL2_NewFrame();
  ImGui::NewFrame();
  DrawFrame(app, now_ns);
  ImGui::Render();
  int width = 0;
  int height = 0;
  SDL_GL_GetDrawableSize(host.window, &width, &height);
  glViewport(0, 0, width, height);
  glClearColor(kClearColour[0], kClearColour[1], kClearColour[2], kClearColour[3]);
  glClear(GL_COLOR_BUFFER_BIT);
  ImGui_ImplOpenGL3_RenderDrawData(ImGui::GetDrawData());
}
}  // namespace

void DrawWindowFrame(SdlWindow& host, App& app, int64_t now_ns) {
  // The application's steps come first, so their log lines show in the interface built in this frame.
  RunFrame(app, now_ns);
  RenderWindowFrame(host, app, now_ns);
}

void PresentWindowFrame(SdlWindow& host) { SDL_GL_SwapWindow(host.window); }

void CloseSdlWindow(SdlWindow& host) {
  if (host.imgui_ready) {
    // Each back end's shutdown is safe when its initialisation did not run.
    if (ImGui::GetIO().BackendRendererUserData != nullptr) ImGui_ImplOpenGL3_Shutdown();
    if (ImGui::GetIO().BackendPlatformUserData != nullptr) ImGui_ImplSDL2_Shutdown();
    ImGui::DestroyContext();
    host.imgui_ready = false;
  }
  if (host.gl_context != nullptr) SDL_GL_DeleteContext(host.gl_context);
  if (host.window != nullptr) SDL_DestroyWindow(host.window);
  host.gl_context = nullptr;
  host.window = nullptr;
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

WindowOutcome RunWindowed(App& app, std::string& error) {
  SdlWindow host;
  WindowOutcome failure = WindowOutcome::kFailed;
  // Before SDL starts: it then leaves the handlers in place.
  InstallStopRequestHandlers();
  if (!OpenSdlWindow(host, failure, error)) return failure;
  RunWindowLoop(
      app, {.wait_for_events = [&host](int64_t wake_ns, bool& input) { return WaitWindowEvents(host, wake_ns, input); },
            .hidden = [&host] { return WindowHidden(host); },
            .font_grew = [&host, &app] { return UpdateWindowGlyphs(host, app); },
            .draw =
                [&host, &app](int64_t now_ns) {
                  RenderWindowFrame(host, app, now_ns);
                  PresentWindowFrame(host);
                }});
  CloseSdlWindow(host);
  return WindowOutcome::kClosed;
}

}  // namespace pistavox
