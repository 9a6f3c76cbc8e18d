#include "audio/audio_player.h"

#include <utility>

namespace pistavox {
namespace {

std::string IdentityOf(const AudioClip& clip) { return clip.identity.empty() ? clip.path.string() : clip.identity; }

bool HasBytes(const AudioClip& clip) { return clip.data && !clip.data->empty(); }

// Written so that no offset or size, however large, can wrap around.
bool RangeFitsBuffer(const AudioClip& clip) {
  const uint64_t length = clip.data->size();
  return clip.offset <= length && clip.size <= length - clip.offset;
}

// Called under the lock. Only a change of reason is news; a clip that plays ends the run.
constexpr size_t kMaxUnreportedFailures = 8;
void NoteOutcome(AudioPlayer& player, const std::string& error) {
  if (!error.empty() && error != player.failing) {
    if (player.unreported.size() >= kMaxUnreportedFailures) player.unreported.pop_front();
    player.unreported.push_back(error);
  }
  if (!error.empty()) player.last_error = error;
  player.failing = error;
}

bool StopOrInterruptRequested(AudioPlayer& player) {
  std::lock_guard lock(player.mutex);
  return player.stopping || player.interrupt_requested;
}

bool PlayItem(AudioPlayer& player, const AudioQueueItem& item, std::string& error) {
  bool started = false;
  if (!HasBytes(item.clip)) {
    started = player.back_end.start_file(item.clip, error);
  } else if (!RangeFitsBuffer(item.clip)) {
    error = "Audio memory range is invalid";
  } else {
    started = player.back_end.start_memory(item.clip, error);
  }
  if (!started) return false;
  while (!StopOrInterruptRequested(player) && player.back_end.still_playing()) {
    // Each poll waits in the back end, for one interval at most.
  }
  player.back_end.finish();
  return true;
}

void RunWorker(AudioPlayer& player) {
  bool resting = true;  // a back end starts with its device let go
  for (;;) {
    AudioQueueItem item;
    {
      std::unique_lock lock(player.mutex);
      // An interrupting caller's stop must land before the next clip starts, or it
      // would silence that clip instead of the one it meant.
      const auto due = [&] { return (player.stopping || !player.queue.empty()) && player.stops_in_flight == 0; };
      if (!resting && player.back_end.rest && !player.wakeup.wait_for(lock, player.back_end.rest_after, due)) {
        lock.unlock();
        player.back_end.rest();
        resting = true;
        continue;
      }
      player.wakeup.wait(lock, due);
      if (player.stopping && player.queue.empty()) return;
      item = std::move(player.queue.front());
      player.queue.pop_front();
      player.current_identity = item.identity;
      player.current_priority = item.priority;
      player.playing = true;
      player.interrupt_requested = false;
    }
    std::string error;
    const bool played = PlayItem(player, item, error);
    resting = false;
    std::lock_guard lock(player.mutex);
    NoteOutcome(player, played ? std::string() : error);
    player.playing = false;
    player.interrupt_requested = false;
    player.current_priority = -1;
    player.current_identity.clear();
  }
}

}  // namespace

AudioPlayer::AudioPlayer(AudioBackEnd back_end_in) : back_end(std::move(back_end_in)) {
  worker = std::thread([this] { RunWorker(*this); });
}

AudioPlayer::~AudioPlayer() {
  {
    std::lock_guard lock(mutex);
    stopping = true;
    queue.clear();
  }
  back_end.stop_now();
  wakeup.notify_all();
  if (worker.joinable()) worker.join();
}

bool Play(AudioPlayer& player, const AudioClip& clip, int32_t priority, std::string& error) {
  AudioQueueItem item{clip, IdentityOf(clip), priority};
  bool interrupt = false;
  {
    std::lock_guard lock(player.mutex);
    if (player.stopping) {
      error = "Audio player is stopping";
      NoteOutcome(player, error);
      return false;
    }
    if (!player.back_end.unavailable.empty()) {
      error = player.back_end.unavailable;
      NoteOutcome(player, error);
      return false;
    }
    if (player.playing && item.identity == player.current_identity) return true;
    if (!player.queue.empty() && item.identity == player.queue.back().identity) return true;
    interrupt = player.playing && priority >= player.current_priority;
    if (interrupt) {
      player.queue.clear();
      player.interrupt_requested = true;
      ++player.stops_in_flight;
    }
    if (player.queue.size() >= kMaxWaitingClips) player.queue.pop_front();
    if (interrupt) {
      player.queue.push_front(std::move(item));
    } else {
      player.queue.push_back(std::move(item));
    }
  }
  if (interrupt) {
    // Not under the lock: a sound system may need the worker to make progress to stop.
    player.back_end.stop_now();
    std::lock_guard lock(player.mutex);
    --player.stops_in_flight;
  }
  player.wakeup.notify_one();
  return true;
}

AudioPlayerStatus ReadAudioPlayerStatus(const AudioPlayer& player) {
  std::lock_guard lock(player.mutex);
  return {player.playing,    player.current_priority, player.current_identity, player.queue.size(),
          player.last_error, player.failing,          player.stops_in_flight};
}

std::vector<std::string> TakeNewAudioFailures(AudioPlayer& player) {
  std::lock_guard lock(player.mutex);
  std::vector<std::string> taken(player.unreported.begin(), player.unreported.end());
  player.unreported.clear();
  return taken;
}

void RearmAudioFailureReport(AudioPlayer& player) {
  std::lock_guard lock(player.mutex);
  player.failing.clear();
}

}  // namespace pistavox
