// The Linux installation as a user gets it: cmake --install into a prefix, then the
// installed program started from a folder that holds none of its files.
#include <chrono>
#include <filesystem>
#include <map>
#include <thread>

#include "tests/support/environment.h"
#include "tests/support/program_runner.h"
#include "tests/support/square_wave_clips.h"

namespace pistavox::test {
namespace {

namespace fs = std::filesystem;

// Every file under `folder` with its size: what a run could have changed.
std::map<fs::path, std::uintmax_t> Contents(const fs::path& folder) {
  std::map<fs::path, std::uintmax_t> files;
  for (const auto& entry : fs::recursive_directory_iterator(folder))
    files[entry.path()] = entry.is_regular_file() ? entry.file_size() : 0;
  return files;
}

struct InstallTest : ::testing::Test {
  ScopedWorkdir workdir{"install"};
  fs::path prefix = workdir.path / "prefix";
  fs::path user_data = workdir.path / "user-data";
  ScopedEnvironment config_dir{"PISTAVOX_CONFIG_DIR", (workdir.path / "config").string()};
  ScopedEnvironment data_dir{"PISTAVOX_DATA_DIR", user_data.string()};
  ScopedEnvironment silent_audio{"SDL_AUDIODRIVER", "dummy"};
};

TEST_F(InstallTest, TheInstalledProgramFindsItsFilesFromAnyFolder) {
  const ProgramRun install = RunProgram({PISTAVOX_CMAKE, "--install", PISTAVOX_BUILD_DIR, "--prefix", prefix.string()});
  ASSERT_EQ(install.exit_code, 0) << install.out << install.err;
  // A plain pack as make-voice-pack makes them, placed where PISTAVOX_VOICE_PACKS installs.
  const fs::path pack = prefix / "share/pistavox/bin/Tiny";
  WriteTextFile(pack / "manifest.csv", "id,key,text,lang,file\n1,raas_test_ok,OK,en,ok.wav\n");
  SquareWaveFile(pack / "ok.wav", 0.1, 1000);
  const auto installed = Contents(prefix);

  const ProgramRun help = RunProgram({(prefix / "bin" / "pistavox").string(), "--help"});
  EXPECT_NE(help.out.find("\nInstalled folder: " + (prefix / "share/pistavox").string() + "\n"), std::string::npos)
      << help.out;
  EXPECT_NE(help.out.find("\nYour data folder: " + user_data.string() + "\n"), std::string::npos) << help.out;

  // Started headless in an empty folder, it loads the installed files within a minute.
  fs::create_directories("elsewhere");
  fs::current_path("elsewhere");
  ChildProcess child;
  std::string error;
  ASSERT_TRUE(StartChild({(prefix / "bin" / "pistavox").string(), "--headless"}, child, error, "out.txt")) << error;
  const std::string loaded = "Loaded runway directions: 12\nLoaded voice pack: Tiny\n";
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (ReadTextFile("out.txt").find(loaded) == std::string::npos && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  StopChild(child);
  EXPECT_NE(ReadTextFile("out.txt").find(loaded), std::string::npos) << ReadTextFile("out.txt");
  fs::current_path(workdir.path);

  EXPECT_EQ(Contents(prefix), installed);
}

}  // namespace
}  // namespace pistavox::test
