#pragma once
#include <cstring>
#include <string>
#include <string_view>

namespace pistavox {

// Walks text line by line: lines end at a line feed, a carriage return directly
// before it is dropped, and text after the last line feed is a line when not empty.
struct LineCursor {
  std::string_view rest;
};

inline bool NextLine(LineCursor& cursor, std::string_view& line) {
  if (cursor.rest.empty()) return false;
  const std::size_t feed = cursor.rest.find('\n');
  if (feed == std::string_view::npos) {
    line = cursor.rest;
    cursor.rest = {};
    return true;
  }
  line = cursor.rest.substr(0, feed);
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  cursor.rest.remove_prefix(feed + 1);
  return true;
}

inline std::size_t CountLineFeeds(std::string_view text) {
  std::size_t count = 0;
  const char* at = text.data();
  const char* const end = at + text.size();
  while ((at = static_cast<const char*>(std::memchr(at, '\n', static_cast<std::size_t>(end - at)))) != nullptr) {
    ++count;
    ++at;
  }
  return count;
}

// The same lines from text that arrives in chunks (a file read piece by piece):
// feed every chunk in order, then finish.
struct ChunkedLines {
  std::string carry;  // the unfinished line of the chunks so far
};

template <typename OnLine>
void FeedLines(ChunkedLines& lines, std::string_view chunk, OnLine&& on_line) {
  while (true) {
    const std::size_t feed = chunk.find('\n');
    if (feed == std::string_view::npos) {
      lines.carry.append(chunk);
      return;
    }
    std::string_view line = chunk.substr(0, feed);
    if (!lines.carry.empty()) {
      lines.carry.append(line);
      line = lines.carry;
    }
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    on_line(line);
    lines.carry.clear();
    chunk.remove_prefix(feed + 1);
  }
}

template <typename OnLine>
void FinishLines(ChunkedLines& lines, OnLine&& on_line) {
  if (!lines.carry.empty()) on_line(std::string_view(lines.carry));
  lines.carry.clear();
}

}  // namespace pistavox
