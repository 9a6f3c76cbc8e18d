#include "app/app.h"

#include <utility>

#include "config/save_settings.h"

namespace pistavox {

App::App() : App(SilentAudioBackEnd()) {}

App::App(AudioBackEnd audio_back_end) : audio(std::move(audio_back_end)) {}

std::string SelectedVoicePackName(const App& app) {
  const int32_t index = app.settings.voice_pack;
  if (index < 0 || static_cast<size_t>(index) >= app.voice_packs.size()) return "";
  return app.voice_packs[static_cast<size_t>(index)].name;
}

bool SaveAppSettings(App& app) {
  return SaveSettings(app.settings, SelectedVoicePackName(app), app.settings_store, app.log);
}

void PlayCallout(App& app, const std::string& key, int32_t priority) {
  const std::optional<AudioClip> clip =
      app.voice_source == VoiceSource::kSilent ? std::optional<AudioClip>(AudioClip{}) : FindClip(app.voice_pack, key);
  if (!clip) {
    Log(app.log, "Missing audio: " + key);
    return;
  }
  if (app.settings.muted) return;
  std::string error;
  Play(app.audio, *clip, priority, error);  // a refusal is reported with the worker's failures
  ReportAudioFailures(app);
}

void ReportAudioFailures(App& app) {
  for (const std::string& reason : TakeNewAudioFailures(app.audio)) Log(app.log, "Audio failed: " + reason);
}

std::string AudioFailure(const App& app) { return ReadAudioPlayerStatus(app.audio).failing; }

}  // namespace pistavox
