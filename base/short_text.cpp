#include "base/short_text.h"

#include <algorithm>

namespace pistavox {

ShortText::ShortText(std::string_view text) {
  length_ = static_cast<std::uint8_t>(std::min(text.size(), kCapacity));
  std::copy_n(text.data(), length_, bytes_.data());
}

}  // namespace pistavox
