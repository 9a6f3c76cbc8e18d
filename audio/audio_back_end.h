#pragma once
#include <chrono>
#include <functional>
#include <string>

#include "audio/voice_pack.h"

namespace pistavox {

// What the player needs from the sound system. The queue, priorities, interruption
// and duplicate rules live in the player; a back end only plays one clip at a time.
// Every member but stop_now runs on the player's worker thread.
struct AudioBackEnd {
  // Why the sound device could not be opened; empty when it is there. The player then
  // refuses every clip with this reason, so each callout says why it was not heard.
  std::string unavailable;
  // Begin playing a clip from its file, or from its in-memory bytes (the player has
  // checked the range). False with a message: nothing is playing and finish is not called.
  std::function<bool(const AudioClip& clip, std::string& error)> start_file;
  std::function<bool(const AudioClip& clip, std::string& error)> start_memory;
  // Whether the clip still plays; may block for up to one poll interval, so the
  // player can look at its stop and interrupt flags between calls.
  std::function<bool()> still_playing;
  // Ends the clip a successful start began, whether it ran out or was cut off.
  std::function<void()> finish;
  // Silences everything at once; any thread may call it.
  std::function<void()> stop_now;
  // Lets the device go once nothing has played for rest_after (an open device costs processor
  // time even in silence); the next start takes it again. Optional.
  std::function<void()> rest;
  std::chrono::milliseconds rest_after{0};
};

// Plays nothing, reports success and never plays on: for the replay and the tests.
AudioBackEnd SilentAudioBackEnd();
// The platform's sound system (SDL2_mixer on Linux, MCI and waveOut on Windows).
AudioBackEnd PlatformAudioBackEnd();

}  // namespace pistavox
