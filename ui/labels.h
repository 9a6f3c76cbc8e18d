#pragma once
#include <span>

#include "ui/label.h"

namespace pistavox {

// The interface's labels in both languages, and the list of all of them.
inline constexpr Label kMonitorLabel{"Monitor", "监控"};
inline constexpr Label kSettingsLabel{"Settings", "设置"};

inline constexpr const Label* kTopBarLabels[] = {&kMonitorLabel, &kSettingsLabel};

// Every label of every page, so that the font is built with every glyph they
// need and a test can check that each one renders. Each page keeps its own
// catalogue beside its code; this joins them.
std::span<const Label* const> InterfaceLabels();

}  // namespace pistavox
