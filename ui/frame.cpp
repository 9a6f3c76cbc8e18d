#include "ui/frame.h"

#include <imgui.h>

#include "app/app.h"
#include "app/xplane_search.h"
#include "ui/pages.h"

namespace pistavox {

void DrawFrame(App& app, int64_t now_ns) {
  FinishXPlaneSearch(app);
  if (app.ui.settings_page_open) {
    DrawSettingsPage(app);
  } else {
    DrawDashboard(app, now_ns);
  }
}

bool InterfaceAnimates(const App& app) {
  return ImGui::GetIO().WantTextInput ||
         ImGui::IsPopupOpen("", ImGuiPopupFlags_AnyPopupId | ImGuiPopupFlags_AnyPopupLevel) || XPlaneSearchRunning(app);
}

}  // namespace pistavox
