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
// be refused, and the default font then serves.
TEST(InterfaceFontsTest, UnusableCandidatesAreSkippedForTheFirstGoodFont) {
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

  ImGuiContext* context = ImGui::CreateContext();
  EXPECT_EQ(LoadFirstInterfaceFont(ImGui::GetIO(), candidates), expected);
  ImFontAtlas* atlas = ImGui::GetIO().Fonts;
  EXPECT_TRUE(atlas->IsBuilt());
  ASSERT_EQ(atlas->Fonts.Size, 1);
  if (!present.empty()) {
    EXPECT_EQ(atlas->Fonts[0]->FontSize, kInterfaceFontPixels);
  }
  ImGui::DestroyContext(context);
}

TEST(InterfaceFontsTest, WithoutAnyFontImGuisDefaultServes) {
  const char* candidates[] = {"/nonexistent/a.ttc", "/nonexistent/b.ttf"};
  ImGuiContext* context = ImGui::CreateContext();
  EXPECT_EQ(LoadFirstInterfaceFont(ImGui::GetIO(), candidates), "");
  ImFontAtlas* atlas = ImGui::GetIO().Fonts;
  EXPECT_TRUE(atlas->IsBuilt());
  ASSERT_EQ(atlas->Fonts.Size, 1);
  EXPECT_NE(atlas->Fonts[0]->FindGlyphNoFallback('M'), nullptr);
  ImGui::DestroyContext(context);
}

// Chinese glyphs need a font that has them; DejaVu Sans, the last candidate, has none.
TEST(InterfaceFontsTest, EveryLabelOfBothLanguagesHasItsGlyphs) {
  const std::string& file = test::SharedAtlasFontFile();
  if (file.empty() || file.find("DejaVu") != std::string::npos) GTEST_SKIP() << "no Chinese font installed";
  test::HeadlessUi ui;
  const ImFont* font = ImGui::GetIO().Fonts->Fonts[0];
  for (const Label* label : InterfaceLabels()) {
    for (const char* text : {label->english, label->chinese}) {
      for (const char* p = text; *p != '\0';) {
        unsigned int c = 0;
        p += ImTextCharFromUtf8(&c, p, nullptr);
        EXPECT_NE(font->FindGlyphNoFallback(static_cast<ImWchar>(c)), nullptr) << text << " U+" << std::hex << c;
      }
    }
  }
}

}  // namespace
}  // namespace pistavox
