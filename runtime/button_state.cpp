#include "runtime/button_state.h"

namespace rt {

ButtonStep NextButtonState(ButtonState state, ButtonInput input, bool left_held, bool enabled) {
  switch (input) {
    case ButtonInput::MoveInside:
      return {left_held ? ButtonState::Pressed : ButtonState::Hot, CaptureAction::Take, false};
    case ButtonInput::MoveOutside:
      return {ButtonState::Normal, left_held ? CaptureAction::Keep : CaptureAction::Release, false};
    case ButtonInput::LeftDown:
      if (!enabled) return {state, CaptureAction::Keep, false};
      return {ButtonState::Pressed, CaptureAction::Take, false};
    case ButtonInput::LeftUpInside:
      return {ButtonState::Normal, CaptureAction::Release, enabled};
    case ButtonInput::LeftUpOutside:
      return {ButtonState::Normal, CaptureAction::Release, false};
    case ButtonInput::CaptureLost:
      return {ButtonState::Normal, CaptureAction::Keep, false};
  }
  return {state, CaptureAction::Keep, false};
}

}  // namespace rt
