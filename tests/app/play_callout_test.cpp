#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/app.h"
#include "tests/support/fake_audio_back_end.h"

namespace pistavox {
namespace {

struct PlayCalloutTest : ::testing::Test {
  std::shared_ptr<test::FakeAudio> fake = std::make_shared<test::FakeAudio>();
  App app{test::FakeAudioBackEnd(fake)};
  std::vector<std::string> lines;

  void SetUp() override {
    app.log.on_accept = [this](const std::string& line) { lines.push_back(line); };
    AudioClip clip;
    clip.path = "bin/test/raas_available.wav";
    clip.identity = clip.path.string();
    app.voice_pack.clips["raas_available"] = clip;
  }
  bool Queued() {
    const AudioPlayerStatus status = ReadAudioPlayerStatus(app.audio);
    return status.playing || status.waiting > 0;
  }
};

TEST_F(PlayCalloutTest, MutingSilencesKnownKeysButStillReportsMissingOnes) {
  app.settings.muted = true;
  PlayCallout(app, "raas_available", 5);
  PlayCallout(app, "Raas_Available", 5);
  EXPECT_FALSE(Queued());
  EXPECT_EQ(lines, std::vector<std::string>{"Missing audio: Raas_Available"});

  app.settings.muted = false;
  lines.clear();
  PlayCallout(app, "raas_available", 5);
  EXPECT_TRUE(fake->WaitForStart("bin/test/raas_available.wav"));
  EXPECT_TRUE(lines.empty());
}

// Without a sound device the flight goes on; each callout says why it was not heard.
TEST(PlayCallout, WithoutASoundDeviceEachCalloutSaysWhy) {
  AudioBackEnd back_end = SilentAudioBackEnd();
  back_end.unavailable = "Audio device unavailable: no card";
  App app{back_end};
  std::vector<std::string> lines;
  app.log.on_accept = [&](const std::string& line) { lines.push_back(line); };
  app.voice_pack.clips["brake"].path = "brake.wav";
  PlayCallout(app, "brake", 5);
  app.settings.muted = true;
  PlayCallout(app, "brake", 5);
  EXPECT_EQ(lines, std::vector<std::string>{"Audio failed: Audio device unavailable: no card"});
}

}  // namespace
}  // namespace pistavox
