#pragma once
#include "ui/label.h"

namespace pistavox {

// The Settings page's labels.
inline constexpr Label kBackToMonitorLabel{"Back to Monitor", "返回监控"};

inline constexpr const Label* kSettingsLabels[] = {&kBackToMonitorLabel};

}  // namespace pistavox
