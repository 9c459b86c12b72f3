#define DVSTORE_BUILD
#include "product/store/dvstore.h"

#include <windows.h>

#include <cstring>

#include "product/core/dvcore.h"

int DvReadSetting(const char* section, const char* key, const char* fallback, char* buffer,
                  int size) {
  if (buffer == nullptr || size <= 0) return 0;
  // GetPrivateProfileString looks in the Windows folder for a bare name, so
  // the settings file is always named with its full path.
  char path[MAX_PATH];
  const char* folder = DvProgramFolder();
  const char* name = "配置\\界面设置.ini";
  if (std::strlen(folder) + std::strlen(name) >= sizeof path) {
    lstrcpynA(buffer, fallback, size);
    return lstrlenA(buffer);
  }
  lstrcpyA(path, folder);
  lstrcatA(path, name);
  return static_cast<int>(GetPrivateProfileStringA(section, key, fallback, buffer,
                                                   static_cast<DWORD>(size), path));
}
