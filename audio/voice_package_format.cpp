#include "audio/voice_package_format.h"

#include <limits>

#include "audio/voice_crypto.h"
#include "base/utf16_text.h"

namespace pistavox {

namespace {

// Little-endian at `offset`; a field whose bytes lie past the end reads as 0.
template <typename Integer>
Integer ReadLittleEndian(std::string_view bytes, std::size_t offset) {
  if (offset > bytes.size() || bytes.size() - offset < sizeof(Integer)) return 0;
  Integer value = 0;
  for (std::size_t i = sizeof(Integer); i-- > 0;)
    value = static_cast<Integer>((value << 8) | static_cast<unsigned char>(bytes[offset + i]));
  return value;
}

bool Fail(std::string& error, std::string_view reason, std::string_view package_text) {
  error = std::string(reason) + std::string(package_text);
  return false;
}

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

// Windows drops trailing dots and spaces from a name, so ". ." or "..." may walk up as "..".
bool WalksUp(std::string_view component) {
  std::size_t dots = 0;
  for (const char c : component) {
    if (c == '.')
      ++dots;
    else if (c != ' ')
      return false;
  }
  return dots >= 2;
}

template <typename Visit>
void ForEachComponent(std::string_view name, Visit visit) {
  std::size_t start = 0;
  while (start <= name.size()) {
    std::size_t end = start;
    while (end < name.size() && !IsSeparator(name[end])) ++end;
    visit(name.substr(start, end - start));
    start = end + 1;
  }
}

}  // namespace

bool OpenVoicePackage(std::string_view file_bytes, std::string_view package_text, std::string& payload,
                      std::uint32_t& count, std::string& error) {
  constexpr std::size_t kFixedFieldBytes = 28;  // magic, version, the three lengths
  if (file_bytes.size() < kFixedFieldBytes || !file_bytes.starts_with(kVoicePackageMagic))
    return Fail(error, "Invalid voice package: ", package_text);
  const auto version = ReadLittleEndian<std::uint32_t>(file_bytes, 8);
  const auto salt_bytes = ReadLittleEndian<std::uint32_t>(file_bytes, 12);
  const auto iv_bytes = ReadLittleEndian<std::uint32_t>(file_bytes, 16);
  const auto cipher_bytes = ReadLittleEndian<std::uint64_t>(file_bytes, 20);
  // A length so large that 60 + n wraps is not "in rule" either: it fails below as a
  // copy that does not fit, never as a read past the file.
  const bool sum_wraps = cipher_bytes > std::numeric_limits<std::uint64_t>::max() - kVoicePackageHeaderBytes;
  if (version != kVoicePackageVersion || salt_bytes != kVoicePackageSaltBytes || iv_bytes != salt_bytes ||
      cipher_bytes == 0 || (!sum_wraps && kVoicePackageHeaderBytes + cipher_bytes > file_bytes.size()))
    return Fail(error, "Unsupported voice package: ", package_text);
  if (sum_wraps) return Fail(error, "Corrupt voice package: ", package_text);
  const std::string_view salt = file_bytes.substr(28, kVoicePackageSaltBytes);
  const std::string_view iv = file_bytes.substr(44, kVoicePackageSaltBytes);
  const std::string_view ciphertext = file_bytes.substr(kVoicePackageHeaderBytes, cipher_bytes);
  const std::string key = DeriveVoicePackageKey(salt);
  if (key.empty() || !DecryptAesCbc(key, iv, ciphertext, payload))
    return Fail(error, "Cannot decrypt voice package: ", package_text);
  return CheckVoicePayload(payload, package_text, count, error);
}

bool CheckVoicePayload(std::string_view payload, std::string_view package_text, std::uint32_t& count,
                       std::string& error) {
  if (!payload.starts_with(kVoicePayloadMagic)) return Fail(error, "Invalid decrypted voice package: ", package_text);
  count = ReadLittleEndian<std::uint32_t>(payload, kVoicePayloadMagic.size());
  if (payload.size() < kVoicePayloadHeaderBytes || count == 0 || count > kMaxVoicePackageEntries)
    return Fail(error, "Voice package has invalid file count: ", package_text);
  return true;
}

bool WalkVoicePayload(std::string_view payload, std::uint32_t count, std::string_view package_text,
                      const std::function<bool(const VoicePayloadEntry& entry)>& visit, std::string& error) {
  std::size_t at = kVoicePayloadHeaderBytes;
  for (std::uint32_t i = 0; i < count; ++i) {
    const auto name_bytes = ReadLittleEndian<std::uint32_t>(payload, at);
    const auto data_bytes = ReadLittleEndian<std::uint64_t>(payload, at + 4);
    const std::size_t body = at + 12;
    // Both lengths are bounded before they are added, so the sum cannot wrap.
    if (name_bytes == 0 || name_bytes > kMaxVoicePackageNameBytes || data_bytes > payload.size() ||
        body > payload.size() || name_bytes + data_bytes > payload.size() - body)
      return Fail(error, "Voice package entry is corrupt: ", package_text);
    const VoicePayloadEntry entry{payload.substr(body, name_bytes), payload.substr(body + name_bytes, data_bytes)};
    if (!IsSafeEntryName(entry.name)) return Fail(error, "Voice package contains unsafe path: ", entry.name);
    if (!visit(entry)) return false;
    at = body + name_bytes + data_bytes;
  }
  return true;
}

bool IsSafeEntryName(std::string_view name) {
  if (name.empty() || IsSeparator(name.front()) || name.find_first_of(std::string_view(":\0", 2)) != name.npos)
    return false;
  bool safe = true;
  ForEachComponent(name, [&](std::string_view component) { safe = safe && !WalksUp(component); });
  return safe;
}

std::filesystem::path EntryRelativePath(std::string_view name) {
  std::filesystem::path path;
  ForEachComponent(name, [&](std::string_view component) {
    if (!component.empty()) path /= std::filesystem::path(Utf8ToUtf16(component));
  });
  return path;
}

bool IsManifestEntryName(std::string_view name) {
  const std::size_t last = name.find_last_of("/\\");
  return name.substr(last == name.npos ? 0 : last + 1) == "manifest.csv";
}

}  // namespace pistavox
