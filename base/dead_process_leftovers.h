#pragma once
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace pistavox {

// Hands `remove` each entry of `folder` whose name `owner_of` ties to a process (0: to
// none) that is neither this one nor running any more: what a killed process left behind.
// The process id a leftover's name ends with: all of `digits`, in decimal; 0 when they are not one.
std::uint32_t ProcessIdText(std::string_view digits);

void RemoveDeadProcessLeftovers(const std::filesystem::path& folder,
                                const std::function<std::uint32_t(const std::string& name)>& owner_of,
                                const std::function<void(const std::filesystem::path& entry)>& remove);

}  // namespace pistavox
