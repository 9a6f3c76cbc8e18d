#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "ui/d3d11_window.h"

namespace pistavox {
namespace {

// Wine's null graphics driver (scripts/wine-run) opens windows but offers no
// Direct3D device: the failure a machine without a usable graphics driver meets.
TEST(WindowHostTest, WithoutADeviceEverythingCreatedIsReleased) {
  D3d11Window host;
  WindowOutcome failure = WindowOutcome::kClosed;
  std::string error;
  if (OpenD3d11Window(host, failure, error)) {
    CloseD3d11Window(host);
    GTEST_SKIP() << "this machine has a Direct3D 11 device";
  }
  EXPECT_EQ(failure, WindowOutcome::kFailed);
  EXPECT_NE(error.find("Direct3D 11 device"), std::string::npos) << error;
  EXPECT_EQ(host.window, nullptr);
  EXPECT_EQ(host.device, nullptr);
  EXPECT_EQ(host.swap_chain, nullptr);
  EXPECT_FALSE(host.imgui_ready);
  EXPECT_EQ(FindWindowA(kWindowTitle, nullptr), nullptr);
  WNDCLASSEXA found = {};
  found.cbSize = sizeof found;
  EXPECT_FALSE(GetClassInfoExA(GetModuleHandleA(nullptr), kWindowTitle, &found));
  // The window's destruction asked the thread to quit; that was for it alone.
  MSG quit;
  EXPECT_FALSE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE));

  // Nothing is left behind that would stop a second attempt from getting as far.
  WindowOutcome again = WindowOutcome::kClosed;
  EXPECT_FALSE(OpenD3d11Window(host, again, error));
  EXPECT_EQ(again, WindowOutcome::kFailed);
}

}  // namespace
}  // namespace pistavox
