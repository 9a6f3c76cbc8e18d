#include <SDL.h>
#include <SDL_mixer.h>
#include <dlfcn.h>

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <system_error>

#include "audio/audio_back_end.h"

namespace pistavox {
namespace {

// Callouts never overlap, so one mixer channel is all there is.
constexpr int kChannel = 0;
constexpr std::chrono::milliseconds kPollInterval{35};
// The voice packs' clips' rate: a device at another rate would have the mixer resample
// every clip, and its upsampling leaves an image band above the clips' own.
constexpr int kDeviceRate = 22050;
// About 23 ms: an interrupt is heard within one buffer.
constexpr int kBufferFrames = 512;
// Opening takes milliseconds, so only a quiet spell lets the device go; a run of callouts keeps it.
constexpr std::chrono::seconds kRestAfter{2};

struct SdlAudio {
  bool device_open = false;
  bool sdl_started = false;
  std::string open_error;  // why the device is unavailable
  Mix_Chunk* chunk = nullptr;
  // The worker opens and closes the device while a stop may come from any thread. A stop
  // also wakes the poll at once, so an interrupting clip need not wait out the interval.
  std::mutex mutex;
  std::condition_variable stopped;
  uint64_t stops = 0;

  ~SdlAudio() {
    if (device_open) {
      Mix_HaltChannel(-1);
      Mix_CloseAudio();
    }
    if (chunk) Mix_FreeChunk(chunk);
    if (sdl_started) SDL_QuitSubSystem(SDL_INIT_AUDIO);
    // SDL keeps some state until SDL_Quit; the last user in the process lets it go.
    if (SDL_WasInit(0) == 0) SDL_Quit();
  }
};

// ALSA prints its own diagnostics on stderr when there is no sound card (eight lines
// from SDL's probe alone) while the open failure reaches the user through the event
// log anyway. SDL loads the library at run time; loading it first, the same handle,
// lets its printer be replaced. Without ALSA there is nothing to quiet.
void SayNothing(const char*, int, const char*, int, const char*, ...) {}

void QuietAlsaDiagnostics() {
  using ErrorHandler = void (*)(const char*, int, const char*, int, const char*, ...);
  void* alsa = dlopen("libasound.so.2", RTLD_NOW | RTLD_GLOBAL);
  if (alsa == nullptr) return;
  auto* set_handler = reinterpret_cast<int (*)(ErrorHandler)>(dlsym(alsa, "snd_lib_error_set_handler"));
  if (set_handler != nullptr) set_handler(&SayNothing);
}

bool OpenMixer(SdlAudio& audio) {
  std::lock_guard lock(audio.mutex);
  if (audio.device_open) return true;
  if (Mix_OpenAudio(kDeviceRate, AUDIO_S16SYS, 2, kBufferFrames) != 0) return false;
  audio.device_open = true;
  Mix_AllocateChannels(1);
  return true;
}

// Even silent, an open device's thread mixes and writes each buffer.
void CloseMixer(SdlAudio& audio) {
  std::lock_guard lock(audio.mutex);
  if (!audio.device_open) return;
  Mix_CloseAudio();
  audio.device_open = false;
}

// Opened once to learn whether there is a device, then let go until a clip plays.
void ProbeDevice(SdlAudio& audio) {
  QuietAlsaDiagnostics();
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
    audio.open_error = std::string("Audio device unavailable: ") + SDL_GetError();
    return;
  }
  audio.sdl_started = true;
  if (!OpenMixer(audio)) {
    audio.open_error = std::string("Audio device unavailable: ") + Mix_GetError();
    return;
  }
  CloseMixer(audio);
}

// The worker is not a thread SDL made, so SDL would never free what it keeps per
// thread (its error text) there; each clip lets it go when it ends.
bool FailStart(const std::string& message, std::string& error) {
  error = message + Mix_GetError();
  SDL_TLSCleanup();
  return false;
}

bool StartChunk(SdlAudio& audio, Mix_Chunk* chunk, const std::string& load_error, std::string& error) {
  if (!chunk) return FailStart(load_error, error);
  if (Mix_PlayChannel(kChannel, chunk, 0) < 0) {
    Mix_FreeChunk(chunk);
    return FailStart("Audio play failed: ", error);
  }
  audio.chunk = chunk;
  return true;
}

}  // namespace

AudioBackEnd PlatformAudioBackEnd() {
  auto audio = std::make_shared<SdlAudio>();
  ProbeDevice(*audio);
  AudioBackEnd back_end;
  back_end.unavailable = audio->open_error;
  back_end.start_file = [audio](const AudioClip& clip, std::string& error) {
    if (!OpenMixer(*audio)) return FailStart("Audio device unavailable: ", error);
    SDL_RWops* file = SDL_RWFromFile(clip.path.string().c_str(), "rb");
    if (!file) {
      // The folder, not the file: a cleared folder fails every clip for one reason.
      const std::string reason = std::generic_category().message(errno);
      SDL_TLSCleanup();
      error = "Cannot open audio in " + clip.path.parent_path().string() + ": " + reason;
      return false;
    }
    return StartChunk(*audio, Mix_LoadWAV_RW(file, 1), "Cannot decode audio: ", error);
  };
  back_end.start_memory = [audio](const AudioClip& clip, std::string& error) {
    if (clip.size > static_cast<uint64_t>(INT32_MAX)) {
      error = "Audio clip is too large";
      return false;
    }
    if (!OpenMixer(*audio)) return FailStart("Audio device unavailable: ", error);
    // The mixer decodes the whole clip up front, so the bytes need not outlive the call.
    SDL_RWops* bytes = SDL_RWFromConstMem(clip.data->data() + clip.offset, static_cast<int>(clip.size));
    return StartChunk(*audio, bytes ? Mix_LoadWAV_RW(bytes, 1) : nullptr, "Cannot decode audio: ", error);
  };
  back_end.still_playing = [audio] {
    std::unique_lock lock(audio->mutex);
    const uint64_t stops_seen = audio->stops;
    if (!Mix_Playing(kChannel)) return false;
    audio->stopped.wait_for(lock, kPollInterval, [&] { return audio->stops != stops_seen; });
    return true;
  };
  back_end.finish = [audio] {
    Mix_HaltChannel(kChannel);
    Mix_FreeChunk(audio->chunk);
    audio->chunk = nullptr;
    SDL_TLSCleanup();
  };
  back_end.stop_now = [audio] {
    std::lock_guard lock(audio->mutex);
    if (audio->device_open) Mix_HaltChannel(-1);
    ++audio->stops;
    audio->stopped.notify_all();
  };
  back_end.rest = [audio] { CloseMixer(*audio); };
  back_end.rest_after = kRestAfter;
  return back_end;
}

}  // namespace pistavox
