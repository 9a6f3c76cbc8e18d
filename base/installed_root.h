#pragma once
#include <filesystem>

namespace pistavox {

// Where an installed copy of the programs keeps its data/ and bin/: share/pistavox
// beside the bin/ folder the running program is in on Linux, the program's own folder
// on Windows. Empty when the program cannot tell where it is.
std::filesystem::path InstalledResourceRoot();

}  // namespace pistavox
