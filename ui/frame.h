#pragma once

namespace pistavox {

struct App;

// The page of this frame: the Settings page when it is open, else the dashboard.
void DrawFrame(App& app);

}  // namespace pistavox
