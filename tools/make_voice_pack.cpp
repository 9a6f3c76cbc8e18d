// make-voice-pack: speaks every callout key into the plain voice packs Pistavox_EN and Pistavox_ZH.
#include <cstdio>

#include "base/command_line.h"
#include "base/file_reading.h"
#include "base/program_main.h"
#include "tools/voice_pack_build.h"

namespace pistavox {
namespace {

struct PackChoice {
  VoiceLanguage language;
  const char* code;
  const char* name;
};
constexpr PackChoice kPacks[] = {{VoiceLanguage::kEnglish, "en", "Pistavox_EN"},
                                 {VoiceLanguage::kChinese, "zh", "Pistavox_ZH"}};

int Main(int argc, char** argv) {
  std::string out = "bin";
  std::string cache;
  std::string only;
  bool cockpit = false;
  const CommandLine line = {
      .program = "make-voice-pack",
      .preamble =
          "Speaks every callout Pistavox can make into complete plain voice packs, DIR/Pistavox_EN\n"
          "(Festival, voice cmu_us_slt_arctic_hts) and DIR/Pistavox_ZH (espeak-ng, Mandarin): one\n"
          "WAV clip per key and a manifest.csv. Packs already made with the same phrases and tools\n"
          "are copied from the cache instead of spoken again. Every clip is levelled to one loudness.\n",
      .options = {ValueOption("--out", OptionKind::kPath, "DIR", Into(out), "where the packs go (default: bin)"),
                  ValueOption("--cache", OptionKind::kPath, "DIR", Into(cache),
                              "the cache of made packs (default: $XDG_CACHE_HOME/pistavox/voice-packs, "
                              "else ~/.cache/pistavox/voice-packs)"),
                  ChoiceOption("--only", {"en", "zh"}, Into(only), "make one of the two packs"),
                  FlagOption("--cockpit", Into(cockpit),
                             "band-limit the clips to 300-3400 Hz, as a cockpit's radio sounds (the plain clips "
                             "are clearer)")}};
  int status = 0;
  if (!ReadCommandLine(line, argc, argv, status)) return status;

  std::vector<VoicePhrase> phrases;
  std::string error;
  if (!ListVoicePhrases(phrases, error)) {
    std::fprintf(stderr, "make-voice-pack: %s\n", error.c_str());
    return 1;
  }
  for (const PackChoice& pack : kPacks) {
    if (!only.empty() && only != pack.code) continue;
    VoicePackJob job;
    job.language = pack.language;
    job.name = pack.name;
    job.treatment = cockpit ? ClipTreatment::kCockpit : ClipTreatment::kPlain;
    job.out_folder = out;
    job.cache_root = cache.empty() ? DefaultVoicePackCache() : std::filesystem::path(cache);
    bool from_cache = false;
    if (!MakeVoicePack(job, phrases, from_cache, error)) {
      std::fprintf(stderr, "make-voice-pack: %s: %s\n", pack.name, error.c_str());
      return 1;
    }
    std::printf("%s: %zu clips %s %s\n", PathText(job.out_folder / job.name).c_str(), phrases.size(),
                from_cache ? "copied from the cache" : "spoken and cached in", PathText(job.cache_root).c_str());
  }
  return 0;
}

}  // namespace
}  // namespace pistavox

int main(int argc, char** argv) {
  return pistavox::RunProgram("make-voice-pack", [&] { return pistavox::Main(argc, argv); });
}
