#include "base/dead_process_leftovers.h"

#include <charconv>
#include <system_error>

#include "base/process_alive.h"

namespace pistavox {

std::uint32_t ProcessIdText(std::string_view digits) {
  std::uint32_t owner = 0;
  const auto [rest, failure] = std::from_chars(digits.data(), digits.data() + digits.size(), owner);
  return failure == std::errc() && rest == digits.data() + digits.size() ? owner : 0;
}

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
