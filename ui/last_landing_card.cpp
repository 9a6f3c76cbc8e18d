#include "ui/last_landing_card.h"

#include <imgui.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "app/app.h"
#include "ui/dashboard_labels.h"
#include "ui/widgets.h"

namespace pistavox {

namespace {

constexpr float kCardHeight = 300;
constexpr float kSketchHeight = 14;
constexpr float kLandingColumnsWidth = 720;
const ImVec4 kBestColour{1, 0.82f, 0.35f, 1};

// The score's band, coloured from green to red as the grades fall.
ImVec4 GradeColour(const std::string& grade) {
  struct Shade {
    const char* grade;
    ImVec4 colour;
  };
  static const Shade kShades[] = {{"Excellent", {0.27f, 0.86f, 0.52f, 1}},
                                  {"Good", {0.36f, 0.84f, 0.72f, 1}},
                                  {"Fair", {1, 0.82f, 0.35f, 1}},
                                  {"Rough", {1, 0.6f, 0.3f, 1}}};
  for (const Shade& shade : kShades) {
    if (grade == shade.grade) return shade.colour;
  }
  return {0.95f, 0.46f, 0.34f, 1};
}

// The runway from its threshold (left) to its end, the touchdown zone shaded and the
// touchdown point marked.
void DrawTouchdownSketch(const LandingReport& report) {
  ImDrawList* draw = ImGui::GetWindowDrawList();
  const ImVec2 origin = ImGui::GetCursorScreenPos();
  const float width = ImGui::GetContentRegionAvail().x;
  const auto at = [&](double metres) {
    return origin.x + width * static_cast<float>(std::clamp(metres / report.touchdown.length_m, 0.0, 1.0));
  };
  const ImVec2 far(origin.x + width, origin.y + kSketchHeight);
  draw->AddRectFilled(origin, far, IM_COL32(38, 45, 50, 255), 2);
  draw->AddRectFilled(origin, ImVec2(at(report.touchdown_zone_m), far.y), IM_COL32(64, 196, 160, 120), 2);
  const float touchdown = at(report.threshold_distance_m);
  draw->AddLine(ImVec2(touchdown, origin.y - 2), ImVec2(touchdown, far.y + 2), IM_COL32(255, 255, 255, 240), 3);
  ImGui::Dummy(ImVec2(width, kSketchHeight));
}

void DrawDetails(const App& app, const LandingReport& report) {
  const bool zh = InChinese(app);
  const char* unknown = LabelText(kNotAvailableLabel, zh);
  ImGui::SetWindowFontScale(1.22f);
  ImGui::TextColored(GradeColour(report.grade), "%.0f/100 %s", report.score, report.grade.c_str());
  ImGui::SetWindowFontScale(1.0f);
  if (report.simulator_rate_source == SimulatorRateSource::kNotAvailable) {
    ImGui::Text("%s: %s / %.0f fpm", LabelText(kTouchdownRatesLabel, zh), unknown, report.touchdown_vs_fpm);
  } else {
    ImGui::Text("%s: %.0f / %.0f fpm", LabelText(kTouchdownRatesLabel, zh), report.simulator_touchdown_vs_fpm,
                report.touchdown_vs_fpm);
  }
  ImGui::Text("%s: %.2f   %s: %d", LabelText(kGForceLabel, zh), report.max_g, LabelText(kBouncesLabel, zh),
              report.bounces);
  if (report.runway_known) {
    ImGui::Text("%s: %.0f m (%s)", LabelText(kFromThresholdLabel, zh), report.threshold_distance_m,
                LabelText(report.in_touchdown_zone ? kInZoneLabel : kOutsideZoneLabel, zh));
    ImGui::Text("%s: %.1f m", LabelText(kCentrelineLabel, zh), report.touchdown.cross_track_m);
    DrawTouchdownSketch(report);
  } else {
    ImGui::Text("%s: %s", LabelText(kFromThresholdLabel, zh), unknown);
  }
  std::vector<float> profile;
  for (const VerticalSpeedPoint& point : report.vertical_speed_profile) {
    profile.push_back(static_cast<float>(point.vertical_speed_fpm));
  }
  if (profile.size() >= 2) {
    ImGui::PlotLines("##vs-profile", profile.data(), static_cast<int>(profile.size()), 0,
                     LabelText(kApproachProfileLabel, zh), FLT_MAX, FLT_MAX,
                     ImVec2(ImGui::GetContentRegionAvail().x, 44));
  }
}

void DrawRecent(const App& app) {
  ImGui::TextDisabled("%s", LabelText(kRecentLandingsLabel, InChinese(app)));
  for (auto entry = app.recent_landings.rbegin(); entry != app.recent_landings.rend(); ++entry) {
    const bool best = app.best_score && entry->score == *app.best_score;
    const ImVec4 colour = best ? kBestColour : ImGui::GetStyleColorVec4(ImGuiCol_Text);
    ImGui::TextColored(colour, "%s %s  %.0f  %s%s", entry->airport.c_str(), entry->runway.c_str(), entry->score,
                       entry->band.c_str(), best ? "  *" : "");
  }
}

bool HasLanding(const App& app) { return app.last_landing || !app.recent_landings.empty(); }

}  // namespace

float LastLandingCardHeight(const App& app) {
  if (HasLanding(app)) return kCardHeight;
  return ImGui::GetTextLineHeight() + ImGui::GetStyle().WindowPadding.y * 2;
}

void DrawLastLandingCard(const App& app, bool fill_height) {
  const bool zh = InChinese(app);
  const float height = fill_height && HasLanding(app) ? 0 : LastLandingCardHeight(app);
  ImGui::BeginChild("landing-card", ImVec2(0, height), true);
  DrawTitle(LabelText(kLastLandingLabel, zh));
  if (!HasLanding(app)) {
    // One line until there is something to show.
    ImGui::SameLine(0, 24);
    ImGui::TextDisabled("%s", LabelText(kNoLandingYetLabel, zh));
    ImGui::EndChild();
    return;
  }
  ImGui::Spacing();
  // Narrower, the details would be cut off beside the list: the list goes under them.
  const bool columns = ImGui::GetContentRegionAvail().x >= kLandingColumnsWidth;
  if (columns) ImGui::Columns(2, "landing-cols", false);
  if (app.last_landing) {
    DrawDetails(app, *app.last_landing);
  } else {
    ImGui::TextDisabled("%s", LabelText(kNoLandingYetLabel, zh));
  }
  if (columns) {
    ImGui::NextColumn();
  } else {
    ImGui::Spacing();
  }
  DrawRecent(app);
  if (columns) ImGui::Columns(1);
  ImGui::EndChild();
}

}  // namespace pistavox
