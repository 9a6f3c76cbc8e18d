// Voice packs found, selected and loaded, and callouts played from them.
#include "app/voice_packs.h"

#include <chrono>
#include <filesystem>
#include <memory>
#include <thread>

#include "app/resources.h"
#include "app/startup.h"
#include "tests/app/app_fixture.h"
#include "tests/support/fake_audio_back_end.h"

namespace pistavox::test {
namespace {

// A pilot with only the default pack beside the program still gets a voice.
TEST_F(AppTest, TheDefaultPackBesideTheProgramCountsAsInstalledAndStaysSelectable) {
  std::filesystem::remove_all("bin");
  WriteTextFile("RAAS_EDGE_TTS_HUMAN/manifest.csv", "h\n1,raas_available,x,en,a.wav\n");
  LoadResources(app);
  EXPECT_TRUE(app.resources_loaded);
  EXPECT_TRUE(app.voice_pack_ok);
  EXPECT_EQ(WithPrefix(TakeLines(), "Loaded voice pack: "), (Lines{"Loaded voice pack: RAAS_EDGE_TTS_HUMAN"}));
  EXPECT_TRUE(FindClip(app.voice_pack, "raas_available").has_value());

  // Refresh and the pack list find it too, so it stays selected and its name is saved.
  app.voice_packs.clear();
  EXPECT_EQ(ListVoicePackNames(app), (std::vector<std::string>{"RAAS_EDGE_TTS_HUMAN"}));
  EXPECT_TRUE(SelectVoicePack(app));
  EXPECT_EQ(SelectedVoicePackName(app), "RAAS_EDGE_TTS_HUMAN");

  // A replay without voices needs no pack at all.
  std::filesystem::remove_all("RAAS_EDGE_TTS_HUMAN");
  app.voice_source = VoiceSource::kSilent;
  EXPECT_TRUE(VoicePackAvailable(app));
}

// Start-up takes the first pack when the index is out of range. A broken pack is loaded
// once, not on every frame, and says why; selecting (or Refresh) tries again.
TEST_F(AppTest, APackIsLoadedOncePerSelectionAndAFailedOneSaysWhy) {
  std::filesystem::remove_all("bin");
  WriteTextFile("bin/broken/manifest.csv", "");
  app.settings.voice_pack = 1;  // one past the end of the list
  for (int frame = 0; frame < 3; ++frame, Advance(5.0))
    RunFrameResourceSteps(app, now);  // past the log's repeat window
  EXPECT_EQ(app.settings.voice_pack, 0);
  const std::string error =
      "Audio manifest is empty: " + (std::filesystem::path("bin") / "broken" / "manifest.csv").string();
  EXPECT_EQ(WithPrefix(TakeLines(), "Audio manifest"), (Lines{error}));
  EXPECT_EQ(app.status_message, error);
  EXPECT_FALSE(app.voice_pack_ok);
  EXPECT_FALSE(app.resources_loaded);

  WriteTextFile("bin/broken/manifest.csv", "h\n1,raas_test_ok,x,en,ok.wav\n");
  EXPECT_TRUE(SelectVoicePack(app));
  EXPECT_EQ(TakeLines(), (Lines{"Voice pack selected: broken"}));
  EXPECT_TRUE(FindClip(app.voice_pack, "raas_test_ok").has_value());
  RunFrameResourceSteps(app, now);
  EXPECT_TRUE(app.resources_loaded && app.voice_pack_ok);

  app.voice_packs.clear();  // as the settings page's Refresh does
  std::filesystem::remove_all("bin");
  TakeLines();
  EXPECT_FALSE(SelectVoicePack(app));
  EXPECT_EQ(TakeLines(), (Lines{"No voice packs found in bin"}));
}

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
  void WaitUntilIdle() {
    while (Queued()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
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

// Clips that fail alike (a cleared extraction folder) are logged once and shown until one
// plays; a deliberate test asks again.
TEST_F(PlayCalloutTest, AFailingRunIsLoggedOnceAndShownUntilAClipPlays) {
  app.voice_pack.clips["brake"] = app.voice_pack.clips["raas_available"];
  app.voice_pack.clips["brake"].identity = "brake";
  fake->failing = {"bin/test/raas_available.wav"};
  // Far apart, so the log's own repeat window drops nothing.
  const auto play_until_idle = [&](const char* key) {
    app.log.now_ns += 10'000'000'000;
    PlayCallout(app, key, 5);
    WaitUntilIdle();
    BeginFrame(app, app.log.now_ns);
  };
  for (const char* key : {"raas_available", "brake", "raas_available"}) play_until_idle(key);
  EXPECT_EQ(lines, std::vector<std::string>{"Audio failed: no device"});
  EXPECT_EQ(AudioFailure(app), "no device");
  RearmAudioFailureReport(app.audio);
  play_until_idle("brake");
  EXPECT_EQ(lines.size(), 2u);

  fake->failing.clear();
  PlayCallout(app, "raas_available", 5);
  ASSERT_TRUE(fake->WaitFor([&] { return !fake->sounding.empty(); }));
  fake->EndCurrent();
  WaitUntilIdle();
  EXPECT_EQ(AudioFailure(app), "");
}

// Without a sound device the flight goes on; the first callout says why it was not heard.
TEST(PlayCallout, WithoutASoundDeviceTheFirstCalloutSaysWhy) {
  AudioBackEnd back_end = SilentAudioBackEnd();
  back_end.unavailable = "Audio device unavailable: no card";
  App app{back_end};
  std::vector<std::string> lines;
  app.log.on_accept = [&](const std::string& line) { lines.push_back(line); };
  app.voice_pack.clips["brake"].path = "brake.wav";
  PlayCallout(app, "brake", 5);
  app.log.now_ns += 10'000'000'000;  // past the log's own repeat window
  PlayCallout(app, "brake", 5);
  app.settings.muted = true;
  PlayCallout(app, "brake", 5);
  EXPECT_EQ(lines, std::vector<std::string>{"Audio failed: Audio device unavailable: no card"});
  EXPECT_EQ(AudioFailure(app), "Audio device unavailable: no card");

  // Silence chosen rather than lacked (a replay) takes a packed clip as quietly as a file.
  App quiet;
  quiet.voice_pack.clips["brake"] = {.data = std::make_shared<const std::vector<uint8_t>>(4), .size = 4};
  PlayCallout(quiet, "brake", 5);
  for (AudioPlayerStatus status; status = ReadAudioPlayerStatus(quiet.audio), status.playing || status.waiting > 0;)
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  EXPECT_EQ(AudioFailure(quiet), "");
}

}  // namespace
}  // namespace pistavox::test
