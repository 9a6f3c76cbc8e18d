#pragma once
#include <cstdint>
#include <string_view>

namespace pistavox {

// 64-bit FNV-1a over bytes: the hash the program writes out where a hash is seen.
inline std::uint64_t Fnv1a64(std::string_view bytes, std::uint64_t hash = 0xcbf29ce484222325ull) {
  for (const char c : bytes) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 0x100000001b3ull;
  }
  return hash;
}

}  // namespace pistavox
