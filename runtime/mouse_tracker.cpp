#include "runtime/mouse_tracker.h"

#include <windowsx.h>

#include "runtime/events.h"
#include "runtime/form.h"

namespace rt {

namespace {

bool Inside(HWND window, POINT point) {
  RECT client;
  GetClientRect(window, &client);
  return PtInRect(&client, point) != FALSE;
}

}  // namespace

void MouseTracker::Step(ControlInstance& button, ButtonInput input, WPARAM keys, bool* clicked) {
  const ButtonStep step = NextButtonState(button.button_state, input, (keys & MK_LBUTTON) != 0,
                                          IsWindowEnabled(button.window) != FALSE);
  const bool changed = step.state != button.button_state;
  button.button_state = step.state;
  if (step.capture == CaptureAction::Take && GetCapture() != button.window) SetCapture(button.window);
  // Letting the capture go sends WM_CAPTURECHANGED back here, which finds
  // the state already normal.
  if (step.capture == CaptureAction::Release && GetCapture() == button.window) ReleaseCapture();
  if (changed) {
    InvalidateRect(button.window, nullptr, FALSE);
    UpdateWindow(button.window);
  }
  *clicked = step.clicked;
}

void MouseTracker::OnMessage(ControlInstance& control, UINT message, WPARAM wparam, LPARAM lparam) {
  const POINT point{GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)};
  const bool inside = Inside(control.window, point);
  const bool button = control.description->kind == ControlKind::PictureButton;
  bool clicked = false;
  std::optional<Event> event;
  switch (message) {
    case WM_MOUSEMOVE:
      if (button) {
        Step(control, inside ? ButtonInput::MoveInside : ButtonInput::MoveOutside, wparam, &clicked);
        // The capture alone does not see the pointer leave while another
        // thread's window is in the foreground (a message box of the worker):
        // the moves then go to whatever lies under the pointer. The leave
        // notice comes either way.
        if (inside) {
          TRACKMOUSEEVENT leave{sizeof(TRACKMOUSEEVENT), TME_LEAVE, control.window, 0};
          TrackMouseEvent(&leave);
        }
      }
      break;
    case WM_MOUSELEAVE:
      if (button) {
        POINT cursor;
        GetCursorPos(&cursor);
        ScreenToClient(control.window, &cursor);
        if (!Inside(control.window, cursor)) {
          Step(control, ButtonInput::MoveOutside, GetKeyState(VK_LBUTTON) < 0 ? MK_LBUTTON : 0, &clicked);
        }
      }
      return;
    case WM_LBUTTONDOWN:
      if (button) Step(control, ButtonInput::LeftDown, wparam, &clicked);
      event = Event::LeftButtonDown;
      break;
    case WM_LBUTTONUP:
      // The left button is up by now, whatever wparam says of it.
      if (button) Step(control, inside ? ButtonInput::LeftUpInside : ButtonInput::LeftUpOutside, 0, &clicked);
      if (inside) event = Event::LeftButtonUp;
      break;
    case WM_CAPTURECHANGED:
      if (button && reinterpret_cast<HWND>(lparam) != control.window) {
        Step(control, ButtonInput::CaptureLost, 0, &clicked);
      }
      return;
  }
  // Only the description, which outlives the window, is used from here on:
  // a handler may unload the window.
  const WindowDescription& window = control.form->Description();
  const char* name = control.description->name;
  if (event) {
    EventArgs args;
    args.mouse = {point.x, point.y, static_cast<std::uint32_t>(wparam & (MK_SHIFT | MK_CONTROL))};
    RaiseEvent(window, name, *event, args);
  }
  if (clicked) RaiseEvent(window, name, Event::Clicked);
}

}  // namespace rt
