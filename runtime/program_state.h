// What the parts of the runtime tell the program's life cycle (internal).
#pragma once

#include <cstdint>

namespace rt {

// The last loaded window is being destroyed (UI thread): when the message
// loop runs, the program is closing down and the loop is asked to end.
void NoteLastWindowClosing();

// A run-time error report has begun: the exit hook is dropped, and whatever
// shutdown follows ends the process with -1.
void NoteRuntimeErrorReport();

// The shutdown steps on the UI thread: unload the windows, run the exit hook,
// release the runtime, end the process.
[[noreturn]] void RunShutdown(std::int32_t code);

}  // namespace rt
