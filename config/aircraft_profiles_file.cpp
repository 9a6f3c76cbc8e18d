#include "config/aircraft_profiles_file.h"

#include <array>
#include <iterator>
#include <system_error>

#include "base/durable_file.h"
#include "base/file_reading.h"
#include "config/aircraft_profiles_text.h"

namespace pistavox {
namespace {

using P = AircraftProfile;

// The numbers a shipped profile sets; the rest keep their defaults.
constexpr double P::*kShippedNumbers[] = {&P::vref_kt,     &P::vref_plus_kt,     &P::v1_kt,
                                          &P::vr_kt,       &P::stable_height_ft, &P::stable_height_visual_ft,
                                          &P::max_sink_fpm};

struct ShippedProfile {
  const char* name;
  std::array<double, std::size(kShippedNumbers)> numbers;
  std::vector<std::string> patterns;
};

// Light aircraft fly slower and closer in, so they are stable lower and sink less; the
// faster types keep the usual 1000 ft and 500 ft gates. The light single has no V1.
const ShippedProfile kShipped[] = {
    // Vref, Vref +, V1, VR, stable height, when visual, largest sink
    {"Light single",
     {65, 10, 0, 55, 500, 300, 800},
     {"*Cessna 1*", "*C152*", "*C172*", "*Skyhawk*", "*PA-28*", "*Cherokee*", "*SR2*", "*DA40*", "*Bonanza*"}},
    {"Turboprop",
     {115, 15, 105, 110, 1000, 500, 1000},
     {"*ATR*", "*Dash 8*", "*DHC-8*", "*Q400*", "*King Air*", "*Caravan*", "*PC-12*", "*TBM*"}},
    {"Regional jet",
     {130, 20, 125, 132, 1000, 500, 1000},
     {"*CRJ*", "*E170*", "*E175*", "*E190*", "*E195*", "*ERJ*", "*Embraer*", "*Avro RJ*", "*BAe 146*"}},
    {"Airliner",
     {140, 20, 145, 150, 1000, 500, 1000},
     {"*A31*", "*A32*", "*A33*", "*A34*", "*A35*", "*A38*", "*Airbus*", "*Boeing*", "*737*", "*747*", "*757*", "*767*",
      "*777*", "*787*", "*MD-8*", "*MD-11*"}},
};

}  // namespace

std::vector<AircraftProfile> ShippedAircraftProfiles() {
  std::vector<AircraftProfile> profiles;
  for (const ShippedProfile& shipped : kShipped) {
    AircraftProfile profile = DefaultAircraftProfile(shipped.name);
    for (std::size_t i = 0; i < shipped.numbers.size(); ++i) profile.*kShippedNumbers[i] = shipped.numbers[i];
    profile.patterns = shipped.patterns;
    profiles.push_back(std::move(profile));
  }
  return profiles;
}

void LoadAircraftProfilesFile(const std::filesystem::path& file, std::vector<AircraftProfile>& profiles,
                              std::vector<std::string>& problems) {
  const std::string name = kAircraftProfilesFileName;
  std::string text;
  std::string reason;
  const FileReadStatus status = ReadFileBytes(file, kMaxConfigFileBytes, text, reason);
  if (status == FileReadStatus::kMissing) {
    profiles = ShippedAircraftProfiles();
    std::error_code folder_error;
    if (file.has_parent_path()) std::filesystem::create_directories(file.parent_path(), folder_error);
    if (folder_error) {
      reason = folder_error.message();
    } else if (ReplaceFileDurably(file, WriteAircraftProfiles(profiles), std::nullopt, reason)) {
      return;
    }
    problems.push_back("Cannot write " + name + " " + PathText(file) + ": " + reason);
    return;
  }
  if (status != FileReadStatus::kOk) {
    profiles = ShippedAircraftProfiles();
    problems.push_back("Cannot read " + name + " " + PathText(file) + ": " + reason);
    return;
  }
  std::vector<std::string> broken;
  profiles = ReadAircraftProfiles(text, broken);
  for (const std::string& line : broken) problems.push_back(name + " " + line);
}

}  // namespace pistavox
