#include <openssl/evp.h>
#include <openssl/rand.h>

#include <climits>
#include <memory>

#include "audio/voice_crypto.h"

namespace pistavox {

namespace {

using CipherContext = std::unique_ptr<EVP_CIPHER_CTX, decltype(&EVP_CIPHER_CTX_free)>;

const unsigned char* Bytes(std::string_view text) { return reinterpret_cast<const unsigned char*>(text.data()); }

bool AesCbc(bool encrypt, std::string_view key, std::string_view iv, std::string_view input, std::string& output) {
  // The library counts in int; one block of padding may be added.
  if (key.size() != kAesKeyBytes || iv.size() != kAesBlockBytes || input.size() > INT_MAX - kAesBlockBytes)
    return false;
  const CipherContext context(EVP_CIPHER_CTX_new(), EVP_CIPHER_CTX_free);
  if (!context || EVP_CipherInit_ex(context.get(), EVP_aes_256_cbc(), nullptr, Bytes(key), Bytes(iv), encrypt) != 1)
    return false;
  std::string result(input.size() + kAesBlockBytes, '\0');
  auto* out = reinterpret_cast<unsigned char*>(result.data());
  int written = 0;
  int last = 0;
  if (EVP_CipherUpdate(context.get(), out, &written, Bytes(input), static_cast<int>(input.size())) != 1 ||
      EVP_CipherFinal_ex(context.get(), out + written, &last) != 1)
    return false;
  result.resize(static_cast<std::size_t>(written) + static_cast<std::size_t>(last));
  output = std::move(result);
  return true;
}

}  // namespace

std::string Sha256(std::string_view bytes) {
  std::string digest(EVP_MAX_MD_SIZE, '\0');
  unsigned int size = 0;
  if (EVP_Digest(bytes.data(), bytes.size(), reinterpret_cast<unsigned char*>(digest.data()), &size, EVP_sha256(),
                 nullptr) != 1)
    return {};
  digest.resize(size);
  return digest;
}

bool DecryptAesCbc(std::string_view key, std::string_view iv, std::string_view ciphertext, std::string& plaintext) {
  return AesCbc(false, key, iv, ciphertext, plaintext);
}

bool EncryptAesCbc(std::string_view key, std::string_view iv, std::string_view plaintext, std::string& ciphertext) {
  return AesCbc(true, key, iv, plaintext, ciphertext);
}

bool RandomBytes(std::size_t count, std::string& bytes) {
  if (count > INT_MAX) return false;
  std::string result(count, '\0');
  if (RAND_bytes(reinterpret_cast<unsigned char*>(result.data()), static_cast<int>(count)) != 1) return false;
  bytes = std::move(result);
  return true;
}

}  // namespace pistavox
