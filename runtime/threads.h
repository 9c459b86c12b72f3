// Threads started for the program's own work.
#pragma once

namespace rt {

// Starts routine on a new thread (default stack and security) and closes the
// thread's handle at once: nothing waits for or joins it. False when the
// thread could not be created.
bool StartThread(void (*routine)());

// True while a thread started by StartThread is still running its routine.
// The exit hook asks this to keep what such a thread may still read: a
// shutdown does not wait for it, and the end of the process ends it.
bool WorkerThreadsAlive();

}  // namespace rt
