// The font reader's implementation for the interface's font check. Linux links
// libstb's; on Windows it comes from ImGui's copy, in this one translation unit.
#define STB_TRUETYPE_IMPLEMENTATION
#include <stb_truetype.h>
