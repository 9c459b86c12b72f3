// Test-only: a program that imports version.dll, which the import check must refuse.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  DWORD handle = 0;
  return static_cast<int>(GetFileVersionInfoSizeA("kernel32.dll", &handle) == 0);
}
