#include <windows.h>
// windows.h first: bcrypt.h needs its types.
#include <bcrypt.h>

#include <climits>

#include "audio/voice_crypto.h"

namespace pistavox {

namespace {

bool Succeeded(NTSTATUS status) { return status >= 0; }

PUCHAR Bytes(std::string_view text) { return reinterpret_cast<PUCHAR>(const_cast<char*>(text.data())); }
PUCHAR Bytes(std::string& text) { return reinterpret_cast<PUCHAR>(text.data()); }

struct Provider {
  BCRYPT_ALG_HANDLE handle = nullptr;
  ~Provider() {
    if (handle) BCryptCloseAlgorithmProvider(handle, 0);
  }
};

struct Key {
  BCRYPT_KEY_HANDLE handle = nullptr;
  ~Key() {
    if (handle) BCryptDestroyKey(handle);
  }
};

using CipherCall = NTSTATUS(WINAPI*)(BCRYPT_KEY_HANDLE, PUCHAR, ULONG, VOID*, PUCHAR, ULONG, PUCHAR, ULONG, ULONG*,
                                     ULONG);

// One CBC pass with block padding: the first call asks for the output size, the
// second fills it; the size query answers the padded size, the second call the true one.
bool AesCbc(CipherCall call, std::string_view key, std::string_view iv, std::string_view input, std::string& output) {
  if (key.size() != kAesKeyBytes || iv.size() != kAesBlockBytes || input.size() > ULONG_MAX - kAesBlockBytes)
    return false;
  Provider aes;
  Key handle;
  if (!Succeeded(BCryptOpenAlgorithmProvider(&aes.handle, BCRYPT_AES_ALGORITHM, nullptr, 0)) ||
      !Succeeded(BCryptSetProperty(aes.handle, BCRYPT_CHAINING_MODE,
                                   reinterpret_cast<PUCHAR>(const_cast<wchar_t*>(BCRYPT_CHAIN_MODE_CBC)),
                                   sizeof(BCRYPT_CHAIN_MODE_CBC), 0)) ||
      !Succeeded(BCryptGenerateSymmetricKey(aes.handle, &handle.handle, nullptr, 0, Bytes(key),
                                            static_cast<ULONG>(key.size()), 0)))
    return false;
  // Each call advances the IV it is given.
  std::string chain(iv);
  ULONG size = 0;
  if (!Succeeded(call(handle.handle, Bytes(input), static_cast<ULONG>(input.size()), nullptr, Bytes(chain),
                      static_cast<ULONG>(chain.size()), nullptr, 0, &size, BCRYPT_BLOCK_PADDING)) ||
      size == 0)
    return false;
  std::string result(size, '\0');
  chain.assign(iv);
  if (!Succeeded(call(handle.handle, Bytes(input), static_cast<ULONG>(input.size()), nullptr, Bytes(chain),
                      static_cast<ULONG>(chain.size()), Bytes(result), size, &size, BCRYPT_BLOCK_PADDING)))
    return false;
  result.resize(size);
  output = std::move(result);
  return true;
}

}  // namespace

// Create, hash, finish rather than the one-call BCryptHash, which Windows 7 and 8 lack.
std::string Sha256(std::string_view bytes) {
  if (bytes.size() > ULONG_MAX) return {};
  Provider sha;
  if (!Succeeded(BCryptOpenAlgorithmProvider(&sha.handle, BCRYPT_SHA256_ALGORITHM, nullptr, 0))) return {};
  BCRYPT_HASH_HANDLE hash = nullptr;
  if (!Succeeded(BCryptCreateHash(sha.handle, &hash, nullptr, 0, nullptr, 0, 0))) return {};
  std::string digest(32, '\0');
  const bool done = Succeeded(BCryptHashData(hash, Bytes(bytes), static_cast<ULONG>(bytes.size()), 0)) &&
                    Succeeded(BCryptFinishHash(hash, Bytes(digest), static_cast<ULONG>(digest.size()), 0));
  BCryptDestroyHash(hash);
  return done ? digest : std::string();
}

bool DecryptAesCbc(std::string_view key, std::string_view iv, std::string_view ciphertext, std::string& plaintext) {
  return AesCbc(BCryptDecrypt, key, iv, ciphertext, plaintext);
}

bool EncryptAesCbc(std::string_view key, std::string_view iv, std::string_view plaintext, std::string& ciphertext) {
  return AesCbc(BCryptEncrypt, key, iv, plaintext, ciphertext);
}

bool RandomBytes(std::size_t count, std::string& bytes) {
  if (count > ULONG_MAX) return false;
  std::string result(count, '\0');
  if (!Succeeded(BCryptGenRandom(nullptr, Bytes(result), static_cast<ULONG>(count), BCRYPT_USE_SYSTEM_PREFERRED_RNG)))
    return false;
  bytes = std::move(result);
  return true;
}

}  // namespace pistavox
