#include <imgui.h>

#include "ui/pages.h"
#include "ui/top_bar.h"
#include "ui/widgets.h"

namespace pistavox {

// The frame of the page so far; its cards, runway strip and log come next.
void DrawDashboard(App& app) {
  BeginRootWindow("Pistavox");
  DrawTopBar(app);
  ImGui::End();
}

}  // namespace pistavox
