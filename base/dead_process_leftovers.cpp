#include "base/dead_process_leftovers.h"

#include <system_error>

#include "base/process_alive.h"

namespace pistavox {

void RemoveDeadProcessLeftovers(const std::filesystem::path& folder,
                                const std::function<std::uint32_t(const std::string& name)>& owner_of,
                                const std::function<void(const std::filesystem::path& entry)>& remove) {
  std::error_code ec;
  for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const std::uint32_t owner = owner_of(it->path().filename().string());
    if (owner != 0 && owner != OwnProcessId() && !ProcessAlive(owner)) remove(it->path());
  }
}

}  // namespace pistavox
