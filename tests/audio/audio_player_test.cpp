#include "audio/audio_player.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "tests/support/fake_audio_back_end.h"

namespace pistavox {
namespace {

using Events = std::vector<std::string>;
using std::chrono::milliseconds;

AudioClip FileClip(const std::string& path) {
  return {.path = path, .data = nullptr, .extension = ".wav", .identity = path};
}

AudioClip MemoryClip(const std::string& name, size_t length, uint64_t offset, uint64_t size) {
  const auto data = std::make_shared<const std::vector<uint8_t>>(length, uint8_t{7});
  return {.path = name, .data = data, .offset = offset, .size = size, .extension = ".wav", .identity = name};
}

struct AudioPlayerTest : ::testing::Test {
  std::shared_ptr<test::FakeAudio> fake = std::make_shared<test::FakeAudio>();
  std::optional<AudioPlayer> player{std::in_place, test::FakeAudioBackEnd(fake)};

  void Queue(const AudioClip& clip, int32_t priority) {
    std::string error;
    ASSERT_TRUE(Play(*player, clip, priority, error)) << error;
  }
  void Queue(const std::string& path, int32_t priority) { Queue(FileClip(path), priority); }
  // Lets every clip run out in turn until the player is idle with nothing waiting.
  void PlayToEnd() {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    for (;;) {
      const AudioPlayerStatus status = ReadAudioPlayerStatus(*player);
      if (!status.playing && status.waiting == 0) return;
      ASSERT_LT(std::chrono::steady_clock::now(), deadline) << "the player never fell idle";
      fake->EndCurrent();
      // Until the next clip sounds, or briefly when none will.
      fake->WaitFor([&] { return !fake->sounding.empty(); }, milliseconds(5));
    }
  }
  // The clips started, in order.
  Events Started() {
    Events started;
    for (const std::string& event : fake->Events())
      if (event.starts_with("start ")) started.push_back(event.substr(6));
    return started;
  }
  std::string LastErrorOnceIdle() {
    PlayToEnd();
    return ReadAudioPlayerStatus(*player).last_error;
  }
};

TEST_F(AudioPlayerTest, LowerPrioritiesWaitThreeAtMostWithoutRepeatingTheSoundBefore) {
  Queue("a.wav", 5);
  ASSERT_TRUE(fake->WaitForStart("a.wav"));
  Queue("a.wav", 9);  // would interrupt if it were not the same sound
  Queue("b.wav", 4);
  Queue("b.wav", 4);
  Queue("c.wav", 4);
  Queue("b.wav", 4);  // not the last one waiting: queued again
  const AudioPlayerStatus status = ReadAudioPlayerStatus(*player);
  EXPECT_EQ(std::tie(status.waiting, status.current_priority), std::tuple(3u, 5));
  // A clip without an identity is known by its path.
  AudioClip unnamed = FileClip("b.wav");
  unnamed.identity.clear();
  Queue(unnamed, 1);
  Queue("d.wav", 1);  // pushes out the oldest waiting
  PlayToEnd();
  EXPECT_EQ(Started(), (Events{"a.wav", "c.wav", "b.wav", "d.wav"}));
  EXPECT_EQ(fake->Events().size(), 8u) << "nothing was halted";
}

TEST_F(AudioPlayerTest, EqualOrHigherPriorityCutsOffThePlayingClipNeverTheNewOneAndDiscardsTheQueue) {
  for (int32_t priority : {5, 6}) {
    SCOPED_TRACE(priority);
    fake->events.clear();
    Queue("a.wav", 5);
    ASSERT_TRUE(fake->WaitForStart("a.wav"));
    Queue("b.wav", 1);
    Queue("c.wav", 1);
    // A slow stop gives the worker every chance to start the new clip before the
    // stop lands; it must not, or the stop would silence the new clip instead.
    fake->on_stop = [this, starts = fake->starts] {
      fake->WaitFor([&] { return fake->starts > starts; }, milliseconds(200));
    };
    Queue("urgent.wav", priority);
    ASSERT_TRUE(fake->WaitForStart("urgent.wav"));
    fake->on_stop = nullptr;
    PlayToEnd();
    const Events events = fake->Events();
    EXPECT_EQ(Started(), (Events{"a.wav", "urgent.wav"}));
    EXPECT_EQ(std::count(events.begin(), events.end(), "halt urgent.wav"), 0);
    EXPECT_EQ(events.back(), "finish urgent.wav");
  }
}

// A clip that cannot start, on the device or for its memory range, ends only itself.
TEST_F(AudioPlayerTest, AFailedClipEndsOnlyItselfAndLeavesItsMessage) {
  fake->failing = {"bad.wav"};
  Queue("a.wav", 5);
  ASSERT_TRUE(fake->WaitForStart("a.wav"));
  Queue("bad.wav", 1);
  Queue("good.wav", 1);
  EXPECT_EQ(LastErrorOnceIdle(), "no device");
  EXPECT_EQ(ReadAudioPlayerStatus(*player).failing, "") << "a clip that plays ends the run";
  // A run of clips failing alike is news once; so is the same failure after a success or a re-arm.
  fake->failing.insert("bad2.wav");
  Queue("bad.wav", 1);
  Queue("bad2.wav", 1);
  EXPECT_EQ(LastErrorOnceIdle(), "no device");
  RearmAudioFailureReport(*player);
  Queue("bad.wav", 1);
  EXPECT_EQ(LastErrorOnceIdle(), "no device");
  EXPECT_EQ(TakeNewAudioFailures(*player), (Events{"no device", "no device", "no device"}));
  EXPECT_EQ(ReadAudioPlayerStatus(*player).failing, "no device");
  Queue("c.wav", 5);
  ASSERT_TRUE(fake->WaitForStart("c.wav"));
  Queue(MemoryClip("past_end", 10, 8, 3), 1);
  Queue(MemoryClip("whole", 10, 0, 10), 1);
  EXPECT_EQ(LastErrorOnceIdle(), "Audio memory range is invalid");
  Queue(MemoryClip("wrapping", 10, UINT64_MAX, 2), 1);
  Queue(MemoryClip("tail", 10, 10, 0), 1);
  // Equal priority cuts off: the next clip must wait until this one has sounded.
  ASSERT_TRUE(fake->WaitForStart("tail"));
  // An empty buffer is no in-memory clip: the file is played.
  Queue(MemoryClip("from_file", 0, 0, 0), 1);
  PlayToEnd();
  EXPECT_EQ(Started(), (Events{"a.wav", "bad.wav", "good.wav", "bad.wav", "bad2.wav", "bad.wav", "c.wav", "whole",
                               "tail", "from_file"}));
  EXPECT_EQ(fake->from_memory, (Events{"whole", "tail"}));
  EXPECT_EQ(fake->Events().back(), "finish from_file");
  EXPECT_EQ(TakeNewAudioFailures(*player), (Events(2, "Audio memory range is invalid")));
  // With nobody taking them, the oldest failures make way for the newest.
  for (int run = 0; run < 10; ++run) {
    Queue("bad.wav", 1);
    Queue("good.wav", 1);
    LastErrorOnceIdle();
  }
  EXPECT_EQ(TakeNewAudioFailures(*player).size(), 8u);
}

TEST_F(AudioPlayerTest, DestroyingThePlayerStopsTheClipPromptlyAndRefusesNewOnes) {
  Queue("endless.wav", 5);
  Queue("waiting.wav", 1);
  ASSERT_TRUE(fake->WaitForStart("endless.wav"));
  std::string late_error;
  bool late_result = true;
  AudioPlayer* stopping_player = &*player;
  fake->on_stop = [&] { late_result = Play(*stopping_player, FileClip("late.wav"), 9, late_error); };
  const auto before = std::chrono::steady_clock::now();
  player.reset();
  EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(1));
  EXPECT_FALSE(late_result);
  EXPECT_EQ(late_error, "Audio player is stopping");
  // The worker may finish the clip before the stop reaches the sound system: no halt then.
  EXPECT_EQ(Started(), Events{"endless.wav"});
  EXPECT_EQ(fake->Events().back(), "finish endless.wav");
}

}  // namespace
}  // namespace pistavox
