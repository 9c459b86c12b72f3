// Hover and capture of a window's controls, tracked in one place: the picture
// buttons' states and the mouse events of every control.
#pragma once

#include <windows.h>

#include "runtime/control.h"

namespace rt {

class MouseTracker {
 public:
  // A mouse message of a control (WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP,
  // WM_MOUSELEAVE, WM_CAPTURECHANGED). Events are raised last: a handler may unload the window.
  void OnMessage(ControlInstance& control, UINT message, WPARAM wparam, LPARAM lparam);

 private:
  void Step(ControlInstance& button, ButtonInput input, WPARAM keys, bool* clicked);
};

}  // namespace rt
