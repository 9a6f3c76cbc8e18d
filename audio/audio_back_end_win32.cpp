#include <memory>

#include "audio/audio_back_end.h"
#include "audio/mci_playback_win32.h"
#include "audio/memory_playback_win32.h"

namespace pistavox {
namespace {

// Files play through MCI, in-memory clips through Media Foundation and waveOut.
struct WindowsAudio {
  MciPlayback mci;
  std::shared_ptr<MemoryPlayback> memory = MakeMemoryPlayback();
  bool from_memory = false;  // which of the two the current clip uses
};

}  // namespace

AudioBackEnd PlatformAudioBackEnd() {
  auto audio = std::make_shared<WindowsAudio>();
  AudioBackEnd back_end;
  back_end.start_file = [audio](const AudioClip& clip, std::string& error) {
    audio->from_memory = false;
    return StartMciPlayback(audio->mci, clip, error);
  };
  back_end.start_memory = [audio](const AudioClip& clip, std::string& error) {
    audio->from_memory = true;
    return StartMemoryPlayback(*audio->memory, clip, error);
  };
  back_end.still_playing = [audio] {
    return audio->from_memory ? MemoryStillPlaying(*audio->memory) : MciStillPlaying(audio->mci);
  };
  back_end.finish = [audio] {
    if (audio->from_memory) {
      FinishMemoryPlayback(*audio->memory);
    } else {
      FinishMciPlayback(audio->mci);
    }
  };
  back_end.stop_now = [] { CloseAllMciDevices(); };
  return back_end;
}

}  // namespace pistavox
