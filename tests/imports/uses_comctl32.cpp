// Test-only: a program that imports comctl32, which the import check must refuse.
#include <windows.h>

#include <commctrl.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  InitCommonControls();
  return 0;
}
