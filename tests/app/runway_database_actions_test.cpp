#include "app/runway_database_actions.h"

#include <algorithm>

#include "app/file_picker.h"
#include "app/monitor.h"
#include "app/resources.h"
#include "base/durable_file.h"
#include "tests/app/app_fixture.h"

namespace pistavox::test {
namespace {

namespace fs = std::filesystem;

const std::string kTwoRunways = kOneRunwayCsv + "QQAA,5000,100,0,18,36,1.0,2.0,0.98,2.0\n";

struct RunwayDatabaseActionsTest : AppTest {
  std::string shipped;  // data/runways.csv as the fixture wrote it: 12 directions

  void SetUp() override {
    AppTest::SetUp();
    shipped = ReadTextFile(kRunwayDatabasePath);
  }
  fs::path Write(const std::string& name, const std::string& text) {
    WriteTextFile(name, text);
    return fs::absolute(name);
  }
  // Whatever an import left in data/ beside the two files it may write.
  static std::vector<std::string> DataFolder() {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator("data")) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
};

TEST_F(RunwayDatabaseActionsTest, CheckReportsDirectionsAndSizeWithoutTouchingTheLiveDatabase) {
  CheckRunwayDatabase(app);
  EXPECT_EQ(TakeLines(), (Lines{"Runway database OK: 12 directions, " + std::to_string(shipped.size()) + " bytes"}));
  EXPECT_TRUE(app.runway_data_ok);
  EXPECT_TRUE(app.runways->directions.empty());

  fs::remove(kRunwayDatabasePath);
  CheckRunwayDatabase(app);
  EXPECT_EQ(TakeLines(), (Lines{"Runway database check failed: Cannot open runway database: data/runways.csv"}));
  EXPECT_FALSE(app.runway_data_ok);
}

TEST_F(RunwayDatabaseActionsTest,
       AHeaderOnlyFileReplacesTheDatabaseAndStopsTheMonitorAndWithoutOneTheImportMakesNoBackup) {
  sim.state = LinedUpOnShortRunway();
  StartMonitor(app, false, now);
  ASSERT_EQ(app.monitor.phase, MonitorPhase::kRunning);
  TakeLines();
  ImportRunwayDatabaseFile(app, Write("header.csv", kRunwayCsvHeader));
  EXPECT_EQ(TakeLines(), (Lines{"Runway database imported: 0 directions", "Stopped",
                                "Monitor stopped after runway database import"}));
  EXPECT_EQ(app.monitor.phase, MonitorPhase::kStopped);
  EXPECT_EQ(ReadTextFile(kRunwayDatabasePath), kRunwayCsvHeader);
  EXPECT_EQ(ReadTextFile(kRunwayBackupPath), shipped);
  EXPECT_TRUE(app.runways->directions.empty());
  EXPECT_FALSE(app.resources_loaded);  // loaded again before the next start
  EXPECT_TRUE(app.runway_data_ok);
  EXPECT_EQ(DataFolder(), (std::vector<std::string>{"raas_rules.ini", "runways.backup.csv", "runways.csv"}));
  // Without a database the import creates data/ and makes no backup.
  fs::remove_all("data");
  LoadResources(app);
  ASSERT_FALSE(app.runway_data_ok);
  TakeLines();
  ImportRunwayDatabaseFile(app, Write("mine.csv", kTwoRunways));
  EXPECT_EQ(TakeLines(), (Lines{"Runway database imported: 4 directions"}));
  EXPECT_TRUE(app.runway_data_ok);
  EXPECT_EQ(ReadTextFile(kRunwayDatabasePath), kTwoRunways);
  EXPECT_FALSE(fs::exists(kRunwayBackupPath));
  ASSERT_EQ(app.runways->directions.size(), 4u);
  EXPECT_EQ(app.runways->directions[2].ident.view(), "18");
}

TEST_F(RunwayDatabaseActionsTest, ImportingTheBackupOrTheDatabaseItselfLosesNeither) {
  ImportRunwayDatabaseFile(app, Write("first.csv", kOneRunwayCsv));
  // The backup is read before it is refreshed: the two files change places.
  ImportRunwayDatabaseFile(app, fs::absolute(kRunwayBackupPath));
  EXPECT_EQ(ReadTextFile(kRunwayDatabasePath), shipped);
  EXPECT_EQ(ReadTextFile(kRunwayBackupPath), kOneRunwayCsv);
  EXPECT_EQ(app.runways->directions.size(), 12u);

  ImportRunwayDatabaseFile(app, kRunwayDatabasePath);
  EXPECT_EQ(ReadTextFile(kRunwayDatabasePath), shipped);
  EXPECT_EQ(ReadTextFile(kRunwayBackupPath), shipped);
}

TEST_F(RunwayDatabaseActionsTest, AnInvalidChoiceOrAFailedCopyChangesNothing) {
  app.resources_loaded = true;
  const fs::path empty = Write("empty.csv", "");
  ImportRunwayDatabaseFile(app, empty);
  EXPECT_EQ(TakeLines(), (Lines{"Imported runway CSV is invalid: Runway database is empty: " + PathText(empty)}));
  EXPECT_EQ(ReadTextFile(kRunwayDatabasePath), shipped);
  EXPECT_FALSE(fs::exists(kRunwayBackupPath));
  EXPECT_TRUE(app.resources_loaded);
  // A file still being written: its last row cut inside a coordinate would load a wrong position.
  const fs::path cut = Write("cut.csv", kTwoRunways.substr(0, kTwoRunways.size() - 3));
  ImportRunwayDatabaseFile(app, cut);
  EXPECT_EQ(TakeLines(), (Lines{"Imported runway CSV is invalid: the last line of " + PathText(cut) +
                                " has no line end; the file may still be being written"}));
  EXPECT_EQ(ReadTextFile(kRunwayDatabasePath), shipped);
  EXPECT_TRUE(app.runways->directions.empty());

  // A copy that fails leaves the old database byte for byte.
  const fs::path chosen = Write("mine.csv", kTwoRunways);
  ImportRunwayDatabaseFile(app, chosen, 10);
  EXPECT_EQ(TakeLines(), (Lines{std::string("Runway database import failed: ") + kSimulatedWriteFailure}));
  EXPECT_EQ(ReadTextFile(kRunwayDatabasePath), shipped);
  EXPECT_TRUE(app.runways->directions.empty());
  EXPECT_TRUE(app.resources_loaded);
  // No half-written copy is left behind.
  EXPECT_EQ(DataFolder(), (std::vector<std::string>{"raas_rules.ini", "runways.backup.csv", "runways.csv"}));

  // A folder where the backup belongs: the import stops before the database is touched.
  fs::remove(kRunwayBackupPath);
  fs::create_directories(fs::path(kRunwayBackupPath) / "in-the-way");
  ImportRunwayDatabaseFile(app, chosen);
  const Lines lines = TakeLines();
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_TRUE(lines[0].starts_with("Runway database import failed: cannot write data/runways.backup.csv: "))
      << lines[0];
  EXPECT_EQ(ReadTextFile(kRunwayDatabasePath), shipped);
  EXPECT_EQ(DataFolder(), (std::vector<std::string>{"raas_rules.ini", "runways.backup.csv", "runways.csv"}));

  // A database that cannot be read to back it up is never replaced without one.
  fs::remove_all(kRunwayBackupPath);
  fs::remove(kRunwayDatabasePath);
  fs::create_directories(fs::path(kRunwayDatabasePath) / "in-the-way");
  ImportRunwayDatabaseFile(app, chosen);
  EXPECT_EQ(TakeLines(), (Lines{"Runway database import failed: cannot read data/runways.csv to back it up: "
                                "not a regular file"}));
  EXPECT_EQ(DataFolder(), (std::vector<std::string>{"raas_rules.ini", "runways.csv"}));
}

TEST_F(RunwayDatabaseActionsTest, BesideAnInstalledCopyImportsGoToTheUsersDataFolderAndAreReadFromThere) {
  const fs::path installed = workdir.path / "share" / "pistavox";
  const fs::path user = workdir.path / "user-data";
  WriteTextFile(installed / kRunwayDatabasePath, shipped);
  fs::remove(kRunwayDatabasePath);
  app.resources = LocateResources(installed, user);

  ImportRunwayDatabaseFile(app, Write("one.csv", kOneRunwayCsv));
  ImportRunwayDatabaseFile(app, Write("two.csv", kTwoRunways));
  EXPECT_EQ(TakeLines(), (Lines{"Runway database imported: 2 directions", "Runway database imported: 4 directions"}));
  EXPECT_EQ(ReadTextFile(user / "runways.csv"), kTwoRunways);
  EXPECT_EQ(ReadTextFile(user / "runways.backup.csv"), kOneRunwayCsv);
  EXPECT_EQ(app.resources.runway_database, user / "runways.csv");
  CheckRunwayDatabase(app);
  EXPECT_EQ(TakeLines(), (Lines{"Runway database OK: 4 directions, " + std::to_string(kTwoRunways.size()) + " bytes"}));

  // Without a data folder the import is refused: the installed tree is never written.
  app.resources = LocateResources(installed, "");
  ImportRunwayDatabaseFile(app, Write("three.csv", kOneRunwayCsv));
  EXPECT_EQ(TakeLines(), (Lines{"Runway database import failed: no user data folder to keep it in"}));
  EXPECT_EQ(app.runways->directions.size(), 4u);
  EXPECT_EQ(ReadTextFile(installed / kRunwayDatabasePath), shipped);
  EXPECT_FALSE(fs::exists(installed / kRunwayBackupPath));
  EXPECT_FALSE(fs::exists(kRunwayDatabasePath));
  // A data folder that cannot be made: said, and nothing changes.
  WriteTextFile(workdir.path / "blocked", "a file where the folder would go\n");
  app.resources = LocateResources(installed, workdir.path / "blocked" / "data");
  ImportRunwayDatabaseFile(app, Write("four.csv", kOneRunwayCsv));
  const Lines refused = TakeLines();
  ASSERT_EQ(refused.size(), 1u);
  EXPECT_TRUE(refused[0].starts_with("Runway database import failed: cannot create ")) << refused[0];
  EXPECT_EQ(app.runways->directions.size(), 4u);
}

TEST_F(RunwayDatabaseActionsTest, TheFallbackDialogListsCsvFilesHereThenInData) {
  // Enough names that the folder's own order is unlikely to be the sorted one.
  for (const char* name : {"e.csv", "b.csv", "D.CSV", "a.csv", "c.csv", "notes.txt", "data/extra.csv"}) Write(name, "");
  fs::create_directories("folder.csv");
  EXPECT_EQ(ListCsvFiles(), (std::vector<fs::path>{"D.CSV", "a.csv", "b.csv", "c.csv", "e.csv",
                                                   fs::path("data") / "extra.csv", fs::path("data") / "runways.csv"}));
}

}  // namespace
}  // namespace pistavox::test
