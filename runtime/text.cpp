#include "runtime/text.h"

#include <cstring>

namespace rt {

namespace {

// Width in bytes of the character that starts at i (a lead byte at the very
// end stands alone).
std::size_t CharWidth(std::string_view s, std::size_t i) {
  return IsLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size() ? 2 : 1;
}

bool IsFullWidthSpace(std::string_view s, std::size_t i) {
  return i + 1 < s.size() && static_cast<unsigned char>(s[i]) == 0xA1 &&
         static_cast<unsigned char>(s[i + 1]) == 0xA1;
}

}  // namespace

Text ConcatViews(std::initializer_list<std::string_view> parts) {
  std::size_t total = 0;
  for (auto p : parts) total += p.size();
  std::string bytes;
  bytes.reserve(total);
  for (auto p : parts) bytes.append(p);
  return Text(std::string_view(bytes));
}

int Compare(const Text& a, const Text& b) {
  const std::string_view x = a.view(), y = b.view();
  const std::size_t n = x.size() < y.size() ? x.size() : y.size();
  const int c = n ? std::memcmp(x.data(), y.data(), n) : 0;  // memcmp compares unsigned bytes
  if (c != 0) return c < 0 ? -1 : 1;
  if (x.size() == y.size()) return 0;
  return x.size() < y.size() ? -1 : 1;
}

Text Trim(const Text& text) {
  const std::string_view s = text.view();
  std::size_t begin = 0, end = s.size();
  // Leading blanks, walking whole characters.
  while (begin < end) {
    if (s[begin] == ' ') {
      ++begin;
    } else if (IsFullWidthSpace(s, begin)) {
      begin += 2;
    } else {
      break;
    }
  }
  // Trailing blanks: find the end of the last character that is not a blank,
  // walking forward so a trail byte is never mistaken for a blank.
  std::size_t last_end = begin;
  for (std::size_t i = begin; i < end;) {
    const std::size_t w = CharWidth(s, i);
    if (!(s[i] == ' ' || IsFullWidthSpace(s, i))) last_end = i + w;
    i += w;
  }
  return Text(s.substr(begin, last_end - begin));
}

int Find(const Text& text, const Text& sought, int start) {
  const std::string_view s = text.view(), t = sought.view();
  if (t.empty() || start < 1) return -1;
  const std::size_t from = static_cast<std::size_t>(start - 1);
  for (std::size_t i = 0; i < s.size(); i += CharWidth(s, i)) {
    if (i >= from && s.compare(i, t.size(), t) == 0) return static_cast<int>(i + 1);
  }
  return -1;
}

Text Left(const Text& text, int n) {
  if (n <= 0) return Text();
  return Text(text.view().substr(0, static_cast<std::size_t>(n)));
}

std::vector<Text> Split(const Text& text, const Text& separator) {
  std::vector<Text> out;
  const std::string_view s = text.view(), sep = separator.view();
  if (s.empty()) return out;
  if (sep.empty()) {
    out.emplace_back(s);
    return out;
  }
  std::size_t element = 0;
  for (std::size_t i = 0; i < s.size();) {
    if (s.compare(i, sep.size(), sep) == 0) {
      out.emplace_back(s.substr(element, i - element));
      i += sep.size();
      element = i;
    } else {
      i += CharWidth(s, i);
    }
  }
  if (element < s.size()) out.emplace_back(s.substr(element));
  return out;
}

}  // namespace rt
