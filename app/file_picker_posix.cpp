#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string_view>

#include "app/file_picker.h"
#include "base/command_run.h"

namespace pistavox {

namespace {

// The exit status both pickers give when the user closes them without a choice.
constexpr int kPickerCancelled = 1;

bool OnPath(const std::string& program) {
  const char* path = std::getenv("PATH");
  if (!path) return false;
  std::string_view rest = path;
  for (;;) {
    const std::size_t colon = rest.find(':');
    const std::string_view folder = rest.substr(0, colon);
    const std::string candidate = (folder.empty() ? std::string(".") : std::string(folder)) + "/" + program;
    if (::access(candidate.c_str(), X_OK) == 0) return true;
    if (colon == std::string_view::npos) return false;
    rest.remove_prefix(colon + 1);
  }
}

// Without one a picker cannot open, and would fail as if the user had cancelled.
bool HasDisplay() {
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY"}) {
    const char* value = std::getenv(name);
    if (value && *value) return true;
  }
  return false;
}

FilePick Run(const Command& command) {
  FilePick pick;
  std::string output;
  int status = 0;
  if (!CaptureCommand(command, false, output, status, pick.error)) {
    pick.status = FilePickStatus::kFailed;
    return pick;
  }
  if (WIFEXITED(status) && WEXITSTATUS(status) == 0) {
    if (output.ends_with('\n')) output.pop_back();
    pick.status = output.empty() ? FilePickStatus::kCancelled : FilePickStatus::kChosen;
    pick.path = output;
  } else if (WIFEXITED(status) && WEXITSTATUS(status) == kPickerCancelled) {
    pick.status = FilePickStatus::kCancelled;
  } else {
    pick.status = FilePickStatus::kFailed;
    pick.error = WIFEXITED(status) ? command[0] + " failed with exit status " + std::to_string(WEXITSTATUS(status))
                                   : command[0] + " ended abnormally";
  }
  return pick;
}

}  // namespace

FilePick PickCsvFile(const std::string& title) {
  if (HasDisplay() && OnPath("zenity"))
    return Run({"zenity", "--file-selection", "--title=" + title, "--file-filter=CSV Files | *.csv",
                "--file-filter=All Files | *"});
  // kdialog takes its filter only after a start folder.
  if (HasDisplay() && OnPath("kdialog"))
    return Run({"kdialog", "--title", title, "--getopenfilename", ".", "*.csv|CSV Files\n*|All Files"});
  return {FilePickStatus::kUnavailable, {}, {}};
}

}  // namespace pistavox
