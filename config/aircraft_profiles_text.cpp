#include "config/aircraft_profiles_text.h"

#include <charconv>
#include <cmath>

#include "base/ascii_text.h"
#include "base/text_lines.h"

namespace pistavox {
namespace {

constexpr std::string_view kMatchKey = "match";

constexpr std::string_view kHeader =
    "# Pistavox aircraft profiles: one [section] per aircraft type, named as Settings lists it.\n"
    "# Change a number or add a section, then press Refresh Voice Packs in Settings (or restart).\n"
    "# A match line names aircraft the profile is chosen for: case is ignored, * stands for any text,\n"
    "# and the first profile that matches wins. Pistavox never overwrites this file.\n";

std::string FormatNumber(double value) {
  char buffer[32];
  const auto written = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, written.ptr);
}

// The whole value as a finite decimal number, nothing before or after it.
bool ReadWholeNumber(std::string_view text, double& value) {
  if (text.starts_with('+')) text.remove_prefix(1);
  const auto read = std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed);
  return read.ec == std::errc() && read.ptr == text.data() + text.size() && std::isfinite(value);
}

const AircraftProfileField* FindField(std::string_view key) {
  for (const AircraftProfileField& field : AircraftProfileFields())
    if (EqualsIgnoringAsciiCase(field.key, key)) return &field;
  return nullptr;
}

bool NameTaken(const std::vector<AircraftProfile>& profiles, std::string_view name) {
  if (EqualsIgnoringAsciiCase(name, kAutomaticAircraftProfile)) return true;
  for (const AircraftProfile& profile : profiles)
    if (EqualsIgnoringAsciiCase(profile.name, name)) return true;
  return false;
}

// Applies one "key = value" line to `profile`; the reason it is broken otherwise.
std::string ApplyEntry(AircraftProfile& profile, std::string_view key, std::string_view value) {
  if (EqualsIgnoringAsciiCase(key, kMatchKey)) {
    if (value.empty()) return "empty match";
    profile.patterns.emplace_back(value);
    return {};
  }
  const AircraftProfileField* field = FindField(key);
  if (field == nullptr) return "unknown key \"" + std::string(key) + "\"";
  double number = 0.0;
  if (!ReadWholeNumber(value, number)) return std::string(field->key) + ": \"" + std::string(value) + "\" is no number";
  if (number < field->min || number > field->max) {
    return std::string(field->key) + ": " + std::string(value) + " is outside " + FormatNumber(field->min) + " to " +
           FormatNumber(field->max) + " " + std::string(field->unit);
  }
  profile.*field->member = number;
  return {};
}

}  // namespace

std::vector<AircraftProfile> ReadAircraftProfiles(std::string_view text, std::vector<std::string>& problems) {
  std::vector<AircraftProfile> profiles;
  // Keys are taken only under a section that was itself taken.
  enum class Under { kNothing, kProfile, kRefusedSection } under = Under::kNothing;
  LineCursor lines{text};
  std::string_view line;
  std::size_t line_number = 0;
  const auto broken = [&](const std::string& reason) {
    problems.push_back("line " + std::to_string(line_number) + ": " + reason);
  };
  while (NextLine(lines, line)) {
    ++line_number;
    line = TrimAsciiSpace(line.substr(0, line.find_first_of("#;")));
    if (line.empty()) continue;
    if (line.front() == '[' && line.back() == ']') {
      const std::string_view name = TrimAsciiSpace(line.substr(1, line.size() - 2));
      under = Under::kRefusedSection;
      if (name.empty()) {
        broken("a profile needs a name");
      } else if (NameTaken(profiles, name)) {
        broken("the name \"" + std::string(name) + "\" is already taken");
      } else {
        profiles.push_back(DefaultAircraftProfile(std::string(name)));
        under = Under::kProfile;
      }
      continue;
    }
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) {
      broken("expected [name] or key = value");
      continue;
    }
    if (under == Under::kRefusedSection) continue;
    if (under == Under::kNothing) {
      broken("a key before the first [profile]");
      continue;
    }
    const std::string reason =
        ApplyEntry(profiles.back(), TrimAsciiSpace(line.substr(0, equals)), TrimAsciiSpace(line.substr(equals + 1)));
    if (!reason.empty()) broken(reason);
  }
  return profiles;
}

std::string WriteAircraftProfiles(std::span<const AircraftProfile> profiles) {
  std::string text(kHeader);
  for (const AircraftProfile& profile : profiles) {
    text.append("\n[").append(profile.name).append("]\n");
    for (const AircraftProfileField& field : AircraftProfileFields())
      text.append(field.key).append(" = ").append(FormatNumber(profile.*field.member)).append("\n");
    for (const std::string& pattern : profile.patterns)
      text.append(kMatchKey).append(" = ").append(pattern).append("\n");
  }
  return text;
}

}  // namespace pistavox
