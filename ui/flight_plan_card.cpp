#include "ui/flight_plan_card.h"

#include <imgui.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "app/app.h"
#include "base/ident_text.h"
#include "runways/runway_idents.h"
#include "ui/dashboard_labels.h"

namespace pistavox {

namespace {

// The list is drawn every frame and a scan of the world database costs half a
// millisecond, so the last answer is kept until the airport or the database changes.
// Holding the database keeps a replaced one from being mistaken for its successor.
const std::vector<std::string>& AirportRunways(const App& app, const std::string& airport) {
  static std::shared_ptr<const IndexedRunways> database;
  static std::string listed_airport;
  static std::vector<std::string> runways;
  if (database != app.runways || listed_airport != airport) {
    database = app.runways;
    listed_airport = airport;
    runways = airport.empty() ? std::vector<std::string>{} : ListAirportRunwayIdents(database->directions, airport);
  }
  return runways;
}

bool Lists(const std::vector<std::string>& runways, const std::string& runway) {
  return std::find(runways.begin(), runways.end(), runway) != runways.end();
}

void DrawAirportInput(App& app, const std::string& detected) {
  AppSettings& settings = app.settings;
  ImGui::TextUnformatted(LabelText(kExpectedAirportLabel, InChinese(app)));
  ImGui::SetNextItemWidth(detected.empty() ? -1.0f : -118.0f);
  char buffer[kIdentMaxChars + 1] = {};
  settings.expected_airport.copy(buffer, kIdentMaxChars);
  if (ImGui::InputText("##expected-airport-icao", buffer, sizeof buffer, ImGuiInputTextFlags_CharsUppercase)) {
    settings.expected_airport = TruncateIdent(NormalizeAirportIdent(buffer));
    if (!Lists(AirportRunways(app, settings.expected_airport), settings.expected_runway)) {
      settings.expected_runway.clear();
    }
    SaveAppSettings(app);
  }
  if (detected.empty()) return;
  ImGui::SameLine();
  if (ImGui::SmallButton(LabelText(kUseDetectedLabel, InChinese(app)))) {
    settings.expected_airport = TruncateIdent(NormalizeAirportIdent(detected));
    settings.expected_runway.clear();
    SaveAppSettings(app);
  }
}

void DrawRunwayCombo(App& app, const std::vector<std::string>& runways) {
  AppSettings& settings = app.settings;
  ImGui::TextUnformatted(LabelText(kExpectedRunwayLabel, InChinese(app)));
  ImGui::SetNextItemWidth(-1.0f);
  const char* preview = settings.expected_runway.empty() ? LabelText(kSelectRunwayLabel, InChinese(app))
                                                         : settings.expected_runway.c_str();
  if (!ImGui::BeginCombo("##expected-runway", preview)) return;
  for (const std::string& runway : runways) {
    const bool selected = runway == settings.expected_runway;
    if (ImGui::Selectable(runway.c_str(), selected)) {
      settings.expected_runway = runway;
      SaveAppSettings(app);
    }
    if (selected) ImGui::SetItemDefaultFocus();
  }
  ImGui::EndCombo();
}

// The minimums, side by side to spare the card's height; 0 leaves the call unset.
// Like the runway, they reach the calls at the next monitor start.
void DrawMinimumsInputs(App& app) {
  const float left = ImGui::GetCursorPosX();
  const float half = (ImGui::GetContentRegionAvail().x - ImGui::GetStyle().ItemSpacing.x) / 2;
  const float right = left + half + ImGui::GetStyle().ItemSpacing.x;
  ImGui::TextUnformatted(LabelText(kDecisionHeightLabel, InChinese(app)));
  ImGui::SameLine(right);
  ImGui::TextUnformatted(LabelText(kDecisionAltitudeLabel, InChinese(app)));
  ImGui::SetNextItemWidth(half);
  bool changed = ImGui::InputFloat("##decision-height", &app.settings.decision_height_ft, 0, 0, "%.0f");
  ImGui::SameLine(right);
  ImGui::SetNextItemWidth(half);
  changed |= ImGui::InputFloat("##decision-altitude", &app.settings.decision_altitude_ft, 0, 0, "%.0f");
  if (changed) SaveAppSettings(app);
}

}  // namespace

void DrawFlightPlanCard(App& app) {
  AppSettings& settings = app.settings;
  settings.expected_airport = TruncateIdent(NormalizeAirportIdent(settings.expected_airport));
  settings.expected_runway = TruncateIdent(NormalizeRunwayIdent(settings.expected_runway));
  DrawAirportInput(app, app.monitor.status.position.airport_ident);

  const std::vector<std::string>& runways = AirportRunways(app, settings.expected_airport);
  // Wrapped: the control box is narrower than either hint at the window's opening size.
  const Label* hint = settings.expected_airport.empty() ? &kEnterAirportLabel
                      : runways.empty()                 ? &kNoRunwaysLabel
                                                        : nullptr;
  if (hint != nullptr) {
    ImGui::PushStyleColor(ImGuiCol_Text, ImGui::GetStyleColorVec4(ImGuiCol_TextDisabled));
    ImGui::TextWrapped("%s", LabelText(*hint, InChinese(app)));
    ImGui::PopStyleColor();
  }
  ImGui::BeginDisabled(runways.empty());
  DrawRunwayCombo(app, runways);
  ImGui::EndDisabled();
  DrawMinimumsInputs(app);
}

}  // namespace pistavox
