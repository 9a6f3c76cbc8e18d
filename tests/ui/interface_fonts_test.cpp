#include "ui/interface_fonts.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "app/app.h"
#include "tests/support/scoped_workdir.h"
#include "tests/ui/headless_ui.h"
#include "ui/labels.h"
#include "ui/text_glyphs.h"

namespace pistavox {
namespace {

// The system's fonts the loader knows of, present ones only.
std::vector<const char*> PresentFonts() {
  std::vector<const char*> present;
  for (const char* path : InterfaceFontFiles()) {
    if (std::filesystem::exists(path)) present.push_back(path);
  }
  return present;
}

// Without any installed candidate (Windows under wine) the unusable files must still
// be refused.
TEST(InterfaceFontsTest, UnusableCandidatesAreSkippedForTheFirstGoodFontOrImGuisDefault) {
  const std::vector<const char*> present = PresentFonts();
  const std::string expected = present.empty() ? "" : present.front();
  test::ScopedWorkdir workdir("interface-fonts");
  test::WriteTextFile("notes.ttf", "not a font at all, though named like one");
  test::WriteTextFile("empty.ttf", "");
  // A collection header that names no font, and a font's header with no tables.
  test::WriteTextFile("hollow.ttc", std::string("ttcf\0\1\0\0\0\0\0\0\0\0\0\0", 16));
  test::WriteTextFile("bare.ttf", std::string("\0\1\0\0\0\0\0\0\0\0\0\0", 12));
  std::filesystem::create_directory("folder.ttf");
  const std::string notes = (workdir.path / "notes.ttf").string();
  const std::string hollow = (workdir.path / "hollow.ttc").string();
  std::vector<const char*> candidates = {"/nonexistent/font.ttf", notes.c_str(), "empty.ttf",
                                         hollow.c_str(),          "bare.ttf",    "folder.ttf"};
  if (!present.empty()) candidates.push_back(present.front());

  // Each context its own atlas: once with whatever font is present, once with none at all,
  // when ImGui's default font serves.
  for (const bool with_present : {true, false}) {
    if (!with_present && !present.empty()) candidates.pop_back();
    ImGuiContext* context = ImGui::CreateContext();
    InterfaceFont font;
    EXPECT_EQ(LoadFirstInterfaceFont(ImGui::GetIO(), candidates, font), with_present ? expected : "");
    const ImFontAtlas* atlas = ImGui::GetIO().Fonts;
    EXPECT_TRUE(atlas->IsBuilt());
    EXPECT_EQ(atlas->Fonts.Size, 1);
    EXPECT_NE(atlas->Fonts[0]->FindGlyphNoFallback('M'), nullptr);
    if (with_present && !present.empty()) {
      EXPECT_EQ(atlas->Fonts[0]->FontSize, kInterfaceFontPixels);
    }
    ImGui::DestroyContext(context);
  }
}

// Chinese glyphs need a font that has them; DejaVu Sans, the last candidate, has none.
TEST(InterfaceFontsTest, EveryLabelOfBothLanguagesHasItsGlyphs) {
  if (!test::FontHasGlyphs("监控")) GTEST_SKIP() << "no Chinese font installed";
  for (const Label* label : InterfaceLabels()) {
    EXPECT_TRUE(test::FontHasGlyphs(label->english)) << label->english;
    EXPECT_TRUE(test::FontHasGlyphs(label->chinese)) << label->chinese;
  }
}

// Rare characters of log lines, names and typed text are added between frames; one the
// font lacks costs no rebuild, then or later.
TEST(InterfaceFontsTest, TextsBeyondTheStartUpRangeGetTheirGlyphsBeforeTheNextFrame) {
  if (!test::FontHasGlyphs("监控")) GTEST_SKIP() << "no Chinese font installed";
  ImGuiContext* context = ImGui::CreateContext();
  ImGuiIO& io = ImGui::GetIO();
  io.IniFilename = nullptr;
  io.DisplaySize = ImVec2(400, 300);
  TextGlyphs glyphs;
  LoadInterfaceFonts(io, glyphs.font);
  unsigned char* pixels = nullptr;
  io.Fonts->GetTexDataAsRGBA32(&pixels, nullptr, nullptr);
  const ImFont& font = *io.Fonts->Fonts[0];
  const auto has = [&font](ImWchar c) { return font.FindGlyphNoFallback(c) != nullptr; };
  ASSERT_FALSE(has(u'埇') || has(u'込') || has(u'畑') || has(u'鍪')) << "no longer beyond the start-up range";

  App app;
  EXPECT_FALSE(UpdateTextGlyphs(app, io, glyphs));
  Log(app.log, "Imported 埇桥");
  app.voice_packs.push_back({"込畑", {}});
  EXPECT_TRUE(UpdateTextGlyphs(app, io, glyphs));
  EXPECT_TRUE(has(u'埇') && has(u'込') && has(u'畑') && has(u'监') && has('M'));

  // A noncharacter, which no font has, and characters already added.
  Log(app.log, "込\uFDD0");
  app.status_message = "\uFDD0埇";
  EXPECT_FALSE(UpdateTextGlyphs(app, io, glyphs));
  app.status_message = "\uFDD0";
  EXPECT_FALSE(UpdateTextGlyphs(app, io, glyphs));
  EXPECT_FALSE(has(0xFDD0));

  // Typed into a field that no App text holds.
  char typed[16] = "";
  const auto frame = [&typed] {
    ImGui::NewFrame();
    ImGui::Begin("typing");
    if (!ImGui::IsAnyItemActive()) ImGui::SetKeyboardFocusHere();
    ImGui::InputText("##field", typed, sizeof typed);
    ImGui::End();
    ImGui::Render();
  };
  frame();
  frame();  // focus is asked for in one frame and taken in the next
  io.AddInputCharactersUTF8("鍪");
  frame();
  EXPECT_TRUE(UpdateTextGlyphs(app, io, glyphs));
  EXPECT_TRUE(has(u'鍪'));
  ImGui::DestroyContext(context);
}

}  // namespace
}  // namespace pistavox
