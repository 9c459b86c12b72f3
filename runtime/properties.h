// Properties of a loaded window and its controls, read and written from any
// thread. The work is done on the UI thread (sent to it, never posted), so a
// write has taken effect on the screen when it returns, and the UI thread
// never waits for the calling thread.
//
// A window that is not loaded cannot be read or written: that ends the
// program through the run-time error report ("未载入欲访问窗口组件所在的窗口"),
// except on a thread other than the UI thread while the program is closing
// down, which is parked until the process ends (the ending decides the exit
// code, and nothing of the released windows is touched).
#pragma once

#include <windows.h>

#include <cstdint>

#include "runtime/control.h"
#include "runtime/text.h"
#include "runtime/window_description.h"

namespace rt {

class WindowRef {
 public:
  explicit WindowRef(const WindowDescription& window) : window_(&window) {}

  HWND Handle() const;
  std::int32_t Left() const;
  std::int32_t Top() const;
  std::int32_t Width() const;
  std::int32_t Height() const;
  void SetLeft(std::int32_t left) const;
  void SetTop(std::int32_t top) const;
  void SetWidth(std::int32_t width) const;
  void SetHeight(std::int32_t height) const;

 private:
  const WindowDescription* window_;
};

class ControlRef {
 public:
  // name: a control of the window's description.
  ControlRef(const WindowDescription& window, const char* name) : window_(&window), name_(name) {}

  HWND Handle() const;  // null for timers and components

  Text Caption() const;  // labels
  void SetCaption(const Text& caption) const;

  bool Visible() const;
  void SetVisible(bool visible) const;

  // Progress bar: each written value is kept within 0..32767.
  std::int32_t Minimum() const;
  std::int32_t Maximum() const;
  std::int32_t Position() const;
  void SetMinimum(std::int32_t value) const;
  void SetMaximum(std::int32_t value) const;
  void SetPosition(std::int32_t value) const;

  // Picture box (Normal) and picture button pictures, from a picture file's
  // bytes, decoded at once. A new normal picture shows at once; a new hot
  // picture shows at once while the button is hot.
  void SetPicture(PictureSlot slot, PictureData data) const;

  // The object of a component, as its ComponentType made it.
  void* Component() const;

 private:
  // Runs work(control) on the UI thread with the loaded control; reports
  // the run-time error when the window is not loaded.
  template <typename Work>
  void With(Work work) const;

  const WindowDescription* window_;
  const char* name_;
};

}  // namespace rt
