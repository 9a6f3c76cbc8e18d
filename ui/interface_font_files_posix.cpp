#include "ui/interface_fonts.h"

namespace pistavox {

namespace {
// WenQuanYi first: its atlas builds fastest of the fonts with Chinese glyphs;
// DejaVu Sans, nearly always present, draws the English labels at least.
constexpr const char* kFontFiles[] = {
    "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc",
    "/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc",
    "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
};
}  // namespace

std::span<const char* const> InterfaceFontFiles() { return kFontFiles; }

}  // namespace pistavox
