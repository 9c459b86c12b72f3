// Texts: NUL-terminated byte strings in the ANSI code page (GBK), held by value.
//
// Lengths and positions count bytes. Operations that search or split step over
// a double-byte character whole (a lead byte is any byte of 0x80 or more), so a
// match never starts on the second byte of a character: in GBK that second byte
// may well be '|' (0x7C) or '\' (0x5C).
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace rt {

class Text {
 public:
  Text() = default;
  Text(const char* bytes) : bytes_(bytes ? bytes : "") {}  // an absent text is empty
  Text(const char* bytes, std::size_t length) : bytes_(bytes, length) {}
  explicit Text(std::string_view bytes) : bytes_(bytes) {}

  const char* c_str() const { return bytes_.c_str(); }
  std::string_view view() const { return bytes_; }
  std::size_t Length() const { return bytes_.size(); }
  bool Empty() const { return bytes_.empty(); }
  unsigned char Byte(std::size_t i) const { return static_cast<unsigned char>(bytes_[i]); }

  friend bool operator==(const Text& a, const Text& b) { return a.bytes_ == b.bytes_; }

 private:
  std::string bytes_;
};

// True when b starts a double-byte character.
inline bool IsLeadByte(unsigned char b) { return b >= 0x80; }

inline std::string_view ViewOf(const Text& t) { return t.view(); }
inline std::string_view ViewOf(const char* s) { return s ? std::string_view(s) : std::string_view(); }
inline std::string_view ViewOf(std::string_view s) { return s; }

// A new text of the bytes of all parts (texts, literals), in order.
Text ConcatViews(std::initializer_list<std::string_view> parts);
template <typename... Parts>
Text Concat(const Parts&... parts) {
  return ConcatViews({ViewOf(parts)...});
}

// Byte-wise comparison on unsigned bytes: -1, 0 or 1.
int Compare(const Text& a, const Text& b);

// A new text without leading and trailing blanks: the ASCII space and the
// full-width space (A1 A1).
Text Trim(const Text& text);

// The 1-based byte position of the first occurrence of sought at or after
// position start, or -1 when there is none (also for an empty sought text).
int Find(const Text& text, const Text& sought, int start = 1);

// A new text of the first n bytes (the whole text when it is shorter; empty
// for n <= 0).
Text Left(const Text& text, int n);

// Splits text at every occurrence of separator (one or more bytes). Adjacent
// separators give empty elements; a separator at the very end adds none; an
// empty text gives no element.
std::vector<Text> Split(const Text& text, const Text& separator);

}  // namespace rt
