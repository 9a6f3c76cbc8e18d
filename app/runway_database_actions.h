#pragma once
#include <cstddef>
#include <filesystem>
#include <optional>

namespace pistavox {

// The Settings page's runway database actions: check it, and import a CSV over it.
struct App;

// "Check Database": proves that the runway database (data/runways.csv, or the user's
// imported copy beside an installed program) loads, into a scratch list (the live
// database is untouched), and logs how many directions it holds and its size.
void CheckRunwayDatabase(App& app);

enum class RunwayImportPick { kHandled, kNoPicker };

// "Import CSV": the platform's file picker, then ImportRunwayDatabaseFile. kNoPicker
// when this desktop has none: the caller asks for the file itself and imports it.
RunwayImportPick ImportRunwayDatabase(App& app);

// Validates `chosen`, keeps the database it replaces as data/runways.backup.csv, puts
// the chosen file's bytes in place of data/runways.csv by renaming a finished copy over
// it, and makes them the live database. Beside an installed program both files are the
// user's own, in the user's data folder, which is read from then on. A failure anywhere
// leaves the database file as it was. `fail_install_after_bytes` cuts the copy short (tests).
void ImportRunwayDatabaseFile(App& app, const std::filesystem::path& chosen,
                              std::optional<std::size_t> fail_install_after_bytes = std::nullopt);

inline constexpr const char* kImportDialogTitle = "Import runway database CSV";

}  // namespace pistavox
