#include <imgui.h>

#include "ui/pages.h"
#include "ui/top_bar.h"
#include "ui/widgets.h"

namespace pistavox {

// The frame of the page so far; its sidebar and sections come next.
void DrawSettingsPage(App& app) {
  BeginRootWindow("Pistavox Settings");
  DrawTopBar(app);
  ImGui::End();
}

}  // namespace pistavox
