#pragma once
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace pistavox {

// Where the settings text lives between runs: one per-user file, replaced whole on
// every save so an interrupted save never loses the previous settings.
struct SettingsStore {
  std::filesystem::path file;  // settings.txt; unused when memory_only
  bool memory_only = false;    // saves succeed without touching the disk (the replay)
  std::string saved_text;      // the text of the last successful save
  // Why there is no file to save to (no settings folder could be found): every save fails with it.
  std::string unavailable;
  // The file exists but could not be read at start-up: saving the defaults over it
  // would lose the user's settings, so nothing is saved for the whole run.
  bool unreadable_at_start = false;
  bool unreadable_reported = false;
  // Tests: the write of the temporary file stops after this many bytes and fails.
  std::optional<std::size_t> fail_write_after_bytes;
};

// Whether the store keeps a file on disk: the user's other files live beside it, and a
// program without one (a replay, no settings folder found) reads and makes none of them.
bool StoresOnDisk(const SettingsStore& store);

// The per-user store: PISTAVOX_CONFIG_DIR, else %APPDATA%\Pistavox on Windows and
// $XDG_CONFIG_HOME/pistavox (default ~/.config/pistavox) elsewhere; file settings.txt.
// False with `error` set when no folder can be found; the store then refuses every save
// with that reason.
bool OpenDefaultSettingsStore(SettingsStore& store, std::string& error);

// True with the stored text when one exists. False with `error` empty when nothing is
// stored yet, with `error` = "Cannot read settings file " + path + ": " + reason when
// the file exists but cannot be read.
bool ReadStoredSettings(const SettingsStore& store, std::string& text, std::string& error);

// Replaces the stored text: a temporary file beside the old one, flushed to disk, then
// renamed over it. On failure the old file is untouched and `error` =
// "Cannot write settings file " + path + ": " + the system's reason.
bool WriteStoredSettings(SettingsStore& store, std::string_view text, std::string& error);

}  // namespace pistavox
