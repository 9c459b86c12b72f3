#include "payload/entry_name.h"

#include <cstddef>

#include "payload/ansi_path.h"

namespace payload {

namespace {

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (Upper(a[i]) != Upper(b[i])) return false;
  }
  return true;
}

// Windows opens the device whatever follows the name's first dot, and it
// drops blanks before that dot.
bool IsDeviceName(std::string_view level) {
  std::string_view base = level.substr(0, level.find('.'));
  while (!base.empty() && base.back() == ' ') base.remove_suffix(1);
  static constexpr std::string_view kDevices[] = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"};
  for (std::string_view device : kDevices) {
    if (EqualsIgnoringCase(base, device)) return true;
  }
  if (base.size() == 4 && base[3] >= '1' && base[3] <= '9') {
    const std::string_view stem = base.substr(0, 3);
    return EqualsIgnoringCase(stem, "COM") || EqualsIgnoringCase(stem, "LPT");
  }
  return false;
}

bool IsForbiddenByte(char c) {
  const auto b = static_cast<unsigned char>(c);
  return b < 0x20 || c == ':' || c == '<' || c == '>' || c == '"' || c == '|' || c == '?' ||
         c == '*';
}

// One level of the name, between separators (may be empty).
bool IsAcceptableLevel(std::string_view level, char last_char) {
  if (level.empty()) return true;
  if (last_char == '.' || last_char == ' ') return false;
  return !IsDeviceName(level);
}

}  // namespace

bool IsAcceptableEntryName(std::string_view name, bool is_directory) {
  if (name.empty() || IsSeparator(name[0])) return false;
  std::size_t level_start = 0;
  char last_char = '\0';  // the last single-byte character of the level, '\0' after a double-byte one
  for (std::size_t i = 0; i < name.size();) {
    const std::size_t length = CharLength(name, i);
    const char c = name[i];
    if (length == 1 && IsSeparator(c)) {
      if (!IsAcceptableLevel(name.substr(level_start, i - level_start), last_char)) return false;
      level_start = i + 1;
      last_char = '\0';
    } else {
      if (length == 1 && IsForbiddenByte(c)) return false;
      last_char = length == 1 ? c : '\0';
    }
    i += length;
  }
  const std::string_view last_level = name.substr(level_start);
  if (last_level.empty()) return is_directory;  // a file entry must name a file
  return IsAcceptableLevel(last_level, last_char);
}

}  // namespace payload
