#include "runtime/message_window.h"

#include <windows.h>

#include <atomic>

#include "runtime/program.h"
#include "runtime/program_state.h"
#include "runtime/ui_thread.h"

namespace rt {

namespace {

constexpr UINT kRunRequest = WM_APP + 1;       // lParam: a Call
constexpr UINT kShutdownRequest = WM_APP + 2;  // wParam: the exit code
constexpr char kClassName[] = "RtMessageWindow";

struct Call {
  void (*fn)(void*);
  void* context;
  bool done;
};

std::atomic<HWND> g_window{nullptr};

LRESULT CALLBACK MessageWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case kRunRequest: {
      // Once the windows are going away the work is refused; the sender parks.
      if (ClosingDown()) return 0;
      Call* call = reinterpret_cast<Call*>(lparam);
      call->fn(call->context);
      call->done = true;
      return 0;
    }
    case kShutdownRequest:
      if (ClosingDown()) return 0;  // a shutdown is under way: the request comes back
      RunShutdown(static_cast<std::int32_t>(wparam));
  }
  return DefWindowProcA(window, message, wparam, lparam);
}

}  // namespace

void CreateMessageWindow() {
  WNDCLASSA window_class{};
  window_class.lpfnWndProc = MessageWindowProc;
  window_class.hInstance = GetModuleHandleA(nullptr);
  window_class.lpszClassName = kClassName;
  RegisterClassA(&window_class);
  g_window = CreateWindowExA(0, kClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                             window_class.hInstance, nullptr);
}

void DestroyMessageWindow() {
  if (HWND window = g_window.exchange(nullptr)) DestroyWindow(window);
}

void HandShutdownToUiThread(std::int32_t code) {
  if (HWND window = g_window.load()) {
    SendMessageA(window, kShutdownRequest, static_cast<WPARAM>(code), 0);
  }
}

bool CallOnUiThread(void (*fn)(void*), void* context) {
  if (IsUiThread()) {
    fn(context);
    return true;
  }
  if (ClosingDown()) ParkThread();
  Call call{fn, context, false};
  if (HWND window = g_window.load()) {
    SendMessageA(window, kRunRequest, 0, reinterpret_cast<LPARAM>(&call));
  }
  if (call.done) return true;
  // Refused or the window is gone: the program is ending, wait for its end.
  if (ClosingDown()) ParkThread();
  return false;
}

}  // namespace rt
