// The windows that are loaded, by description (UI thread only).
#pragma once

#include <cstddef>

#include "runtime/window_description.h"

namespace rt {

class Form;

// Loads a window: creates it and its controls, raises its created event,
// then shows it. A window that is already loaded stays as it is. A window
// that cannot be loaded ends the program through the run-time error report.
void LoadWindow(const WindowDescription& description);

// Destroys a loaded window and its controls; nothing when it is not loaded.
void UnloadWindow(const WindowDescription& description);
void UnloadAllWindows();

// The loaded window of a description, or null (also while it is being destroyed).
Form* FindLoadedWindow(const WindowDescription& description);
std::size_t LoadedWindowCount();

// Called by the form when its window is gone for good; deletes it.
void ForgetLoadedWindow(Form* form);

}  // namespace rt
