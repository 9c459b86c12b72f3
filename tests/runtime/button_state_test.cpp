#include "runtime/button_state.h"

#include <gtest/gtest.h>

namespace {

using rt::ButtonInput;
using rt::ButtonState;
using rt::CaptureAction;

struct Case {
  const char* what;
  ButtonState from;
  ButtonInput input;
  bool left_held, enabled;
  rt::ButtonStep expected;
};

TEST(ButtonState, TransitionTable) {
  const Case cases[] = {
      {"pointer arrives", ButtonState::Normal, ButtonInput::MoveInside, false, true,
       {ButtonState::Hot, CaptureAction::Take, false}},
      {"pointer arrives with the left button held", ButtonState::Normal, ButtonInput::MoveInside, true, true,
       {ButtonState::Pressed, CaptureAction::Take, false}},
      {"pointer leaves", ButtonState::Hot, ButtonInput::MoveOutside, false, true,
       {ButtonState::Normal, CaptureAction::Release, false}},
      {"pointer leaves while pressed: the capture stays", ButtonState::Pressed, ButtonInput::MoveOutside, true,
       true, {ButtonState::Normal, CaptureAction::Keep, false}},
      {"pointer comes back while held", ButtonState::Normal, ButtonInput::MoveInside, true, true,
       {ButtonState::Pressed, CaptureAction::Take, false}},
      {"press", ButtonState::Hot, ButtonInput::LeftDown, true, true,
       {ButtonState::Pressed, CaptureAction::Take, false}},
      {"press on a disabled button", ButtonState::Hot, ButtonInput::LeftDown, true, false,
       {ButtonState::Hot, CaptureAction::Keep, false}},
      {"release over it clicks and returns to normal", ButtonState::Pressed, ButtonInput::LeftUpInside, false,
       true, {ButtonState::Normal, CaptureAction::Release, true}},
      {"release over a disabled button", ButtonState::Pressed, ButtonInput::LeftUpInside, false, false,
       {ButtonState::Normal, CaptureAction::Release, false}},
      {"release elsewhere raises nothing", ButtonState::Normal, ButtonInput::LeftUpOutside, false, true,
       {ButtonState::Normal, CaptureAction::Release, false}},
      {"capture taken away (a box opens)", ButtonState::Hot, ButtonInput::CaptureLost, false, true,
       {ButtonState::Normal, CaptureAction::Keep, false}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(rt::NextButtonState(c.from, c.input, c.left_held, c.enabled), c.expected) << c.what;
  }
}

// Press, slide off, slide back and release: one click, at the end only.
TEST(ButtonState, PressSlideOffAndBackClicksOnce) {
  ButtonState state = ButtonState::Normal;
  int clicks = 0;
  const struct {
    ButtonInput input;
    bool held;
  } steps[] = {{ButtonInput::MoveInside, false},  {ButtonInput::LeftDown, true},
               {ButtonInput::MoveOutside, true},  {ButtonInput::MoveInside, true},
               {ButtonInput::LeftUpInside, false}};
  for (const auto& s : steps) {
    const rt::ButtonStep step = rt::NextButtonState(state, s.input, s.held, true);
    state = step.state;
    clicks += step.clicked;
  }
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(state, ButtonState::Normal);
}

}  // namespace
