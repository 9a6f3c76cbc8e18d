#include "ui/labels.h"

#include <vector>

#include "app/app.h"
#include "ui/dashboard_labels.h"
#include "ui/settings_labels.h"

namespace pistavox {

std::span<const Label* const> InterfaceLabels() {
  static const std::vector<const Label*> all = [] {
    std::vector<const Label*> joined;
    for (std::span<const Label* const> page :
         {std::span<const Label* const>(kTopBarLabels), std::span<const Label* const>(kDashboardLabels),
          std::span<const Label* const>(kSettingsLabels)}) {
      joined.insert(joined.end(), page.begin(), page.end());
    }
    return joined;
  }();
  return all;
}

bool InChinese(const App& app) { return app.settings.ui_language == UiLanguage::kChinese; }

}  // namespace pistavox
