// Raising a window's events: the handler bound in the description is called
// directly, on the calling thread.
#pragma once

#include <optional>

#include "runtime/window_description.h"

namespace rt {

// control nullptr: the window itself. Gives the handler's answer, or none
// when nothing is bound or the handler answers nothing.
std::optional<bool> RaiseEvent(const WindowDescription& window, const char* control, Event event,
                               const EventArgs& args = {});

bool IsBound(const WindowDescription& window, const char* control, Event event);

}  // namespace rt
