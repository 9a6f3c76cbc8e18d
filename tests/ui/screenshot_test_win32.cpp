#include <windows.h>
// windows.h first: the Direct3D headers need its types.
#include <d3d11.h>
#include <gtest/gtest.h>
#include <imgui.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <thread>
#include <vector>

#include "app/app.h"
#include "base/clock.h"
#include "tests/support/scoped_workdir.h"
#include "tests/ui/picture.h"
#include "ui/d3d11_window.h"

namespace pistavox {
namespace {

// Set by scripts/wine-run-display, which gives wine an X display to draw on: without
// one wine has no Direct3D device to offer.
bool HasDisplay() { return std::getenv("PISTAVOX_TEST_DISPLAY") != nullptr; }
constexpr const char* kNoDisplay = "no display for Direct3D: run through scripts/wine-run-display, which needs Xvfb";

using test::Picture;

// Back buffer 0 as rendered, through a texture the processor can read.
Picture ReadBackBuffer(D3d11Window& host) {
  Picture picture;
  ID3D11Texture2D* back_buffer = nullptr;
  if (FAILED(host.swap_chain->GetBuffer(0, __uuidof(ID3D11Texture2D), reinterpret_cast<void**>(&back_buffer)))) {
    ADD_FAILURE() << "no back buffer";
    return picture;
  }
  D3D11_TEXTURE2D_DESC description;
  back_buffer->GetDesc(&description);
  EXPECT_EQ(description.Format, DXGI_FORMAT_R8G8B8A8_UNORM);
  description.Usage = D3D11_USAGE_STAGING;
  description.BindFlags = 0;
  description.CPUAccessFlags = D3D11_CPU_ACCESS_READ;
  description.MiscFlags = 0;
  ID3D11Texture2D* staging = nullptr;
  D3D11_MAPPED_SUBRESOURCE mapped{};
  if (SUCCEEDED(host.device->CreateTexture2D(&description, nullptr, &staging))) {
    host.context->CopyResource(staging, back_buffer);
    if (SUCCEEDED(host.context->Map(staging, 0, D3D11_MAP_READ, 0, &mapped))) {
      picture.width = static_cast<int>(description.Width);
      picture.height = static_cast<int>(description.Height);
      const std::size_t row = description.Width * 4;
      picture.rgba.resize(row * description.Height);
      for (UINT y = 0; y < description.Height; ++y) {
        std::copy_n(static_cast<const unsigned char*>(mapped.pData) + y * mapped.RowPitch, row, &picture.rgba[y * row]);
      }
      host.context->Unmap(staging, 0);
    }
    staging->Release();
  }
  back_buffer->Release();
  EXPECT_FALSE(picture.rgba.empty()) << "the back buffer could not be read";
  return picture;
}

SIZE ClientSize(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  return SIZE{client.right - client.left, client.bottom - client.top};
}

// Two frames (ImGui lays windows out in the first), read back before presenting and written as PNGs.
Picture Screenshot(D3d11Window& host, App& app, const std::string& name) {
  for (int frame = 0; frame < 2; ++frame) {
    DrainWindowMessages(host);
    DrawWindowFrame(host, app, SteadyNowNs());
    if (frame == 0) PresentWindowFrame(host);
  }
  Picture picture = ReadBackBuffer(host);
  PresentWindowFrame(host);
  EXPECT_TRUE(picture.rgba.empty() || test::WritePngs(name, picture));
  return picture;
}

bool ClassRegistered() {
  WNDCLASSEXA found = {};
  found.cbSize = sizeof found;
  return GetClassInfoExA(GetModuleHandleA(nullptr), kWindowTitle, &found) != 0;
}

TEST(ScreenshotTest, TheDashboardRendersThroughTheDirect3dWindowAndFollowsItsSize) {
  if (!HasDisplay()) GTEST_SKIP() << kNoDisplay;
  test::ScopedWorkdir workdir("screenshot");
  D3d11Window host;
  WindowOutcome failure = WindowOutcome::kClosed;
  std::string error;
  ASSERT_TRUE(OpenD3d11Window(host, failure, error)) << error;
  App app;
  RECT outer{};
  GetWindowRect(host.window, &outer);
  EXPECT_EQ(outer.left, kWindowX);
  EXPECT_EQ(outer.top, kWindowY);
  EXPECT_EQ(outer.right - outer.left, kWindowWidth);
  EXPECT_EQ(outer.bottom - outer.top, kWindowHeight);

  const Picture dashboard = Screenshot(host, app, "dashboard-en");
  ASSERT_FALSE(dashboard.rgba.empty());
  const SIZE client = ClientSize(host.window);
  EXPECT_EQ(dashboard.width, client.cx);
  EXPECT_EQ(dashboard.height, client.cy);
  EXPECT_GT(dashboard.width, 900);
  test::ExpectRootWindowFills(dashboard);

  // A new client size gets buffers of that size; a minimised window keeps its own.
  SetWindowPos(host.window, nullptr, 0, 0, 800, 600, SWP_NOMOVE | SWP_NOZORDER);
  const Picture resized = Screenshot(host, app, "dashboard-resized");
  ASSERT_FALSE(resized.rgba.empty());
  const SIZE smaller = ClientSize(host.window);
  EXPECT_EQ(resized.width, smaller.cx);
  EXPECT_EQ(resized.height, smaller.cy);
  EXPECT_LT(resized.width, dashboard.width);
  test::ExpectRootWindowFills(resized);
  SendMessageA(host.window, WM_SIZE, SIZE_MINIMIZED, MAKELPARAM(200, 150));
  EXPECT_EQ(ReadBackBuffer(host).width, resized.width) << "a minimised window resized its buffers";

  // The Alt key's window menu would hold the thread in its own loop; it is refused.
  EXPECT_EQ(SendMessageA(host.window, WM_SYSCOMMAND, SC_KEYMENU, 0), 0);
  CloseD3d11Window(host);
  EXPECT_EQ(host.window, nullptr);
  EXPECT_FALSE(ClassRegistered());
}

// The user's close, or a log-off (after which Windows may end the process before the loop runs
// again): the landing in progress reaches the logbook either way, and the shutdown runs once.
TEST(ScreenshotTest, ClosingTheWindowOrEndingTheSessionRecordsTheLandingAndTearsEverythingDown) {
  if (!HasDisplay()) GTEST_SKIP() << kNoDisplay;
  for (const UINT way_out : {UINT{WM_CLOSE}, UINT{WM_ENDSESSION}}) {
    SCOPED_TRACE(way_out);
    test::ScopedWorkdir workdir("window-close");
    App app;
    app.logbook_file = workdir.path / "logbook.csv";
    app.analysis.landing.details.pending = LandingReport{};
    // A session's end is followed by the close that the process's end would otherwise be.
    std::atomic<bool> closed{false};
    std::atomic<bool> recorded_before_close{false};
    std::thread user([&] {
      for (int tries = 0; tries < 600 && !closed; ++tries) {
        Sleep(50);
        HWND window = FindWindowA(kWindowTitle, kWindowTitle);
        if (window == nullptr || !IsWindowVisible(window) || tries <= 10) continue;
        if (way_out == WM_ENDSESSION) {
          PostMessageA(window, WM_ENDSESSION, TRUE, 0);
          for (int wait = 0; wait < 100 && !std::filesystem::exists(app.logbook_file); ++wait) Sleep(20);
        }
        recorded_before_close = std::filesystem::exists(app.logbook_file);
        PostMessageA(window, WM_CLOSE, 0, 0);
        closed = true;
      }
    });
    std::string error;
    const WindowOutcome outcome = RunWindowed(app, error);
    closed = true;
    user.join();
    EXPECT_EQ(outcome, WindowOutcome::kClosed) << error;
    EXPECT_EQ(recorded_before_close, way_out == WM_ENDSESSION);
    EXPECT_EQ(std::count(app.log.lines.begin(), app.log.lines.end(), "Stopped"), 1);
    const std::string logbook = test::ReadTextFile(app.logbook_file);
    EXPECT_EQ(std::count(logbook.begin(), logbook.end(), '\n'), 2) << logbook;  // the header and the landing
    EXPECT_EQ(FindWindowA(kWindowTitle, nullptr), nullptr);
    EXPECT_FALSE(ClassRegistered());
  }
}

}  // namespace
}  // namespace pistavox
