#include "runtime/shell_folders.h"

#include <windows.h>
#include <shlobj.h>

namespace rt {

namespace {

// Whether the last character is a backslash, walking whole characters: the
// second byte of a double-byte character may be 0x5C as well.
bool EndsInBackslash(const Text& text) {
  bool last_is_backslash = false;
  for (std::size_t i = 0; i < text.Length();) {
    last_is_backslash = text.Byte(i) == '\\';
    i += IsLeadByte(text.Byte(i)) && i + 1 < text.Length() ? 2 : 1;
  }
  return last_is_backslash;
}

}  // namespace

Text SpecialFolder(std::int32_t code) {
  char buffer[MAX_PATH] = "";
  bool ok = false;
  if (code == kDesktopFolder) {
    ok = SHGetSpecialFolderPathA(nullptr, buffer, CSIDL_DESKTOPDIRECTORY, FALSE) != FALSE;
  } else if (code == kTempFolder) {
    const DWORD length = GetTempPathA(MAX_PATH, buffer);
    ok = length > 0 && length < MAX_PATH;
  }
  if (!ok || buffer[0] == '\0') return Text();
  const Text folder(buffer);
  return EndsInBackslash(folder) ? folder : Concat(folder, "\\");
}

}  // namespace rt
