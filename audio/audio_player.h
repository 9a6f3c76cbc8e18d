#pragma once
#include <string>

#include "audio/voice_pack.h"

namespace pistavox {

// Plays callouts. For now every clip is accepted and nothing is heard; the
// queue, priorities and platform back ends come with real playback.
struct AudioPlayer {
  bool stopping = false;
};

// Queues a clip; false only when the player is stopping.
bool Play(AudioPlayer& player, const AudioClip& clip, int32_t priority, std::string& error);

}  // namespace pistavox
