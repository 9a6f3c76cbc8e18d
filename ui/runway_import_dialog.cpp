#include "ui/runway_import_dialog.h"

#include <imgui.h>
#include <imgui_stdlib.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/app.h"
#include "app/file_picker.h"
#include "app/runway_database_actions.h"
#include "base/file_reading.h"
#include "ui/settings_labels.h"

namespace pistavox {

namespace {

constexpr const char* kDialogId = "###runway-import";

// One program, one window: the dialog's state lives while the dialog is open and is
// set afresh each time it opens.
struct ImportDialogState {
  std::string path;
  std::vector<std::string> files;
};

ImportDialogState& DialogState() {
  static ImportDialogState state;
  return state;
}

void DrawFoundFiles(const App& app, ImportDialogState& state) {
  ImGui::TextDisabled("%s", LabelText(kImportFoundFilesLabel, InChinese(app)));
  ImGui::BeginChild("runway-import-files", ImVec2(520, 180), true);
  if (state.files.empty()) ImGui::TextDisabled("%s", LabelText(kImportNoFilesLabel, InChinese(app)));
  for (const std::string& file : state.files) {
    if (ImGui::Selectable(file.c_str(), file == state.path)) state.path = file;
  }
  ImGui::EndChild();
}

}  // namespace

void OpenRunwayImportDialog() {
  ImportDialogState& state = DialogState();
  state.path.clear();
  state.files.clear();
  for (const std::filesystem::path& file : ListCsvFiles()) state.files.push_back(PathText(file));
  ImGui::OpenPopup(kDialogId);
}

const std::vector<std::string>& RunwayImportDialogFiles() { return DialogState().files; }

void DrawRunwayImportDialog(App& app) {
  const std::string title = std::string(LabelText(kImportDialogTitleLabel, InChinese(app))) + kDialogId;
  if (!ImGui::BeginPopupModal(title.c_str(), nullptr, ImGuiWindowFlags_AlwaysAutoResize)) return;
  ImportDialogState& state = DialogState();
  ImGui::TextUnformatted(LabelText(kImportPathLabel, InChinese(app)));
  ImGui::SetNextItemWidth(520);
  ImGui::InputText("##runway-import-path", &state.path);
  DrawFoundFiles(app, state);

  ImGui::BeginDisabled(state.path.empty());
  if (ImGui::Button(LabelText(kImportButtonLabel, InChinese(app)), ImVec2(120, 34))) {
    // The outcome, good or bad, is reported in the event log as with the platform's picker.
    ImportRunwayDatabaseFile(app, PathFromText(state.path));
    ImGui::CloseCurrentPopup();
  }
  ImGui::EndDisabled();
  ImGui::SameLine();
  if (ImGui::Button(LabelText(kCancelLabel, InChinese(app)), ImVec2(120, 34))) ImGui::CloseCurrentPopup();
  ImGui::EndPopup();
}

}  // namespace pistavox
