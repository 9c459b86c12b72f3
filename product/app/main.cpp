// Dormivet: the product's main program.
#include <windows.h>

#include "product/app/main_window.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
  dormivet::MainWindow window;
  if (!window.Create(instance, show)) {
    MessageBoxA(nullptr, "无法创建 Dormivet 的窗口。", "Dormivet", MB_OK | MB_ICONERROR);
    return 1;
  }
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return static_cast<int>(message.wParam);
}
