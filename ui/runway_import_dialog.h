#pragma once
#include <string>
#include <vector>

namespace pistavox {

// The in-app import dialog for desktops without a file picker.
struct App;

// "Import CSV" where the desktop has no file picker: a modal dialog of the program's
// own with a path field and the CSV files found nearby. Open, then draw every frame in
// the same window as the button that opened it.
void OpenRunwayImportDialog();
void DrawRunwayImportDialog(App& app);
// The files the dialog lists, as drawn.
const std::vector<std::string>& RunwayImportDialogFiles();

}  // namespace pistavox
