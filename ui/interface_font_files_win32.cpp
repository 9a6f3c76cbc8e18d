#include "ui/interface_fonts.h"

namespace pistavox {

namespace {
// Microsoft YaHei draws both languages; Segoe UI, on every Windows, the English labels at least.
constexpr const char* kFontFiles[] = {
    "C:\\Windows\\Fonts\\msyh.ttc",
    "C:\\Windows\\Fonts\\msyhbd.ttc",
    "C:\\Windows\\Fonts\\SegUIVar.ttf",
    "C:\\Windows\\Fonts\\segoeui.ttf",
};
}  // namespace

std::span<const char* const> InterfaceFontFiles() { return kFontFiles; }

}  // namespace pistavox
