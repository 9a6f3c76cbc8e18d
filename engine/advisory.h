#pragma once
#include <cstdint>
#include <string>

#include "engine/callout_catalogue.h"

namespace pistavox {

// One callout of one poll. Its situation's row gives its switch, groups and family;
// `key` is at once the audio key, the cooldown key and the first key tried in the
// rules' cooldowns; a larger priority is more important.
struct Advisory {
  CalloutSituation situation;
  std::string key;
  std::string text;
  int32_t priority = 0;
};

}  // namespace pistavox
