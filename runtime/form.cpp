#include "runtime/form.h"

#include <commctrl.h>

#include <cstring>

#include "runtime/borders.h"
#include "runtime/control_painting.h"
#include "runtime/events.h"
#include "runtime/loaded_windows.h"
#include "runtime/program_state.h"
#include "runtime/progress_range.h"
#include "runtime/scoped.h"
#include "runtime/stacking.h"
#include "runtime/threads.h"

namespace rt {

namespace {

constexpr char kFormClass[] = "RtForm";
constexpr char kControlClass[] = "RtControl";
constexpr UINT_PTR kTimerIdBase = 1000;

HINSTANCE Instance() { return GetModuleHandleA(nullptr); }

// Both window classes, registered once. They have no background brush: every
// pixel is drawn by the runtime, double-buffered.
void RegisterClasses(WNDPROC form_proc, WNDPROC control_proc) {
  static bool registered = false;
  if (registered) return;
  registered = true;
  WNDCLASSEXA form{};
  form.cbSize = sizeof form;
  form.lpfnWndProc = form_proc;
  form.hInstance = Instance();
  form.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  form.lpszClassName = kFormClass;
  RegisterClassExA(&form);
  WNDCLASSEXA control{};
  control.cbSize = sizeof control;
  control.lpfnWndProc = control_proc;
  control.hInstance = Instance();
  control.lpszClassName = kControlClass;
  RegisterClassExA(&control);
}

// The window's own icons (taskbar, Alt+Tab), from the program's resources.
// Shared icons belong to the module: nothing to destroy.
void SetIcons(HWND window, const char* icon_resource) {
  if (!icon_resource) return;
  const struct {
    WPARAM which;
    int width, height;
  } sizes[] = {{ICON_BIG, SM_CXICON, SM_CYICON}, {ICON_SMALL, SM_CXSMICON, SM_CYSMICON}};
  for (const auto& size : sizes) {
    HANDLE icon = LoadImageA(Instance(), icon_resource, IMAGE_ICON, GetSystemMetrics(size.width),
                             GetSystemMetrics(size.height), LR_DEFAULTCOLOR | LR_SHARED);
    if (icon) SendMessageA(window, WM_SETICON, size.which, reinterpret_cast<LPARAM>(icon));
  }
}

// Draws into a memory bitmap and copies it in one go, so nothing flickers.
template <typename Paint>
void PaintBuffered(HWND window, Paint paint) {
  const PaintDc target(window);
  RECT client;
  GetClientRect(window, &client);
  if (client.right <= 0 || client.bottom <= 0) return;
  const MemoryDc buffer(CreateCompatibleDC(target.get()));
  const Bitmap bitmap(CreateCompatibleBitmap(target.get(), client.right, client.bottom));
  const Selection selected(buffer.get(), bitmap.get());
  paint(buffer.get(), client);
  BitBlt(target.get(), 0, 0, client.right, client.bottom, buffer.get(), 0, 0, SRCCOPY);
}

}  // namespace

Form::Form(const WindowDescription& description) : description_(description) {}

Form::~Form() {
  // A component may still be at work on a thread of its own (an extraction
  // when the user closes the window): its object is then left to the end of
  // the process, which follows the unloading.
  if (WorkerThreadsAlive()) return;
  for (ControlInstance& control : controls_) {
    if (control.component) control.description->component->destroy(control.component);
  }
}

bool Form::Create() {
  RegisterClasses(WindowProc, ControlProc);
  // Names are unique, parents come earlier and have windows, bindings name
  // existing controls: anything else is a description that cannot be loaded.
  const auto& list = description_.controls;
  controls_.resize(list.size());
  for (std::size_t i = 0; i < list.size(); ++i) {
    ControlInstance& control = controls_[i];
    control.description = &list[i];
    control.form = this;
    for (std::size_t j = 0; j < i; ++j) {
      if (std::strcmp(list[j].name, list[i].name) == 0) return false;
      if (list[i].parent && std::strcmp(list[j].name, list[i].parent) == 0) control.parent = static_cast<int>(j);
    }
    if (list[i].parent && (control.parent < 0 || !controls_[control.parent].HasWindow())) return false;
    if (list[i].kind == ControlKind::Component && !list[i].component) return false;
  }
  for (const EventBinding& binding : description_.bindings) {
    if (binding.control && !Find(binding.control)) return false;
  }

  const int left = (GetSystemMetrics(SM_CXSCREEN) - description_.width) / 2;
  const int top = (GetSystemMetrics(SM_CYSCREEN) - description_.height) / 2;
  // No caption, border or system menu; its own taskbar button.
  window_ = CreateWindowExA(WS_EX_APPWINDOW, kFormClass, description_.title, WS_POPUP | WS_CLIPCHILDREN, left, top,
                            description_.width, description_.height, nullptr, nullptr, Instance(), this);
  if (!window_) return false;
  SetIcons(window_, description_.icon_resource);
  for (std::size_t i = 0; i < controls_.size(); ++i) {
    if (!CreateControl(controls_[i], static_cast<int>(i))) return false;
  }
  Stack();
  for (ControlInstance& control : controls_) {
    if (control.window && control.description->visible) ShowWindow(control.window, SW_SHOWNA);
  }
  return true;
}

bool Form::CreateControl(ControlInstance& control, int index) {
  const ControlDescription& d = *control.description;
  control.minimum = ClampProgressValue(d.minimum);
  control.maximum = ClampProgressValue(d.maximum);
  control.position = ClampProgressValue(d.position);
  switch (d.kind) {
    case ControlKind::Timer:
      if (d.interval > 0) SetTimer(window_, kTimerIdBase + index, d.interval, nullptr);
      return true;
    case ControlKind::Component: {
      const ComponentSite site{&description_, d.name};
      control.component = d.component->create(site);
      return true;
    }
    default:
      break;
  }
  if (d.font) {
    control.own_font.Reset(CreateFontA(-d.font->character_height, 0, 0, 0, d.font->weight, FALSE,
                                       d.font->underline, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, nullptr));
  }
  control.pictures[static_cast<int>(PictureSlot::Normal)] = Picture::FromData(d.picture);
  control.pictures[static_cast<int>(PictureSlot::Hot)] = Picture::FromData(d.hot_picture);
  control.pictures[static_cast<int>(PictureSlot::Pressed)] = Picture::FromData(d.pressed_picture);
  control.pictures[static_cast<int>(PictureSlot::Disabled)] = Picture::FromData(d.disabled_picture);
  HWND parent = control.parent >= 0 ? controls_[control.parent].window : window_;
  control.window = CreateWindowExA(0, kControlClass, d.caption, WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
                                   d.left, d.top, d.width, d.height, parent,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(d.id)), Instance(), &control);
  return control.window != nullptr;
}

// Walking the description, each control goes directly below the nearest
// earlier sibling, or on top: earlier siblings lie above later ones.
void Form::Stack() {
  std::vector<int> parents;
  std::vector<bool> windowed;
  for (const ControlInstance& control : controls_) {
    parents.push_back(control.parent);
    windowed.push_back(control.HasWindow());
  }
  const std::vector<int> plan = StackingPlan(parents, windowed);
  for (std::size_t i = 0; i < controls_.size(); ++i) {
    if (!controls_[i].window) continue;
    HWND after = plan[i] == kStackOnTop ? HWND_TOP : controls_[plan[i]].window;
    SetWindowPos(controls_[i].window, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
}

ControlInstance* Form::Find(const char* name) {
  for (ControlInstance& control : controls_) {
    if (std::strcmp(control.description->name, name) == 0) return &control;
  }
  return nullptr;
}

const ControlInstance* Form::Parent(const ControlInstance& control) const {
  return control.parent >= 0 ? &controls_[control.parent] : nullptr;
}

void Form::UpdateNow() const { RedrawWindow(window_, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN); }

void Form::PaintBackground(HDC dc, const RECT& client) const {
  const Brush brush(CreateSolidBrush(description_.background));
  FillRect(dc, &client, brush.get());
}

// ---- the window ----------------------------------------------------------

LRESULT CALLBACK Form::WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* form = static_cast<Form*>(reinterpret_cast<CREATESTRUCTA*>(lparam)->lpCreateParams);
    form->window_ = window;
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
  }
  auto* form = reinterpret_cast<Form*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (!form) return DefWindowProcA(window, message, wparam, lparam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    ForgetLoadedWindow(form);  // deletes it
    return DefWindowProcA(window, message, wparam, lparam);
  }
  return form->OnMessage(message, wparam, lparam);
}

LRESULT Form::OnMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      return OnPaint();
    case WM_TIMER:
      return OnTimer(wparam);
    case WM_SYSCOMMAND:
      return OnSysCommand(wparam, lparam);
    case WM_DESTROY:
      return OnDestroy();
  }
  return DefWindowProcA(window_, message, wparam, lparam);
}

LRESULT Form::OnPaint() {
  PaintBuffered(window_, [this](HDC dc, const RECT& client) { PaintBackground(dc, client); });
  return 0;
}

LRESULT Form::OnTimer(WPARAM id) {
  const std::size_t index = id - kTimerIdBase;
  if (index < controls_.size()) RaiseEvent(description_, controls_[index].description->name, Event::Timer);
  return 0;
}

// The window cannot be moved, sized or maximised, whatever asks for it.
LRESULT Form::OnSysCommand(WPARAM command, LPARAM lparam) {
  switch (command & 0xFFF0) {
    case SC_MOVE:
    case SC_SIZE:
    case SC_MAXIMIZE:
      return 0;
  }
  return DefWindowProcA(window_, WM_SYSCOMMAND, command, lparam);
}

LRESULT Form::OnDestroy() {
  unloading_ = true;
  if (LoadedWindowCount() == 0) NoteLastWindowClosing();
  return 0;
}

// ---- the controls --------------------------------------------------------

LRESULT CALLBACK Form::ControlProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* control = static_cast<ControlInstance*>(reinterpret_cast<CREATESTRUCTA*>(lparam)->lpCreateParams);
    control->window = window;
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(control));
  }
  auto* control = reinterpret_cast<ControlInstance*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (!control) return DefWindowProcA(window, message, wparam, lparam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    control->window = nullptr;
    return DefWindowProcA(window, message, wparam, lparam);
  }
  return control->form->OnControlMessage(*control, message, wparam, lparam);
}

LRESULT Form::OnControlMessage(ControlInstance& control, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_NCCALCSIZE:
      return OnControlNcCalcSize(control, wparam, lparam);
    case WM_NCPAINT:
      return OnControlNcPaint(control);
    case WM_NCHITTEST:
      return HTCLIENT;  // the border belongs to the control for the mouse
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      return OnControlPaint(control);
    case WM_SETCURSOR:
      return OnControlSetCursor(control, wparam, lparam);
    case WM_SETTEXT: {
      const LRESULT result = DefWindowProcA(control.window, message, wparam, lparam);
      InvalidateRect(control.window, nullptr, FALSE);
      return result;
    }
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_MOUSELEAVE:
    case WM_CAPTURECHANGED:
      mouse_.OnMessage(control, message, wparam, lparam);
      return 0;
    case PBM_GETPOS:
    case PBM_GETRANGE:
      return OnProgressQuery(control, message, wparam, lparam);
  }
  return DefWindowProcA(control.window, message, wparam, lparam);
}

LRESULT Form::OnControlNcCalcSize(ControlInstance& control, WPARAM, LPARAM lparam) {
  const int border = BorderWidth(control.description->border);
  RECT* rect = reinterpret_cast<RECT*>(lparam);  // the first rectangle in either form of the message
  InflateRect(rect, -border, -border);
  if (rect->right < rect->left) rect->right = rect->left;
  if (rect->bottom < rect->top) rect->bottom = rect->top;
  return 0;
}

LRESULT Form::OnControlNcPaint(ControlInstance& control) {
  const BorderStyle style = control.description->border;
  if (style == BorderStyle::None) return 0;
  const WindowDc dc(control.window, WindowDc::kWholeWindow);
  RECT bounds;
  GetWindowRect(control.window, &bounds);
  OffsetRect(&bounds, -bounds.left, -bounds.top);
  DrawBorder(dc.get(), bounds, style);
  return 0;
}

LRESULT Form::OnControlPaint(ControlInstance& control) {
  PaintBuffered(control.window, [&control](HDC dc, const RECT& client) { PaintControl(control, dc, client); });
  return 0;
}

LRESULT Form::OnControlSetCursor(ControlInstance& control, WPARAM wparam, LPARAM lparam) {
  if (LOWORD(lparam) != HTCLIENT) return DefWindowProcA(control.window, WM_SETCURSOR, wparam, lparam);
  const LPCSTR cursor = reinterpret_cast<LPCSTR>(control.description->pointer == Pointer::Hand ? IDC_HAND : IDC_ARROW);
  SetCursor(LoadCursorA(nullptr, cursor));
  return TRUE;
}

// Answered like the system's progress bar, so other programs (automation,
// tests) can read what the bar shows. The range structure is filled only for
// a caller of this thread, whose pointer is valid here.
LRESULT Form::OnProgressQuery(ControlInstance& control, UINT message, WPARAM wparam, LPARAM lparam) {
  if (control.description->kind != ControlKind::ProgressBar) {
    return DefWindowProcA(control.window, message, wparam, lparam);
  }
  if (message == PBM_GETPOS) return DisplayedProgress(control.minimum, control.maximum, control.position);
  if (lparam && !InSendMessage()) {
    auto* range = reinterpret_cast<PBRANGE*>(lparam);
    range->iLow = control.minimum;
    range->iHigh = control.maximum;
  }
  return wparam ? control.minimum : control.maximum;
}

}  // namespace rt
