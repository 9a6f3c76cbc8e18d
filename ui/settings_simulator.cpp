// The simulator part of the Settings page: which link the monitor opens, and where the UDP links listen.
#include <imgui.h>

#include <algorithm>
#include <cstring>

#include "app/app.h"
#include "app/xplane_search.h"
#include "ui/settings_labels.h"
#include "ui/settings_sections.h"

namespace pistavox {

namespace {

constexpr float kInputColumn = 150;

const Label& ChoiceLabel(SimulatorChoice choice) {
  switch (choice) {
    case SimulatorChoice::kFsuipc:
      return kFsuipcChoiceLabel;
    case SimulatorChoice::kXPlane:
      return kXPlaneChoiceLabel;
    case SimulatorChoice::kFlightGear:
      return kFlightGearChoiceLabel;
    case SimulatorChoice::kAuto:
      break;
  }
  return kAutoChoiceLabel;
}

void DrawChoiceCombo(App& app) {
  const bool zh = InChinese(app);
  ImGui::SetNextItemWidth(-1.0f);
  if (!ImGui::BeginCombo("##simulator", LabelText(ChoiceLabel(app.settings.simulator), zh))) return;
  for (const SimulatorChoiceEntry& entry : kSimulatorChoices) {
    if (ImGui::Selectable(LabelText(ChoiceLabel(entry.choice), zh), entry.choice == app.settings.simulator)) {
      app.settings.simulator = entry.choice;
      SaveAppSettings(app);
    }
  }
  ImGui::EndCombo();
}

int HostCharacter(ImGuiInputTextCallbackData* data) {
  const char text[2] = {static_cast<char>(data->EventChar), 0};
  return data->EventChar < 128 && ValidSimulatorHost(text) ? 0 : 1;
}

// While typed, the host is kept only once it is a usable name; leaving the field shows what is kept.
void DrawHostInput(App& app) {
  std::string& host = app.settings.simulator_host;
  char buffer[254] = {};
  std::memcpy(buffer, host.data(), std::min(host.size(), sizeof buffer - 1));
  ImGui::TextDisabled("%s", LabelText(kSimulatorHostLabel, InChinese(app)));
  ImGui::SameLine(kInputColumn);
  ImGui::SetNextItemWidth(-1.0f);
  if (ImGui::InputText("##simulator-host", buffer, sizeof buffer, ImGuiInputTextFlags_CallbackCharFilter,
                       HostCharacter) &&
      ValidSimulatorHost(buffer)) {
    host = buffer;
    SaveAppSettings(app);
  }
}

void DrawPortInput(App& app, const Label& label, const char* id, std::int32_t& port) {
  ImGui::TextDisabled("%s", LabelText(label, InChinese(app)));
  ImGui::SameLine(kInputColumn);
  ImGui::SetNextItemWidth(-1.0f);
  int value = port;
  if (ImGui::InputInt(id, &value, 0, 0) && value >= 1 && value <= 65535) {
    port = value;
    SaveAppSettings(app);
  }
}

}  // namespace

void DrawSimulatorLinkPart(App& app) {
  DrawSeparatedTitle(app, kSimulatorLabel);
  DrawChoiceCombo(app);
  const SimulatorChoice choice = app.settings.simulator;
  if (choice == SimulatorChoice::kFsuipc) return;
  DrawHostInput(app);
  if (choice != SimulatorChoice::kFlightGear) {
    DrawPortInput(app, kXPlanePortLabel, "##xplane-port", app.settings.xplane_port);
    const bool searching = XPlaneSearchRunning(app);
    ImGui::BeginDisabled(searching);
    if (ImGui::Button(LabelText(searching ? kFindingXPlaneLabel : kFindXPlaneLabel, InChinese(app)), ImVec2(-1, 30)))
      BeginXPlaneSearch(app);
    ImGui::EndDisabled();
  }
  if (choice != SimulatorChoice::kXPlane)
    DrawPortInput(app, kFlightGearPortLabel, "##flightgear-port", app.settings.flightgear_port);
}

}  // namespace pistavox
