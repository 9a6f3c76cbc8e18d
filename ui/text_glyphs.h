#pragma once
#include <cstdint>
#include <string>

#include "ui/interface_fonts.h"

// Glyphs for the texts that are not labels: log lines, names, paths and typed text.
struct ImGuiIO;

namespace pistavox {

struct App;

struct TextGlyphs {
  InterfaceFont font;
  uint64_t log_version = 0;  // the event log's version last looked at
  std::string fields;        // the other texts as last looked at
};

// Before a frame is built: adds the glyphs the App's texts need and the atlas lacks,
// looking only at new log lines and changed texts. True when the atlas was rebuilt: the
// renderer must make its font texture anew, and the frame must be drawn.
bool UpdateTextGlyphs(const App& app, ImGuiIO& io, TextGlyphs& glyphs);

}  // namespace pistavox
