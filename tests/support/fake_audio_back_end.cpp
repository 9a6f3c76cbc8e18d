#include "tests/support/fake_audio_back_end.h"

#include <algorithm>

namespace pistavox::test {

void FakeAudio::EndCurrent() {
  std::lock_guard lock(mutex);
  sounding.clear();
  changed.notify_all();
}

bool FakeAudio::WaitFor(const std::function<bool()>& done, std::chrono::milliseconds limit) {
  std::unique_lock lock(mutex);
  return changed.wait_for(lock, limit, done);
}

bool FakeAudio::WaitForStart(const std::string& clip) {
  return WaitFor([&] { return std::find(events.begin(), events.end(), "start " + clip) != events.end(); });
}

std::vector<std::string> FakeAudio::Events() {
  std::lock_guard lock(mutex);
  return events;
}

AudioBackEnd FakeAudioBackEnd(const std::shared_ptr<FakeAudio>& fake) {
  auto start = [fake](const AudioClip& clip, bool from_memory, std::string& error) {
    std::lock_guard lock(fake->mutex);
    const std::string name = clip.path.string();
    if (from_memory) fake->from_memory.push_back(name);
    fake->events.push_back("start " + name);
    ++fake->starts;
    fake->changed.notify_all();
    if (fake->failing.contains(name)) {
      error = "no device";
      return false;
    }
    fake->sounding = fake->started = name;
    return true;
  };
  AudioBackEnd back_end;
  back_end.start_file = [start](const AudioClip& clip, std::string& error) { return start(clip, false, error); };
  back_end.start_memory = [start](const AudioClip& clip, std::string& error) { return start(clip, true, error); };
  back_end.still_playing = [fake] {
    std::unique_lock lock(fake->mutex);
    // Like a real poll: a short wait, cut short when the sound ends.
    fake->changed.wait_for(lock, std::chrono::milliseconds(2), [&] { return fake->sounding.empty(); });
    return !fake->sounding.empty();
  };
  back_end.finish = [fake] {
    std::lock_guard lock(fake->mutex);
    fake->events.push_back("finish " + fake->started);
    fake->sounding.clear();
    fake->started.clear();
    fake->changed.notify_all();
  };
  back_end.stop_now = [fake] {
    if (fake->on_stop) fake->on_stop();
    std::lock_guard lock(fake->mutex);
    if (!fake->sounding.empty()) fake->events.push_back("halt " + fake->sounding);
    fake->sounding.clear();
    fake->changed.notify_all();
  };
  return back_end;
}

}  // namespace pistavox::test
