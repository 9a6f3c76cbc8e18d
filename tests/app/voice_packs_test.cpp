#include "app/voice_packs.h"

#include <filesystem>

#include "app/resources.h"
#include "app/startup.h"
#include "tests/app/app_fixture.h"

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

}  // namespace
}  // namespace pistavox::test
