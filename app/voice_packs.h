#pragma once
#include <string>
#include <vector>

namespace pistavox {

// The voice packs the application knows and the one it has loaded.
struct App;

// The voice-pack side of the application: which packs there are, loading the selected one.
bool VoicePackAvailable(const App& app);
// Fills the pack list when it is empty and returns the names in list order.
std::vector<std::string> ListVoicePackNames(App& app);
// The start-up loading: scan (bin/, else the default pack), clamp the index, load.
bool LoadStartupVoicePack(App& app);
// Loads the pack at the selected index, which the caller keeps within the list.
bool SelectVoicePack(App& app);

inline constexpr const char* kDefaultVoicePackName = "RAAS_EDGE_TTS_HUMAN";
// The replay's pack when none is given: every key resolves to a silent clip.
inline constexpr const char* kSilentVoicePackName = "silent";

}  // namespace pistavox
