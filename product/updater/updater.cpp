// 升级助手: the product's updater. Reports the installed version and the
// update channel from Dormivet.ini; this release knows of no newer one.
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "product/core/dvcore.h"

namespace {

void ReadProductSetting(const char* section, const char* key, const char* fallback,
                        char* buffer, DWORD size) {
  char path[MAX_PATH];
  const char* folder = DvProgramFolder();
  if (std::strlen(folder) + sizeof "Dormivet.ini" > sizeof path) {
    lstrcpynA(buffer, fallback, static_cast<int>(size));
    return;
  }
  std::snprintf(path, sizeof path, "%sDormivet.ini", folder);
  GetPrivateProfileStringA(section, key, fallback, buffer, size, path);
}

}  // namespace

int main() {
  char channel[64];
  char address[256];
  ReadProductSetting("更新", "通道", "稳定版", channel, sizeof channel);
  ReadProductSetting("更新", "地址", "", address, sizeof address);
  std::printf("Dormivet 升级助手\n");
  std::printf("当前版本：%s\n", DvProductVersion());
  std::printf("更新通道：%s\n", channel);
  if (address[0] != '\0') std::printf("更新地址：%s\n", address);
  std::printf("已是最新版本。\n");
  return 0;
}
