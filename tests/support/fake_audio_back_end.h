#pragma once
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "audio/audio_back_end.h"

namespace pistavox::test {

// A sound system the test drives: a clip sounds until the test ends it or a stop
// silences it, and every call is recorded as an event such as "start a.wav",
// "halt a.wav" (silenced while sounding) or "finish a.wav".
struct FakeAudio {
  std::mutex mutex;
  std::condition_variable changed;
  std::vector<std::string> events;
  std::set<std::string> failing;  // clips (by path) whose start fails with "no device"
  std::string sounding;           // the clip that plays now, "" when silent
  std::string started;            // the clip between start and finish
  int starts = 0;
  std::vector<std::string> from_memory;  // clips started from their bytes
  // Runs inside stop_now, before it silences anything.
  std::function<void()> on_stop;

  // Ends the clip that sounds now as if it had run out.
  void EndCurrent();
  // Waits until `done` holds (checked under the lock), at most `limit`.
  bool WaitFor(const std::function<bool()>& done, std::chrono::milliseconds limit = std::chrono::seconds(5));
  bool WaitForStart(const std::string& clip);
  std::vector<std::string> Events();
};

AudioBackEnd FakeAudioBackEnd(const std::shared_ptr<FakeAudio>& fake);

}  // namespace pistavox::test
