#pragma once
#include <cstdint>
#include <string>

namespace pistavox {

// One callout of one poll. `key` is at once the audio key, the cooldown key and
// the first key tried in the rules; a larger priority is more important.
struct Advisory {
  std::string key;
  std::string text;
  int32_t priority = 0;
};

}  // namespace pistavox
