#include "ui/interface_fonts.h"

#include <imgui_internal.h>
#include <stb_truetype.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "base/file_reading.h"
#include "ui/labels.h"

namespace pistavox {

namespace {

// The full Chinese range costs a 200 MB atlas and a third of a second with some
// fonts; the common characters plus whatever the labels use cost a tenth of that.
const ImVector<ImWchar>& InterfaceGlyphRanges(ImGuiIO& io) {
  static ImVector<ImWchar> ranges;
  if (ranges.empty()) {
    ImFontGlyphRangesBuilder builder;
    builder.AddRanges(io.Fonts->GetGlyphRangesChineseSimplifiedCommon());
    for (const Label* label : InterfaceLabels()) {
      builder.AddText(label->english);
      builder.AddText(label->chinese);
    }
    builder.BuildRanges(&ranges);
  }
  return ranges;
}

// ImGui asserts on a file it cannot read as a font, so the file is tried first
// with the same reader, which checks the signature and the tables it needs.
bool ReadsAsFont(const std::string& bytes) {
  const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
  if (bytes.size() < 12) return false;
  const int offset = stbtt_GetFontOffsetForIndex(data, 0);
  stbtt_fontinfo info;
  return offset >= 0 && static_cast<std::size_t>(offset) < bytes.size() && stbtt_InitFont(&info, data, offset) != 0;
}

bool AddFontFile(ImGuiIO& io, const char* path, InterfaceFont& font) {
  std::string bytes;
  std::string reason;
  if (ReadFileBytes(path, kMaxDataFileBytes, bytes, reason) != FileReadStatus::kOk || !ReadsAsFont(bytes)) {
    return false;
  }
  ImFontConfig config;
  config.OversampleH = 2;
  config.OversampleV = 2;
  config.PixelSnapH = false;
  // The atlas frees the data it owns with ImGui's allocator.
  void* data = IM_ALLOC(bytes.size());
  std::memcpy(data, bytes.data(), bytes.size());
  const int size = static_cast<int>(bytes.size());
  font.ranges = InterfaceGlyphRanges(io);
  if (io.Fonts->AddFontFromMemoryTTF(data, size, kInterfaceFontPixels, &config, font.ranges.Data) == nullptr) {
    return false;
  }
  if (io.Fonts->Build()) return true;
  io.Fonts->Clear();
  return false;
}

}  // namespace

std::string LoadFirstInterfaceFont(ImGuiIO& io, std::span<const char* const> candidates, InterfaceFont& font) {
  io.Fonts->Clear();
  font.wanted.clear();
  font.lacking.clear();
  for (const char* path : candidates) {
    font.from_file = AddFontFile(io, path, font);
    if (font.from_file) return path;
  }
  io.Fonts->AddFontDefault();
  io.Fonts->Build();
  return "";
}

std::string LoadInterfaceFonts(ImGuiIO& io, InterfaceFont& font) {
  return LoadFirstInterfaceFont(io, InterfaceFontFiles(), font);
}

void WantGlyphs(const ImGuiIO& io, InterfaceFont& font, std::string_view text) {
  if (!font.from_file) return;
  const ImFont& loaded = *io.Fonts->Fonts[0];
  const ImFontConfig& config = io.Fonts->ConfigData[0];
  stbtt_fontinfo info;
  bool info_ready = false;  // read from the file only when a character is missing
  const char* end = text.data() + text.size();
  for (const char* p = text.data(); p < end;) {
    unsigned int c = 0;
    p += ImTextCharFromUtf8(&c, p, end);
    const auto wide = static_cast<ImWchar>(c);
    if (c < 0x80 || loaded.FindGlyphNoFallback(wide) != nullptr || font.lacking.contains(wide) ||
        std::find(font.wanted.begin(), font.wanted.end(), wide) != font.wanted.end()) {
      continue;
    }
    if (!info_ready) {
      const auto* data = static_cast<const unsigned char*>(config.FontData);
      info_ready = stbtt_InitFont(&info, data, stbtt_GetFontOffsetForIndex(data, config.FontNo)) != 0;
      if (!info_ready) return;
    }
    if (stbtt_FindGlyphIndex(&info, static_cast<int>(c)) != 0) {
      font.wanted.push_back(wide);
    } else {
      font.lacking.insert(wide);
    }
  }
}

bool AddWantedGlyphs(ImGuiIO& io, InterfaceFont& font) {
  if (font.wanted.empty()) return false;
  ImFontGlyphRangesBuilder builder;
  builder.AddRanges(font.ranges.Data);
  for (const ImWchar c : font.wanted) builder.AddChar(c);
  ImVector<ImWchar> ranges;
  builder.BuildRanges(&ranges);
  // The atlas keeps its font file and config; only the ranges change.
  ImFontConfig& config = io.Fonts->ConfigData[0];
  config.GlyphRanges = ranges.Data;
  if (io.Fonts->Build()) {
    font.ranges.swap(ranges);
  } else {
    // Back to the glyphs it had, which built before; the new ones are not tried again.
    config.GlyphRanges = font.ranges.Data;
    io.Fonts->Build();
    font.lacking.insert(font.wanted.begin(), font.wanted.end());
  }
  font.wanted.clear();
  return true;
}

}  // namespace pistavox
