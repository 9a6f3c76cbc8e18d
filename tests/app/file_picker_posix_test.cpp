#include <sys/stat.h>

#include <algorithm>

#include "app/file_picker.h"
#include "app/runway_database_actions.h"
#include "tests/app/app_fixture.h"
#include "tests/support/environment.h"
#include "tests/support/program_runner.h"

namespace pistavox::test {
namespace {

namespace fs = std::filesystem;

// Desktop pickers stood in for by scripts on a PATH of their own: each records its
// arguments one per line, prints $PICKED and exits with $PICKER_EXIT.
struct FilePickerTest : AppTest {
  ScopedEnvironment path{"PATH", (workdir.path / "pickers").string()};
  ScopedEnvironment display{"DISPLAY", ":99"};
  ScopedEnvironment wayland{"WAYLAND_DISPLAY", std::nullopt};
  ScopedEnvironment picked{"PICKED", std::nullopt};
  ScopedEnvironment exit_code{"PICKER_EXIT", std::nullopt};

  void InstallPicker(const std::string& name) {
    const fs::path script = workdir.path / "pickers" / name;
    WriteTextFile(script, "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"" + name +
                              ".args\"\nprintf '%s\\n' \"$PICKED\"\n"
                              "exit \"${PICKER_EXIT:-0}\"\n");
    ::chmod(script.c_str(), 0755);
  }
  static Lines Arguments(const std::string& name) { return SplitLines(ReadTextFile(name + ".args")); }
};

TEST_F(FilePickerTest, ZenityIsPreferredKdialogServesOtherwiseAndTheChoiceArrivesWhole) {
  InstallPicker("kdialog");
  InstallPicker("zenity");
  SetEnvironment("PICKED", "/tmp/a folder/my runways.csv");
  const FilePick pick = PickCsvFile("Import runway database CSV");
  EXPECT_EQ(pick.status, FilePickStatus::kChosen);
  EXPECT_EQ(pick.path, fs::path("/tmp/a folder/my runways.csv"));
  const Lines args = Arguments("zenity");
  ASSERT_FALSE(args.empty());
  EXPECT_EQ(args[0], "--file-selection");
  EXPECT_NE(std::find(args.begin(), args.end(), "--title=Import runway database CSV"), args.end());
  EXPECT_FALSE(fs::exists("kdialog.args"));

  // kdialog when zenity is absent.
  fs::remove(workdir.path / "pickers" / "zenity");
  EXPECT_EQ(PickCsvFile("Title").path, fs::path("/tmp/a folder/my runways.csv"));
  EXPECT_EQ(Arguments("kdialog")[1], "Title");
}

TEST_F(FilePickerTest, CancelFailureAndNoPickerAreToldApart) {
  InstallPicker("zenity");
  SetEnvironment("PICKER_EXIT", "1");
  EXPECT_EQ(PickCsvFile("t").status, FilePickStatus::kCancelled);
  SetEnvironment("PICKER_EXIT", "5");
  const FilePick failed = PickCsvFile("t");
  EXPECT_EQ(failed.status, FilePickStatus::kFailed);
  EXPECT_EQ(failed.error, "zenity failed with exit status 5");
  // Closed with nothing chosen.
  SetEnvironment("PICKER_EXIT", "0");
  EXPECT_EQ(PickCsvFile("t").status, FilePickStatus::kCancelled);

  SetEnvironment("DISPLAY", std::nullopt);
  EXPECT_EQ(PickCsvFile("t").status, FilePickStatus::kUnavailable);
  SetEnvironment("DISPLAY", ":99");
  fs::remove_all(workdir.path / "pickers");
  EXPECT_EQ(PickCsvFile("t").status, FilePickStatus::kUnavailable);
}

TEST_F(FilePickerTest, TheImportButtonImportsThePickedFileOrHandsOverWithoutAPicker) {
  EXPECT_EQ(ImportRunwayDatabase(app), RunwayImportPick::kNoPicker);
  EXPECT_TRUE(TakeLines().empty());

  InstallPicker("zenity");
  WriteTextFile("picked.csv", ReadTextFile(kRunwayDatabasePath));
  SetEnvironment("PICKED", fs::absolute("picked.csv").string());
  EXPECT_EQ(ImportRunwayDatabase(app), RunwayImportPick::kHandled);
  SetEnvironment("PICKER_EXIT", "1");
  EXPECT_EQ(ImportRunwayDatabase(app), RunwayImportPick::kHandled);
  SetEnvironment("PICKER_EXIT", "3");
  EXPECT_EQ(ImportRunwayDatabase(app), RunwayImportPick::kHandled);
  EXPECT_EQ(TakeLines(), (Lines{"Runway database imported: 12 directions",
                                "Runway database import failed: zenity failed with exit status 3"}));
}

}  // namespace
}  // namespace pistavox::test
