#include "ui/runway_strip.h"

#include <imgui.h>

#include <algorithm>

namespace pistavox {

void DrawRunwayStrip(double remaining_m, double runway_length_m) {
  ImDrawList* draw = ImGui::GetWindowDrawList();
  const ImVec2 top_left = ImGui::GetCursorScreenPos();
  const float width = ImGui::GetContentRegionAvail().x;
  const float left = top_left.x;
  const float top = top_left.y;
  const float right = left + width;
  const float bottom = top + kRunwayStripHeight;

  draw->AddRectFilled(ImVec2(left, top), ImVec2(right, bottom), IM_COL32(38, 45, 50, 255), 3);
  draw->AddRect(ImVec2(left, top), ImVec2(right, bottom), IM_COL32(104, 120, 132, 255), 3, 0, 1);

  const double fraction = std::clamp(remaining_m / std::max(runway_length_m, 1.0), 0.0, 1.0);
  // A strip narrower than the marker keeps it at the left edge rather than inverting the clamp.
  const float marker = std::max(left + 5, std::min(right - static_cast<float>(fraction) * width, right - 5));
  draw->AddRectFilled(ImVec2(left, top), ImVec2(marker, bottom), IM_COL32(76, 88, 96, 180), 3);
  draw->AddRectFilled(ImVec2(marker, top), ImVec2(right, bottom), IM_COL32(64, 196, 160, 210), 3);

  const float middle = top + kRunwayStripHeight / 2;
  for (float x = left + 14; x < right - 12; x += 34) {
    draw->AddLine(ImVec2(x, middle), ImVec2(std::min(x + 16, right - 10), middle), IM_COL32(236, 236, 220, 230), 2);
  }
  draw->AddTriangleFilled(ImVec2(marker, top + 6), ImVec2(marker - 7, top + 27), ImVec2(marker + 7, top + 27),
                          IM_COL32(255, 255, 255, 240));
  ImGui::Dummy(ImVec2(width, kRunwayStripHeight));
}

}  // namespace pistavox
