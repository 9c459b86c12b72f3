#include "runtime/loaded_windows.h"

#include <memory>
#include <vector>

#include "runtime/events.h"
#include "runtime/form.h"
#include "runtime/runtime_error.h"

namespace rt {

namespace {

// Touched on the UI thread only. At namespace scope: a function's static
// would bring the library's thread-safe guard, and with it the exception
// machinery, into the program.
std::vector<std::unique_ptr<Form>> g_loaded;
std::vector<std::unique_ptr<Form>>& Loaded() { return g_loaded; }

constexpr char kCannotLoad[] = "窗口载入失败";

}  // namespace

void LoadWindow(const WindowDescription& description) {
  if (FindLoadedWindow(description)) return;
  auto form = std::make_unique<Form>(description);
  if (!form->Create()) {
    // Not registered yet: destroying its window leaves the form to us.
    if (form->Handle()) DestroyWindow(form->Handle());
    form.reset();
    ReportRuntimeError(0, kCannotLoad);
  }
  HWND window = form->Handle();
  Loaded().push_back(std::move(form));
  RaiseEvent(description, nullptr, Event::Created);
  // The handler may have unloaded the window; otherwise it is shown now,
  // with whatever the handler wrote already in its first frame.
  if (FindLoadedWindow(description)) {
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
  }
}

void UnloadWindow(const WindowDescription& description) {
  if (Form* form = FindLoadedWindow(description)) DestroyWindow(form->Handle());
}

// Each destroyed window deletes its form (WM_NCDESTROY).
void UnloadAllWindows() {
  std::vector<HWND> windows;
  for (const auto& form : Loaded()) {
    if (!form->Unloading()) windows.push_back(form->Handle());
  }
  for (HWND window : windows) DestroyWindow(window);
}

Form* FindLoadedWindow(const WindowDescription& description) {
  for (const auto& form : Loaded()) {
    if (&form->Description() == &description && !form->Unloading()) return form.get();
  }
  return nullptr;
}

std::size_t LoadedWindowCount() {
  std::size_t count = 0;
  for (const auto& form : Loaded()) count += form->Unloading() ? 0 : 1;
  return count;
}

void ForgetLoadedWindow(Form* form) {
  auto& forms = Loaded();
  for (auto it = forms.begin(); it != forms.end(); ++it) {
    if (it->get() == form) {
      forms.erase(it);
      return;
    }
  }
}

}  // namespace rt

