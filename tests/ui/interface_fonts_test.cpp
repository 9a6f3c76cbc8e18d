#include "ui/interface_fonts.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/scoped_workdir.h"
#include "tests/ui/headless_ui.h"
#include "ui/labels.h"

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
  // A collection header that names no font.
  test::WriteTextFile("hollow.ttc", std::string("ttcf\0\1\0\0\0\0\0\0\0\0\0\0", 16));
  std::filesystem::create_directory("folder.ttf");
  const std::string notes = (workdir.path / "notes.ttf").string();
  const std::string hollow = (workdir.path / "hollow.ttc").string();
  std::vector<const char*> candidates = {"/nonexistent/font.ttf", notes.c_str(), "empty.ttf", hollow.c_str(),
                                         "folder.ttf"};
  if (!present.empty()) candidates.push_back(present.front());

  // Each context its own atlas: once with whatever font is present, once with none at all,
  // when ImGui's default font serves.
  for (const bool with_present : {true, false}) {
    if (!with_present && !present.empty()) candidates.pop_back();
    ImGuiContext* context = ImGui::CreateContext();
    EXPECT_EQ(LoadFirstInterfaceFont(ImGui::GetIO(), candidates), with_present ? expected : "");
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

}  // namespace
}  // namespace pistavox
