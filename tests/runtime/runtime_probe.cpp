// A small program on the form runtime for the end-to-end tests of how it
// ends: each mode (the first argument) takes one road to the end of the
// process. The exit hook appends a line to the file named by the
// environment variable RUNTIME_PROBE_TRACE.
#include <windows.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "runtime/bound_functions.h"
#include "runtime/loaded_windows.h"
#include "runtime/program.h"
#include "runtime/properties.h"
#include "runtime/threads.h"

namespace {

HWND g_window = nullptr;
std::atomic<int> g_writes{0};
// What the worker reads while the program may be ending; the exit hook frees
// it only when no worker runs.
std::string* g_state_text = nullptr;

void OnTick();

const rt::ControlDescription kControls[] = {
    {.name = "标签", .kind = rt::ControlKind::Label, .id = 1, .left = 0, .top = 0, .width = 200, .height = 20},
    {.name = "进度", .kind = rt::ControlKind::ProgressBar, .id = 2, .left = 0, .top = 30, .width = 200,
     .height = 10},
    {.name = "时钟", .kind = rt::ControlKind::Timer, .interval = 20},
};
const rt::EventBinding kBindings[] = {{"时钟", rt::Event::Timer, OnTick}};
const rt::WindowDescription kWindow{.name = "探针窗口",
                                    .title = "runtime probe",
                                    .width = 200,
                                    .height = 60,
                                    .background = RGB(255, 255, 255),
                                    .icon_resource = nullptr,
                                    .controls = kControls,
                                    .bindings = kBindings};

void TraceExitHook() {
  char path[MAX_PATH];
  if (GetEnvironmentVariableA("RUNTIME_PROBE_TRACE", path, MAX_PATH) == 0) return;
  const bool kept = rt::WorkerThreadsAlive();
  if (!kept) {
    delete g_state_text;
    g_state_text = nullptr;
  }
  if (FILE* file = std::fopen(path, "ab")) {
    std::fprintf(file, "exit hook: ui thread %s, window %s, state %s\n", rt::IsUiThread() ? "yes" : "no",
                 g_window && IsWindow(g_window) ? "alive" : "gone", kept ? "kept" : "freed");
    std::fclose(file);
  }
}

// Writes properties and reads the state for as long as the process lives.
void BusyWorker() {
  const rt::ControlRef label(kWindow, "标签"), bar(kWindow, "进度");
  for (int i = 0;; ++i) {
    label.SetCaption(g_state_text->c_str());
    bar.SetPosition(i % 100);
    ++g_writes;
    Sleep(1);  // as an extraction does between its reports; the UI thread gets its input
  }
}

// The user closes the window while the worker is busy.
void OnTick() {
  if (g_writes.load() > 50) rt::Shutdown(0);
}

int RunWindow(void (*worker)()) {
  g_state_text = new std::string("state read by the worker");
  rt::LoadWindow(kWindow);
  g_window = rt::WindowRef(kWindow).Handle();
  if (worker) rt::StartThread(worker);
  rt::Shutdown(rt::RunMessageLoop());
}

// Waits on the UI thread, answering what other threads send, until the
// process is ended by one of them.
[[noreturn]] void ServeOtherThreads() {
  for (;;) {
    MSG message;
    if (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  const std::string mode = __argc > 1 ? __argv[1] : "";
  rt::PrepareRuntime();
  rt::SetExitHook(TraceExitHook);
  if (mode == "worker-shutdown") {
    return RunWindow([] { rt::Shutdown(0); });
  }
  if (mode == "close-during-worker") {
    return RunWindow(BusyWorker);
  }
  if (mode == "last-window-closed") {
    // The window is closed through the system while the worker is busy.
    return RunWindow([] {
      PostMessageA(g_window, WM_CLOSE, 0, 0);
      BusyWorker();
    });
  }
  if (mode == "out-of-memory") {
    // Never satisfiable in a 32-bit process; written to, so it is not left out.
    volatile char* memory = new char[0x7FFFFFF0];
    memory[0] = 1;
    return memory[1];
  }
  if (mode == "container-too-large") {
    // Past the container's limit: the library's length error, which a
    // program without exceptions reports as exhausted memory.
    std::vector<char> block;
    block.reserve(block.max_size() + 1);
    return static_cast<int>(block.capacity());
  }
  if (mode == "not-loaded") {
    rt::ControlRef(kWindow, "标签").SetCaption("never shown");
    return 0;
  }
  if (mode == "not-loaded-from-worker") {
    rt::StartThread([] { rt::ControlRef(kWindow, "进度").SetPosition(5); });
    ServeOtherThreads();
  }
  if (mode == "unbound-function") {
    HMODULE library = nullptr;
    rt::ResolveFromSystemDirectory({"kernel32.dll", "NoSuchFunction"}, &library);
    return 0;
  }
  if (mode == "planted-library") {
    // The program's folder (also the current directory) holds the library;
    // only the system directory may be searched.
    HMODULE library = nullptr;
    rt::ResolveFromSystemDirectory({"rtplanted.dll", "PlantedFunction"}, &library);
    return 0;
  }
  if (mode == "default-dll-search") {
    // Loaded by name, the library in the program's folder is not found either.
    return LoadLibraryA("rtplanted.dll") ? 1 : 0;
  }
  return 2;
}
