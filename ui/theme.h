#pragma once

namespace pistavox {

// ImGui's dark style with the interface's sizes and colours; once at start-up.
void ApplyTheme();

}  // namespace pistavox
