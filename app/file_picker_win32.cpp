#include <windows.h>
// After windows.h, which they need.
#include <cderr.h>
#include <commdlg.h>

#include <system_error>

#include "app/file_picker.h"

namespace pistavox {

namespace {

std::filesystem::path FromAnsi(const char* text) {
  const int size = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
  if (size <= 1) return {};
  std::wstring wide(static_cast<std::size_t>(size), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), size);
  wide.pop_back();  // the terminator
  return std::filesystem::path(wide);
}

}  // namespace

FilePick PickCsvFile(const std::string& title) {
  char path[260] = {};
  OPENFILENAMEA dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.lpstrFilter = "CSV Files\0*.csv\0All Files\0*.*\0";
  dialog.lpstrFile = path;
  dialog.nMaxFile = sizeof path;
  dialog.lpstrTitle = title.c_str();
  dialog.Flags = OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;
  // The dialog may leave the working directory in the chosen file's folder, away from
  // data/ and bin/; OFN_NOCHANGEDIR does not stop it, so it is put back here.
  std::error_code ec;
  const std::filesystem::path working = std::filesystem::current_path(ec);
  const bool chosen = GetOpenFileNameA(&dialog);
  const DWORD failure = chosen ? 0 : CommDlgExtendedError();
  if (!ec) std::filesystem::current_path(working, ec);

  FilePick pick;
  if (chosen) {
    pick.status = FilePickStatus::kChosen;
    pick.path = FromAnsi(path);
  } else if (failure == 0) {
    pick.status = FilePickStatus::kCancelled;
  } else {
    pick.status = FilePickStatus::kFailed;
    pick.error = failure == FNERR_BUFFERTOOSMALL ? "the chosen path is longer than 259 characters"
                                                 : "the file dialog failed with error " + std::to_string(failure);
  }
  return pick;
}

}  // namespace pistavox
