#define DVCORE_BUILD
#include "product/core/dvcore.h"

#include <windows.h>

const char* DvProductVersion() {
  return "1.4.2";
}

const char* DvProgramFolder() {
  static char folder[MAX_PATH];
  if (folder[0] == '\0') {
    DWORD length = GetModuleFileNameA(nullptr, folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
      folder[0] = '\0';
      return folder;
    }
    // Cut after the last backslash; a GBK trail byte can be 0x5C, so step
    // over double-byte characters instead of searching backwards.
    char* last = nullptr;
    for (char* p = folder; *p != '\0'; p = CharNextA(p)) {
      if (*p == '\\') last = p;
    }
    if (last != nullptr) last[1] = '\0';
  }
  return folder;
}
