#pragma once
#include <string_view>

namespace pistavox {

// Walks text line by line: lines end at a line feed, a carriage return directly
// before it is dropped, and text after the last line feed is a line when not empty.
class LineReader {
 public:
  explicit LineReader(std::string_view text) : rest_(text) {}

  bool Next(std::string_view& line) {
    if (rest_.empty()) return false;
    const std::size_t feed = rest_.find('\n');
    if (feed == std::string_view::npos) {
      line = rest_;
      rest_ = {};
      return true;
    }
    line = rest_.substr(0, feed);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    rest_.remove_prefix(feed + 1);
    return true;
  }

 private:
  std::string_view rest_;
};

}  // namespace pistavox
