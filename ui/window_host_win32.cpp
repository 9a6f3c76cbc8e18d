#include <windows.h>
// windows.h first: the Direct3D headers need its types.
#include <d3d11.h>
#include <imgui.h>
#include <imgui_impl_dx11.h>
#include <imgui_impl_win32.h>

#include <cstdio>
#include <string>
#include <utility>

#include "app/app.h"
#include "app/frame_pacing.h"
#include "app/startup.h"
#include "app/stop_request.h"
#include "audio/voice_package.h"
#include "base/clock.h"
#include "ui/d3d11_window.h"
#include "ui/frame.h"
#include "ui/interface_fonts.h"
#include "ui/theme.h"
#include "ui/window_loop.h"

// The back end's header leaves its declaration to the program, so as not to pull windows.h in.
extern IMGUI_IMPL_API LRESULT ImGui_ImplWin32_WndProcHandler(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

namespace pistavox {

namespace {
constexpr int kIconResource = 101;

template <typename T>
void Release(T*& object) {
  if (object != nullptr) object->Release();
  object = nullptr;
}

std::string Win32Error(const char* what) {
  return std::string(what) + " (error " + std::to_string(GetLastError()) + ")";
}

std::string ComError(const char* what, HRESULT result) {
  char code[16];
  std::snprintf(code, sizeof code, "0x%08lx", static_cast<unsigned long>(result));
  return std::string(what) + " (" + code + ")";
}

// A view of back buffer 0; none when the buffer cannot be had, and the frame then draws nothing.
void CreateTarget(D3d11Window& host) {
  ID3D11Texture2D* back_buffer = nullptr;
  if (FAILED(host.swap_chain->GetBuffer(0, __uuidof(ID3D11Texture2D), reinterpret_cast<void**>(&back_buffer)))) return;
  if (FAILED(host.device->CreateRenderTargetView(back_buffer, nullptr, &host.target))) host.target = nullptr;
  back_buffer->Release();
}

void ResizeTarget(D3d11Window& host, UINT width, UINT height) {
  Release(host.target);
  // Zero keeps the buffer count, DXGI_FORMAT_UNKNOWN the format.
  if (SUCCEEDED(host.swap_chain->ResizeBuffers(0, width, height, DXGI_FORMAT_UNKNOWN, 0))) CreateTarget(host);
}

LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lparam);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* host = reinterpret_cast<D3d11Window*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  // The handler reads its back end's state, which exists only between its start and shutdown.
  const bool imgui_listens = ImGui::GetCurrentContext() != nullptr && ImGui::GetIO().BackendPlatformUserData != nullptr;
  if (imgui_listens && ImGui_ImplWin32_WndProcHandler(window, message, wparam, lparam) != 0) return 1;
  switch (message) {
    case WM_SIZE:
      if (host != nullptr && host->swap_chain != nullptr && wparam != SIZE_MINIMIZED) {
        ResizeTarget(*host, LOWORD(lparam), HIWORD(lparam));
        host->resized = true;
      }
      return 0;
    case WM_SYSCOMMAND:
      // The Alt key alone would open the window menu and stop the frames.
      if ((wparam & 0xfff0) == SC_KEYMENU) return 0;
      break;
    case WM_ENDSESSION:
      // Log-off or shutdown: the process may be ended as soon as this returns, before the
      // frame loop or any destructor runs again.
      if (wparam != 0 && host != nullptr && host->app != nullptr) {
        ShutdownApp(*host->app, SteadyNowNs());
        DiscardExtraction(host->app->voice_pack);
      }
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    case WM_NCDESTROY:
      if (host != nullptr) host->window = nullptr;
      break;
    default:
      break;
  }
  return DefWindowProcA(window, message, wparam, lparam);
}

bool CreateWindowAndClass(D3d11Window& host, std::string& error) {
  host.instance = GetModuleHandleA(nullptr);
  WNDCLASSEXA window_class = {};
  window_class.cbSize = sizeof window_class;
  window_class.style = CS_CLASSDC;
  window_class.lpfnWndProc = WindowProcedure;
  window_class.hInstance = host.instance;
  window_class.hIcon = LoadIconA(host.instance, MAKEINTRESOURCEA(kIconResource));
  window_class.hIconSm = window_class.hIcon;
  window_class.lpszClassName = kWindowTitle;
  if (RegisterClassExA(&window_class) == 0) {
    error = Win32Error("cannot register the window class");
    return false;
  }
  host.class_registered = true;
  host.window = CreateWindowExA(0, kWindowTitle, kWindowTitle, WS_OVERLAPPEDWINDOW, kWindowX, kWindowY, kWindowWidth,
                                kWindowHeight, nullptr, nullptr, host.instance, &host);
  if (host.window == nullptr) {
    error = Win32Error("cannot open the window");
    return false;
  }
  return true;
}

bool CreateDevice(D3d11Window& host, std::string& error) {
  DXGI_SWAP_CHAIN_DESC chain = {};
  chain.BufferCount = 2;
  chain.BufferDesc.Width = 0;  // the window's client size
  chain.BufferDesc.Height = 0;
  chain.BufferDesc.Format = DXGI_FORMAT_R8G8B8A8_UNORM;
  chain.BufferDesc.RefreshRate.Numerator = 60;
  chain.BufferDesc.RefreshRate.Denominator = 1;
  chain.Flags = DXGI_SWAP_CHAIN_FLAG_ALLOW_MODE_SWITCH;
  chain.BufferUsage = DXGI_USAGE_RENDER_TARGET_OUTPUT;
  chain.OutputWindow = host.window;
  chain.SampleDesc.Count = 1;
  chain.SampleDesc.Quality = 0;
  chain.Windowed = TRUE;
  chain.SwapEffect = DXGI_SWAP_EFFECT_DISCARD;
  const D3D_FEATURE_LEVEL wanted[] = {D3D_FEATURE_LEVEL_11_0, D3D_FEATURE_LEVEL_10_0};
  D3D_FEATURE_LEVEL level{};
  const HRESULT result =
      D3D11CreateDeviceAndSwapChain(nullptr, D3D_DRIVER_TYPE_HARDWARE, nullptr, 0, wanted, 2, D3D11_SDK_VERSION, &chain,
                                    &host.swap_chain, &host.device, &level, &host.context);
  if (FAILED(result)) {
    error = ComError("cannot create the Direct3D 11 device", result);
    return false;
  }
  // The view is made now rather than left to the first size message, which the
  // window need not send again once shown: a frame without one would draw nothing.
  CreateTarget(host);
  return true;
}
}  // namespace

bool OpenD3d11Window(D3d11Window& host, WindowOutcome& failure, std::string& error) {
  if (!CreateWindowAndClass(host, error)) {
    CloseD3d11Window(host);
    failure = WindowOutcome::kNoDisplay;
    return false;
  }
  if (!CreateDevice(host, error)) {
    CloseD3d11Window(host);
    failure = WindowOutcome::kFailed;
    return false;
  }
  ShowWindow(host.window, SW_SHOWDEFAULT);
  UpdateWindow(host.window);

  IMGUI_CHECKVERSION();
  ImGui::CreateContext();
  host.imgui_ready = true;
  ImGuiIO& io = ImGui::GetIO();
  io.ConfigFlags |= ImGuiConfigFlags_NavEnableKeyboard;
  LoadInterfaceFonts(io, host.glyphs.font);
  ApplyTheme();
  if (!ImGui_ImplWin32_Init(host.window) || !ImGui_ImplDX11_Init(host.device, host.context)) {
    error = "cannot start the interface's Direct3D 11 renderer";
    CloseD3d11Window(host);
    failure = WindowOutcome::kFailed;
    return false;
  }
  return true;
}

bool DrainWindowMessages(D3d11Window&) {
  bool keep_open = true;
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
    if (message.message == WM_QUIT) keep_open = false;
  }
  return keep_open;
}

bool UpdateWindowGlyphs(D3d11Window& host, const App& app) {
  if (!UpdateTextGlyphs(app, ImGui::GetIO(), host.glyphs)) return false;
  // The next NewFrame makes them anew, the font texture among them, whether or not a frame was drawn yet.
  ImGui_ImplDX11_InvalidateDeviceObjects();
  return true;
}

namespace {
// Waits for messages until `wake_ns` (steady) at most, then dispatches every pending one.
bool WaitWindowMessages(D3d11Window& host, int64_t wake_ns, bool& input) {
  const auto wait_ms = static_cast<DWORD>(WaitMillisecondsUntil(wake_ns));
  // MWMO_INPUTAVAILABLE: a message already queued but looked at before ends the wait too.
  MsgWaitForMultipleObjectsEx(0, nullptr, wait_ms, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  // Only the user's input and a new size redraw: wine posts messages of its own after every present.
  input = HIWORD(GetQueueStatus(QS_INPUT)) != 0;
  const bool keep_open = DrainWindowMessages(host);
  input = input || std::exchange(host.resized, false);
  return keep_open;
}

// Minimised, or covered so that presenting returns at once without showing anything.
bool WindowHidden(D3d11Window& host) {
  if (IsIconic(host.window)) return true;
  if (host.occluded) host.occluded = host.swap_chain->Present(0, DXGI_PRESENT_TEST) == DXGI_STATUS_OCCLUDED;
  return host.occluded;
}

// The interface at `now_ns` into the back buffer, the application's steps having run.
void RenderWindowFrame(D3d11Window& host, App& app, int64_t now_ns) {
  UpdateWindowGlyphs(host, app);
  ImGui_ImplDX11_NewFrame();
  ImGui_ImplWin32_NewFrame();
  ImGui::NewFrame();
  DrawFrame(app, now_ns);
  ImGui::Render();
  if (host.target == nullptr) return;
  host.context->OMSetRenderTargets(1, &host.target, nullptr);
  host.context->ClearRenderTargetView(host.target, kClearColour);
  ImGui_ImplDX11_RenderDrawData(ImGui::GetDrawData());
}
}  // namespace

void DrawWindowFrame(D3d11Window& host, App& app, int64_t now_ns) {
  // The application's steps come first, so their log lines show in the interface built in this frame.
  RunFrame(app, now_ns);
  RenderWindowFrame(host, app, now_ns);
}

void PresentWindowFrame(D3d11Window& host) { host.occluded = host.swap_chain->Present(1, 0) == DXGI_STATUS_OCCLUDED; }

void CloseD3d11Window(D3d11Window& host) {
  if (host.imgui_ready) {
    // Each back end's shutdown is safe only when its initialisation ran.
    if (ImGui::GetIO().BackendRendererUserData != nullptr) ImGui_ImplDX11_Shutdown();
    if (ImGui::GetIO().BackendPlatformUserData != nullptr) ImGui_ImplWin32_Shutdown();
    ImGui::DestroyContext();
    host.imgui_ready = false;
  }
  Release(host.target);
  Release(host.swap_chain);
  Release(host.context);
  Release(host.device);
  if (host.window != nullptr) {
    DestroyWindow(host.window);
    // Its destruction posted a quit meant for this window alone, not for a later one.
    MSG quit;
    PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
  }
  host.window = nullptr;
  if (host.class_registered) UnregisterClassA(kWindowTitle, host.instance);
  host.class_registered = false;
}

WindowOutcome RunWindowed(App& app, std::string& error) {
  D3d11Window host;
  host.app = &app;
  WindowOutcome failure = WindowOutcome::kFailed;
  // Ctrl+C or closing the debug console.
  InstallStopRequestHandlers();
  if (!OpenD3d11Window(host, failure, error)) return failure;
  RunWindowLoop(app, {.wait_for_events = [&host](int64_t wake_ns,
                                                 bool& input) { return WaitWindowMessages(host, wake_ns, input); },
                      .hidden = [&host] { return WindowHidden(host); },
                      .font_grew = [&host, &app] { return UpdateWindowGlyphs(host, app); },
                      .draw =
                          [&host, &app](int64_t now_ns) {
                            RenderWindowFrame(host, app, now_ns);
                            PresentWindowFrame(host);
                          }});
  CloseD3d11Window(host);
  return WindowOutcome::kClosed;
}

}  // namespace pistavox
