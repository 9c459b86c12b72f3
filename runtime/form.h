// A loaded window: the top-level window and its controls, built from a
// window description. Lives on the UI thread.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "runtime/control.h"
#include "runtime/mouse_tracker.h"
#include "runtime/window_description.h"

namespace rt {

class Form {
 public:
  explicit Form(const WindowDescription& description);
  ~Form();
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  // Creates the window hidden, then its controls, stacked and shown or hidden
  // by their flags. False when the description is inconsistent or a window
  // cannot be created.
  bool Create();

  const WindowDescription& Description() const { return description_; }
  HWND Handle() const { return window_; }
  // Once the window is being destroyed it counts as unloaded.
  bool Unloading() const { return unloading_; }

  ControlInstance* Find(const char* name);
  const ControlInstance* Parent(const ControlInstance& control) const;
  // Paints every change made so far before returning.
  void UpdateNow() const;

  // The window's own drawing: its background.
  void PaintBackground(HDC dc, const RECT& client) const;

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  static LRESULT CALLBACK ControlProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT OnMessage(UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT OnControlMessage(ControlInstance& control, UINT message, WPARAM wparam, LPARAM lparam);

  bool CreateControl(ControlInstance& control, int index);
  void Stack();
  LRESULT OnPaint();
  LRESULT OnTimer(WPARAM id);
  LRESULT OnSysCommand(WPARAM command, LPARAM lparam);
  LRESULT OnDestroy();
  LRESULT OnControlPaint(ControlInstance& control);
  LRESULT OnControlNcCalcSize(ControlInstance& control, WPARAM wparam, LPARAM lparam);
  LRESULT OnControlNcPaint(ControlInstance& control);
  LRESULT OnControlSetCursor(ControlInstance& control, WPARAM wparam, LPARAM lparam);
  LRESULT OnProgressQuery(ControlInstance& control, UINT message, WPARAM wparam, LPARAM lparam);

  const WindowDescription& description_;
  HWND window_ = nullptr;
  bool unloading_ = false;
  std::vector<ControlInstance> controls_;
  MouseTracker mouse_;
};

}  // namespace rt
