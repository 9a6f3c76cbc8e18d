#include "audio/audio_player.h"

namespace pistavox {

bool Play(AudioPlayer& player, const AudioClip&, int32_t, std::string& error) {
  if (player.stopping) {
    error = "Audio player is stopping";
    return false;
  }
  return true;
}

}  // namespace pistavox
