// The smallest useful Win32 window program, built with the installer's own
// toolchain and options: what starting a GUI process and showing one window
// costs, the floor for the installer's start-up.
#include <windows.h>

namespace {

LRESULT CALLBACK MinimalWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
  WNDCLASSA window_class{};
  window_class.lpfnWndProc = MinimalWindowProc;
  window_class.hInstance = instance;
  window_class.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  window_class.lpszClassName = "MinimalWindow";
  if (!RegisterClassA(&window_class)) return 1;
  // The installer's size and frameless style, so both windows cost the same to show.
  HWND window = CreateWindowExA(WS_EX_APPWINDOW, "MinimalWindow", "Minimal", WS_POPUP,
                                (GetSystemMetrics(SM_CXSCREEN) - 250) / 2, 300, 250, 400,
                                nullptr, nullptr, instance, nullptr);
  if (!window) return 1;
  ShowWindow(window, show);
  UpdateWindow(window);
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return static_cast<int>(message.wParam);
}
