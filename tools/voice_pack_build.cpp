#include "tools/voice_pack_build.h"

#include <unistd.h>

#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <system_error>

#include "base/csv_line.h"
#include "base/file_reading.h"
#include "base/fnv1a.h"
#include "tools/voice_synthesis.h"

namespace pistavox {

namespace fs = std::filesystem;

namespace {

constexpr const char* kManifestName = "manifest.csv";
constexpr const char* kManifestHeader = "category,key,text,language,file\n";

std::string LanguageCode(VoiceLanguage language) { return language == VoiceLanguage::kEnglish ? "en" : "zh"; }

// A sibling of `place` that no other run uses, for building before the rename.
fs::path Staging(const fs::path& place, const char* what) {
  return place.parent_path() / ("." + place.filename().string() + "." + what + "-" + std::to_string(getpid()));
}

bool MakeFolder(const fs::path& folder, std::string& error) {
  std::error_code ec;
  fs::create_directories(folder, ec);
  if (ec) error = "cannot make folder " + PathText(folder) + ": " + ec.message();
  return !ec;
}

bool WriteFile(const fs::path& path, const std::string& text, std::string& error) {
  std::ofstream out(path, std::ios::binary);
  out << text;
  out.close();
  if (!out) error = "cannot write " + PathText(path);
  return static_cast<bool>(out);
}

// Speaks the pack into a staging folder and renames it into the cache. Another run
// that got there first wins; its pack is as good as ours.
bool FillCache(const VoicePackJob& job, const std::vector<VoicePhrase>& phrases, const fs::path& cached,
               std::string& error) {
  const fs::path staging = Staging(cached, "making");
  std::error_code ec;
  fs::remove_all(staging, ec);
  bool ok = MakeFolder(staging, error) &&
            SpeakPhrases(phrases, job.language, job.treatment, staging, job.jobs, error) &&
            WriteFile(staging / kManifestName, VoicePackManifest(phrases, job.language), error);
  if (ok) {
    fs::rename(staging, cached, ec);
    if (ec && !IsCompleteVoicePack(cached, phrases, job.language)) {
      // A damaged pack of this hash (an older run's, say) is moved aside and replaced.
      const fs::path damaged = Staging(cached, "damaged");
      fs::rename(cached, damaged, ec);
      if (!ec) fs::rename(staging, cached, ec);
      std::error_code ignored;
      fs::remove_all(damaged, ignored);
      if (ec) {
        error = "cannot move the new pack into the cache at " + PathText(cached) + ": " + ec.message();
        ok = false;
      }
    }
  }
  fs::remove_all(staging, ec);
  return ok;
}

// What stands at the output place is replaced only when it is a voice pack or empty.
bool MayReplace(const fs::path& place, std::string& error) {
  std::error_code ec;
  if (!fs::exists(place, ec) || (fs::is_directory(place, ec) && fs::is_empty(place, ec)) ||
      fs::exists(place / kManifestName, ec))
    return true;
  error = "will not replace " + PathText(place) + ": it is not a voice pack";
  return false;
}

// Copies the cached pack beside the output place, then swaps it in.
bool InstallPack(const fs::path& cached, const fs::path& place, std::string& error) {
  std::error_code ec;
  const bool exists = fs::exists(place, ec);
  const fs::path staging = Staging(place, "new");
  const fs::path old = Staging(place, "old");
  fs::remove_all(staging, ec);
  fs::remove_all(old, ec);
  if (!MakeFolder(place.parent_path(), error)) return false;
  fs::copy(cached, staging, fs::copy_options::recursive, ec);
  if (ec) {
    error = "cannot copy the pack to " + PathText(staging) + ": " + ec.message();
    fs::remove_all(staging, ec);
    return false;
  }
  if (exists) fs::rename(place, old, ec);
  if (!ec) fs::rename(staging, place, ec);
  if (ec) {
    error = "cannot put the pack in place at " + PathText(place) + ": " + ec.message();
    std::error_code restoring;
    if (exists && !fs::exists(place, restoring)) fs::rename(old, place, restoring);
    fs::remove_all(staging, restoring);
    return false;
  }
  fs::remove_all(old, ec);
  return true;
}

}  // namespace

fs::path DefaultVoicePackCache() {
  fs::path base;
  if (const char* xdg = std::getenv("XDG_CACHE_HOME"); xdg != nullptr && *xdg != '\0') {
    base = xdg;
  } else if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
    base = fs::path(home) / ".cache";
  } else {
    std::error_code ec;
    base = fs::temp_directory_path(ec);
  }
  return base / "pistavox" / "voice-packs";
}

std::string VoicePackHash(const std::vector<VoicePhrase>& phrases, VoiceLanguage language,
                          const std::string& tools_description) {
  uint64_t hash = Fnv1a64(tools_description);
  hash = Fnv1a64(LanguageCode(language) + "\n", hash);
  for (const VoicePhrase& phrase : phrases) hash = Fnv1a64(phrase.key + "\t" + PhraseIn(phrase, language) + "\n", hash);
  char hex[17];
  std::snprintf(hex, sizeof hex, "%016" PRIx64, hash);
  return hex;
}

std::string VoicePackManifest(const std::vector<VoicePhrase>& phrases, VoiceLanguage language) {
  std::string manifest = kManifestHeader;
  for (const VoicePhrase& phrase : phrases) {
    manifest += QuoteCsvField(phrase.family) + "," + QuoteCsvField(phrase.key) + "," +
                QuoteCsvField(PhraseIn(phrase, language)) + "," + LanguageCode(language) + "," +
                QuoteCsvField(ClipFileName(phrase)) + "\n";
  }
  return manifest;
}

bool IsCompleteVoicePack(const fs::path& folder, const std::vector<VoicePhrase>& phrases, VoiceLanguage language) {
  std::string manifest;
  std::string reason;
  if (ReadFileBytes(folder / kManifestName, kMaxConfigFileBytes, manifest, reason) != FileReadStatus::kOk ||
      manifest != VoicePackManifest(phrases, language))
    return false;
  for (const VoicePhrase& phrase : phrases) {
    std::error_code ec;
    const uintmax_t size = fs::file_size(folder / ClipFileName(phrase), ec);
    if (ec || size == 0) return false;
  }
  return true;
}

bool MakeVoicePack(const VoicePackJob& job, const std::vector<VoicePhrase>& phrases, bool& from_cache,
                   std::string& error) {
  const fs::path place = job.out_folder / job.name;
  std::string tools;
  if (!MayReplace(place, error) || !DescribeSpeechTools(job.language, job.treatment, tools, error)) return false;
  const fs::path cached = job.cache_root / VoicePackHash(phrases, job.language, tools);
  from_cache = IsCompleteVoicePack(cached, phrases, job.language);
  if (!from_cache && !(MakeFolder(job.cache_root, error) && FillCache(job, phrases, cached, error))) return false;
  return InstallPack(cached, place, error);
}

}  // namespace pistavox
