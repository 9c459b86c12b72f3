// Linked into the tests' builds of the installer only (with the definition
// INSTALLER_EXIT_HOOK_TRACE): the exit hook appends one line to the file
// named by the environment variable INSTALLER_EXIT_HOOK_TRACE, saying on
// which thread it ran and whether the main window still existed.
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "runtime/program.h"

namespace {

BOOL CALLBACK FindOwnForm(HWND window, LPARAM found) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  char class_name[32] = "";
  GetClassNameA(window, class_name, sizeof class_name);
  if (process == GetCurrentProcessId() && std::strcmp(class_name, "RtForm") == 0) {
    *reinterpret_cast<bool*>(found) = true;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

void TraceExitHook() {
  char path[MAX_PATH];
  if (GetEnvironmentVariableA("INSTALLER_EXIT_HOOK_TRACE", path, MAX_PATH) == 0) return;
  bool window_alive = false;
  EnumWindows(FindOwnForm, reinterpret_cast<LPARAM>(&window_alive));
  if (FILE* file = std::fopen(path, "ab")) {
    std::fprintf(file, "exit hook: ui thread %s, main window %s\n", rt::IsUiThread() ? "yes" : "no",
                 window_alive ? "alive" : "gone");
    std::fclose(file);
  }
}
