// The program's life under the form runtime: preparing it on the UI thread,
// the message loop, the exit hook and the one way out, Shutdown.
#pragma once

#include <cstdint>

namespace rt {

// Prepares the runtime on the calling thread, which becomes the UI thread:
// restricts the default DLL search to the system directory where Windows
// offers that, sends memory exhaustion to the run-time error report,
// initialises OLE, makes the executable's folder the current directory and
// creates the hidden message window that takes requests from other threads.
void PrepareRuntime();

bool IsUiThread();

// The exit hook runs once, on the UI thread, after the windows are unloaded.
// There is one hook; setting replaces any earlier one, nullptr drops it.
using ExitHook = void (*)();
void SetExitHook(ExitHook hook);

// Runs the message loop on the UI thread until the last loaded window is
// gone, and gives the quit code (0). Does not start when no window is loaded.
int RunMessageLoop();

// Ends the process with `code`. From another thread the request is handed to
// the UI thread, which unloads every window, runs the exit hook, releases the
// runtime and ends the process; the calling thread never resumes.
[[noreturn]] void Shutdown(std::int32_t code);

// True once the program's windows are going away for good: a shutdown has
// begun, or the last window was closed while the loop ran. From then on a
// thread other than the UI thread that touches the windows is parked.
bool ClosingDown();

// Blocks the calling thread until the process ends. For threads other than
// the UI thread that would otherwise act on a program that is ending.
[[noreturn]] void ParkThread();

}  // namespace rt
