#include <system_error>

#include "base/installed_root.h"

namespace pistavox {

std::filesystem::path InstalledResourceRoot() {
  // The link's target is the program's real file, so a symbolic link to it elsewhere
  // (a ~/bin shortcut) still leads to the installed tree.
  std::error_code ec;
  const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec || !program.is_absolute()) return {};
  return program.parent_path().parent_path() / "share" / "pistavox";
}

}  // namespace pistavox
