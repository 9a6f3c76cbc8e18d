#include "ui/frame.h"

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

}  // namespace pistavox
