#include "tests/ui/headless_ui.h"

#include <imgui_internal.h>

#include <cstdint>
#include <cstring>
#include <unordered_map>

#include "ui/interface_fonts.h"
#include "ui/theme.h"

namespace pistavox::test {

namespace {
// Built once per program.
ImFontAtlas& SharedAtlas() {
  static ImFontAtlas* const shared = [] {
    static ImFontAtlas atlas;
    static InterfaceFont font;
    // The interface's loader works on an io; borrow a context to give it one.
    ImGuiContext* loader = ImGui::CreateContext(&atlas);
    LoadInterfaceFonts(ImGui::GetIO(), font);
    ImGui::DestroyContext(loader);
    return &atlas;
  }();
  return *shared;
}
}  // namespace

HeadlessUi::HeadlessUi(ImVec2 display_size) {
  context = ImGui::CreateContext(&SharedAtlas());
  ImGui::SetCurrentContext(context);
  ImGuiIO& io = ImGui::GetIO();
  io.IniFilename = nullptr;
  io.DisplaySize = display_size;
  io.DeltaTime = 1.0f / 60;
  io.ConfigFlags |= ImGuiConfigFlags_NavEnableKeyboard;
  // Keys are reported by their ImGuiKey number, as keyboard navigation requires every one mapped.
  for (int key = 0; key < ImGuiKey_COUNT; ++key) io.KeyMap[key] = key;
  unsigned char* pixels = nullptr;  // a frame needs the atlas's pixels, though none are drawn
  io.Fonts->GetTexDataAsRGBA32(&pixels, nullptr, nullptr);
  ApplyTheme();
}

HeadlessUi::~HeadlessUi() { ImGui::DestroyContext(context); }

namespace {
std::uint64_t UvKey(ImVec2 uv) {
  std::uint32_t u = 0;
  std::uint32_t v = 0;
  std::memcpy(&u, &uv.x, 4);
  std::memcpy(&v, &uv.y, 4);
  return (std::uint64_t{u} << 32) | v;
}

// Reads the glyphs back out of the draw data: each is a quad whose corners carry
// the glyph's corners in the atlas. Blanks draw nothing and so do not appear.
std::string DrawnGlyphs(const ImDrawData& data) {
  const ImFont* font = ImGui::GetIO().Fonts->Fonts[0];
  std::unordered_map<std::uint64_t, const ImFontGlyph*> by_corner;
  for (const ImFontGlyph& glyph : font->Glyphs) by_corner[UvKey(ImVec2(glyph.U0, glyph.V0))] = &glyph;
  std::string text;
  for (int list = 0; list < data.CmdListsCount; ++list) {
    const ImVector<ImDrawVert>& vertices = data.CmdLists[list]->VtxBuffer;
    for (int i = 0; i + 3 < vertices.Size; ++i) {
      const auto found = by_corner.find(UvKey(vertices[i].uv));
      if (found == by_corner.end() || !found->second->Visible) continue;
      const ImFontGlyph& glyph = *found->second;
      if (vertices[i + 2].uv.x != glyph.U1 || vertices[i + 2].uv.y != glyph.V1) continue;
      char utf8[5] = {};
      ImTextCharToUtf8(utf8, glyph.Codepoint);
      text += utf8;
      i += 3;
    }
    text += '\n';
  }
  return text;
}
}  // namespace

std::string HeadlessUi::Frame(const std::function<void()>& draw) {
  ImGui::SetCurrentContext(context);
  ImGui::NewFrame();
  draw();
  ImGui::Render();
  return DrawnGlyphs(*ImGui::GetDrawData());
}

bool Drew(const std::string& drawn, std::string text) {
  std::erase(text, ' ');
  return drawn.find(text) != std::string::npos;
}

void HeadlessUi::Click(ImVec2 at, const std::function<void()>& draw) {
  ImGuiIO& io = ImGui::GetIO();
  io.MousePos = at;
  Frame(draw);
  io.MouseDown[0] = true;
  Frame(draw);
  io.MouseDown[0] = false;
  Frame(draw);
}

ImVec2 HeadlessUi::FindItem(ImGuiID id, ImVec2 area_min, ImVec2 area_max, const std::function<void()>& draw,
                            float step) {
  for (float y = area_min.y; y < area_max.y; y += step) {
    for (float x = area_min.x; x < area_max.x; x += step) {
      ImGui::GetIO().MousePos = ImVec2(x, y);
      Frame(draw);
      if (ImGui::GetCurrentContext()->HoveredId == id) return ImVec2(x, y);
    }
  }
  return ImVec2(-1, -1);
}

ImVec2 HeadlessUi::FindItemIn(const std::string& window, const char* label, const std::function<void()>& draw,
                              float step) {
  Frame(draw);
  const ImGuiWindow* found = DrawnWindow(window);
  if (found == nullptr) return ImVec2(-1, -1);
  const ImRect visible = found->InnerClipRect;
  return FindItem(const_cast<ImGuiWindow*>(found)->GetID(label), visible.Min, visible.Max, draw, step);
}

bool HeadlessUi::ClickItemIn(const std::string& window, const char* label, const std::function<void()>& draw,
                             float step) {
  const ImVec2 at = FindItemIn(window, label, draw, step);
  if (at.x >= 0) Click(at, draw);
  return at.x >= 0;
}

ImGuiWindow* DrawnWindow(const std::string& name) {
  for (ImGuiWindow* window : ImGui::GetCurrentContext()->Windows) {
    const std::string full = window->Name;
    const bool named = full == name || full.find("/" + name + "_") != std::string::npos;
    if (named && window->Active) return window;
  }
  return nullptr;
}

bool DrewColour(const ImGuiWindow* window, const ImVec4& colour) {
  const ImU32 packed = ImGui::ColorConvertFloat4ToU32(colour);
  for (const ImDrawVert& vertex : window->DrawList->VtxBuffer) {
    if (vertex.col == packed) return true;
  }
  return false;
}

bool FontHasGlyphs(const char* text) {
  const ImFont* font = SharedAtlas().Fonts[0];
  for (const char* p = text; *p != '\0';) {
    unsigned int c = 0;
    p += ImTextCharFromUtf8(&c, p, nullptr);
    if (font->FindGlyphNoFallback(static_cast<ImWchar>(c)) == nullptr) return false;
  }
  return true;
}

}  // namespace pistavox::test
