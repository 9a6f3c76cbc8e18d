#include "ui/text_glyphs.h"

#include <imgui.h>
#include <imgui_internal.h>

#include <algorithm>

#include "app/app.h"
#include "ui/runway_import_dialog.h"

namespace pistavox {

namespace {

// The text of the input field being edited, which may hold typed or pasted characters.
std::string EditedText() {
  const ImGuiContext* context = ImGui::GetCurrentContext();
  if (context == nullptr || context->ActiveId == 0 || context->InputTextState.ID != context->ActiveId) return "";
  const ImGuiInputTextState& state = context->InputTextState;
  std::string text(static_cast<std::size_t>(state.CurLenW) * 4 + 1, '\0');
  text.resize(static_cast<std::size_t>(
      ImTextStrToUtf8(text.data(), static_cast<int>(text.size()), state.TextW.Data, state.TextW.Data + state.CurLenW)));
  return text;
}

// Every text drawn from the App other than the log, one per line.
std::string FieldTexts(const App& app) {
  std::string texts;
  const auto add = [&texts](const std::string& text) {
    texts += text;
    texts += '\n';
  };
  const EngineStatus& status = app.monitor.status;
  for (const std::string* text : {&status.position.airport_ident, &status.position.runway_ident, &status.phase_name,
                                  &status.phase_reason, &app.status_message, &app.settings.expected_airport,
                                  &app.settings.expected_runway, &app.settings.simulator_host}) {
    add(*text);
  }
  for (const VoicePackEntry& pack : app.voice_packs) add(pack.name);
  for (const LogbookEntry& entry : app.recent_landings) {
    add(entry.airport);
    add(entry.runway);
  }
  for (const std::string& file : RunwayImportDialogFiles()) add(file);
  add(EditedText());
  return texts;
}

}  // namespace

bool UpdateTextGlyphs(const App& app, ImGuiIO& io, TextGlyphs& glyphs) {
  if (!glyphs.font.from_file) return false;
  const std::size_t fresh =
      static_cast<std::size_t>(std::min<uint64_t>(app.log.version - glyphs.log_version, app.log.lines.size()));
  for (auto line = app.log.lines.end() - static_cast<std::ptrdiff_t>(fresh); line != app.log.lines.end(); ++line) {
    WantGlyphs(io, glyphs.font, *line);
  }
  glyphs.log_version = app.log.version;
  std::string fields = FieldTexts(app);
  if (fields != glyphs.fields) {
    WantGlyphs(io, glyphs.font, fields);
    glyphs.fields = std::move(fields);
  }
  return AddWantedGlyphs(io, glyphs.font);
}

}  // namespace pistavox
