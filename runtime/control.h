// A control of a loaded window: its description and its state.
#pragma once

#include <windows.h>

#include <cstdint>

#include "runtime/button_state.h"
#include "runtime/picture.h"
#include "runtime/scoped.h"
#include "runtime/window_description.h"

namespace rt {

class Form;

enum class PictureSlot : std::uint8_t {
  Normal = 0,  // a picture box's picture; a picture button's normal picture
  Hot = 1,
  Pressed = 2,
  Disabled = 3,
};

struct ControlInstance {
  const ControlDescription* description = nullptr;
  Form* form = nullptr;
  int parent = -1;          // index among the form's controls; -1: the window
  HWND window = nullptr;    // null for timers and components
  Font own_font;            // when the description names a font
  Picture pictures[4];      // by PictureSlot
  ButtonState button_state = ButtonState::Normal;
  std::int32_t minimum = 0, maximum = 100, position = 0;  // stored clamped
  void* component = nullptr;

  const Picture& PictureIn(PictureSlot slot) const {
    return pictures[static_cast<int>(slot)];
  }
  bool HasWindow() const {
    return description->kind != ControlKind::Timer && description->kind != ControlKind::Component;
  }
};

}  // namespace rt
