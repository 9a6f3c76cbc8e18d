#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "config/aircraft_profile_choice.h"
#include "config/aircraft_profiles_file.h"
#include "config/aircraft_profiles_text.h"
#include "config/setting_values.h"
#include "tests/support/scoped_workdir.h"
#include "tests/support/test_paths.h"

namespace pistavox {
namespace {

std::vector<std::string> Names(const std::vector<AircraftProfile>& profiles) {
  std::vector<std::string> names;
  for (const AircraftProfile& profile : profiles) names.push_back(profile.name);
  return names;
}

// What is read, what is skipped and said, and the file made once and then left to the pilot.
TEST(AircraftProfiles, ReadSkippingEachBrokenLineByNumberAndCreatedOnlyWhenMissing) {
  struct Case {
    std::string text;
    std::vector<std::string> names;
    std::vector<std::string> problems;
  };
  const Case kCases[] = {
      {"[Jet]\r\nvref_kt = 140 ; typical\nVR_KT=+150\nglide_path_deg=2\nmax_sink_fpm=3000\nmatch=*737*\nmatch = B7*\n",
       {"Jet"},
       {}},
      {"vref_kt = 60\n[Jet]\nv1_kt = abc\nvr_kt = 150kt\nglide_path_deg = 7.01\nvref_minus_kt = -1\ncolour = red\n"
       "just words\nmatch =\n[ ]\n[JET]\nvref_kt = 1\n[automatic]\n[Prop]\nmax_sink_fpm = 199.9\n",
       {"Jet", "Prop"},
       {"line 1: a key before the first [profile]", "line 3: v1_kt: \"abc\" is no number",
        "line 4: vr_kt: \"150kt\" is no number", "line 5: glide_path_deg: 7.01 is outside 2 to 7 deg",
        "line 6: vref_minus_kt: -1 is outside 0 to 30 kt", "line 7: unknown key \"colour\"",
        "line 8: expected [name] or key = value", "line 9: empty match", "line 10: a profile needs a name",
        "line 11: the name \"JET\" is already taken", "line 13: the name \"automatic\" is already taken",
        "line 15: max_sink_fpm: 199.9 is outside 200 to 3000 fpm"}},
  };
  for (const Case& c : kCases) {
    std::vector<std::string> problems;
    const std::vector<AircraftProfile> read = ReadAircraftProfiles(c.text, problems);
    EXPECT_EQ(Names(read), c.names) << c.text;
    EXPECT_EQ(problems, c.problems) << c.text;
  }
  std::vector<std::string> problems;
  const AircraftProfile jet = ReadAircraftProfiles(kCases[0].text, problems).front();
  // v1_kt left out: its default.
  EXPECT_EQ(std::tie(jet.vref_kt, jet.vr_kt, jet.v1_kt, jet.glide_path_deg, jet.max_sink_fpm),
            std::tuple(140, 150, 0, 2, 3000));
  EXPECT_EQ(jet.patterns, (std::vector<std::string>{"*737*", "B7*"}));
  // A broken line changes nothing, nor do the keys of a refused section.
  const std::vector<AircraftProfile> broken = ReadAircraftProfiles(kCases[1].text, problems);
  EXPECT_EQ(std::tie(broken.front().vref_kt, broken.back().max_sink_fpm), std::tuple(0, 1000));

  test::ScopedWorkdir workdir{"aircraft-profiles"};
  const std::filesystem::path file = workdir.path / "config" / kAircraftProfilesFileName;
  std::vector<AircraftProfile> profiles;
  problems.clear();
  LoadAircraftProfilesFile(file, profiles, problems);
  const std::string shipped = WriteAircraftProfiles(ShippedAircraftProfiles());
  EXPECT_EQ(test::ReadTextFile(file), shipped);
  EXPECT_EQ(Names(profiles), (std::vector<std::string>{"Light single", "Turboprop", "Regional jet", "Airliner"}));
  EXPECT_TRUE(problems.empty());
  problems.clear();
  EXPECT_EQ(WriteAircraftProfiles(ReadAircraftProfiles(shipped, problems)), shipped);
  EXPECT_TRUE(problems.empty());

  test::WriteTextFile(file, "[Mine]\nvref_kt = 300\n");
  LoadAircraftProfilesFile(file, profiles, problems);
  EXPECT_EQ(Names(profiles), (std::vector<std::string>{"Mine"}));
  EXPECT_EQ(problems, (std::vector<std::string>{"aircraft_profiles.ini line 2: vref_kt: 300 is outside 0 to 250 kt"}));
  EXPECT_EQ(test::ReadTextFile(file), "[Mine]\nvref_kt = 300\n");

  // Unreadable: the shipped profiles in memory, and nothing written over it.
  const std::filesystem::path folder = workdir.path / "folder" / kAircraftProfilesFileName;
  std::filesystem::create_directories(folder);
  problems.clear();
  LoadAircraftProfilesFile(folder, profiles, problems);
  EXPECT_EQ(profiles.size(), 4u);
  EXPECT_EQ(problems, (std::vector<std::string>{"Cannot read aircraft_profiles.ini " + folder.string() +
                                                ": not a regular file"}));
  EXPECT_TRUE(std::filesystem::is_directory(folder));
}

TEST(AircraftProfiles, ChoiceByNameElseFirstMatchingPatternElseGeneric) {
  std::vector<AircraftProfile> profiles{DefaultAircraftProfile("Airliner"), DefaultAircraftProfile("B738"),
                                        DefaultAircraftProfile("Light")};
  profiles[0].patterns = {"*737*", "*A3?0*"};
  profiles[1].patterns = {"*737-800*"};
  profiles[2].patterns = {"c*1*2", "*aa*ab"};
  const struct {
    const char* setting;
    const char* aircraft;
    const char* chosen;
  } kCases[] = {
      {"automatic", "Boeing 737-800 PMDG", "Airliner"},  // the first profile that matches, not the closest
      {"automatic", "CESSNA 172", "Light"},
      {"automatic", "c12", "Light"},
      {"automatic", "Cessna 172 ", "Generic"},   // the whole name
      {"automatic", "Airbus A3?0", "Airliner"},  // '?' is a plain character
      {"automatic", "Airbus A320", "Generic"},
      {"automatic", "aaaab", "Light"},  // a star goes back to try a later start
      {"automatic", "", "Generic"},
      {"b738", "Cessna 172", "B738"},
      {"Light", "", "Light"},
      {"Removed", "Boeing 737", "Airliner"},  // a pick no longer in the file: automatic
      {"Removed", "Piper", "Generic"},
  };
  for (const auto& c : kCases)
    EXPECT_EQ(ChooseAircraftProfile(profiles, c.setting, c.aircraft).name, c.chosen) << c.setting << " " << c.aircraft;
  EXPECT_EQ(ChooseAircraftProfile({}, "automatic", "Boeing 737").vref_kt, 0);  // generic: the speed unknown

  // A long name against many stars stays fast and exact.
  EXPECT_FALSE(AircraftNameMatches(std::string(40, '*') + "a*a*a*a*a*b", std::string(256, 'a')));
  EXPECT_TRUE(AircraftNameMatches("*a*", std::string(256, 'a')));
}

// What the README tells a pilot editing the file: each key's default and range, and what the
// shipped profiles hold (every key they leave out at its default).
TEST(AircraftProfiles, TheReadmeShowsEachKeysDefaultAndRangeAndTheShippedProfiles) {
  const std::string readme = test::ReadTextFile(test::SourcePath("README.md"));
  const auto number = [](double value) { return FormatSettingFloat(static_cast<float>(value)); };
  for (const AircraftProfileField& field : AircraftProfileFields()) {
    const std::string row = "| `" + std::string(field.key) + "` | " + number(field.default_value) + " | " +
                            number(field.min) + " to " + number(field.max) + " " + std::string(field.unit) + " |";
    EXPECT_NE(readme.find(row), std::string::npos) << row;
  }
  const AircraftProfile& defaults = GenericAircraftProfile();
  for (const AircraftProfile& p : ShippedAircraftProfiles()) {
    std::string row = "\n| " + p.name;
    for (double value :
         {p.vref_kt, p.vref_plus_kt, p.v1_kt, p.vr_kt, p.stable_height_ft, p.stable_height_visual_ft, p.max_sink_fpm})
      row += " | " + number(value);
    row += " |";
    for (const std::string& pattern : p.patterns) row += " `" + pattern + "`";
    EXPECT_NE(readme.find(row + " |\n"), std::string::npos) << row;
    EXPECT_EQ(std::tie(p.vref_minus_kt, p.glide_path_deg, p.glide_path_tolerance_deg),
              std::tie(defaults.vref_minus_kt, defaults.glide_path_deg, defaults.glide_path_tolerance_deg));
  }
}

}  // namespace
}  // namespace pistavox
