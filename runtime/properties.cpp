#include "runtime/properties.h"

#include "runtime/form.h"
#include "runtime/loaded_windows.h"
#include "runtime/progress_range.h"
#include "runtime/runtime_error.h"
#include "runtime/ui_thread.h"

namespace rt {

namespace {

constexpr char kNotLoaded[] = "未载入欲访问窗口组件所在的窗口";

// Runs work(form) on the UI thread with the loaded window of `window`.
template <typename Work>
void WithForm(const WindowDescription& window, Work work) {
  bool loaded = false;
  auto call = [&] {
    if (Form* form = FindLoadedWindow(window)) {
      loaded = true;
      work(*form);
    }
  };
  if (!OnUiThread(call) || !loaded) ReportRuntimeError(0, kNotLoaded);
}

RECT WindowRect(const Form& form) {
  RECT rect;
  GetWindowRect(form.Handle(), &rect);
  return rect;
}

void MoveWindowTo(const Form& form, int left, int top, int width, int height) {
  SetWindowPos(form.Handle(), nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  form.UpdateNow();
}

}  // namespace

// ---- the window ----------------------------------------------------------

HWND WindowRef::Handle() const {
  HWND handle = nullptr;
  WithForm(*window_, [&](Form& form) { handle = form.Handle(); });
  return handle;
}

std::int32_t WindowRef::Left() const {
  std::int32_t value = 0;
  WithForm(*window_, [&](Form& form) { value = WindowRect(form).left; });
  return value;
}

std::int32_t WindowRef::Top() const {
  std::int32_t value = 0;
  WithForm(*window_, [&](Form& form) { value = WindowRect(form).top; });
  return value;
}

std::int32_t WindowRef::Width() const {
  std::int32_t value = 0;
  WithForm(*window_, [&](Form& form) {
    const RECT r = WindowRect(form);
    value = r.right - r.left;
  });
  return value;
}

std::int32_t WindowRef::Height() const {
  std::int32_t value = 0;
  WithForm(*window_, [&](Form& form) {
    const RECT r = WindowRect(form);
    value = r.bottom - r.top;
  });
  return value;
}

void WindowRef::SetLeft(std::int32_t left) const {
  WithForm(*window_, [&](Form& form) {
    const RECT r = WindowRect(form);
    MoveWindowTo(form, left, r.top, r.right - r.left, r.bottom - r.top);
  });
}

void WindowRef::SetTop(std::int32_t top) const {
  WithForm(*window_, [&](Form& form) {
    const RECT r = WindowRect(form);
    MoveWindowTo(form, r.left, top, r.right - r.left, r.bottom - r.top);
  });
}

void WindowRef::SetWidth(std::int32_t width) const {
  WithForm(*window_, [&](Form& form) {
    const RECT r = WindowRect(form);
    MoveWindowTo(form, r.left, r.top, width, r.bottom - r.top);
  });
}

void WindowRef::SetHeight(std::int32_t height) const {
  WithForm(*window_, [&](Form& form) {
    const RECT r = WindowRect(form);
    MoveWindowTo(form, r.left, r.top, r.right - r.left, height);
  });
}

// ---- controls ------------------------------------------------------------

template <typename Work>
void ControlRef::With(Work work) const {
  bool found = true;
  WithForm(*window_, [&](Form& form) {
    ControlInstance* control = form.Find(name_);
    found = control != nullptr;
    if (found) work(*control);
  });
  if (!found) ReportRuntimeError(0, Concat("窗口中没有名为“", name_, "”的组件"));
}

HWND ControlRef::Handle() const {
  HWND handle = nullptr;
  With([&](ControlInstance& control) { handle = control.window; });
  return handle;
}

Text ControlRef::Caption() const {
  Text caption;
  With([&](ControlInstance& control) {
    if (!control.window) return;
    std::string bytes(static_cast<std::size_t>(GetWindowTextLengthA(control.window)) + 1, '\0');
    const int length = GetWindowTextA(control.window, bytes.data(), static_cast<int>(bytes.size()));
    caption = Text(bytes.data(), static_cast<std::size_t>(length > 0 ? length : 0));
  });
  return caption;
}

void ControlRef::SetCaption(const Text& caption) const {
  With([&](ControlInstance& control) {
    if (!control.window) return;
    SetWindowTextA(control.window, caption.c_str());
    control.form->UpdateNow();
  });
}

bool ControlRef::Visible() const {
  bool visible = false;
  With([&](ControlInstance& control) {
    visible = control.window && (GetWindowLongA(control.window, GWL_STYLE) & WS_VISIBLE) != 0;
  });
  return visible;
}

void ControlRef::SetVisible(bool visible) const {
  With([&](ControlInstance& control) {
    if (!control.window) return;
    ShowWindow(control.window, visible ? SW_SHOWNA : SW_HIDE);
    control.form->UpdateNow();
  });
}

std::int32_t ControlRef::Minimum() const {
  std::int32_t value = 0;
  With([&](ControlInstance& control) { value = control.minimum; });
  return value;
}

std::int32_t ControlRef::Maximum() const {
  std::int32_t value = 0;
  With([&](ControlInstance& control) { value = control.maximum; });
  return value;
}

std::int32_t ControlRef::Position() const {
  std::int32_t value = 0;
  With([&](ControlInstance& control) { value = control.position; });
  return value;
}

namespace {

void SetProgressFigure(ControlInstance& control, std::int32_t ControlInstance::*figure, std::int32_t value) {
  control.*figure = ClampProgressValue(value);
  if (!control.window) return;
  InvalidateRect(control.window, nullptr, FALSE);
  control.form->UpdateNow();
}

}  // namespace

void ControlRef::SetMinimum(std::int32_t value) const {
  With([&](ControlInstance& control) { SetProgressFigure(control, &ControlInstance::minimum, value); });
}

void ControlRef::SetMaximum(std::int32_t value) const {
  With([&](ControlInstance& control) { SetProgressFigure(control, &ControlInstance::maximum, value); });
}

void ControlRef::SetPosition(std::int32_t value) const {
  With([&](ControlInstance& control) { SetProgressFigure(control, &ControlInstance::position, value); });
}

void ControlRef::SetPicture(PictureSlot slot, PictureData data) const {
  With([&](ControlInstance& control) {
    control.pictures[static_cast<int>(slot)] = Picture::FromData(data);
    if (!control.window) return;
    const bool shown = slot == PictureSlot::Normal ||
                       (slot == PictureSlot::Hot && control.button_state == ButtonState::Hot) ||
                       (slot == PictureSlot::Pressed && control.button_state == ButtonState::Pressed) ||
                       (slot == PictureSlot::Disabled && !IsWindowEnabled(control.window));
    if (!shown) return;
    InvalidateRect(control.window, nullptr, FALSE);
    control.form->UpdateNow();
  });
}

void* ControlRef::Component() const {
  void* instance = nullptr;
  With([&](ControlInstance& control) { instance = control.component; });
  return instance;
}

}  // namespace rt
