#include "app/file_picker.h"

#include <algorithm>
#include <system_error>

#include "base/ascii_text.h"
#include "base/file_reading.h"

namespace pistavox {

namespace {

void AppendCsvFiles(const std::filesystem::path& folder, std::vector<std::filesystem::path>& files) {
  std::vector<std::filesystem::path> found;
  std::error_code ec;
  for (std::filesystem::directory_iterator it(folder.empty() ? "." : folder, ec), end; !ec && it != end;
       it.increment(ec)) {
    std::error_code type_ec;
    if (!it->is_regular_file(type_ec)) continue;
    const std::filesystem::path name = it->path().filename();
    if (EqualsIgnoringAsciiCase(PathText(name.extension()), ".csv")) found.push_back(folder / name);
  }
  std::sort(found.begin(), found.end());
  files.insert(files.end(), found.begin(), found.end());
}

}  // namespace

std::vector<std::filesystem::path> ListCsvFiles() {
  std::vector<std::filesystem::path> files;
  AppendCsvFiles("", files);
  AppendCsvFiles("data", files);
  return files;
}

}  // namespace pistavox
