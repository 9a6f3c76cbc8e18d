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
  // A line longer than this reaches the reader cut to one byte more, so the reader can
  // still tell it is too long, and the rest of it is never held.
  std::size_t max_line_bytes = std::string::npos - 2;
  std::string carry;  // the unfinished line of the chunks so far
  bool carry_cut = false;
};

// Holds on to `part` of an unfinished line, as far as the limit wants it: the line, one
// byte over, and room for a carriage return that may yet end it.
inline void CarryLinePart(ChunkedLines& lines, std::string_view part) {
  const std::size_t room = lines.max_line_bytes + 2 - lines.carry.size();
  if (part.size() > room) {
    part = part.substr(0, room);
    lines.carry_cut = true;
  }
  lines.carry.append(part);
}

// The carried line, its carriage return dropped; a cut one is one byte over the limit.
inline std::string_view CarriedLine(const ChunkedLines& lines) {
  std::string_view line = lines.carry;
  if (lines.carry_cut) return line.substr(0, lines.max_line_bytes + 1);
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  return line;
}

template <typename OnLine>
void FeedLines(ChunkedLines& lines, std::string_view chunk, OnLine&& on_line) {
  while (true) {
    const std::size_t feed = chunk.find('\n');
    if (feed == std::string_view::npos) {
      CarryLinePart(lines, chunk);
      return;
    }
    std::string_view line = chunk.substr(0, feed);
    if (lines.carry.empty()) {
      if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    } else {
      CarryLinePart(lines, line);
      line = CarriedLine(lines);
    }
    on_line(line);
    lines.carry.clear();
    lines.carry_cut = false;
    chunk.remove_prefix(feed + 1);
  }
}

template <typename OnLine>
void FinishLines(ChunkedLines& lines, OnLine&& on_line) {
  if (!lines.carry.empty()) on_line(lines.carry_cut ? CarriedLine(lines) : std::string_view(lines.carry));
  lines.carry.clear();
  lines.carry_cut = false;
}

}  // namespace pistavox
