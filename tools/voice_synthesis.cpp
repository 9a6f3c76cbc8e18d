#include "tools/voice_synthesis.h"

#include <fstream>
#include <system_error>

#include "base/file_reading.h"
#include "tools/clip_loudness.h"
#include "tools/run_commands.h"

namespace pistavox {

namespace {

constexpr const char* kFestivalVoice = "cmu_us_slt_arctic_hts";
constexpr const char* kFestivalVoicePackage = "festvox-us-slt-hts";
// cmn reads the pinyin its dictionary gives many characters with English rules
// ("跑" as "pow three"); the pinyin variant speaks the same characters as Mandarin.
constexpr const char* kEspeakVoice = "cmn-latn-pinyin";
// Trim below -50 dBFS at both ends (a reversed pass for the tail), make headroom so
// resampling cannot clip the synthesisers' full-scale peaks, resample.
const Command kSoxEffects{"channels", "1",    "silence", "1",       "0.01", "-50d", "reverse", "silence",
                          "1",        "0.01", "-50d",    "reverse", "gain", "-6",   "rate",    "22050"};
const Command kCockpitBand{"sinc", "300-3400"};
// From a known peak, 2:1 above -30 dB with a soft knee: the loud syllables come down
// towards the soft ones, so a levelled clip is understood throughout.
const Command kSoxCompression{"norm", "-1", "compand", "0.005,0.15", "6:-30,-30,0,-15", "0", "-90"};
const Command kSoxOutput{"-b", "16", "-e", "signed-integer"};
constexpr LoudnessTarget kClipLoudness;

Command SoxEffects(ClipTreatment treatment) {
  Command effects = kSoxEffects;
  if (treatment == ClipTreatment::kCockpit) effects.insert(effects.end(), kCockpitBand.begin(), kCockpitBand.end());
  effects.insert(effects.end(), kSoxCompression.begin(), kSoxCompression.end());
  return effects;
}

std::filesystem::path RawClip(const std::filesystem::path& folder, const VoicePhrase& phrase) {
  return folder / "raw" / ClipFileName(phrase);
}

// A Scheme string literal.
std::string SchemeString(std::string_view text) {
  std::string quoted = "\"";
  for (const char c : text) {
    if (c == '"' || c == '\\') quoted += '\\';
    quoted += c;
  }
  return quoted + "\"";
}

// One festival process per job, each speaking its share of the phrases: the voice
// loads once per process, not once per phrase.
bool SpeakEnglish(const std::vector<VoicePhrase>& phrases, const std::filesystem::path& folder, int jobs,
                  std::string& error) {
  std::vector<Command> commands;
  for (int job = 0; job < jobs; ++job) {
    const std::filesystem::path script = folder / "raw" / ("speak-" + std::to_string(job) + ".scm");
    std::ofstream out(script, std::ios::binary);
    // Without the voice festival would speak in whatever voice it has: stop instead.
    out << "(if (not (member '" << kFestivalVoice << " (voice.list))) (begin (format stderr \"festival has no voice "
        << kFestivalVoice << " (install " << kFestivalVoicePackage << ")\\n\") (exit 3)))\n"
        << "(voice_" << kFestivalVoice << ")\n";
    for (size_t i = static_cast<size_t>(job); i < phrases.size(); i += static_cast<size_t>(jobs)) {
      out << "(set! utt (Utterance Text " << SchemeString(phrases[i].english) << "))\n"
          << "(utt.synth utt)\n"
          << "(utt.save.wave utt " << SchemeString(PathText(RawClip(folder, phrases[i]))) << " 'riff)\n";
    }
    out.close();
    if (!out) {
      error = "cannot write the festival script: " + PathText(script);
      return false;
    }
    commands.push_back({"festival", "-b", PathText(script)});
  }
  return RunCommands(commands, jobs, error);
}

bool SpeakChinese(const std::vector<VoicePhrase>& phrases, const std::filesystem::path& folder, int jobs,
                  std::string& error) {
  std::vector<Command> commands;
  for (const VoicePhrase& phrase : phrases)
    commands.push_back({"espeak-ng", "-v", kEspeakVoice, "-w", PathText(RawClip(folder, phrase)), phrase.chinese});
  return RunCommands(commands, jobs, error);
}

bool FinishClips(const std::vector<VoicePhrase>& phrases, ClipTreatment treatment, const std::filesystem::path& folder,
                 int jobs, std::string& error) {
  const Command effects = SoxEffects(treatment);
  std::vector<Command> commands;
  for (const VoicePhrase& phrase : phrases) {
    const std::filesystem::path raw = RawClip(folder, phrase);
    std::error_code ec;
    if (std::filesystem::file_size(raw, ec) == 0 || ec) {
      error = "the synthesiser made no sound for " + phrase.key + " (is its voice installed?)";
      return false;
    }
    Command command{"sox", PathText(raw)};
    command.insert(command.end(), kSoxOutput.begin(), kSoxOutput.end());
    command.push_back(PathText(folder / ClipFileName(phrase)));
    command.insert(command.end(), effects.begin(), effects.end());
    commands.push_back(std::move(command));
  }
  if (!RunCommands(commands, jobs, error)) return false;
  for (const VoicePhrase& phrase : phrases) {
    if (!LevelClip(folder / ClipFileName(phrase), kClipLoudness, error)) return false;
  }
  return true;
}

std::string FirstLine(const std::string& text) { return text.substr(0, text.find('\n')); }

}  // namespace

std::string ClipFileName(const VoicePhrase& phrase) { return phrase.key + ".wav"; }

bool DescribeSpeechTools(VoiceLanguage language, ClipTreatment treatment, std::string& description,
                         std::string& error) {
  const Command synthesiser =
      language == VoiceLanguage::kEnglish ? Command{"festival", "--version"} : Command{"espeak-ng", "--version"};
  std::string synthesiser_version;
  std::string sox_version;
  if (!CommandOutput(synthesiser, synthesiser_version, error) ||
      !CommandOutput({"sox", "--version"}, sox_version, error))
    return false;
  description = FirstLine(synthesiser_version) + "\n" + FirstLine(sox_version) + "\n";
  description += language == VoiceLanguage::kEnglish ? kFestivalVoice : kEspeakVoice;
  for (const std::string& part : kSoxOutput) description += " " + part;
  for (const std::string& part : SoxEffects(treatment)) description += " " + part;
  description += "\nlevel " + std::to_string(kClipLoudness.rms_dbfs) + " dBFS RMS, peaks under " +
                 std::to_string(kClipLoudness.ceiling_dbfs) + " dBFS\n";
  return true;
}

bool SpeakPhrases(const std::vector<VoicePhrase>& phrases, VoiceLanguage language, ClipTreatment treatment,
                  const std::filesystem::path& folder, int jobs, std::string& error) {
  std::error_code ec;
  std::filesystem::create_directories(folder / "raw", ec);
  if (ec) {
    error = "cannot make folder " + PathText(folder / "raw") + ": " + ec.message();
    return false;
  }
  const bool spoken = language == VoiceLanguage::kEnglish ? SpeakEnglish(phrases, folder, jobs, error)
                                                          : SpeakChinese(phrases, folder, jobs, error);
  if (!spoken || !FinishClips(phrases, treatment, folder, jobs, error)) return false;
  std::filesystem::remove_all(folder / "raw", ec);
  return true;
}

}  // namespace pistavox
