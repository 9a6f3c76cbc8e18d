#include "app/voice_packs.h"

#include <system_error>

#include "app/app.h"

namespace pistavox {

namespace fs = std::filesystem;

namespace {

// The pack used when bin/ holds none, beside bin/ rather than in it.
fs::path DefaultPackManifest(const App& app) { return app.resources.root / kDefaultVoicePackName / "manifest.csv"; }

// Start-up, Refresh and the pack list all see the same packs, so the default one stays
// selectable and its name is what gets saved.
std::vector<VoicePackEntry> FindPacks(const App& app) {
  switch (app.voice_source) {
    case VoiceSource::kOnePack:
      return {{app.voice_pack_dir.filename().string(), app.voice_pack_dir / "manifest.csv"}};
    case VoiceSource::kSilent:
      return {{kSilentVoicePackName, {}}};
    case VoiceSource::kBinFolder:
      break;
  }
  std::vector<VoicePackEntry> packs = ScanVoicePacks(VoicePackFolder(app.resources));
  std::error_code ec;
  if (packs.empty() && fs::exists(DefaultPackManifest(app), ec))
    packs.push_back({kDefaultVoicePackName, DefaultPackManifest(app)});
  return packs;
}

bool Fail(App& app, const std::string& message) {
  app.status_message = message;
  app.voice_pack_ok = false;
  Log(app.log, message);
  return false;
}

// Loads the entry at the selected index of a non-empty list; an index outside it means the first.
bool LoadSelectedPack(App& app) {
  if (app.settings.voice_pack < 0 || static_cast<size_t>(app.settings.voice_pack) >= app.voice_packs.size())
    app.settings.voice_pack = 0;
  if (app.voice_source == VoiceSource::kSilent) {
    app.voice_pack = {};
  } else {
    std::string error;
    app.voice_pack_failed =
        !LoadVoicePack(app.voice_pack, app.voice_packs[static_cast<size_t>(app.settings.voice_pack)].path, error);
    if (app.voice_pack_failed) return Fail(app, error);
  }
  app.voice_pack_ok = true;
  return true;
}

}  // namespace

bool VoicePackAvailable(const App& app) {
  std::error_code ec;
  switch (app.voice_source) {
    case VoiceSource::kOnePack:
      return fs::exists(app.voice_pack_dir / "manifest.csv", ec);
    case VoiceSource::kSilent:
      return true;
    case VoiceSource::kBinFolder:
      break;
  }
  // Start-up falls back to the default pack beside the program, so it counts as installed.
  return HasAnyVoicePack(VoicePackFolder(app.resources)) || fs::exists(DefaultPackManifest(app), ec);
}

std::vector<std::string> ListVoicePackNames(App& app) {
  if (app.voice_packs.empty()) app.voice_packs = FindPacks(app);
  std::vector<std::string> names;
  for (const VoicePackEntry& pack : app.voice_packs) names.push_back(pack.name);
  return names;
}

bool LoadStartupVoicePack(App& app) {
  app.voice_packs = FindPacks(app);
  if (app.voice_packs.empty()) return Fail(app, "No voice packs found in bin");
  return LoadSelectedPack(app);
}

bool SelectVoicePack(App& app) {
  if (app.voice_packs.empty()) app.voice_packs = FindPacks(app);
  if (app.voice_packs.empty()) return Fail(app, "No voice packs found in bin");
  if (!LoadSelectedPack(app)) return false;
  Log(app.log, "Voice pack selected: " + SelectedVoicePackName(app));
  return true;
}

}  // namespace pistavox
