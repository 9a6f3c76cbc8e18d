#include "app/runway_database_actions.h"

#include <optional>
#include <string>
#include <system_error>

#include "app/app.h"
#include "app/file_picker.h"
#include "app/monitor.h"
#include "base/durable_file.h"
#include "base/file_reading.h"
#include "runways/runway_database.h"

namespace pistavox {

namespace {

const std::string kImportFailed = "Runway database import failed: ";

// Keeps the database about to be replaced as the backup. True when there was none to keep.
bool BackUpDatabase(const ResourcePaths& paths, std::string& reason) {
  std::string current;
  std::string read_reason;
  const FileReadStatus status = ReadFileBytes(paths.imported_database, kMaxDataFileBytes, current, read_reason);
  if (status == FileReadStatus::kMissing) return true;
  if (status != FileReadStatus::kOk) {
    reason = "cannot read " + PathText(paths.imported_database) + " to back it up: " + read_reason;
    return false;
  }
  std::string write_reason;
  if (!ReplaceFileDurably(paths.imported_backup, current, std::nullopt, write_reason)) {
    reason = "cannot write " + PathText(paths.imported_backup) + ": " + write_reason;
    return false;
  }
  return true;
}

struct FileStamp {
  std::uintmax_t size = 0;
  std::filesystem::file_time_type written;
  bool operator==(const FileStamp&) const = default;
};

std::optional<FileStamp> StampOf(const std::filesystem::path& file) {
  std::error_code size_ec;
  std::error_code time_ec;
  const FileStamp stamp{std::filesystem::file_size(file, size_ec), std::filesystem::last_write_time(file, time_ec)};
  if (size_ec || time_ec) return std::nullopt;
  return stamp;
}

// A file still being written may end inside a row, whose cut coordinate would still parse.
std::string UnfinishedFileReason(const std::filesystem::path& file, const std::optional<FileStamp>& before,
                                 const std::string& contents) {
  const std::string path = PathText(file);
  const std::optional<FileStamp> after = StampOf(file);
  if (!before || !after || *before != *after || after->size != contents.size()) {
    return path + " changed while it was read; import it again once it is complete";
  }
  if (!contents.empty() && contents.back() != '\n') {
    return "the last line of " + path + " has no line end; the file may still be being written";
  }
  return "";
}

}  // namespace

void CheckRunwayDatabase(App& app) {
  RunwayDatabase scratch;
  std::string error;
  const std::filesystem::path& database = app.resources.runway_database;
  std::size_t rows_refused = 0;
  if (!LoadRunwayDatabase(PathText(database), scratch, error, &rows_refused)) {
    app.runway_data_ok = false;
    Log(app.log, "Runway database check failed: " + error);
    return;
  }
  app.runway_data_ok = true;
  std::error_code ec;
  const std::uintmax_t size = std::filesystem::file_size(database, ec);
  const std::string size_text = ec ? "unavailable" : std::to_string(size) + " bytes";
  Log(app.log, "Runway database OK: " + std::to_string(scratch.size()) + " directions, " + size_text +
                   RowsRefusedNote(rows_refused));
}

RunwayImportPick ImportRunwayDatabase(App& app) {
  const FilePick pick = PickCsvFile(kImportDialogTitle);
  switch (pick.status) {
    case FilePickStatus::kChosen:
      ImportRunwayDatabaseFile(app, pick.path);
      break;
    case FilePickStatus::kCancelled:
      break;
    case FilePickStatus::kUnavailable:
      return RunwayImportPick::kNoPicker;
    case FilePickStatus::kFailed:
      Log(app.log, kImportFailed + pick.error);
      break;
  }
  return RunwayImportPick::kHandled;
}

void ImportRunwayDatabaseFile(App& app, const std::filesystem::path& chosen,
                              std::optional<std::size_t> fail_install_after_bytes) {
  // The bytes validated are the bytes installed, read once: importing the backup, or
  // the database itself, cannot see the file change under it.
  const std::string chosen_text = PathText(chosen);
  std::string contents;
  std::string reason;
  RunwayDatabase scratch;
  std::string error;
  std::size_t rows_refused = 0;
  const std::optional<FileStamp> before = StampOf(chosen);
  const FileReadStatus status = ReadFileBytes(chosen, kMaxDataFileBytes, contents, reason);
  if (status != FileReadStatus::kOk) {
    Log(app.log, "Imported runway CSV is invalid: " + RunwayDatabaseReadFailure(status, chosen_text));
    return;
  }
  const std::string unfinished = UnfinishedFileReason(chosen, before, contents);
  if (!unfinished.empty()) {
    Log(app.log, "Imported runway CSV is invalid: " + unfinished);
    return;
  }
  if (!ParseRunwayDatabase(contents, chosen_text, scratch, error, &rows_refused)) {
    Log(app.log, "Imported runway CSV is invalid: " + error);
    return;
  }

  ResourcePaths& paths = app.resources;
  if (paths.imported_database.empty()) {
    Log(app.log, kImportFailed + "no user data folder to keep it in");
    return;
  }
  const std::filesystem::path folder = paths.imported_database.parent_path();
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  if (ec) {
    Log(app.log, kImportFailed + "cannot create " + PathText(folder) + ": " + ec.message());
    return;
  }
  if (!BackUpDatabase(paths, reason) ||
      !ReplaceFileDurably(paths.imported_database, contents, fail_install_after_bytes, reason)) {
    Log(app.log, kImportFailed + reason);
    return;
  }
  paths.runway_database = paths.imported_database;

  const std::size_t count = scratch.size();
  app.runways = IndexRunways(std::move(scratch));
  app.resources_loaded = false;
  app.runway_data_ok = true;
  Log(app.log, "Runway database imported: " + std::to_string(count) + " directions" + RowsRefusedNote(rows_refused));
  if (app.monitor.phase == MonitorPhase::kRunning) {
    StopMonitor(app);
    Log(app.log, "Monitor stopped after runway database import");
  }
}

}  // namespace pistavox
