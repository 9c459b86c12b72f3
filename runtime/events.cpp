#include "runtime/events.h"

#include <cstring>

namespace rt {

namespace {

bool SameControl(const char* a, const char* b) {
  return a == b || (a && b && std::strcmp(a, b) == 0);
}

const EventBinding* FindBinding(const WindowDescription& window, const char* control, Event event) {
  for (const EventBinding& binding : window.bindings) {
    if (binding.event == event && SameControl(binding.control, control)) return &binding;
  }
  return nullptr;
}

}  // namespace

std::optional<bool> RaiseEvent(const WindowDescription& window, const char* control, Event event,
                               const EventArgs& args) {
  const EventBinding* binding = FindBinding(window, control, event);
  if (!binding) return std::nullopt;
  return binding->handler(args);
}

bool IsBound(const WindowDescription& window, const char* control, Event event) {
  return FindBinding(window, control, event) != nullptr;
}

std::optional<bool> ComponentSite::Raise(Event event, std::int32_t value) const {
  EventArgs args;
  args.value = value;
  return RaiseEvent(*window, control, event, args);
}

}  // namespace rt
