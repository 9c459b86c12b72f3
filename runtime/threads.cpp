#include "runtime/threads.h"

#include <windows.h>

#include <atomic>

namespace rt {

namespace {

std::atomic<int> g_alive{0};

DWORD WINAPI ThreadMain(void* routine) {
  reinterpret_cast<void (*)()>(routine)();
  --g_alive;
  return 0;
}

}  // namespace

bool StartThread(void (*routine)()) {
  ++g_alive;  // before the thread runs, so it is never seen as gone too early
  HANDLE thread = CreateThread(nullptr, 0, ThreadMain, reinterpret_cast<void*>(routine), 0, nullptr);
  if (!thread) {
    --g_alive;
    return false;
  }
  CloseHandle(thread);
  return true;
}

bool WorkerThreadsAlive() { return g_alive.load() > 0; }

}  // namespace rt
