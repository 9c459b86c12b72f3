#include "payload/ansi_path.h"

#include <windows.h>

#include <string>

namespace payload {

std::size_t CharLength(std::string_view s, std::size_t i) {
  return i + 1 < s.size() && IsDBCSLeadByte(static_cast<BYTE>(s[i])) ? 2 : 1;
}

bool EndsWithBackslash(std::string_view path) {
  bool last_is_backslash = false;
  for (std::size_t i = 0; i < path.size(); i += CharLength(path, i)) {
    last_is_backslash = path[i] == '\\';
  }
  return last_is_backslash;
}

bool PathExists(const char* path) {
  return path[0] != '\0' && GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

bool DirectoryExists(const char* path) {
  const DWORD attributes = GetFileAttributesA(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool MakeDirectories(const rt::Text& path) {
  // An empty path would become "\", the root of the current drive.
  if (path.Empty()) return false;
  std::string full(path.view());
  if (!EndsWithBackslash(full)) full += '\\';
  for (std::size_t i = 0; i < full.size(); i += CharLength(full, i)) {
    if (full[i] != '\\') continue;
    const std::string prefix = full.substr(0, i + 1);
    if (!PathExists(prefix.c_str()) && !CreateDirectoryA(prefix.c_str(), nullptr)) return false;
  }
  return true;
}

rt::Text OutputPath(const rt::Text& target, std::string_view entry_name) {
  std::string path(target.view());
  if (!EndsWithBackslash(path)) path += '\\';
  // "/" (0x2F) is never the second byte of a GBK character, so every one of
  // them is a separator.
  for (char c : entry_name) path += c == '/' ? '\\' : c;
  return rt::Text(std::string_view(path));
}

}  // namespace payload
