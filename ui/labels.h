#pragma once
#include <span>

#include "ui/label.h"

namespace pistavox {

// The interface's labels, in one catalogue so that the font is built with every
// glyph they need and a test can check that each one renders.
inline constexpr Label kMonitorLabel{"Monitor", "监控"};
inline constexpr Label kSettingsLabel{"Settings", "设置"};

inline constexpr const Label* kInterfaceLabels[] = {&kMonitorLabel, &kSettingsLabel};

inline std::span<const Label* const> InterfaceLabels() { return kInterfaceLabels; }

}  // namespace pistavox
