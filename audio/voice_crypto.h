#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace pistavox {

// The cryptography of voice packages, the same bytes on every platform: OpenSSL's
// libcrypto on Linux, CNG on Windows. Byte strings throughout.

inline constexpr std::size_t kAesKeyBytes = 32;
inline constexpr std::size_t kAesBlockBytes = 16;

// 32 bytes; empty on failure.
std::string Sha256(std::string_view bytes);

// The AES-256 key of a package: SHA-256 of the built-in pass phrase followed by the
// package's salt. Empty on failure.
std::string DeriveVoicePackageKey(std::string_view salt);

// AES-256-CBC with PKCS#7 padding. False for a key or IV of the wrong size, a
// ciphertext that is not whole blocks, or bad padding (which most wrong keys give).
bool DecryptAesCbc(std::string_view key, std::string_view iv, std::string_view ciphertext, std::string& plaintext);
bool EncryptAesCbc(std::string_view key, std::string_view iv, std::string_view plaintext, std::string& ciphertext);

// `count` bytes from the system's cryptographic generator.
bool RandomBytes(std::size_t count, std::string& bytes);

}  // namespace pistavox
