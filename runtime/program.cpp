#include "runtime/program.h"

#include <windows.h>
#include <objbase.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "runtime/bound_functions.h"
#include "runtime/loaded_windows.h"
#include "runtime/message_window.h"
#include "runtime/program_state.h"
#include "runtime/runtime_error.h"

namespace rt {

namespace {

std::atomic<DWORD> g_ui_thread{0};
std::atomic<ExitHook> g_exit_hook{nullptr};
// Set once the windows are going away for good; read by every thread.
std::atomic<bool> g_closing{false};
// A run-time error report has begun: the process ends with -1.
std::atomic<bool> g_error_reported{false};
// UI thread only.
bool g_loop_running = false;
bool g_shutdown_running = false;
bool g_ole_initialised = false;

// Kept back so that the report of exhausted memory has memory to be made in.
void* g_memory_reserve = nullptr;
constexpr std::size_t kMemoryReserve = 256 * 1024;
constexpr char kOutOfMemoryMessage[] = "内存不足，无法分配程序运行所需的内存";

void OnOutOfMemory() {
  static std::atomic<bool> reporting{false};
  if (reporting.exchange(true)) {
    // A second thread ran out while the first reports: the first ends it.
    if (!IsUiThread()) ParkThread();
    ExitProcess(static_cast<UINT>(-1));
  }
  std::free(g_memory_reserve);
  g_memory_reserve = nullptr;
  ReportRuntimeError(0, kOutOfMemoryMessage);
}

// Only the system directory (and directories added on purpose) is searched
// for DLLs loaded by name, never the program's folder or the current one.
// SetDefaultDllDirectories is missing on Windows 7 without its update.
void RestrictDllSearch() {
  using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
  auto set_directories = reinterpret_cast<SetDefaultDllDirectoriesFn>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleA("kernel32.dll"), "SetDefaultDllDirectories")));
  if (set_directories) set_directories(LOAD_LIBRARY_SEARCH_SYSTEM32);
  SetDllDirectoryA("");  // takes the current directory out of the search either way
}

// The folder of the program's own executable, as the current directory.
// Wide calls, so a folder name outside the ANSI code page works as well.
void EnterProgramFolder() {
  static wchar_t path[32768];
  const DWORD length = GetModuleFileNameW(nullptr, path, sizeof path / sizeof path[0]);
  if (length == 0 || length >= sizeof path / sizeof path[0]) return;
  for (DWORD i = length; i-- > 0;) {
    if (path[i] == L'\\' || path[i] == L'/') {
      path[i + 1] = L'\0';
      SetCurrentDirectoryW(path);
      return;
    }
  }
}

}  // namespace

void PrepareRuntime() {
  RestrictDllSearch();
  g_ui_thread = GetCurrentThreadId();
  g_memory_reserve = std::malloc(kMemoryReserve);
  std::set_new_handler(OnOutOfMemory);
  g_ole_initialised = SUCCEEDED(OleInitialize(nullptr));
  EnterProgramFolder();
  CreateMessageWindow();
}

bool IsUiThread() { return g_ui_thread.load() == GetCurrentThreadId(); }

void SetExitHook(ExitHook hook) { g_exit_hook = hook; }

bool ClosingDown() { return g_closing.load(); }

void ParkThread() {
  for (;;) Sleep(INFINITE);
}

int RunMessageLoop() {
  if (LoadedWindowCount() == 0) return 0;
  g_loop_running = true;
  MSG message;
  int code = 0;
  for (;;) {
    const BOOL got = GetMessageA(&message, nullptr, 0, 0);
    if (got == 0) {
      code = static_cast<int>(message.wParam);
      break;
    }
    if (got == -1) break;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  g_loop_running = false;
  return code;
}

void NoteLastWindowClosing() {
  if (!g_loop_running) return;
  g_closing = true;
  PostQuitMessage(0);
}

void NoteRuntimeErrorReport() {
  g_exit_hook = nullptr;
  g_error_reported = true;
}

void Shutdown(std::int32_t code) {
  if (IsUiThread()) RunShutdown(code);
  if (!ClosingDown()) HandShutdownToUiThread(code);
  // The request came back. When the UI thread is already ending the process
  // it decides the exit code; otherwise there is no UI thread to hand to.
  if (ClosingDown()) ParkThread();
  ExitProcess(static_cast<UINT>(code));
}

void RunShutdown(std::int32_t code) {
  if (g_error_reported) code = -1;
  // A step below asked for a shutdown again: end at once.
  if (g_shutdown_running) ExitProcess(static_cast<UINT>(code));
  g_shutdown_running = true;
  g_closing = true;
  UnloadAllWindows();
  if (ExitHook hook = g_exit_hook.exchange(nullptr)) hook();
  // The table's libraries are system libraries the program imports as well,
  // so this drops only the table's references: a worker still inside one of
  // those functions keeps its code.
  UnloadBoundLibraries();
  DestroyMessageWindow();
  if (g_ole_initialised) OleUninitialize();
  ExitProcess(static_cast<UINT>(code));
}

}  // namespace rt
