#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>

namespace pistavox {

// Text of at most 15 bytes held inline: the identifiers of a runway database, tens of
// thousands of them, which as strings would each carry 32 bytes and a world file's load
// would pay for every page of them. Identifiers are held in 16-byte buffers anyway.
struct ShortText {
  static constexpr std::size_t kCapacity = 15;

  ShortText() = default;
  // Longer text is cut to kCapacity bytes; a reader that must not cut checks FitsShortText first.
  ShortText(std::string_view text);  // NOLINT: converts as a string does
  template <typename Text>
  requires std::is_convertible_v<const Text&, std::string_view> &&
      (!std::is_same_v<Text, ShortText>)ShortText(const Text& text)
      : ShortText(std::string_view(text)) {}  // NOLINT

  std::string_view view() const { return {bytes_.data(), length_}; }
  operator std::string_view() const { return view(); }  // NOLINT
  std::string str() const { return std::string(view()); }
  bool empty() const { return length_ == 0; }
  std::size_t size() const { return length_; }

  friend bool operator==(const ShortText& a, std::string_view b) { return a.view() == b; }

 private:
  std::array<char, kCapacity> bytes_{};
  std::uint8_t length_ = 0;
};

inline bool FitsShortText(std::string_view text) { return text.size() <= ShortText::kCapacity; }

}  // namespace pistavox
