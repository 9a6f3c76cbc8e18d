#pragma once
#include <filesystem>
#include <string>
#include <vector>

namespace pistavox {

// The platform's "open file" dialog for a runway CSV, and how a pick ended.
enum class FilePickStatus {
  kChosen,
  kCancelled,
  kUnavailable,  // this desktop offers no picker: the caller asks with a dialog of its own
  kFailed,
};

struct FilePick {
  FilePickStatus status = FilePickStatus::kCancelled;
  std::filesystem::path path;  // when chosen
  std::string error;           // when failed
};

// Asks the user for an existing CSV file with the platform's own dialog, titled
// `title`; blocks until it closes.
FilePick PickCsvFile(const std::string& title);

// What a dialog of the program's own offers instead: the .csv files of the working
// directory, then those of data/, each folder in name order.
std::vector<std::filesystem::path> ListCsvFiles();

}  // namespace pistavox
