#pragma once
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "audio/audio_back_end.h"
#include "audio/voice_pack.h"

namespace pistavox {

// The audio player: a queue of callouts by priority, spoken one at a time on a worker thread.
struct AudioQueueItem {
  AudioClip clip;  // holds the shared bytes for as long as the item lives
  std::string identity;
  int32_t priority = 0;
};

// Speaks callouts on a worker thread of its own, one at a time, so callers never
// wait for sound. The worker starts with the player and is joined when it is destroyed.
struct AudioPlayer {
  explicit AudioPlayer(AudioBackEnd back_end);
  ~AudioPlayer();
  AudioPlayer(const AudioPlayer&) = delete;
  AudioPlayer& operator=(const AudioPlayer&) = delete;

  AudioBackEnd back_end;
  mutable std::mutex mutex;  // guards every field below but the worker
  std::condition_variable wakeup;
  std::deque<AudioQueueItem> queue;  // front plays next; never more than kMaxWaitingClips
  bool stopping = false;
  bool playing = false;
  bool interrupt_requested = false;
  int32_t current_priority = -1;
  std::string current_identity;
  std::string last_error;
  // Why clips fail now, "" once one plays; a cleared folder fails every clip alike.
  std::string failing;
  std::deque<std::string> unreported;  // each run of failures' reason, until taken for the log
  int stops_in_flight = 0;             // interrupting callers still sending their stop
  std::thread worker;
};

// A burst of callouts keeps only the newest few, so speech never falls far behind.
inline constexpr size_t kMaxWaitingClips = 3;

// Queues a clip. The same sound as the one playing or the last one waiting is dropped;
// an equal or higher priority than the one playing cuts it off and discards the queue.
// False when the player is stopping or there is no sound device, a failure like any other.
bool Play(AudioPlayer& player, const AudioClip& clip, int32_t priority, std::string& error);

// A consistent copy of what the player is doing, for display and tests.
struct AudioPlayerStatus {
  bool playing = false;
  int32_t current_priority = -1;
  std::string current_identity;
  size_t waiting = 0;
  std::string last_error;
  std::string failing;
  int stops_in_flight = 0;  // interrupting callers still sending their stop
};
AudioPlayerStatus ReadAudioPlayerStatus(const AudioPlayer& player);

// The reasons of failures not yet taken, oldest first: one for each run of clips that
// fail alike, so a pilot hears of a cleared folder once, not at every callout.
std::vector<std::string> TakeNewAudioFailures(AudioPlayer& player);
// The next failure is reported even if it is the one already known: a deliberate test
// of the sound deserves an answer.
void RearmAudioFailureReport(AudioPlayer& player);

}  // namespace pistavox
