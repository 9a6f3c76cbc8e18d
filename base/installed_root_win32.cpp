#include <windows.h>

#include <string>

#include "base/installed_root.h"

namespace pistavox {

std::filesystem::path InstalledResourceRoot() {
  // Long paths may exceed MAX_PATH; a full buffer means the name was cut short.
  std::wstring name(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
    if (length == 0) return {};
    if (length < name.size()) {
      name.resize(length);
      return std::filesystem::path(name).parent_path();
    }
    if (name.size() >= 32768) return {};
    name.resize(name.size() * 2);
  }
}

}  // namespace pistavox
