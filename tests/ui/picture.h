#pragma once
#include <gtest/gtest.h>
#include <imgui.h>
#include <stb_image_write.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace pistavox::test {

// A frame read back from a window, eight bits a channel, top row first.
struct Picture {
  int width = 0;
  int height = 0;
  std::vector<unsigned char> rgba;

  const unsigned char* At(int x, int y) const { return &rgba[(static_cast<std::size_t>(y) * width + x) * 4]; }
};

// `name`.png in the working folder and, when PISTAVOX_SCREENSHOT_DIR names a folder, there too.
inline bool WritePngs(const std::string& name, const Picture& picture) {
  const auto write = [&](const std::filesystem::path& path) {
    return stbi_write_png(path.string().c_str(), picture.width, picture.height, 4, picture.rgba.data(),
                          picture.width * 4) != 0;
  };
  if (const char* keep = std::getenv("PISTAVOX_SCREENSHOT_DIR")) write(std::filesystem::path(keep) / (name + ".png"));
  return write(name + ".png");
}

// The colour as the 8-bit target stores it.
inline bool Near(const unsigned char* pixel, const ImVec4& colour) {
  const float channels[] = {colour.x, colour.y, colour.z};
  for (int i = 0; i < 3; ++i) {
    if (std::abs(pixel[i] - static_cast<int>(channels[i] * 255 + 0.5f)) > 1) return false;
  }
  return true;
}

// Pixels whose red differs between the two pictures within the box.
inline int Differing(const Picture& a, const Picture& b, std::pair<int, int> min, std::pair<int, int> max) {
  int differing = 0;
  for (int y = min.second; y < max.second; ++y) {
    for (int x = min.first; x < max.first; ++x) differing += a.At(x, y)[0] != b.At(x, y)[0] ? 1 : 0;
  }
  return differing;
}

// The root window covers the whole picture, its one-pixel border the theme's, with the
// top bar inside its padding.
inline void ExpectRootWindowFills(const Picture& picture) {
  const ImVec4 window_background(0.04f, 0.048f, 0.058f, 1);
  const int right = picture.width - 3;
  const int bottom = picture.height - 3;
  for (const auto& [x, y] : {std::pair{2, 2}, {right, 2}, {2, bottom}, {right, bottom}}) {
    EXPECT_TRUE(Near(picture.At(x, y), window_background)) << x << "," << y;
  }
  EXPECT_TRUE(Near(picture.At(490, 24), ImVec4(0.06f, 0.076f, 0.095f, 1)));
  EXPECT_TRUE(Near(picture.At(490, 10), window_background));
}

}  // namespace pistavox::test
