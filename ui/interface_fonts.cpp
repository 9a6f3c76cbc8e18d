#include "ui/interface_fonts.h"

#include <imgui.h>
#include <stb_truetype.h>

#include <cstring>
#include <string>

#include "base/file_reading.h"
#include "ui/labels.h"

namespace pistavox {

namespace {

// The full Chinese range costs a 200 MB atlas and a third of a second with some
// fonts; the common characters plus whatever the labels use cost a tenth of that.
const ImWchar* InterfaceGlyphRanges(ImGuiIO& io) {
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
  return ranges.Data;
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

bool AddFontFile(ImGuiIO& io, const char* path) {
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
  if (io.Fonts->AddFontFromMemoryTTF(data, size, kInterfaceFontPixels, &config, InterfaceGlyphRanges(io)) == nullptr) {
    return false;
  }
  if (io.Fonts->Build()) return true;
  io.Fonts->Clear();
  return false;
}

}  // namespace

std::string LoadFirstInterfaceFont(ImGuiIO& io, std::span<const char* const> candidates) {
  io.Fonts->Clear();
  for (const char* path : candidates) {
    if (AddFontFile(io, path)) return path;
  }
  io.Fonts->AddFontDefault();
  io.Fonts->Build();
  return "";
}

std::string LoadInterfaceFonts(ImGuiIO& io) { return LoadFirstInterfaceFont(io, InterfaceFontFiles()); }

}  // namespace pistavox
