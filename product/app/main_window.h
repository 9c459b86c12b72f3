#pragma once
#include <windows.h>

namespace dormivet {

// The product's one window: a banner with the version, the greeting from the
// settings, and where and how the program was started.
class MainWindow {
 public:
  // Creates and shows the window; false when Windows refuses.
  bool Create(HINSTANCE instance, int show);

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT Handle(UINT message, WPARAM wparam, LPARAM lparam);
  void OnCreate();
  void OnPaint();

  HWND window_ = nullptr;
  COLORREF theme_ = RGB(0x3A, 0x7B, 0xD5);
  char title_[64] = {};
};

}  // namespace dormivet
