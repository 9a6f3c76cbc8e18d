#pragma once
#include <cstdint>
#include <string>

#include "audio/voice_pack.h"

namespace pistavox {

// Plays clips from their files through MCI string commands, one device per clip.
struct MciPlayback {
  uint32_t alias_counter = 0;  // every clip opens under an alias of its own
  std::wstring alias;          // the open device, empty when none
};

bool StartMciPlayback(MciPlayback& playback, const AudioClip& clip, std::string& error);
// Asks the device for its mode; while it plays, waits one poll interval and says so.
bool MciStillPlaying(MciPlayback& playback);
void FinishMciPlayback(MciPlayback& playback);
// Closes every device this process opened, from any thread.
void CloseAllMciDevices();

}  // namespace pistavox
