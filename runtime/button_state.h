// The states of a picture button and how mouse input moves between them.
//
// Moving the pointer over the button captures the mouse and makes it hot, or
// pressed while the left button is held down. Moving it off makes it normal
// and lets the capture go unless the left button is held down. Pressing the
// left button over the enabled button makes it pressed and captures the
// mouse. Releasing the left button lets the capture go; over the enabled
// button the state returns to normal and "clicked" is raised, elsewhere
// nothing is raised. Losing the capture to someone else makes it normal.
#pragma once

#include <cstdint>

namespace rt {

enum class ButtonState : std::uint8_t { Normal = 0, Hot = 1, Pressed = 2 };

enum class ButtonInput : std::uint8_t {
  MoveInside,     // pointer moved, now over the button
  MoveOutside,    // pointer moved, now elsewhere (seen while captured)
  LeftDown,       // left button pressed over the button
  LeftUpInside,   // left button released over the button
  LeftUpOutside,  // left button released elsewhere (seen while captured)
  CaptureLost,    // the capture went elsewhere
};

enum class CaptureAction : std::uint8_t { Keep, Take, Release };

struct ButtonStep {
  ButtonState state;
  CaptureAction capture;
  bool clicked;
  friend bool operator==(const ButtonStep&, const ButtonStep&) = default;
};

ButtonStep NextButtonState(ButtonState state, ButtonInput input, bool left_held, bool enabled);

}  // namespace rt
