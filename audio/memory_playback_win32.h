#pragma once
#include <memory>
#include <string>

#include "audio/voice_pack.h"

namespace pistavox {

// Decodes in-memory clips to PCM with Media Foundation and plays them through waveOut,
// one block at a time.
struct MemoryPlayback;

std::shared_ptr<MemoryPlayback> MakeMemoryPlayback();
// The clip's range lies inside its buffer (the player checked it).
bool StartMemoryPlayback(MemoryPlayback& playback, const AudioClip& clip, std::string& error);
// Plays the next block to its end; false once the clip has run out or cannot be read.
bool MemoryStillPlaying(MemoryPlayback& playback);
void FinishMemoryPlayback(MemoryPlayback& playback);

}  // namespace pistavox
