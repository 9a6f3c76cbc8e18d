#include "audio/voice_crypto.h"

namespace pistavox {

namespace {

// Every package ever written is keyed with it: it can never change.
constexpr std::string_view kPassPhrase = "Corvid lamp sound bundle 1997-11ab";

}  // namespace

std::string DeriveVoicePackageKey(std::string_view salt) {
  std::string keyed(kPassPhrase);
  keyed.append(salt);
  return Sha256(keyed);
}

}  // namespace pistavox
